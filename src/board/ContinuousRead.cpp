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
    else
        transfer(result, store);

    // A cancelled request has had its abort already; a refused one has nothing to abort.
    if (!result.completed() && portAlive())
        abortAndDrain(!escaped && result.outcome != ContReadResult::Refused);

    // The link as before: the input cleared, the reply parser fed again.
    if (m_port) {
        m_port->clearInput();
        m_port->setReceiveThreshold(1);
    }
    closingExchange();
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
    for (int ch = 0; ch <= model.MaxChannel(); ++ch) {
        fresh.setRng(ch, model.Rng(ch));
        // The conversion time as the setup window's row shows it.
        fresh.setChannelTime(ch, roundHalfEven(model.ConversionTime(ch), 2));
    }

    // Whole records only: a count that is not a multiple of the record ends in a part
    // record, which is not data, and the closing bytes are never taken for data.
    const int record = model.DataWidth(-1) + 1;
    const int whole = result.announced / record * record;
    reportProgress(result);
    while (result.received < whole && waitForBytes(record, LinkState::BoardAnswer, true)) {
        while (result.received < whole && m_port->bytesWaiting() >= record) {
            fresh.Add(m_port->read(record));
            result.received += record;
            ++result.records;
        }
        reportProgress(result);
    }
    if (result.received < whole) {
        result.outcome = !portAlive() ? ContReadResult::Lost
                         : m_silent   ? ContReadResult::Stopped
                                      : ContReadResult::Cancelled;
        return;
    }
    // The rest of a part record and the closing bytes; not interpreted, and the data are
    // complete whether they come or not.
    const int rest = result.announced - whole + ClosingBytes;
    if (waitForBytes(rest, LinkState::BoardAnswer, true))
        m_port->read(rest);

    result.outcome = ContReadResult::Completed;
    Q_EMIT LabelStatus(QStringLiteral("Processing Data"));
    store.replaceContents(fresh);
    store.Process();
}

void ContinuousRead::abortAndDrain(bool sendAbort)
{
    if (sendAbort)
        m_link.BrdSend(QStringLiteral("*"));
    bool done = false;
    QTimer quiet;
    QTimer limit;
    quiet.setSingleShot(true);
    limit.setSingleShot(true);
    connect(&quiet, &QTimer::timeout, this, [&done] { done = true; });
    connect(&limit, &QTimer::timeout, this, [&done] { done = true; });
    quiet.start(QuietMs);
    limit.start(SilenceMs);
    waitWhile([&] {
        if (!portAlive())
            return false;
        if (m_port->bytesWaiting() > 0) {
            m_port->clearInput();
            quiet.start(QuietMs);
        }
        return !done;
    });
}

void ContinuousRead::closingExchange()
{
    if (!portAlive())
        return; // the port went away; the link is (or is about to be) closed
    // "S 80" takes the chip out of continuous-read mode; its reply goes through the parser.
    m_link.setBrdState(LinkState::BoardWaiting);
    Q_EMIT LabelStatus(QStringLiteral("Escaping Cont.Read"));
    m_link.BrdSend(QStringLiteral("S 80"));
    waitWhile([this] { return m_link.BrdState() == LinkState::BoardWaiting; });
    if (m_link.BrdState() == LinkState::BoardReplied)
        m_link.setBrdState(LinkState::BoardAccessed);
    // The periodic read starts again (when register traffic is free at all).
    if (m_link.UpdateState() == RegisterSync::UpdIdle)
        m_link.setUpdateState(RegisterSync::UpdIdle);
}

void ContinuousRead::reportProgress(const ContReadResult &result)
{
    if (result.received == m_reported)
        return;
    m_reported = result.received;
    Q_EMIT progress(result.received, result.announced, m_clock.elapsed());
}
