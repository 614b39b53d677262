#include "SimBoard.h"

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

void SimBoard::execute(const QByteArray &line, bool overflowed)
{
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
    emitOutput(m_firmware.execute(line, overflowed));
    if (m_firmware.streamRequest() > 0) {
        m_streamLeft = m_firmware.streamRequest();
        if (m_pacing)
            m_streamTimer.start();
        else
            produceStream();
    }
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
    m_streamLeft = 0;
    m_streamTimer.stop();
    emitOutput("\r\n");
}

void SimBoard::produceStream()
{
    QByteArray chunk;
    while (m_streamLeft > 0 && m_out.size() + chunk.size() < StreamChunk) {
        const int channel = m_converter.convertNext();
        if (channel < 0)
            break; // the converter does not convert: the stream waits for an abort
        const QByteArray record = m_converter.takeRecord(channel).left(m_streamLeft);
        chunk += record;
        m_streamLeft -= static_cast<int>(record.size());
    }
    emitOutput(chunk);
    if (m_streamLeft == 0 && !chunk.isEmpty())
        emitOutput("\r\n");
}

void SimBoard::streamTick()
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray chunk;
    // Each record is taken as its conversion ends: the chip holds only the latest result.
    m_converter.advanceConversions((now - m_lastTimeNs) / 1000.0, [&](int channel) {
        if (m_streamLeft <= 0)
            return;
        const QByteArray record = m_converter.takeRecord(channel).left(m_streamLeft);
        chunk += record;
        m_streamLeft -= static_cast<int>(record.size());
    });
    m_lastTimeNs = now;
    emitOutput(chunk);
    if (m_streamLeft <= 0 && m_streamTimer.isActive()) {
        m_streamTimer.stop();
        emitOutput("\r\n");
    }
}

void SimBoard::pressReset()
{
    if (streaming())
        endStream();
    emitOutput(m_firmware.execute("X", false));
}
