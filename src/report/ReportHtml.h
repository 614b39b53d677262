#pragma once

#include "ReportContent.h"

#include <QString>

#include <functional>

// A report as HTML: the title, what it is about, the set-up and the register image, then
// per channel its noise figures and plots, and the definitions of the spectrum's figures.
// Each plot is what figureHtml returns for it (an image, or a placeholder the PDF writer
// replaces with the drawing), titled by the drawing itself; its notes follow it. Each
// channel begins a new page when printed. With standalone, a whole
// page with its style sheet; otherwise the body alone, for a text document.
QString reportHtml(const ReportContent &report,
                   const std::function<QString(const ReportFigure &)> &figureHtml, bool standalone);
