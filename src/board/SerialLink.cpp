#include "SerialLink.h"

#include "BoardHooks.h"
#include "EventWait.h"
#include "LinkState.h"
#include "model/HexText.h"

SerialLink::SerialLink(LinkState &state, BoardHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_hooks(hooks)
{
    connect(&m_state, &LinkState::BrdStateChanged, this, &SerialLink::onBrdStateChanged);
}

SerialLink::~SerialLink()
{
    if (m_port)
        m_port->disconnect(this);
}

bool SerialLink::open(const QString &port, QString &error)
{
    close();
    if (m_port) {
        // Possibly inside one of its own signals: let it go once control is back at the top.
        m_port->disconnect(this);
        m_port->deleteLater();
        m_port = nullptr;
    }
    std::unique_ptr<SerialPort> created = m_factory ? m_factory(port) : nullptr;
    if (!created) {
        error = QStringLiteral("No serial port of that name");
        return false;
    }
    m_port = created.release();
    m_port->setParent(this);
    connect(m_port, &SerialPort::received, this, &SerialLink::ComReadInput);
    SerialPort *opened = m_port;
    connect(m_port, &SerialPort::lost, this, [this, opened](const QString &reason) {
        if (opened != m_port || m_lostSeen)
            return; // reported once per opened port
        m_lostSeen = true;
        Q_EMIT portLost(opened->portName(), reason);
    });
    m_parser = ReplyParser();
    m_discardInput = false;
    m_lostSeen = false;
    m_resetNotices = 0;
    if (!m_port->open(port)) {
        error = m_port->errorString();
        return false;
    }
    m_port->setReceiveThreshold(1);
    return true;
}

void SerialLink::close()
{
    if (m_port && m_port->isOpen())
        m_port->close();
}

bool SerialLink::isOpen() const
{
    return m_port && m_port->isOpen();
}

QString SerialLink::portName() const
{
    return m_port ? m_port->portName() : QString();
}

void SerialLink::BrdSend(const QString &command)
{
    ComWrite(QLatin1Char('[') + command + QLatin1Char('\r'));
}

void SerialLink::ComWrite(const QString &text)
{
    if (m_port)
        m_port->write(text.toLatin1());
    Q_EMIT m_hooks.Display(text);
}

namespace {
bool continuousReadOwns(int state)
{
    return state == LinkState::BoardRequest || state == LinkState::BoardAnswer ||
           state == LinkState::BoardEscape;
}
} // namespace

void SerialLink::ComReadInput()
{
    // Runs inside the port's notification, which the port does not raise again until this
    // returns: everything waiting is read now, and nothing here may wait for more.
    while (m_port && !continuousReadOwns(m_state.BrdState()) && m_port->bytesWaiting() > 0) {
        const QByteArray bytes = m_port->read(m_port->bytesWaiting());
        if (bytes.isEmpty())
            break;
        for (const char byte : bytes) {
            Q_EMIT m_hooks.Display(QString(QChar::fromLatin1(byte)));
            BrdReceiveByte(byte);
        }
    }
}

void SerialLink::BrdReceiveByte(char byte)
{
    const int state = m_state.BrdState();
    if (state == LinkState::BoardRequest || state == LinkState::BoardAnswer)
        return; // a continuous read owns the port
    if (!m_parser.feed(byte))
        return;

    const bool notice = m_parser.isResetNotice();
    if (state == LinkState::BoardWaiting && (!notice || m_resetCommand)) {
        // Kept apart at once: the next line may follow in the same batch.
        m_reply = m_parser.ReplyBuffer();
        m_state.setBrdState(LinkState::BoardReplied);
    }
    if (notice) {
        ++m_resetNotices;
        holdResetNotice();
    }
}

void SerialLink::holdResetNotice()
{
    // The reset dialog lets the user write or read every register at once. That needs a free
    // link and a port that notifies again, so the notice goes out from the event loop, after
    // this notification has returned, and once any exchange under way has finished.
    m_resetNoticePending = true;
    if (m_noticeQueued)
        return;
    m_noticeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_noticeQueued = false;
            deliverResetNotice();
        },
        Qt::QueuedConnection);
}

void SerialLink::deliverResetNotice()
{
    const int state = m_state.BrdState();
    if (!m_resetNoticePending || (state != LinkState::BoardIdle && state != LinkState::BoardAccessed))
        return; // closed (dropped), or busy: onBrdStateChanged queues it again
    m_resetNoticePending = false;
    Q_EMIT m_hooks.ResetNotice(QString::fromLatin1(BoardResetMessage));
}

void SerialLink::onBrdStateChanged(int state)
{
    // A held-back notice goes out once the link is free again; a closed link drops it
    // (nothing could be written or read from the dialog).
    if (state == LinkState::BoardDisabled)
        m_resetNoticePending = false;
    else if (m_resetNoticePending && (state == LinkState::BoardIdle || state == LinkState::BoardAccessed))
        holdResetNotice();
}

void SerialLink::discardInput()
{
    m_discardInput = false;
    if (m_port)
        m_port->clearInput();
    m_parser = ReplyParser();
}

QString SerialLink::BrdCom(const QString &command)
{
    const int state = m_state.BrdState();
    if (state != LinkState::BoardAccessed && state != LinkState::BoardIdle) {
        m_outcome = state == LinkState::BoardDisabled ? Outcome::Closed : Outcome::NotReady;
        return {};
    }
    // A reply that comes after its exchange gave up would answer this command instead.
    if (m_discardInput)
        discardInput();
    m_reply.clear();
    m_resetCommand = command.startsWith(QLatin1Char('X'));
    m_state.setBrdState(LinkState::BoardWaiting);
    BrdSend(command);
    waitWhile([this] { return m_state.BrdState() == LinkState::BoardWaiting; });
    m_resetCommand = false;
    const int after = m_state.BrdState();
    if (after != LinkState::BoardReplied) {
        m_outcome = after == LinkState::BoardDisabled ? Outcome::Closed : Outcome::NoAnswer;
        m_discardInput = true;
        return {};
    }
    m_outcome = Outcome::Answered;
    const QString reply = m_reply;
    m_state.setBrdState(LinkState::BoardAccessed);
    return reply;
}

bool SerialLink::BrdSPI(QByteArray &frame, int count)
{
    count = qBound(0, count, static_cast<int>(frame.size()));
    QString command = QStringLiteral("S");
    for (int i = 0; i < count; ++i)
        command += QLatin1Char(' ') + HexPad(static_cast<quint8>(frame.at(i)), 2);

    const QString reply = BrdCom(command);
    if (!reply.startsWith(QLatin1String("S ")))
        return false;
    // The answer has the layout of the command. One that is cut short, runs longer or holds
    // something other than hexadecimal byte pairs is not taken over, byte by byte or at all.
    if (reply.size() != 3 * count + 1 && count > 0)
        return false;
    const auto isHexDigit = [](QChar c) {
        const QChar u = c.toUpper();
        return (u >= QLatin1Char('0') && u <= QLatin1Char('9')) ||
               (u >= QLatin1Char('A') && u <= QLatin1Char('F'));
    };
    QByteArray answer(count, '\0');
    for (int i = 0; i < count; ++i) {
        const QString pair = reply.mid(3 * i + 2, 2);
        if (pair.size() != 2 || !isHexDigit(pair.at(0)) || !isHexDigit(pair.at(1)) ||
            reply.at(3 * i + 1) != QLatin1Char(' '))
            return false;
        answer[i] = static_cast<char>(HexToLong(pair));
    }
    for (int i = 0; i < count; ++i)
        frame[i] = answer.at(i);
    return true;
}
