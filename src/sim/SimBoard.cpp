#include "SimBoard.h"

#include <utility>

namespace {
constexpr int PacedTickMs = 5;
constexpr double MaxLineBurst = 64.0; // bytes the paced line may catch up after a pause
} // namespace

SimBoard::SimBoard(int variant, quint32 seed, QObject *parent)
    : QObject(parent)
    , m_converter(variant, seed)
    , m_firmware(m_converter)
{
    m_clock.start();
    m_streamTimer.setInterval(PacedTickMs);
    m_lineTimer.setInterval(PacedTickMs);
    connect(&m_streamTimer, &QTimer::timeout, this, &SimBoard::streamTick);
    connect(&m_lineTimer, &QTimer::timeout, this, [this] {
        if (m_out.isEmpty())
            m_lineTimer.stop();
        else
            Q_EMIT outputReady();
    });
}

void SimBoard::setPacing(bool on)
{
    m_pacing = on;
    m_lastTimeNs = m_clock.nsecsElapsed();
    m_lineNs = m_lastTimeNs;
    m_lineBudget = 0.0;
}

void SimBoard::receive(const QByteArray &bytes)
{
    for (char byte : bytes)
        if (m_reader.feed(byte))
            execute(m_reader.line(), m_reader.overflowed());
}

namespace {
// "S hh hh ...": a frame that writes a register (a communications byte with the read bit
// clear and an address other than the communications register, then data).
bool isRegisterWrite(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 3 || fields.at(0) != "S")
        return false;
    bool ok = false;
    const int first = fields.at(1).toInt(&ok, 16);
    return ok && first > 0 && first < 0x40;
}
} // namespace

void SimBoard::execute(const QByteArray &line, bool overflowed)
{
    if (m_lateWaiting)
        return; // busy getting a late answer out: the line is lost
    // A line too long for the buffer is an error, even when what the buffer kept is "*".
    const bool abort = !overflowed && line.trimmed() == "*";
    if (streaming()) {
        endStream();
        if (abort)
            return;
    } else if (abort) {
        return; // nothing to abort
    }
    catchUpTime();
    answer(line, overflowed);
}

void SimBoard::answer(const QByteArray &line, bool overflowed)
{
    const bool afterStream = std::exchange(m_afterStream, false);
    const bool write = !overflowed && isRegisterWrite(line);
    ++m_commands;
    if (write && m_faults.refuseWrites) {
        emitOutput(SimFirmware::line("E REFUSED"));
        return;
    }
    if (write && m_faults.ignoreWrites) {
        emitOutput(SimFirmware::line(line.simplified()));
        return;
    }
    QByteArray reply = m_firmware.execute(line, overflowed);
    const int stream = m_firmware.streamRequest();
    const bool answered = !(write && m_faults.muteWrites) && !(m_faults.dropThird && m_commands % 3 == 0) &&
                          !(m_faults.muteClose && afterStream);
    if (m_faults.junkReplies && reply.startsWith("[S"))
        reply = SimFirmware::line("S 12 34 56 78");
    if (write && ++m_writes == 3 && m_faults.resetInWrites) {
        if (answered)
            emitOutput(reply);
        pressReset();
        return;
    }
    if (!answered)
        return;
    if (stream <= 0) {
        emitOutput(reply);
        return;
    }
    int sent = stream;
    if (m_faults.countChange != 0) {
        sent = m_faults.countChange < 0    ? qMax(1, stream / 2)
               : m_faults.countChange == 1 ? stream + 4
                                           : stream;
        reply = SimFirmware::streamHeader(m_faults.countChange == 2 ? 0xFFFF : sent);
    }
    if (m_faults.lateAnswer) {
        m_lateWaiting = true;
        QTimer::singleShot(SimFaults::LateAnswerMs, this, [this, reply, sent] {
            m_lateWaiting = false;
            emitOutput(reply);
            startStream(sent);
        });
        return;
    }
    emitOutput(reply);
    startStream(sent);
}

void SimBoard::startStream(int bytes)
{
    m_streamLeft = bytes;
    m_streamTotal = bytes;
    m_streamRecords = 0;
    if (m_pacing)
        m_streamTimer.start();
    else
        produceStream();
}

void SimBoard::catchUpTime()
{
    // Paced, the converter lives in real time; unpaced, whatever was started is finished
    // before the next command looks at the chip.
    if (m_pacing) {
        const qint64 now = m_clock.nsecsElapsed();
        m_converter.advance((now - m_lastTimeNs) / 1000.0);
        m_lastTimeNs = now;
    } else {
        m_converter.settle();
    }
}

void SimBoard::emitOutput(const QByteArray &bytes)
{
    if (bytes.isEmpty() || m_out.size() + bytes.size() > OutputLimit)
        return;
    const bool wasEmpty = m_out.isEmpty();
    m_out += bytes;
    if (m_pacing) {
        if (!m_lineTimer.isActive())
            m_lineTimer.start();
    } else if (wasEmpty && !m_announcePending) {
        m_announcePending = true;
        QMetaObject::invokeMethod(this, &SimBoard::announce, Qt::QueuedConnection);
    }
}

void SimBoard::announce()
{
    m_announcePending = false;
    if (!m_out.isEmpty())
        Q_EMIT outputReady();
}

QByteArray SimBoard::takeOutput(int max)
{
    int allowed = qMin(max, static_cast<int>(m_out.size()));
    if (m_pacing) {
        const qint64 now = m_clock.nsecsElapsed();
        m_lineBudget = qMin(m_lineBudget + (now - m_lineNs) * 1e-9 * BytesPerSecond, MaxLineBurst);
        m_lineNs = now;
        allowed = qMin(allowed, static_cast<int>(m_lineBudget));
        m_lineBudget -= allowed;
    }
    const QByteArray taken = m_out.left(allowed);
    m_out.remove(0, allowed);
    if (!m_pacing && streaming() && m_out.size() < StreamChunk)
        produceStream();
    return taken;
}

void SimBoard::discardOutput()
{
    m_out.clear();
}

void SimBoard::endStream()
{
    if (m_streamTotal == 0)
        return;
    m_streamLeft = 0;
    m_streamTotal = 0;
    m_streamTimer.stop();
    if (!m_faults.noClosingBytes)
        emitOutput("\r\n");
    m_afterStream = true;
}

QByteArray SimBoard::streamRecord(int channel)
{
    QByteArray record = m_converter.takeRecord(channel);
    ++m_streamRecords;
    if (m_faults.channelSeven || (m_faults.foreignChannel && m_streamRecords == 3)) {
        const int named = m_faults.channelSeven ? 7 : (channel + 4) % 8;
        record[0] = static_cast<char>((static_cast<quint8>(record.at(0)) & 0x1F) | (named << 5));
    }
    if (m_faults.randomBytes && m_streamRecords >= 3)
        for (char &byte : record) {
            m_junk = m_junk * 1103515245u + 12345u;
            byte = static_cast<char>(m_junk >> 16);
        }
    record = record.left(m_streamLeft);
    m_streamLeft -= static_cast<int>(record.size());
    return record;
}

bool SimBoard::resetDue() const
{
    return m_faults.resetInStream && m_streamLeft > 0 && (m_streamTotal - m_streamLeft) * 2 >= m_streamTotal;
}

void SimBoard::afterChunk(const QByteArray &chunk)
{
    emitOutput(chunk);
    if (resetDue())
        pressReset();
    else if (m_streamLeft <= 0)
        endStream();
}

void SimBoard::produceStream()
{
    QByteArray chunk;
    while (m_streamLeft > 0 && !resetDue() && m_out.size() + chunk.size() < StreamChunk) {
        const int channel = m_converter.convertNext();
        if (channel < 0)
            break; // the converter does not convert: the stream waits for an abort
        chunk += streamRecord(channel);
    }
    afterChunk(chunk);
}

void SimBoard::streamTick()
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray chunk;
    // Each record is taken as its conversion ends: the chip holds only the latest result.
    m_converter.advanceConversions((now - m_lastTimeNs) / 1000.0, [&](int channel) {
        if (m_streamLeft > 0 && !resetDue())
            chunk += streamRecord(channel);
    });
    m_lastTimeNs = now;
    afterChunk(chunk);
}

void SimBoard::pressReset()
{
    if (streaming())
        endStream();
    emitOutput(m_firmware.execute("X", false));
}
