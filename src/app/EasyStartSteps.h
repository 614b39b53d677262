#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>
#include <utility>

class BoardLink;
class ClassData;
class QM4168;
class UserDialogs;

// The steps of the easy-start wizard, free of widgets: each step checks the board link,
// shows its message or changes the model, and asks the windows it needs through Windows.
class EasyStartSteps : public QObject
{
    Q_OBJECT

public:
    // What the steps ask of the main window. Window names are the forms' names
    // ("FormEvalBoard", "FormADCSetup", "FormData", "FormGraph1", "FormEasyStart").
    class Windows
    {
    public:
        virtual ~Windows() = default;
        virtual void show(const QString &window) = 0;
        virtual void hide(const QString &window) = 0;
        virtual void focus(const QString &window) = 0;
        // A control of the board window: "ComboComPort" or "CommandReset".
        virtual void focusBoardControl(const QString &control) = 0;
        virtual void viewSet() = 0;
        virtual void readData() = 0;
        virtual void selectGraphChannel(int channel) = 0;
        // Brings a window to the front without taking the keyboard focus from the active one.
        virtual void raise(const QString &window) = 0;
    };

    static constexpr auto NotOpened = "Com Port hasn't been opened !";
    // The board messages name the running variant: "QM4162 board hasn't been accessed !",
    // "No data has been read from the QM4162 !".
    static QString notAccessed(int variantCode);
    static QString noData(int variantCode);

    EasyStartSteps(QM4168 &model, BoardLink &link, ClassData &data, UserDialogs &dialogs, Windows &windows,
                   QObject *parent = nullptr);

    // The instruction lines, top to bottom, and the caption of the channel step.
    static QStringList instructions(int variantCode);
    static QString channelsCaption(int variantCode);
    // The two channels the channel step enables; nothing for an unknown variant.
    static std::optional<std::pair<int, int>> channelPair(int variantCode);

    // Length of a pause (1000 ms; tests shorten it). A step pressed while another step
    // pauses is ignored.
    void setPauseMs(int ms) { m_pauseMs = ms; }
    bool isPausing() const { return Timer1.isActive(); }

    // The channel the graph step shows: channel 1, or on a chip without it (QM4162) the
    // first channel that holds data.
    int graphChannel() const;

public Q_SLOTS:
    void CommandEvalBoard();
    void CommandComPort();
    void CommandReset();
    void CommandADCSetup();
    void CommandCh0Ch1();
    void Cmd_24Bits();
    void CommandData();
    void CommandMeasureStart();
    void CommandGraphHistogram();

private:
    bool accessChecked();
    void pause();
    void message(const QString &text);

    QM4168 &IADC;
    BoardLink &m_link;
    ClassData &IData;
    UserDialogs &m_dialogs;
    Windows &m_windows;
    QTimer Timer1;
    int m_pauseMs = 1000;
};
