#pragma once

#include <QObject>
#include <QString>

#include <functional>

// What the board link asks of the windows, in one place. The link raises these signals
// (direct connections, so a connected slot runs before the link goes on) and asks Record
// through a function. Nothing here needs a window: the board window, the traffic monitor,
// the code generator, the reset dialog and the status bar connect to it when they exist,
// and tests connect recorders.
class BoardHooks : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The code generator's record switch, asked after each user register access. Without a
    // code generator nothing is recorded.
    std::function<bool()> Record;

    bool isRecording() const { return Record && Record(); }

Q_SIGNALS:
    // Traffic for the communication monitor: every frame sent, every byte received.
    void Display(const QString &text);
    // The text of the status bar panel "BrdStatus".
    void StatusText(const QString &text);
    // The board or the converter has been reset: the reset dialog sets its message label to
    // message and shows itself modally unless it is already visible. Raised from the event
    // loop, never inside the port's receive notification, and only while the link is free:
    // the slot may block (modal dialog) and may use the link.
    void ResetNotice(const QString &message);
    // A register read met a converter in continuous-read mode: show the continuous-read
    // dialog (modally), then take the mode register out of continuous read.
    void RunContReadDialog();
    // Code generator: a recorded user write or read of one register.
    void WriteOperation(int address);
    void ReadOperation(int address);
    // The open port went away (device unplugged, simulator ended); the link has closed it and
    // is disabled. The board window puts its port choice back to "Disabled".
    void PortLost(const QString &port);
};
