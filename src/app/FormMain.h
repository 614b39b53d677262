#pragma once

#include "AppServices.h"
#include "StartupOptions.h"

#include <QMainWindow>
#include <QMap>

#include <functional>
#include <memory>

struct AppContext;
class Acquisition;
class BoardLink;
class ChildWindow;
class FormData;
class FormEasyStart;
class FormEvalBoard;
class FormReset;
class FormTest;
class HistoryRecorder;
class FormCodeGene;
class FormComMonitor;
class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QSpinBox;
class QToolBar;
class SettingsStore;
class UserDialogs;

// The multiple-document main window. Its load handler performs the start-up: command
// line, chip variant, child windows, settings and the power-on register image. It carries
// the menus, three toolbars, the status bar the board link writes its state into, and a
// DAC control mirroring the board window's.
class FormMain : public QMainWindow
{
    Q_OBJECT

public:
    FormMain(AppContext &context, const StartupOptions &options, const AppServices &services,
             QWidget *parent = nullptr);
    ~FormMain() override;

    // The load handler. Shows the variant dialog when the command line names no variant.
    void Load();

    // Sets the View menu's check marks to the visibility of the windows, creating every
    // child window that does not exist yet.
    void MnuViewSet();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QLabel *BrdStatus() const { return m_brdStatus; }
    void setBrdStatus(const QString &text);

    // A toolbar button by its key, in any of the three toolbars.
    QAction *toolButton(const QString &key) const;

    // The child window frame of a window by name ("FormComMonitor", ...), created and
    // loaded on first use; nullptr for a name the program has no window for.
    ChildWindow *childWindow(const QString &name);
    FormComMonitor *formComMonitor();
    FormCodeGene *formCodeGene();
    FormEvalBoard *formEvalBoard();
    FormTest *formTest();
    FormData *formData();
    FormEasyStart *formEasyStart();
    BoardLink &boardLink() { return *m_link; }

    // The reset dialog with message, shown modally unless it is already open (then only
    // its message changes).
    void showResetDialog(const QString &message);
    // The File menu's settings file commands.
    void SaveSettings();
    void OpenSettings();
    // A register read met a converter in continuous-read mode: the continuous-read dialog,
    // then the converter out of continuous-read mode and the data window when data came.
    void RunContReadDialog();
    // The data window's Read: the continuous-read dialog with the converter in continuous
    // conversion and continuous read, then the continuous-read bit cleared on the chip.
    void ReadData();
    Acquisition &acquisition() { return *m_acquisition; }
    HistoryRecorder &history() { return *m_history; }

    // Shows a child window, gives it the focus, then refreshes the View menu.
    void showChild(const QString &name);
    // Shows a plot window ("FormGraph1", "FormHist", "FormFFT") and draws the current channel.
    void showPlot(const QString &name);
    // "Report…": the current data with the model's set-up, to a PDF or HTML file chosen
    // through the dialogs; the spectrum's window is the one the spectrum window shows.
    void writeReport();

    QMenu *MnuFile;
    QAction *MnuOpenSettings;
    QAction *MnuSaveSettings;
    QAction *MnuOpenData;
    QAction *MnuSaveData;
    QAction *MnuReport;
    QAction *MnuFileExit;
    QAction *MnuEasyStart;
    QMenu *MnuView;
    QAction *MnuViewADCSetup;
    QAction *MnuViewCodeGenarator;
    QAction *MnuViewData;
    QAction *MnuViewEvalBoard;
    QAction *MnuViewRegisters;
    QAction *MnuViewComMonitor;
    QAction *MnuViewTest;
    QAction *MnuViewNoiseTable;
    QAction *MnuViewAllan;
    QAction *MnuViewGraph;
    QAction *MnuViewHist;
    QAction *MnuViewFFT;
    QAction *RemovePeaks;
    QAction *MnuViewHistory;
    QAction *MnuViewLogger;
    QAction *MnuRecordHistory; // checked: every completed acquisition goes into the history
    QMenu *MnuHelp;
    QAction *MnuHelpAbout;

    QToolBar *TlbFile;
    QToolBar *TlbEvalBoard;
    QToolBar *TlbData;

    QSpinBox *UpDownDAC;
    QLineEdit *TxtDacValue;
    QLabel *LblDAC;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct ChildSpec
    {
        bool resizable;
        std::function<QWidget *()> create;
    };

    void buildMenus();
    void buildToolbars();
    void buildDacControl();
    QAction *addTool(QToolBar *bar, const QString &key, const QString &tooltip);
    void registerChildren();
    void registerDataWindows();
    void registerEasyStart();
    void showEasyStartAtStart();
    void updateDataCommands();
    void selectVariant();
    void activateStoredChild();
    // The open child windows back in the stacking order of the last run ("Stacking").
    void restoreStacking();
    void showAbout();
    void unloadChildren();
    void connectBoardLink();
    void restorePort();
    void restoreClock();
    void onMainDacText();
    void onMainDacSpinner(int code);

    AppContext &m_context;
    StartupOptions m_options;
    AppServices m_services;
    SettingsStore &m_settings;
    UserDialogs &m_dialogs;
    std::unique_ptr<BoardLink> m_link;
    std::unique_ptr<Acquisition> m_acquisition;
    std::unique_ptr<HistoryRecorder> m_history; // every completed acquisition
    FormReset *m_reset = nullptr;
    QMdiArea *m_mdiArea;
    QLabel *m_brdStatus;
    QMap<QString, QAction *> m_toolButtons;
    QMap<QString, ChildSpec> m_specs;
    QMap<QString, ChildWindow *> m_children;
    QStringList m_creationOrder;
};
