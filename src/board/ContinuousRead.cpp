#include "ContinuousRead.h"

#include "BoardLink.h"
#include "EventWait.h"
#include "data/ClassData.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

#include <QTimer>

namespace {
constexpr int ModeAddress = 56;
} // namespace

ContinuousRead::ContinuousRead(BoardLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
}

const QM4168 &ContinuousRead::source() const
{
    return m_source ? *m_source : m_link.model();
}

QString ContinuousRead::request(int amount) const
{
    const QM4168 &model = source();
    const int record = model.DataWidth(-1) + 1;
    const int channels = model.ChannelCount();
    const int unit = model.RdyFn() ? record * channels : record;
    const int units = model.RdyFn() ? amount : channels * amount;
    return QStringLiteral("C 38 ") + HexPad(model.Register(ModeAddress), 2) + QStringLiteral(" 48 ") +
           HexPad(unit, 2) + QLatin1Char(' ') + HexPad(units, 4);
}

QString ContinuousRead::progressText(int received, int total, qint64 elapsedMs)
{
    const double left = qMax(0, total + ClosingBytes - received) / double(LineBytesPerSecond);
    return QStringLiteral("%1 of %2 bytes, %3 s, about %4 s left")
        .arg(received)
        .arg(total)
        .arg(elapsedMs / 1000.0, 0, 'f', 1)
        .arg(left, 0, 'f', 1);
}

bool ContinuousRead::portAlive() const
{
    return m_port && m_port->isOpen() && m_link.port() == m_port &&
           m_link.BrdState() != LinkState::BoardDisabled;
}

int ContinuousRead::requestedBytes(int amount) const
{
    const QM4168 &model = m_link.model();
    return (model.DataWidth(-1) + 1) * model.ChannelCount() * amount;
}

ContReadResult ContinuousRead::BrdContRead(int amount, ClassData &store)
{
    ContReadResult result;
    const int first = m_link.BrdState();
    if (first != LinkState::BoardIdle && first != LinkState::BoardAccessed) {
        result.outcome =
            first == LinkState::BoardDisabled ? ContReadResult::LinkClosed : ContReadResult::LinkBusy;
        return result;
    }
    m_port = m_link.port();
    m_clock.start();
    m_reported = -1;
    m_silent = false;
    m_seen.clear();
    result.requested = requestedBytes(amount);

    // The request. From here until the link is restored, bytes are taken from the port only
    // here: no receive notification reaches the reply parser.
    m_link.setBrdState(LinkState::BoardRequest);
    Q_EMIT LabelStatus(QStringLiteral("Waiting for Data"));
    m_port->setReceiveThreshold(0);
    m_link.BrdSend(request(amount));

    bool timedOut = false;
    QTimer requestTimer;
    requestTimer.setSingleShot(true);
    connect(&requestTimer, &QTimer::timeout, this, [&] {
        timedOut = true;
        m_link.setBrdState(LinkState::BoardEscape);
    });
    if (m_requestTimeOutMs > 0)
        requestTimer.start(m_requestTimeOutMs);
    QByteArray answer;
    waitForAnswer(answer, LinkState::BoardRequest);
    requestTimer.stop();

    // Cancelled before the answer: the abort command, then the answer or the time-out.
    const bool escaped = m_link.BrdState() == LinkState::BoardEscape;
    if (escaped) {
        m_link.BrdSend(QStringLiteral("*"));
        m_link.BrdTimeOut().start();
        waitForAnswer(answer, LinkState::BoardEscape);
        m_link.BrdTimeOut().stop();
    }
    if (answer.size() == AnswerBytes && portAlive()) {
        m_seen = answer;
        result.answer = QString::fromLatin1(answer);
        Q_EMIT m_link.hooks().Display(result.answer);
        if (result.answer.startsWith(QLatin1String("[C ")))
            result.announced = HexToLong(result.answer.mid(3, 4));
    }

    const int record = source().DataWidth(-1) + 1;
    if (!portAlive())
        result.outcome = ContReadResult::Lost;
    else if (timedOut)
        result.outcome = ContReadResult::NoAnswer;
    else if (escaped)
        result.outcome = ContReadResult::Cancelled; // a cancel stays a cancel, answered or not
    else if (result.announced < record)
        result.outcome = ContReadResult::Refused;
    else if (result.announced != result.requested)
        result.outcome = ContReadResult::WrongCount;
    else
        transfer(result, store);
    m_live.finish(result.completed());

    QByteArray notice;
    if (!result.completed() && portAlive()) {
        // A board that answered a cancelled request late streams all the same: it is told
        // again to stop, and the line is drained until it is quiet (at most for as long as its
        // stream would take, and 2 s). A refused request has nothing to abort.
        const bool lateStream = escaped && result.announced > 0;
        const int leftMs = lateStream ? (result.announced + ClosingBytes) * 1000 / LineBytesPerSecond : 0;
        abortAndDrain(lateStream || (!escaped && result.outcome != ContReadResult::Refused), leftMs,
                      escaped && result.answer.isEmpty());
        if (m_seen.contains("[X ")) {
            // The board was reset: what it was set up for is gone.
            result.outcome = ContReadResult::BoardReset;
            notice = m_seen.mid(m_seen.indexOf("[X "));
            notice.truncate(notice.indexOf('\r') + 1);
        }
    }

    // The link as before: the input cleared, the reply parser fed again.
    if (m_port) {
        m_port->clearInput();
        m_port->setReceiveThreshold(1);
    }
    if (!closingExchange() && result.completed())
        result.closeProblem =
            QStringLiteral("The evaluation board did not answer the closing exchange (\"S 80\").");
    // A reset notice goes to the reply parser, so that the windows offer the reset dialog
    // as for any other notice.
    for (const char byte : std::as_const(notice))
        m_link.BrdReceiveByte(byte);
    return result;
}

bool ContinuousRead::waitForAnswer(QByteArray &answer, int state)
{
    // The answer begins with "["; whatever comes before it is the end of an earlier line
    // (the LF after a reply's CR may still be on its way) and is dropped.
    const auto take = [&] {
        while (answer.size() < AnswerBytes && m_port->bytesWaiting() > 0) {
            const QByteArray byte = m_port->read(1);
            if (!answer.isEmpty() || byte == "[")
                answer += byte;
        }
        return answer.size() == AnswerBytes;
    };
    waitWhile([&] { return portAlive() && m_link.BrdState() == state && !take(); });
    return answer.size() == AnswerBytes;
}

bool ContinuousRead::waitForBytes(int count, int state, bool watchSilence)
{
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(SilenceMs);
    connect(&silence, &QTimer::timeout, this, [this] { m_silent = true; });
    int seen = -1;
    const auto ready = [&] {
        return portAlive() && m_link.BrdState() == state && !m_silent && m_port->bytesWaiting() >= count;
    };
    waitWhile([&] {
        if (!portAlive() || m_link.BrdState() != state || m_silent || m_port->bytesWaiting() >= count)
            return false;
        if (watchSilence && m_port->bytesWaiting() != seen) {
            seen = m_port->bytesWaiting();
            silence.start();
        }
        return true;
    });
    return ready();
}

void ContinuousRead::keepSeen(const QByteArray &bytes)
{
    // The latest bytes, where a reset notice in the stream would be.
    m_seen += bytes;
    if (m_seen.size() > SeenBytes)
        m_seen.remove(0, m_seen.size() - SeenBytes);
}

void ContinuousRead::transfer(ContReadResult &result, ClassData &store)
{
    const QM4168 &model = source();
    m_link.setBrdState(LinkState::BoardAnswer);
    Q_EMIT LabelStatus(QStringLiteral("Transfering Data"));

    // A store of its own: the one the windows show changes only when all data are in.
    ClassData fresh;
    fresh.setDataWidth(model.DataWidth(-1));
    fresh.setClamp(model.Clamp(-1));
    fresh.setRefVoltage(model.Vref());
    QList<int> enabled;
    for (int ch = 0; ch <= model.MaxChannel(); ++ch) {
        fresh.setRng(ch, model.Rng(ch));
        // The conversion time as the setup window's row shows it.
        fresh.setChannelTime(ch, roundHalfEven(model.ConversionTime(ch), 2));
        if (model.Enable(ch))
            enabled << ch;
    }

    // The announced count is the requested one, a whole number of records.
    const int record = model.DataWidth(-1) + 1;
    const int whole = result.announced / record * record;
    m_live.begin(fresh, enabled, enabled.isEmpty() ? 0 : whole / record / static_cast<int>(enabled.size()));
    reportProgress(result);
    while (result.received < whole && waitForBytes(record, LinkState::BoardAnswer, true)) {
        while (result.received < whole && m_port->bytesWaiting() >= record) {
            const QByteArray bytes = m_port->read(record);
            keepSeen(bytes);
            // Only the enabled channels convert; with the ready pin after all channels, each
            // unit holds them in their order.
            const int channel = static_cast<quint8>(bytes.at(0)) >> 5;
            const int due =
                model.RdyFn() && !enabled.isEmpty() ? enabled.at(result.records % enabled.size()) : -1;
            if (!enabled.contains(channel) || (due >= 0 && channel != due)) {
                result.badChannel = channel;
                result.dueChannel = enabled.contains(channel) ? due : -1;
                result.outcome = ContReadResult::BadRecord;
                return;
            }
            fresh.Add(bytes);
            m_live.add(bytes);
            result.received += record;
            ++result.records;
        }
        m_live.flush();
        reportProgress(result);
    }
    if (result.received < whole) {
        result.outcome = !portAlive() ? ContReadResult::Lost
                         : m_silent   ? ContReadResult::Stopped
                                      : ContReadResult::Cancelled;
        return;
    }
    // The closing bytes: a stream without them has not ended as it should, and the board's
    // state is unknown.
    const int rest = result.announced - whole + ClosingBytes;
    if (!waitForBytes(rest, LinkState::BoardAnswer, true)) {
        result.outcome = !portAlive() ? ContReadResult::Lost
                         : m_silent   ? ContReadResult::Unclosed
                                      : ContReadResult::Cancelled;
        return;
    }
    keepSeen(m_port->read(rest));

    result.outcome = ContReadResult::Completed;
    Q_EMIT LabelStatus(QStringLiteral("Processing Data"));
    store.replaceContents(fresh);
    store.Process();
}

void ContinuousRead::abortAndDrain(bool sendAbort, int streamMs, bool watchLate)
{
    if (sendAbort)
        m_link.BrdSend(QStringLiteral("*"));
    // Done once the line has been quiet for QuietMs; a line that never falls quiet is given up
    // SilenceMs after the time the stream still due would take. While a cancelled request is
    // unanswered, an answer may yet come: the line must then be quiet for SilenceMs, and an
    // answer that does come is told to stop and given its stream's time.
    int quietMs = watchLate ? SilenceMs : QuietMs;
    bool done = false;
    QTimer quiet;
    QTimer limit;
    quiet.setSingleShot(true);
    limit.setSingleShot(true);
    connect(&quiet, &QTimer::timeout, this, [&done] { done = true; });
    connect(&limit, &QTimer::timeout, this, [&done] { done = true; });
    quiet.start(quietMs);
    limit.start(qMax(0, streamMs) + quietMs + SilenceMs);
    waitWhile([&] {
        if (!portAlive())
            return false;
        if (m_port->bytesWaiting() > 0) {
            const QByteArray bytes = m_port->read(m_port->bytesWaiting());
            const QByteArray recent = m_seen.right(AnswerBytes) + bytes;
            keepSeen(bytes);
            const int at = static_cast<int>(recent.indexOf("[C "));
            if (watchLate && at >= 0 && recent.size() >= at + AnswerBytes) {
                watchLate = false;
                quietMs = QuietMs;
                const int announced = HexToLong(QString::fromLatin1(recent.mid(at + 3, 4)));
                m_link.BrdSend(QStringLiteral("*"));
                limit.start((announced + ClosingBytes) * 1000 / LineBytesPerSecond + QuietMs + SilenceMs);
            }
            quiet.start(quietMs);
        }
        return !done;
    });
}

bool ContinuousRead::closingExchange()
{
    if (!portAlive())
        return false; // the port went away; the link is (or is about to be) closed
    // "S 80" takes the chip out of continuous-read mode; its reply goes through the parser.
    m_link.setBrdState(LinkState::BoardWaiting);
    Q_EMIT LabelStatus(QStringLiteral("Escaping Cont.Read"));
    m_link.BrdSend(QStringLiteral("S 80"));
    waitWhile([this] { return m_link.BrdState() == LinkState::BoardWaiting; });
    const bool answered = m_link.BrdState() == LinkState::BoardReplied &&
                          m_link.serialLink().lastReply() == QLatin1String("S 80");
    if (m_link.BrdState() == LinkState::BoardReplied)
        m_link.setBrdState(LinkState::BoardAccessed);
    // The periodic read starts again (when register traffic is free at all).
    if (m_link.UpdateState() == RegisterSync::UpdIdle)
        m_link.setUpdateState(RegisterSync::UpdIdle);
    return answered;
}

void ContinuousRead::reportProgress(const ContReadResult &result)
{
    if (result.received == m_reported)
        return;
    m_reported = result.received;
    Q_EMIT progress(result.received, result.announced, m_clock.elapsed());
}
