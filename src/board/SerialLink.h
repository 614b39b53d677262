#pragma once

#include "ReplyParser.h"
#include "platform/SerialPort.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class BoardHooks;
class LinkState;

// The lowest layer of the board link: owns the serial port, frames commands ("[" text CR),
// parses reply lines and runs one exchange at a time. BrdState (LinkState) is the only guard:
// an exchange starts only from Idle or Accessed, and while it waits for its reply the event
// loop keeps running, so timers, received bytes and user input are processed meanwhile.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr auto BoardResetMessage = "Evaluation Board has been RESET !";

    SerialLink(LinkState &state, BoardHooks &hooks, QObject *parent = nullptr);
    ~SerialLink() override;

    void setPortFactory(SerialPortFactory factory) { m_factory = std::move(factory); }

    // Closes the current port, then opens the named one. On failure returns false with the
    // port's own description of the problem in error.
    bool open(const QString &port, QString &error);
    void close();
    bool isOpen() const;
    QString portName() const;
    // The open port (nullptr before the first open), for code that reads the stream itself.
    SerialPort *port() const { return m_port; }

    void BrdSend(const QString &command);
    void ComWrite(const QString &text);
    void ComReadInput();
    void BrdReceiveByte(char byte);

    QString BrdCom(const QString &command);
    // Exchanges the first count bytes of frame with the converter and overwrites them with
    // the bytes clocked back. True when the board answered with a well-formed "S " line;
    // otherwise the frame is left as it was.
    bool BrdSPI(QByteArray &frame, int count);

    QString ReplyBuffer() const { return m_parser.ReplyBuffer(); }
    bool InReply() const { return m_parser.InReply(); }

Q_SIGNALS:
    // The open port went away; it is closed already.
    void portLost(const QString &port, const QString &reason);

private:
    void onBrdStateChanged(int state);

    LinkState &m_state;
    BoardHooks &m_hooks;
    SerialPortFactory m_factory;
    QPointer<SerialPort> m_port;
    ReplyParser m_parser;
    bool m_resetNoticePending = false;
    bool m_lostSeen = false;
};
