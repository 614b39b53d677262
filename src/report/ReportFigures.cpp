#include "ReportFigures.h"

#include "analysis/AllanPlot.h"
#include "analysis/ChannelPlot.h"
#include "analysis/PlotFacts.h"
#include "analysis/PlotView.h"
#include "platform/SilentDialogs.h"

namespace {

// The plot views of a report never open a box: nothing triggers their exports.
SilentDialogs &noDialogs()
{
    static SilentDialogs dialogs;
    return dialogs;
}

PlotKind plotKind(ReportPlotKind kind)
{
    switch (kind) {
    case ReportPlotKind::Histogram:
        return PlotKind::Histogram;
    case ReportPlotKind::Spectrum:
        return PlotKind::Spectrum;
    case ReportPlotKind::Time:
    case ReportPlotKind::Allan:
        break;
    }
    return PlotKind::Time;
}

} // namespace

ReportFigures::ReportFigures(const ClassData &data, const QM4168 &adc, int window, const QDateTime &when)
    : m_data(data)
    , m_adc(adc)
    , m_window(window)
    , m_when(when)
{
}

ReportFigures::~ReportFigures() = default;

std::unique_ptr<PlotView> ReportFigures::view(const ReportFigure &figure)
{
    m_message.clear();
    auto view = std::make_unique<PlotView>(noDialogs());
    if (figure.kind == ReportPlotKind::Allan) {
        const PlotTable table = AllanPlot::table(allanDeviation(m_data, figure.channel, m_adc));
        if (table.rows() == 0) {
            m_message = QStringLiteral("too few samples");
            return nullptr;
        }
        const QList<PlotFact> facts =
            plotFacts(PlotKind::Time, m_data, figure.channel, m_adc, m_window, m_when);
        view->setExportFacts(plotTitle(figure.caption, facts), plotComments(figure.caption, facts));
        view->setLogLog(true);
        view->setCaptions(AllanPlot::xCaption(), AllanPlot::yCaption());
        view->load(table, table.count);
        return view;
    }
    QList<AnalysisMessage> messages;
    if (!ChannelPlot::load(*view, plotKind(figure.kind), m_data, m_adc, figure.channel, m_window, m_when,
                           messages)) {
        m_message = messages.isEmpty() ? QStringLiteral("nothing to draw") : messages.last().text;
        return nullptr;
    }
    return view;
}

QImage ReportFigures::image(const ReportFigure &figure, const QSize &size)
{
    const std::unique_ptr<PlotView> plot = view(figure);
    return plot ? plot->exportImage(size.width(), size.height()) : QImage();
}

QPicture ReportFigures::picture(const ReportFigure &figure, const QSize &size)
{
    const std::unique_ptr<PlotView> plot = view(figure);
    return plot ? plot->exportPicture(size.width(), size.height()) : QPicture();
}
