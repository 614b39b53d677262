#pragma once

#include <QList>
#include <QWidget>

class CaptureSet;
class ClassData;
class SeriesGrid;
class QFrame;
class QM4168;
class QRadioButton;
class QToolBar;
class SettingsStore;
class StatisticsGrid;
class UserDialogs;

// "Data & Analysis": picks the channel to look at, shows its conditions and noise figures,
// clears the store, opens and saves data files and opens the plot windows. Two layouts: the
// full one (three tables side by side, big channel buttons, TlbData) and the compact one
// (one tall table, small buttons, ToolData2). Maximising the window or double-clicking its
// background switches between them; the choice is kept in the settings ("FormData",
// "Dockable") each time it changes. After a series of captures, whose last capture the store
// still holds, a table of the series' figures (mean ± SD, min / max) comes below the others.
class FormData : public QWidget
{
    Q_OBJECT

public:
    FormData(QM4168 &adc, ClassData &data, UserDialogs &dialogs, SettingsStore &settings,
             QWidget *parent = nullptr);

    // Commands of the toolbars and of the main window.
    void ClearData();
    void CommandReadFromFile_Click();
    void SaveDataFile();
    void ShowGraph() { Q_EMIT showPlot(QStringLiteral("FormGraph1")); }
    void ShowHist() { Q_EMIT showPlot(QStringLiteral("FormHist")); }
    void ShowFFT() { Q_EMIT showPlot(QStringLiteral("FormFFT")); }

    // Store events.
    void IData_ChannelChanged(int channel);
    void IData_DataChanged(int channel);

    // The series of captures the window shows while the store holds its last capture.
    void setCaptures(const CaptureSet *captures);
    bool seriesShown() const { return m_seriesShown; }

    bool docked() const { return m_docked; }
    // Switches between the full and the compact layout.
    void toggleDocked();
    // A toolbar button of this window by its key.
    static QAction *toolButton(const QToolBar *bar, const QString &key);

    QSize sizeHint() const override { return m_formSize; }

    QList<QRadioButton *> ButtonChannel;
    QList<QRadioButton *> OptMinButton;
    QFrame *FraBigButton;
    QFrame *FraMinButton;
    QList<StatisticsGrid *> MSFlexResults;
    SeriesGrid *MSFlexSeries;
    QToolBar *TlbData;
    QToolBar *ToolData2;

Q_SIGNALS:
    // Acquire from the board (the main window runs the continuous-read dialog).
    void ReadData();
    // Show a plot window ("FormGraph1", "FormHist", "FormFFT") and draw the current channel.
    void showPlot(const QString &formName);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QToolBar *buildToolbar(const char *name);
    QFrame *buildButtons(const char *name, QList<QRadioButton *> &buttons, bool big);
    void fillTables(int channel);
    void selectChannel(int channel);
    void applyLayout();
    void setFormSize(const QSize &size);
    void onFrameStateChanged(Qt::WindowStates oldState, Qt::WindowStates state);

    QM4168 &IADC;
    ClassData &IData;
    UserDialogs &m_dialogs;
    SettingsStore &m_settings;
    bool m_docked = false;
    const CaptureSet *m_captures = nullptr;
    bool m_seriesShown = false;
    QSize m_formSize;
};
