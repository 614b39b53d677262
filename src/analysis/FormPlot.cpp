#include "FormPlot.h"

#include "ChannelPlot.h"
#include "FftMetrics.h"
#include "FftWindow.h"
#include "NoiseDensity.h"
#include "PlotBuild.h"
#include "PlotReadout.h"
#include "PlotView.h"
#include "PowerAverage.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "model/QM4168.h"
#include "platform/UserDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QToolBar>

#include <exception>

namespace {

// Smallest window: 7710 x 3500 twips at 15 twips a pixel.
constexpr int MinimumWidth = 514;
constexpr int MinimumHeight = 233;

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

FormPlot::FormPlot(PlotKind kind, ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , IData(data)
    , m_dialogs(dialogs)
    , m_adc(adc)
    , m_kind(kind)
    , m_throttle([this] { redraw(); })
{
    const PlotTexts texts = plotTexts(kind);
    setObjectName(texts.formName);
    setWindowTitle(texts.title);
    setMinimumSize(MinimumWidth, MinimumHeight);

    Plot = new PlotView(dialogs, this);
    Plot->setObjectName(QStringLiteral("Plot"));
    Plot->setCaptions(texts.xCaption, texts.yCaption);

    ToolPlot = new QToolBar(this);
    ToolPlot->setObjectName(QStringLiteral("ToolPlot"));
    ToolPlot->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolPlot->addActions(Plot->exportActions());
    LabelTitle = namedLabel("LabelTitle", texts.title, this);
    LabelTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = LabelTitle->font();
    titleFont.setBold(true);
    LabelTitle->setFont(titleFont);
    ComboWindow = new QComboBox(this);
    ComboWindow->setObjectName(QStringLiteral("ComboWindow"));
    ComboWindow->addItems(FftWindow::names());
    ComboWindow->setVisible(texts.windowList);
    if (kind == PlotKind::Spectrum)
        ComboWindow->setCurrentIndex(2);
    connect(ComboWindow, &QComboBox::activated, this, &FormPlot::onWindowChosen);
    // The spectrum's levels: relative to the strongest bin, or to the range's full scale.
    ComboScale = new QComboBox(this);
    ComboScale->setObjectName(QStringLiteral("ComboScale"));
    ComboScale->addItems(
        {QStringLiteral("dB (strongest bin)"), QStringLiteral("dBFS"), QStringLiteral("V/\u221AHz")});
    ComboScale->setVisible(texts.windowList);
    connect(ComboScale, &QComboBox::activated, this, &FormPlot::onWindowChosen);

    auto *top = new QHBoxLayout;
    top->addWidget(ToolPlot);
    top->addStretch(1);
    top->addWidget(LabelTitle);
    top->addStretch(1);
    top->addWidget(ComboScale);
    top->addWidget(ComboWindow);

    LabelYMax = namedLabel("LabelYMax", QString(), this);
    LabelYMin = namedLabel("LabelYMin", QString(), this);
    const bool axisEnds = kind != PlotKind::Spectrum;
    LabelYMax->setVisible(axisEnds);
    LabelYMin->setVisible(axisEnds);
    auto *ends = new QVBoxLayout;
    ends->addWidget(LabelYMax);
    ends->addStretch(1);
    ends->addWidget(LabelYMin);
    auto *middle = new QHBoxLayout;
    middle->addLayout(ends);
    middle->addWidget(Plot, 1);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("FraChannel"));
    auto *buttons = new QGridLayout(frame);
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->setVerticalSpacing(0);
    m_group = new QButtonGroup(this);
    for (int c = 0; c < 8; ++c) {
        auto *button = new QRadioButton(QStringLiteral("Channel %1").arg(c), frame);
        button->setObjectName(QStringLiteral("ButtonChannel%1").arg(c));
        button->setVisible(c < adc.MaxChannel() + 1 && !(c == 1 && adc.EvBoard() == 2));
        m_group->addButton(button, c);
        buttons->addWidget(button, c / 4, c % 4);
        ButtonChannel << button;
    }
    connect(m_group, &QButtonGroup::idClicked, this, &FormPlot::onChannelClicked);

    LabelCursor = namedLabel("LabelCursor", texts.cursorLabel, this);
    LabelCursorValue = namedLabel("LabelCursorValue", QString(), this);
    LabelValue = namedLabel("LabelValue", texts.valueLabel, this);
    LabelValueValue = namedLabel("LabelValueValue", QString(), this);
    LabelSamples = namedLabel("LabelSamples", QString(), this);
    LabelMetrics = namedLabel("LabelMetrics", QString(), this);
    LabelMetrics->setVisible(kind == PlotKind::Spectrum);
    LabelMetrics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel *value : {LabelCursorValue, LabelValueValue})
        value->setMinimumWidth(90);
    auto *readout = new QGridLayout;
    readout->setVerticalSpacing(0);
    readout->addWidget(LabelCursor, 0, 0);
    readout->addWidget(LabelCursorValue, 0, 1);
    readout->addWidget(LabelValue, 1, 0);
    readout->addWidget(LabelValueValue, 1, 1);
    readout->addWidget(LabelSamples, 0, 2);
    readout->setColumnStretch(3, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(frame);
    bottom->addSpacing(8);
    bottom->addLayout(readout, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    layout->addWidget(LabelMetrics);

    connect(Plot, &PlotView::cursorMoved, this, &FormPlot::showCursor);
    if (axisEnds)
        connect(Plot, &PlotView::scaleChanged, this, &FormPlot::showScale);

    connect(&IData, &ClassData::DataChanged, this, &FormPlot::IData_DataChanged);
    connect(&IData, &ClassData::ChannelChanged, this, &FormPlot::IData_ChannelChanged);
    connect(&IData, &ClassData::DataCleared, this, &FormPlot::IData_DataCleared);
    resize(minimumSize().expandedTo(QSize(760, 460)));
}

void FormPlot::display()
{
    selectButton(IData.Channel());
    m_throttle.runNow();
}

void FormPlot::IData_DataChanged(int channel)
{
    m_group->setExclusive(false);
    for (int c = 0; c < ButtonChannel.size(); ++c) {
        ButtonChannel.at(c)->setChecked(false);
        ButtonChannel.at(c)->setEnabled(IData.Valid(c));
    }
    m_group->setExclusive(true);
    if (isVisible() && IData.Valid(channel)) {
        selectButton(channel);
        m_throttle.request();
    } else {
        clearPlot();
    }
}

void FormPlot::IData_ChannelChanged(int channel)
{
    selectButton(channel);
    if (isVisible())
        m_throttle.request();
}

void FormPlot::IData_DataCleared()
{
    clearPlot();
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    if (!frame->isHidden()) {
        frame->hide();
        Q_EMIT hiddenByData();
    }
}

void FormPlot::onChannelClicked(int channel)
{
    // A new channel reaches every window through ChannelChanged, this one included; the
    // selected button clicked again redraws this window only.
    if (IData.Channel() != channel)
        IData.setChannel(channel);
    else if (isVisible())
        m_throttle.request();
}

void FormPlot::onWindowChosen()
{
    if (m_kind != PlotKind::Spectrum || IData.Valid(IData.Channel()))
        m_throttle.request();
}

void FormPlot::selectButton(int channel)
{
    if (channel >= 0 && channel < ButtonChannel.size())
        ButtonChannel.at(channel)->setChecked(true);
}

void FormPlot::redraw()
{
    const int channel = IData.Channel();
    if (!IData.Valid(channel)) {
        clearPlot();
        return;
    }
    QList<AnalysisMessage> messages;
    bool failed = false;
    PlotTable table;
    const FftScale scale = ComboScale->currentIndex() == 1 ? FftScale::FullScale : FftScale::Relative;
    const bool density = m_kind == PlotKind::Spectrum && ComboScale->currentIndex() == 2;
    const int window = ComboWindow->currentIndex();
    // A series of captures whose last the store holds: its average.
    const bool averaged = m_kind == PlotKind::Spectrum && m_captures && m_captures->count() > 1 &&
                          m_captures->holds(IData) && m_captures->channels().contains(channel);
    PowerAverage average;
    try {
        if (averaged) {
            std::vector<const ClassData *> captures;
            for (int i = 0; i < m_captures->count(); ++i)
                captures.push_back(&m_captures->capture(i));
            average = averagedSpectrum(captures, channel, window);
            const FftResult result = spectrumTable(average.spectrum, window, IData.HalfScale(), scale);
            messages = result.messages;
            failed = result.failed;
            table = result.table;
        } else {
            table = buildPlot(m_kind, IData, channel, window, messages, failed, scale);
        }
    } catch (const std::exception &) {
        // The plot keeps what it showed.
        m_dialogs.message(QStringLiteral("Error in FormGraph--LoadGraph"));
        return;
    }
    for (const AnalysisMessage &m : std::as_const(messages))
        m_dialogs.message(m.text, m.icon, m.title);
    if (failed) {
        clearPlot();
        return;
    }
    if (m_kind == PlotKind::Spectrum) {
        const PlotTexts texts = plotTexts(m_kind);
        const bool fullScale = scale == FftScale::FullScale;
        Plot->setCaptions(texts.xCaption, fullScale ? QStringLiteral("Level (dBFS)") : texts.yCaption);
        LabelValue->setText(fullScale ? QStringLiteral("Value (dBFS):") : texts.valueLabel);
        const QString over =
            averaged ? QStringLiteral(" averaged over %1 captures").arg(average.captures) : QString();
        LabelTitle->setText(texts.title + over);
        const FftMetrics metrics =
            averaged ? averagedMetrics(average, window) : fftMetrics(IData, channel, window);
        QString figures =
            (averaged ? QStringLiteral("Averaged over %1 captures\n").arg(average.captures) : QString()) +
            metricsText(metrics) + QLatin1Char('\n') + definitionText(metrics.definition);
        if (density) {
            // The same bins as noise density, corrected for the window's noise bandwidth (of
            // the last capture).
            const NoiseDensity psd = noiseDensity(IData, channel, window, m_adc);
            Plot->setCaptions(texts.xCaption, QStringLiteral("Noise density (V/\u221AHz)"));
            LabelValue->setText(QStringLiteral("Value (V/\u221AHz):"));
            if (psd.valid()) {
                table = densityTable(psd);
                figures += QLatin1Char('\n') + psd.enbwText(window);
            }
        }
        LabelMetrics->setText(figures);
        Plot->setNote(figures);
    }
    ChannelPlot::describe(*Plot, m_kind, IData, m_adc, channel, ComboWindow->currentIndex(),
                          QDateTime::currentDateTime(), averaged ? average.captures : 1);
    if (scale == FftScale::FullScale)
        Plot->setCsvColumns(plotTexts(m_kind).xColumn, QStringLiteral("level_dbfs"));
    Plot->load(table, table.count);
    if (m_kind == PlotKind::Spectrum) {
        LabelSamples->setText(PlotReadout::samplesText(table));
    } else {
        // The data's own range: a flat trace's axis is widened to be drawn.
        LabelYMax->setText(PlotReadout::rounded(table.ymax, 4));
        LabelYMin->setText(PlotReadout::rounded(table.ymin, 4));
    }
}

void FormPlot::clearPlot()
{
    m_throttle.cancel();
    Plot->clear();
    Plot->setNote(QString());
    LabelMetrics->clear();
}

void FormPlot::showCursor(double x)
{
    const PlotReadout::Readout readout = PlotReadout::cursorReadout(m_kind, Plot->table(), x);
    LabelCursorValue->setText(readout.position);
    if (readout.value)
        LabelValueValue->setText(*readout.value);
    // A density of some nV/sqrt(Hz) rounds to 0 at 3 decimals: 4 significant digits.
    const int row = PlotReadout::nearestRow(Plot->table(), x);
    if (m_kind == PlotKind::Spectrum && ComboScale->currentIndex() == 2 && row >= 0)
        LabelValueValue->setText(QString::number(Plot->table().y.at(row), 'g', 4));
}

void FormPlot::showScale(double yLower, double yUpper)
{
    LabelYMax->setText(PlotReadout::rounded(yUpper, 0));
    LabelYMin->setText(PlotReadout::rounded(yLower, 0));
}

void FormPlot::hideEvent(QHideEvent *event)
{
    // Closed by the user (or hidden by the program): the plot is cleared; a hide because the
    // main window was minimised keeps it.
    if (!event->spontaneous())
        clearPlot();
    QWidget::hideEvent(event);
}
