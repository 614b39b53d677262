#include "LiveTimePlot.h"

#include "LiveCapture.h"
#include "analysis/TimePlot.h"

#include <QVBoxLayout>
#include <qcustomplot.h>

LiveTimePlot::LiveTimePlot(LiveCapture &capture, QWidget *parent)
    : QWidget(parent)
    , m_capture(capture)
    , m_plot(new QCustomPlot(this))
    , m_throttle([this] { redraw(); })
{
    setObjectName(QStringLiteral("PlotLive"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    setMinimumSize(360, 240);
    m_plot->xAxis->setLabel(QStringLiteral("Sample"));
    m_plot->yAxis->setLabel(QStringLiteral("Code"));

    connect(&capture, &LiveCapture::started, this, &LiveTimePlot::arrange);
    connect(&capture, &LiveCapture::recordsArrived, this, [this] { m_throttle.request(); });
    connect(&capture, &LiveCapture::finished, this, [this] { m_throttle.runNow(); });
}

LiveTimePlot::~LiveTimePlot() = default;

int LiveTimePlot::points(int channel) const
{
    const QCPGraph *graph = m_graphs.value(channel);
    return graph ? graph->dataCount() : 0;
}

void LiveTimePlot::arrange()
{
    // One axis rectangle per channel, stacked, each with the channel as its caption.
    m_throttle.cancel();
    m_plot->clearGraphs();
    m_graphs.clear();
    m_plot->plotLayout()->clear();
    const QList<int> channels = m_capture.channels();
    QFont font = m_plot->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 0.8);
    for (int row = 0; row < channels.size(); ++row) {
        auto *rect = new QCPAxisRect(m_plot);
        m_plot->plotLayout()->addElement(row, 0, rect);
        QCPAxis *x = rect->axis(QCPAxis::atBottom);
        QCPAxis *y = rect->axis(QCPAxis::atLeft);
        for (QCPAxis *axis : {x, y}) {
            axis->setTickLabelFont(font);
            axis->setLabelFont(font);
        }
        y->setLabel(QStringLiteral("Ch %1").arg(channels.at(row)));
        x->setRange(0, qMax(1, m_capture.perChannel()));
        QCPGraph *graph = m_plot->addGraph(x, y);
        graph->setPen(QPen(QColor(0, 0, 200), 1));
        m_graphs.insert(channels.at(row), graph);
    }
    m_plot->replot();
}

void LiveTimePlot::redraw()
{
    const ClassData &data = m_capture.data();
    for (auto it = m_graphs.cbegin(); it != m_graphs.cend(); ++it) {
        const PlotTable table = BuildTimePlot(data, it.key());
        it.value()->setData(table.x, table.y, true);
        if (table.rows() > 0) // a flat trace gets a code either side
            it.value()->valueAxis()->setRange(table.ymin - (table.ymax == table.ymin ? 1 : 0),
                                              table.ymax + (table.ymax == table.ymin ? 1 : 0));
    }
    m_plot->replot();
    ++m_redraws;
}
