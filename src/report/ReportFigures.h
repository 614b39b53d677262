#pragma once

#include "ReportContent.h"

#include <QDateTime>
#include <QImage>
#include <QPicture>
#include <QSize>

#include <memory>

class ClassData;
class PlotView;
class QM4168;

// Draws the plots of a report as the plot windows draw them (ChannelPlot), each with its
// export title: as pixels for HTML and as vector drawing commands for PDF. Needs the widget
// toolkit (any platform, offscreen too).
class ReportFigures
{
public:
    ReportFigures(const ClassData &data, const QM4168 &adc, int window, const QDateTime &when);
    ~ReportFigures();

    // A null image or picture, and why in message(), when the plot cannot be drawn.
    QImage image(const ReportFigure &figure, const QSize &size);
    QPicture picture(const ReportFigure &figure, const QSize &size);
    QString message() const { return m_message; }

private:
    std::unique_ptr<PlotView> view(const ReportFigure &figure);

    const ClassData &m_data;
    const QM4168 &m_adc;
    int m_window;
    QDateTime m_when;
    QString m_message;
};
