#pragma once

#include "ReportContent.h"

#include <QByteArray>

class ReportFigures;

// A report as PDF: A4 portrait with 15 mm margins, the text of reportHtml, the plots drawn
// as vectors (ReportFigures), and "Page n of N" at the foot of every page. Empty when the
// PDF writer cannot paint.
QByteArray reportPdf(const ReportContent &report, ReportFigures &figures);
