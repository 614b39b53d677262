#include "FormData.h"

#include "SeriesGrid.h"
#include "StatisticsGrid.h"
#include "controls/ToolIcons.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"

#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLayout>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>

namespace {

const QString Section = QStringLiteral("FormData");
const QString DockableKey = QStringLiteral("Dockable");

// Window sizes in pixels (15 twips a pixel): the full layout 8040 x 3315 twips and 100
// pixels for the five noise-free rows of the third table, the compact one 3100 twips wide;
// controls stand 50 twips apart.
const QSize FullSize(536, 321);
constexpr int CompactWidth = 207;
constexpr int Gap = 3;
// Below 2600 twips the compact table keeps its own width.
constexpr int StretchFromWidth = 173;

const QList<QStringList> &gridLabels()
{
    static const QList<QStringList> labels = {
        {"Conditions :", "Conv.Time", "Input Range", "Data Width", "Samples"},
        {"Avg.Code", "Code Dev.", "Code Span", "Min Code", "Max Code"},
        {"Avg.Voltage", "RMS Noise", "Pk-Pk Noise", "RMS Res.", "Pk-Pk Res.", "Pk-Pk Meas.", "Pk-Pk Count",
         "Pk-Pk Est.", "NF Meas.", "NF Est."},
        {"Conditions",  "Conv.Time",  "Input Range", "Data Width",  "Codes Read", "",         "Avg.Code",
         "Avg.Voltage", "Code Dev.",  "RMS Noise",   "RMS Res.",    "Min Code",   "Max Code", "Code Span",
         "Pk-Pk Noise", "Pk-Pk Res.", "Pk-Pk Meas.", "Pk-Pk Count", "Pk-Pk Est.", "NF Meas.", "NF Est."}};
    return labels;
}

} // namespace

FormData::FormData(QM4168 &adc, ClassData &data, UserDialogs &dialogs, SettingsStore &settings,
                   QWidget *parent)
    : QWidget(parent)
    , IADC(adc)
    , IData(data)
    , m_dialogs(dialogs)
    , m_settings(settings)
{
    setObjectName(Section);
    setWindowTitle(QStringLiteral("Data & Analysis"));
    m_docked = m_settings.get(Section, DockableKey, QStringLiteral("False")) == QLatin1String("True");

    TlbData = buildToolbar("TlbData");
    ToolData2 = buildToolbar("ToolData2");
    FraBigButton = buildButtons("FraBigButton", ButtonChannel, true);
    FraMinButton = buildButtons("FraMinButton", OptMinButton, false);
    for (int i = 0; i < gridLabels().size(); ++i) {
        auto *grid = new StatisticsGrid(gridLabels().at(i), this);
        grid->setObjectName(QStringLiteral("MSFlexResults%1").arg(i));
        MSFlexResults << grid;
    }
    MSFlexSeries = new SeriesGrid(this);
    MSFlexSeries->setObjectName(QStringLiteral("MSFlexSeries"));
    MSFlexSeries->hide();

    connect(&IData, &ClassData::ChannelChanged, this, &FormData::IData_ChannelChanged);
    connect(&IData, &ClassData::DataChanged, this, &FormData::IData_DataChanged);

    fillTables(IData.Channel());
    m_formSize = m_docked ? QSize(CompactWidth, 0) : FullSize;
    applyLayout();
}

QToolBar *FormData::buildToolbar(const char *name)
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    // The compact window is narrow: its toolbar takes smaller pictures.
    const bool compact = qstrcmp(name, "ToolData2") == 0;
    bar->setIconSize(compact ? QSize(16, 16) : QSize(20, 20));
    if (compact)
        bar->layout()->setSpacing(0);
    const QList<QPair<QString, QString>> tools = {{"Read", "Read Data"},
                                                  {"Clear", "Clear Data"},
                                                  {"Open", "Open Data File"},
                                                  {"Save", "Save Data File"},
                                                  {"Graph", "Graph"},
                                                  {"Hist", "Histogram"},
                                                  {"FFT", "FFT"}};
    for (const auto &tool : tools) {
        QAction *action = bar->addAction(ToolIcons::icon(tool.first), tool.second);
        action->setObjectName(tool.first);
        action->setToolTip(tool.second);
    }
    connect(toolButton(bar, QStringLiteral("Read")), &QAction::triggered, this, &FormData::ReadData);
    connect(toolButton(bar, QStringLiteral("Clear")), &QAction::triggered, this, &FormData::ClearData);
    connect(toolButton(bar, QStringLiteral("Open")), &QAction::triggered, this,
            &FormData::CommandReadFromFile_Click);
    connect(toolButton(bar, QStringLiteral("Save")), &QAction::triggered, this, &FormData::SaveDataFile);
    connect(toolButton(bar, QStringLiteral("Graph")), &QAction::triggered, this, &FormData::ShowGraph);
    connect(toolButton(bar, QStringLiteral("Hist")), &QAction::triggered, this, &FormData::ShowHist);
    connect(toolButton(bar, QStringLiteral("FFT")), &QAction::triggered, this, &FormData::ShowFFT);
    return bar;
}

QAction *FormData::toolButton(const QToolBar *bar, const QString &key)
{
    for (QAction *action : bar->actions())
        if (action->objectName() == key)
            return action;
    return nullptr;
}

QFrame *FormData::buildButtons(const char *name, QList<QRadioButton *> &buttons, bool big)
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QString::fromLatin1(name));
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(Gap, 0, Gap, 0);
    layout->setSpacing(2);
    auto *group = new QButtonGroup(frame);
    for (int c = 0; c < ClassData::Channels; ++c) {
        auto *button =
            new QRadioButton(big ? QStringLiteral("Channel %1").arg(c) : QString::number(c), frame);
        button->setObjectName(QStringLiteral("%1%2").arg(big ? "ButtonChannel" : "OptMinButton").arg(c));
        // The two-channel variant uses channels 0 and 2.
        button->setVisible(c <= IADC.MaxChannel() && !(c == 1 && IADC.EvBoard() == 2));
        group->addButton(button, c);
        layout->addWidget(button, c / 4, c % 4);
        buttons << button;
    }
    connect(group, &QButtonGroup::idClicked, &IData, &ClassData::setChannel);
    frame->adjustSize();
    return frame;
}

// ---------------------------------------------------------------------------------------
// Commands

void FormData::ClearData()
{
    IData.Clear();
    IData.Process();
    IData.Update();
}

void FormData::CommandReadFromFile_Click()
{
    const std::optional<QString> path =
        m_dialogs.openFile(QStringLiteral("Open Data File"),
                           {{QStringLiteral("All Files (*.*)"), QStringLiteral("Datas Files (*.dat)")}, 1});
    if (!path)
        return;
    const DataFileError error = ReadDataFile(*path, IData, IADC);
    if (error.isError())
        m_dialogs.message(error.boxText(),
                          error.isBadFile() ? UserDialogs::Icon::Warning : UserDialogs::Icon::Critical);
}

void FormData::SaveDataFile()
{
    if (!IData.Valid(-1))
        return;
    const std::optional<QString> path =
        m_dialogs.saveFile(QStringLiteral("Save Data File"),
                           {{QStringLiteral("Datas Files (*.dat)"), QStringLiteral("All Files (*.*)")}, 0},
                           QStringLiteral("dat"));
    if (!path)
        return;
    const DataFileError error = WriteDataFile(*path, IData, IADC);
    if (error.isError()) {
        m_dialogs.message(error.boxText(), UserDialogs::Icon::Critical);
        m_dialogs.message(QStringLiteral("Error Creating File"), UserDialogs::Icon::Critical);
    }
}

// ---------------------------------------------------------------------------------------
// Store events

void FormData::IData_ChannelChanged(int channel)
{
    selectChannel(channel);
    fillTables(channel);
}

void FormData::IData_DataChanged(int channel)
{
    for (int c = 0; c < ClassData::Channels; ++c) {
        ButtonChannel.at(c)->setEnabled(IData.Valid(c));
        OptMinButton.at(c)->setEnabled(IData.Valid(c));
    }
    const bool any = IData.Valid(-1);
    for (QToolBar *bar : {TlbData, ToolData2})
        for (const char *key : {"Save", "Graph", "Hist", "FFT"})
            toolButton(bar, QString::fromLatin1(key))->setEnabled(any);
    selectChannel(channel);
    fillTables(channel);
}

void FormData::selectChannel(int channel)
{
    if (channel < 0 || channel >= ClassData::Channels)
        return;
    ButtonChannel.at(channel)->setChecked(true);
    OptMinButton.at(channel)->setChecked(true);
}

void FormData::setCaptures(const CaptureSet *captures)
{
    m_captures = captures;
    fillTables(IData.Channel());
}

void FormData::fillTables(int channel)
{
    if (channel < 0 || channel >= ClassData::Channels)
        return;
    const QList<StatisticsCell> cells =
        ShowStatistics(IData, channel, IADC) + NoiseFreeStatistics(IData, channel, IADC);
    for (StatisticsGrid *grid : std::as_const(MSFlexResults))
        grid->fill(cells);
    const bool series = m_captures && m_captures->count() > 1 && m_captures->channels().contains(channel) &&
                        m_captures->holds(IData);
    if (series)
        MSFlexSeries->fill(*m_captures, channel);
    if (series != m_seriesShown) {
        m_seriesShown = series;
        applyLayout();
    }
}

// ---------------------------------------------------------------------------------------
// Layout

void FormData::toggleDocked()
{
    m_docked = !m_docked;
    m_settings.save(Section, DockableKey, m_docked ? QStringLiteral("True") : QStringLiteral("False"));
    applyLayout();
}

void FormData::applyLayout()
{
    for (int i = 0; i < 3; ++i)
        MSFlexResults.at(i)->setVisible(!m_docked);
    TlbData->setVisible(!m_docked);
    FraBigButton->setVisible(!m_docked);
    MSFlexResults.at(3)->setVisible(m_docked);
    ToolData2->setVisible(m_docked);
    FraMinButton->setVisible(m_docked);
    MSFlexSeries->setVisible(m_seriesShown);
    const int seriesHeight = m_seriesShown ? MSFlexSeries->fullHeight() + Gap : 0;

    if (m_docked) {
        // The compact window is as high as its table and buttons need; the user may resize it.
        const int height = ToolData2->sizeHint().height() + Gap + MSFlexResults.at(3)->fullHeight() + Gap +
                           FraMinButton->sizeHint().height() + Gap + seriesHeight;
        setMinimumSize(CompactWidth / 2, height / 2);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setFormSize(QSize(CompactWidth, height));
    } else {
        const QSize size = FullSize + QSize(0, seriesHeight);
        setFixedSize(size);
        setFormSize(size);
    }
}

void FormData::setFormSize(const QSize &size)
{
    m_formSize = size;
    updateGeometry();
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->resize(frame->sizeHint());
    else
        resize(size);
}

void FormData::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_docked) {
        ToolData2->setGeometry(0, 0, width(), ToolData2->sizeHint().height());
        StatisticsGrid *grid = MSFlexResults.at(3);
        grid->move(0, ToolData2->height() + Gap);
        grid->setGridWidth(width() >= StretchFromWidth ? width() - Gap : StatisticsGrid::Width);
        FraMinButton->setGeometry(0, grid->y() + grid->height() + Gap, width(),
                                  FraMinButton->sizeHint().height());
        MSFlexSeries->move(0, FraMinButton->y() + FraMinButton->height() + Gap);
        MSFlexSeries->setGridWidth(width() - Gap);
    } else {
        TlbData->setGeometry(0, 0, width(), TlbData->sizeHint().height());
        FraBigButton->setGeometry(0, TlbData->height() + Gap, width(), FraBigButton->sizeHint().height());
        const int top = FraBigButton->y() + FraBigButton->height() + Gap;
        int tallest = 0;
        for (int i = 0; i < 3; ++i) {
            MSFlexResults.at(i)->move(Gap + i * StatisticsGrid::Width, top);
            tallest = qMax(tallest, MSFlexResults.at(i)->height());
        }
        // Below the tallest table: the third holds the noise-free rows as well.
        MSFlexSeries->move(Gap, top + tallest + Gap);
        MSFlexSeries->setGridWidth(MSFlexSeries->fullWidth());
    }
}

void FormData::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
    toggleDocked();
}

bool FormData::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            connect(frame, &QMdiSubWindow::windowStateChanged, this, &FormData::onFrameStateChanged,
                    Qt::UniqueConnection);
    }
    return QWidget::event(event);
}

void FormData::onFrameStateChanged(Qt::WindowStates, Qt::WindowStates state)
{
    // Maximising does not maximise: it returns the window to normal and switches layout.
    if (!(state & Qt::WindowMaximized) || (state & Qt::WindowMinimized))
        return;
    QTimer::singleShot(0, this, [this] {
        auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
        if (!frame || !frame->isMaximized())
            return;
        frame->showNormal();
        toggleDocked();
    });
}
