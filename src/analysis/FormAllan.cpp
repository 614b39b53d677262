#include "FormAllan.h"

#include "AllanPlot.h"
#include "PlotView.h"
#include "data/ClassData.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

FormAllan::FormAllan(ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , IData(data)
    , IADC(adc)
{
    setObjectName(QStringLiteral("FormAllan"));
    setWindowTitle(QStringLiteral("Allan Deviation"));
    ComboChannel = new QComboBox(this);
    ComboChannel->setObjectName(QStringLiteral("ComboChannel"));
    for (int c = 0; c < ClassData::Channels; ++c)
        ComboChannel->addItem(QStringLiteral("Channel %1").arg(c));
    LabelMinimum = new QLabel(this);
    LabelMinimum->setObjectName(QStringLiteral("LabelMinimum"));
    LabelMinimum->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Plot = new PlotView(dialogs, this);
    Plot->setObjectName(QStringLiteral("Plot"));
    Plot->setLogLog(true);
    Plot->setCaptions(AllanPlot::xCaption(), AllanPlot::yCaption());

    auto *top = new QHBoxLayout;
    top->addWidget(ComboChannel);
    top->addWidget(LabelMinimum, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Plot, 1);
    resize(640, 460);

    connect(ComboChannel, &QComboBox::currentIndexChanged, this, &FormAllan::redraw);
    connect(&IData, &ClassData::ChannelChanged, this,
            [this](int channel) { ComboChannel->setCurrentIndex(channel); });
    connect(&IData, &ClassData::DataChanged, this, [this] {
        if (isVisible())
            redraw();
    });
    connect(&IData, &ClassData::DataCleared, this, &FormAllan::redraw);
    ComboChannel->setCurrentIndex(qBound(0, IData.Channel(), ClassData::Channels - 1));
}

void FormAllan::redraw()
{
    const int channel = ComboChannel->currentIndex();
    const AllanCurve curve =
        channel >= 0 && IData.Valid(channel) ? allanDeviation(IData, channel, IADC) : AllanCurve();
    const QString minimum = AllanPlot::minimumLabel(curve);
    LabelMinimum->setText(minimum.isEmpty() ? QStringLiteral("Too few samples for an Allan deviation")
                                            : minimum);
    Plot->setNote(minimum);
    if (curve.points.empty()) {
        Plot->clear();
        return;
    }
    const PlotTable table = AllanPlot::table(curve);
    Plot->load(table, table.count);
    Plot->moveCursor(curve.points.at(static_cast<size_t>(curve.minimum)).tauS);
}

void FormAllan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    redraw();
}
