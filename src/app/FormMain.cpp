#include "FormMain.h"

#include "AppContext.h"
#include "ChildWindow.h"
#include "FormAbout.h"
#include "FormHistory.h"
#include "FormLogger.h"
#include "FormPlacement.h"
#include "FormSelectBoard.h"
#include "SettingsFileCommands.h"
#include "analysis/FormAllan.h"
#include "analysis/FormNoiseTable.h"
#include "board/Acquisition.h"
#include "board/BoardLink.h"
#include "board/ComPortList.h"
#include "board/DacScale.h"
#include "board/FormContRead.h"
#include "board/FormEvalBoard.h"
#include "controls/CommitLineEdit.h"
#include "controls/ToolIcons.h"
#include "editors/FormADCSetup.h"
#include "editors/FormRegisters.h"
#include "history/HistoryRecorder.h"
#include "model/NumericText.h"
#include "model/PowerOnImage.h"
#include "model/RegisterDesign.h"
#include "model/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"
#include "tools/FormCodeGene.h"
#include "tools/FormComMonitor.h"
#include "tools/FormReset.h"
#include "tools/FormTest.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <cmath>

namespace {

const QString MainSection = QStringLiteral("FormMain");

} // namespace

FormMain::FormMain(AppContext &context, const StartupOptions &options, const AppServices &services,
                   QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_options(options)
    , m_services(services)
    , m_settings(services.settings)
    , m_dialogs(services.dialogs)
    , m_link(std::make_unique<BoardLink>(context.IADC, &services.dialogs, services.portFactory))
{
    setObjectName(MainSection);
    setWindowTitle(QStringLiteral("QM4162/64/68/69 Evaluation Software"));
    resize(1100, 760);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(m_mdiArea);

    m_history = std::make_unique<HistoryRecorder>(services.settings, services.dialogs);
    buildMenus();
    buildToolbars();
    buildDacControl();

    m_brdStatus = new QLabel(this);
    m_brdStatus->setObjectName(QStringLiteral("BrdStatus"));
    m_brdStatus->setMinimumWidth(160);
    statusBar()->addWidget(m_brdStatus);
    setBrdStatus(QStringLiteral("Board Disabled"));

    m_acquisition = std::make_unique<Acquisition>(
        context.IADC, context.IData, *m_link, &services.dialogs, [this]() -> std::optional<ContReadResult> {
            // Counted with the settings the acquisition uses (the chip's own, when asked to).
            FormContRead dialog(m_acquisition->conditions(), m_context.IData, *m_link,
                                m_context.ContReadAmount, this);
            dialog.setCaptures(m_context.Captures, m_context.CaptureCount);
            dialog.exec();
            return dialog.result();
        });
    connect(m_acquisition.get(), &Acquisition::ShowData, this,
            [this] { showChild(QStringLiteral("FormData")); });

    registerChildren();
    registerDataWindows();
    registerEasyStart();
    connectBoardLink();
}

FormMain::~FormMain()
{
    // The windows hold the link, and the link talks to this window: windows first, then the
    // link, while this window is still whole.
    m_link->hooks().disconnect(this);
    const QList<QObject *> descendants = findChildren<QObject *>();
    for (QObject *object : descendants)
        object->disconnect(this); // e.g. a focused box committing as it is destroyed
    qDeleteAll(m_mdiArea->subWindowList());
    m_acquisition.reset();
    m_link.reset();
}

void FormMain::buildMenus()
{
    auto add = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    MnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    MnuFile->setObjectName(QStringLiteral("MnuFile"));
    MnuOpenSettings = add(MnuFile, "MnuOpenSettings", QStringLiteral("Open Settings"));
    MnuSaveSettings = add(MnuFile, "MnuSaveSettings", QStringLiteral("Save Settings"));
    connect(MnuOpenSettings, &QAction::triggered, this, &FormMain::OpenSettings);
    connect(MnuSaveSettings, &QAction::triggered, this, &FormMain::SaveSettings);
    MnuFile->addSeparator();
    MnuOpenData = add(MnuFile, "MnuOpenData", QStringLiteral("Open Data File"));
    MnuSaveData = add(MnuFile, "MnuSaveData", QStringLiteral("Save Data File"));
    MnuReport = add(MnuFile, "MnuReport", QStringLiteral("Report…"));
    MnuFile->addSeparator();
    MnuFileExit = add(MnuFile, "MnuFileExit", QStringLiteral("E&xit"));
    connect(MnuFileExit, &QAction::triggered, this, &QWidget::close);

    MnuEasyStart = menuBar()->addAction(QStringLiteral("Easy&Start"));
    MnuEasyStart->setObjectName(QStringLiteral("MnuEasyStart"));

    MnuView = menuBar()->addMenu(QStringLiteral("&View"));
    MnuView->setObjectName(QStringLiteral("MnuView"));
    MnuViewADCSetup = add(MnuView, "MnuViewADCSetup", QStringLiteral("&ADC Setup"));
    MnuViewCodeGenarator = add(MnuView, "MnuViewCodeGenarator", QStringLiteral("&Code generator"));
    MnuViewData = add(MnuView, "MnuViewData", QStringLiteral("&Data+Analysis"));
    MnuViewEvalBoard = add(MnuView, "MnuViewEvalBoard", QStringLiteral("&Evaluation Board"));
    MnuViewRegisters = add(MnuView, "MnuViewRegisters", QStringLiteral("&Registers"));
    MnuViewComMonitor = add(MnuView, "MnuViewComMonitor", QStringLiteral("Com &Monitor"));
    MnuViewTest = add(MnuView, "MnuViewTest", QStringLiteral("Board &Test"));
    MnuView->addSeparator();
    MnuViewGraph = add(MnuView, "MnuViewGraph", QStringLiteral("&Graph"));
    MnuViewHist = add(MnuView, "MnuViewHist", QStringLiteral("H&istogram"));
    MnuViewFFT = add(MnuView, "MnuViewFFT", QStringLiteral("&FFT"));
    MnuViewNoiseTable = add(MnuView, "MnuViewNoiseTable", QStringLiteral("&Noise Table"));
    MnuViewAllan = add(MnuView, "MnuViewAllan", QStringLiteral("&Allan Deviation"));
    MnuViewAllan->setCheckable(true);
    connect(MnuViewAllan, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormAllan")); });
    MnuView->addSeparator();
    RemovePeaks = add(MnuView, "RemovePeaks", QStringLiteral("Re&movePeaks"));
    MnuView->addSeparator();
    MnuViewHistory = add(MnuView, "MnuViewHistory", QStringLiteral("Histor&y"));
    MnuViewHistory->setCheckable(true);
    connect(MnuViewHistory, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormHistory")); });
    MnuViewLogger = add(MnuView, "MnuViewLogger", QStringLiteral("&Logger"));
    MnuViewLogger->setCheckable(true);
    connect(MnuViewLogger, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormLogger")); });
    MnuRecordHistory = add(MnuView, "MnuRecordHistory", QStringLiteral("Record &History"));
    MnuRecordHistory->setCheckable(true);
    MnuRecordHistory->setChecked(m_history->enabled());
    connect(MnuRecordHistory, &QAction::toggled, this, [this](bool on) { m_history->setEnabled(on); });
    for (QAction *item : {MnuViewADCSetup, MnuViewData, MnuViewEvalBoard, MnuViewRegisters, MnuViewComMonitor,
                          MnuViewTest, MnuViewGraph, MnuViewHist, MnuViewFFT, MnuViewNoiseTable})
        item->setCheckable(true);

    // The code generator's entry is switched off for users; test mode switches it on.
    MnuViewCodeGenarator->setEnabled(false);
    connect(MnuViewCodeGenarator, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormCodeGene")); });
    connect(MnuViewEvalBoard, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormEvalBoard")); });
    connect(MnuViewTest, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormTest")); });
    connect(MnuViewNoiseTable, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormNoiseTable")); });
    connect(MnuViewComMonitor, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormComMonitor")); });
    connect(MnuViewRegisters, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormRegisters")); });
    connect(MnuViewADCSetup, &QAction::triggered, this,
            [this] { showChild(QStringLiteral("FormADCSetup")); });

    MnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    MnuHelp->setObjectName(QStringLiteral("MnuHelp"));
    MnuHelpAbout = add(MnuHelp, "MnuHelpAbout", QStringLiteral("&About"));
    connect(MnuHelpAbout, &QAction::triggered, this, &FormMain::showAbout);

    // Items of windows this program version does not have yet stay visible but disabled.
    for (QAction *item : {MnuOpenData, MnuSaveData, MnuReport, MnuViewData, MnuViewGraph, MnuViewHist,
                          MnuViewFFT, RemovePeaks})
        item->setEnabled(false);
}

QAction *FormMain::addTool(QToolBar *bar, const QString &key, const QString &tooltip)
{
    QAction *action = bar->addAction(ToolIcons::icon(key), tooltip);
    action->setObjectName(key);
    action->setToolTip(tooltip);
    m_toolButtons.insert(key, action);
    return action;
}

void FormMain::buildToolbars()
{
    TlbFile = addToolBar(QStringLiteral("File"));
    TlbFile->setObjectName(QStringLiteral("TlbFile"));
    addTool(TlbFile, QStringLiteral("OpenSettings"), QStringLiteral("Open setting file"));
    addTool(TlbFile, QStringLiteral("SaveSettings"), QStringLiteral("Save setting"));

    TlbEvalBoard = addToolBar(QStringLiteral("Evaluation Board"));
    TlbEvalBoard->setObjectName(QStringLiteral("TlbEvalBoard"));
    addTool(TlbEvalBoard, QStringLiteral("Reset"), QStringLiteral("Reset Board"));
    addTool(TlbEvalBoard, QStringLiteral("ReadAll"), QStringLiteral("Read All Registers"));
    addTool(TlbEvalBoard, QStringLiteral("WriteAll"), QStringLiteral("Write All Register"));

    TlbData = addToolBar(QStringLiteral("Data"));
    TlbData->setObjectName(QStringLiteral("TlbData"));
    addTool(TlbData, QStringLiteral("Read"), QStringLiteral("Read Data"));
    addTool(TlbData, QStringLiteral("Clear"), QStringLiteral("Clear Data"));
    addTool(TlbData, QStringLiteral("Open"), QStringLiteral("Open Data File"));
    addTool(TlbData, QStringLiteral("Save"), QStringLiteral("Save Data File"));
    addTool(TlbData, QStringLiteral("Graph"), QStringLiteral("Graph"));
    addTool(TlbData, QStringLiteral("Hist"), QStringLiteral("Histogram"));
    addTool(TlbData, QStringLiteral("FFT"), QStringLiteral("FFT"));

    connect(toolButton(QStringLiteral("OpenSettings")), &QAction::triggered, this, &FormMain::OpenSettings);
    connect(toolButton(QStringLiteral("SaveSettings")), &QAction::triggered, this, &FormMain::SaveSettings);
    connect(toolButton(QStringLiteral("Reset")), &QAction::triggered, this,
            [this] { formEvalBoard()->BrdReset(); });
    connect(toolButton(QStringLiteral("ReadAll")), &QAction::triggered, this,
            [this] { formEvalBoard()->RegReadAll(); });
    connect(toolButton(QStringLiteral("WriteAll")), &QAction::triggered, this,
            [this] { formEvalBoard()->RegWriteAll(); });
    connect(toolButton(QStringLiteral("Read")), &QAction::triggered, this, &FormMain::ReadData);

    for (const char *key : {"Clear", "Open", "Save", "Graph", "Hist", "FFT"})
        m_toolButtons.value(QString::fromLatin1(key))->setEnabled(false);
}

void FormMain::buildDacControl()
{
    auto *bar = addToolBar(QStringLiteral("DAC"));
    bar->setObjectName(QStringLiteral("TlbDAC"));
    LblDAC = new QLabel(QStringLiteral("DAC"), bar);
    LblDAC->setObjectName(QStringLiteral("LblDAC"));
    auto *text = new CommitLineEdit(QStringLiteral("0.000"), bar);
    TxtDacValue = text;
    TxtDacValue->setObjectName(QStringLiteral("TxtDacValue"));
    TxtDacValue->setToolTip(QStringLiteral("DAC Voltage"));
    TxtDacValue->setMaximumWidth(70);
    UpDownDAC = new QSpinBox(bar);
    UpDownDAC->setObjectName(QStringLiteral("UpDownDAC"));
    UpDownDAC->setRange(0, 4095);
    UpDownDAC->setToolTip(QStringLiteral("DAC Voltage"));
    bar->addWidget(LblDAC);
    bar->addWidget(TxtDacValue);
    bar->addWidget(new QLabel(QStringLiteral(" V "), bar)); // the unit of the voltage, not the code
    bar->addWidget(UpDownDAC);
    connect(text, &CommitLineEdit::committed, this, &FormMain::onMainDacText);
    connect(UpDownDAC, &QSpinBox::valueChanged, this, &FormMain::onMainDacSpinner);
}

void FormMain::onMainDacText()
{
    int code = DacScale::codeOfVoltage(numericValue(TxtDacValue->text()));
    formEvalBoard()->ChangeDACVoltage(code);
    TxtDacValue->setText(DacScale::voltageText(code)); // also when the code stayed as it was
}

void FormMain::onMainDacSpinner(int code)
{
    TxtDacValue->setText(DacScale::voltageText(code));
    if (formEvalBoard()->dacCode() != code)
        formEvalBoard()->ChangeDACVoltage(code);
}

void FormMain::setBrdStatus(const QString &text)
{
    m_brdStatus->setText(text);
}

QAction *FormMain::toolButton(const QString &key) const
{
    return m_toolButtons.value(key);
}

// ---------------------------------------------------------------------------------------
// Child windows

void FormMain::registerChildren()
{
    m_specs.insert(QStringLiteral("FormComMonitor"), {true, [] { return new FormComMonitor; }});
    m_specs.insert(QStringLiteral("FormCodeGene"),
                   {true, [this] { return new FormCodeGene(m_context.IADC); }});
    m_specs.insert(QStringLiteral("FormEvalBoard"),
                   {false, [this] {
                        auto *board = new FormEvalBoard(m_context.IADC, *m_link,
                                                        ComPortList::entries(m_services.otherPorts));
                        connect(board, &FormEvalBoard::dacChanged, UpDownDAC, &QSpinBox::setValue);
                        connect(board, &FormEvalBoard::converterReset, this, &FormMain::showResetDialog);
                        connect(board, &FormEvalBoard::clockRefused, this, [this](const QString &message) {
                            m_dialogs.message(message, UserDialogs::Icon::Warning);
                        });
                        return board;
                    }});
    m_specs.insert(QStringLiteral("FormTest"), {false, [this] { return new FormTest(*m_link); }});
    m_specs.insert(
        QStringLiteral("FormNoiseTable"),
        {true, [this] { return new FormNoiseTable(m_context.IADC, *m_link, m_dialogs, &m_settings); }});
    m_specs.insert(QStringLiteral("FormAllan"),
                   {true, [this] { return new FormAllan(m_context.IData, m_context.IADC, m_dialogs); }});
    m_specs.insert(QStringLiteral("FormRegisters"),
                   {true, [this] { return new FormRegisters(m_context.IADC, *m_link, &m_dialogs); }});
    m_specs.insert(QStringLiteral("FormHistory"),
                   {true, [this] {
                        auto *form = new FormHistory(*m_history, m_context.IData, m_dialogs);
                        connect(form, &FormHistory::opened, this,
                                [this] { showChild(QStringLiteral("FormData")); });
                        return form;
                    }});
    m_specs.insert(QStringLiteral("FormLogger"), {true, [this] {
                                                      return new FormLogger(m_context.IADC, m_context.IData,
                                                                            *m_link, *m_history, m_dialogs);
                                                  }});
    m_specs.insert(QStringLiteral("FormADCSetup"),
                   {true, [this] { return new FormADCSetup(m_context.IADC); }});
}

void FormMain::connectBoardLink()
{
    BoardHooks &hooks = m_link->hooks();
    hooks.Record = [this] { return formCodeGene()->Record(); };
    connect(&hooks, &BoardHooks::Display, this,
            [this](const QString &text) { formComMonitor()->Display(text); });
    connect(&hooks, &BoardHooks::StatusText, this, &FormMain::setBrdStatus);
    connect(&hooks, &BoardHooks::ResetNotice, this, &FormMain::showResetDialog);
    connect(&hooks, &BoardHooks::RunContReadDialog, this, &FormMain::RunContReadDialog);
    connect(&hooks, &BoardHooks::WriteOperation, this,
            [this](int address) { formCodeGene()->WriteOperation(address); });
    connect(&hooks, &BoardHooks::ReadOperation, this,
            [this](int address) { formCodeGene()->ReadOperation(address); });
    connect(&hooks, &BoardHooks::PortLost, this, [this] { formEvalBoard()->selectPort(0); });
}

void FormMain::showResetDialog(const QString &message)
{
    if (m_reset) {
        m_reset->LabelMessage->setText(message);
        return;
    }
    FormReset dialog(*m_link, this);
    dialog.LabelMessage->setText(message);
    m_reset = &dialog;
    m_link->registerSync().setAutomaticReadsHeld(true);
    dialog.exec();
    m_link->registerSync().setAutomaticReadsHeld(false);
    m_reset = nullptr;
}

void FormMain::SaveSettings()
{
    SettingsFileCommands(m_context.IADC, *m_link, m_dialogs).save();
}

void FormMain::OpenSettings()
{
    SettingsFileCommands(m_context.IADC, *m_link, m_dialogs).open();
}

void FormMain::RunContReadDialog()
{
    const std::optional<ContReadResult> result = m_acquisition->RunContReadDialog();
    if (result && result->completed())
        m_history->record(m_context.IData, m_context.IADC);
}

void FormMain::ReadData()
{
    const std::optional<ContReadResult> result = m_acquisition->ReadData();
    if (result && result->completed())
        m_history->record(m_context.IData, m_context.IADC);
}

ChildWindow *FormMain::childWindow(const QString &name)
{
    if (ChildWindow *existing = m_children.value(name))
        return existing;
    const auto entry = m_specs.constFind(name);
    if (entry == m_specs.constEnd())
        return nullptr;
    QWidget *form = entry->create();
    auto *child = new ChildWindow(form, entry->resizable);
    m_mdiArea->addSubWindow(child);
    child->fitDesignedSize();
    child->hide();
    m_children.insert(name, child);
    m_creationOrder << name;
    connect(child, &ChildWindow::closedByUser, this, &FormMain::MnuViewSet);
    child->setPlaced(!m_settings.get(name, QStringLiteral("Left"), QString()).isEmpty());
    RestoreFormPlacement(child, name, entry->resizable, m_settings);
    return child;
}

FormComMonitor *FormMain::formComMonitor()
{
    return static_cast<FormComMonitor *>(childWindow(QStringLiteral("FormComMonitor"))->form());
}

FormCodeGene *FormMain::formCodeGene()
{
    return static_cast<FormCodeGene *>(childWindow(QStringLiteral("FormCodeGene"))->form());
}

FormEvalBoard *FormMain::formEvalBoard()
{
    return static_cast<FormEvalBoard *>(childWindow(QStringLiteral("FormEvalBoard"))->form());
}

FormTest *FormMain::formTest()
{
    return static_cast<FormTest *>(childWindow(QStringLiteral("FormTest"))->form());
}

void FormMain::showChild(const QString &name)
{
    if (ChildWindow *child = childWindow(name)) {
        child->show();
        child->raise();
        m_mdiArea->setActiveSubWindow(child);
        child->widget()->setFocus();
    }
    MnuViewSet();
}

void FormMain::MnuViewSet()
{
    const QList<QPair<QAction *, QString>> items = {{MnuViewADCSetup, QStringLiteral("FormADCSetup")},
                                                    {MnuViewData, QStringLiteral("FormData")},
                                                    {MnuViewEvalBoard, QStringLiteral("FormEvalBoard")},
                                                    {MnuViewGraph, QStringLiteral("FormGraph1")},
                                                    {MnuViewHist, QStringLiteral("FormHist")},
                                                    {MnuViewFFT, QStringLiteral("FormFFT")},
                                                    {MnuViewRegisters, QStringLiteral("FormRegisters")},
                                                    {MnuViewComMonitor, QStringLiteral("FormComMonitor")},
                                                    {MnuViewTest, QStringLiteral("FormTest")},
                                                    {MnuViewNoiseTable, QStringLiteral("FormNoiseTable")},
                                                    {MnuViewAllan, QStringLiteral("FormAllan")},
                                                    {MnuViewHistory, QStringLiteral("FormHistory")},
                                                    {MnuViewLogger, QStringLiteral("FormLogger")}};
    for (const auto &item : items) {
        const ChildWindow *child = childWindow(item.second);
        item.first->setChecked(child && !child->isHidden());
    }
}

void FormMain::restoreStacking()
{
    const QStringList names = m_settings.get(MainSection, QStringLiteral("Stacking"), QString())
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &name : names) // bottom first: each raise puts one above the others
        if (ChildWindow *child = m_children.value(name); child && !child->isHidden())
            child->raise();
}

void FormMain::activateStoredChild()
{
    const QString name = m_settings.get(MainSection, QStringLiteral("ActiveForm"), MainSection);
    for (ChildWindow *child : std::as_const(m_children)) {
        if (child->formName() == name && !child->isHidden()) {
            m_mdiArea->setActiveSubWindow(child);
            child->widget()->setFocus();
            return;
        }
    }
}

void FormMain::showAbout()
{
    FormAbout about(this);
    about.exec();
}

// ---------------------------------------------------------------------------------------
// Start and end

void FormMain::Load()
{
    QM4168 &model = m_context.IADC;

    // Command line: test mode shows the test-only items.
    MnuViewTest->setVisible(false);
    RemovePeaks->setVisible(false);
    model.setTestEnable(m_options.testMode);
    if (m_options.testMode) {
        MnuViewTest->setVisible(true);
        RemovePeaks->setVisible(true);
        MnuViewCodeGenarator->setEnabled(true);
    }

    m_context.VariantCode = m_options.variantCode;
    if (m_context.VariantCode != 0)
        model.setEvBoard(m_context.VariantCode);
    else
        selectVariant();
    if (m_context.VariantCode != 0 && m_services.variantChosen)
        m_services.variantChosen(m_context.VariantCode);

    show();
    RestoreFormPlacement(this, MainSection, true, m_settings);
    show();

    MnuViewSet();
    formCodeGene();  // asked by the board link after user accesses, shown or not
    formEasyStart(); // a wizard left open comes back like the other windows
    // Activating a window moves the one active before; the stacking is restored after it.
    activateStoredChild();
    restoreStacking();
    showEasyStartAtStart();
    restorePort();
    restoreClock();

    // The register rows give the model its register widths and design values before the
    // power-on image is written over them.
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, m_context.VariantCode);
}

void FormMain::restorePort()
{
    FormEvalBoard *board = formEvalBoard();
    QStringList entries;
    for (int i = 0; i < board->ComboComPort->count(); ++i)
        entries << board->ComboComPort->itemText(i);
    int index;
    if (m_options.simulate)
        index = entries.indexOf(QString::fromLatin1(ComPortList::Simulated));
    else
        index = ComPortList::restoreIndex(
            entries, m_settings.get(MainSection, QStringLiteral("ComPortName"), QString()),
            m_settings.get(MainSection, QStringLiteral("ComPort"), QStringLiteral("0")));
    board->selectPort(index);
}

void FormMain::restoreClock()
{
    // A stored clock that is not a usable number (a damaged settings file) gives the
    // board's usual clock rather than a clock of 0 MHz.
    double mclk = numericValue(m_settings.get(MainSection, QStringLiteral("MCLK"), QStringLiteral("6.144")));
    if (!(mclk > 0.0) || !std::isfinite(mclk))
        mclk = 6.144;
    m_context.IADC.setMclk(mclk);
    formEvalBoard()->showModelClock();
}

void FormMain::selectVariant()
{
    FormSelectBoard dialog(m_context.IADC, m_context.VariantCode, this);
    dialog.exec();
}

void FormMain::unloadChildren()
{
    for (const QString &name : std::as_const(m_creationOrder)) {
        ChildWindow *child = m_children.value(name);
        SaveFormPlacement(child, name, child->isResizable(), m_settings);
        child->setUnloading(true);
    }
}

void FormMain::closeEvent(QCloseEvent *event)
{
    m_settings.save(MainSection, QStringLiteral("ActiveForm"), MainSection);
    if (const auto *active = qobject_cast<ChildWindow *>(m_mdiArea->currentSubWindow()))
        m_settings.save(MainSection, QStringLiteral("ActiveForm"), active->formName());
    QStringList stacking; // the open child windows, bottom first
    for (const QMdiSubWindow *window : m_mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (const auto *child = qobject_cast<const ChildWindow *>(window); child && !child->isHidden())
            stacking << child->formName();
    m_settings.save(MainSection, QStringLiteral("Stacking"), stacking.join(QLatin1Char(',')));
    FormEvalBoard *board = formEvalBoard();
    m_settings.save(MainSection, QStringLiteral("ComPort"), QString::number(board->portIndex()));
    m_settings.save(MainSection, QStringLiteral("ComPortName"), board->portName());
    m_settings.save(MainSection, QStringLiteral("MCLK"), board->clockText());

    unloadChildren();
    m_link->ComClose();
    SaveFormPlacement(this, MainSection, true, m_settings);
    event->accept();
}
