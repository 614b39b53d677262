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
//
// Receive path: the port's notification calls ComReadInput, which reads every waiting byte
// (in whatever batches the port delivers them) and feeds them to BrdReceiveByte. Nothing on
// this path waits or blocks: the line that answers a waiting exchange is kept apart for it at
// once (later lines of the same batch cannot touch it), and a reset notice is handed on by a
// queued call once the port's notification has returned and the link is free.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr auto BoardResetMessage = "Evaluation Board has been RESET !";

    // How the last BrdCom ended.
    enum class Outcome
    {
        Answered, // a reply line came
        NoAnswer, // sent, but the time-out (or anything other than a reply) ended the wait
        NotReady, // not sent: another exchange or a continuous read has the link
        Closed    // not sent, or the wait ended, because the port is closed
    };

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
    // Reads every waiting byte into the reply parser; leaves the bytes in the port while a
    // continuous read owns it (BrdState Request, Answer or Escape).
    void ComReadInput();
    void BrdReceiveByte(char byte);

    // Sends one command and waits for its reply line. A reset notice ("X ...") is never the
    // reply, except to the board reset command "X" itself. After an exchange that got no
    // reply, whatever the port still holds is stale and dropped before the next command goes.
    QString BrdCom(const QString &command);
    Outcome lastOutcome() const { return m_outcome; }
    // The reply line of the last BrdCom that got one ("" when it got none).
    QString lastReply() const { return m_reply; }
    // Reset notices the board has sent since the port was opened (its own reply to "X"
    // included): a transfer that sees the count grow knows its earlier writes were lost.
    int resetNotices() const { return m_resetNotices; }
    // Exchanges the first count bytes of frame with the converter and overwrites them with
    // the bytes clocked back. True when the board answered with a well-formed "S " line;
    // otherwise (an answer of another length, or not hexadecimal) the frame is left as it was.
    bool BrdSPI(QByteArray &frame, int count);

    QString ReplyBuffer() const { return m_parser.ReplyBuffer(); }
    bool InReply() const { return m_parser.InReply(); }

Q_SIGNALS:
    // The open port went away; it is closed already.
    void portLost(const QString &port, const QString &reason);

private:
    void onBrdStateChanged(int state);
    void holdResetNotice();
    void deliverResetNotice();
    void discardInput();

    LinkState &m_state;
    BoardHooks &m_hooks;
    SerialPortFactory m_factory;
    QPointer<SerialPort> m_port;
    ReplyParser m_parser;
    QString m_reply;                   // the line that answered the waiting exchange
    bool m_resetCommand = false;       // the waiting exchange is "X": the notice is its reply
    bool m_resetNoticePending = false; // a notice waits for a free link
    bool m_noticeQueued = false;
    bool m_discardInput = false; // the last exchange got no reply: its input is stale
    Outcome m_outcome = Outcome::NotReady;
    bool m_lostSeen = false;
    int m_resetNotices = 0;
};
