#include "ArrivingBytes.h"

#include <QTimer>

ArrivingBytes::ArrivingBytes(std::function<void(const QByteArray &)> deliver, QObject *parent)
    : QObject(parent)
    , m_deliver(std::move(deliver))
{
}

void ArrivingBytes::setSplit(Split split, quint32 seed)
{
    m_split = split;
    m_random.seed(seed);
}

void ArrivingBytes::add(const QByteArray &bytes)
{
    m_pending += bytes;
    if (m_pending.isEmpty() || m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &ArrivingBytes::deliverNext);
}

void ArrivingBytes::deliverNext()
{
    m_scheduled = false;
    if (m_pending.isEmpty())
        return;
    const QByteArray batch = m_pending.left(nextBatchSize());
    m_pending.remove(0, batch.size());
    // The next batch is due before this one is handed over: the receiver may run a nested
    // event loop, during which the line goes on delivering.
    if (!m_pending.isEmpty()) {
        m_scheduled = true;
        QTimer::singleShot(0, this, &ArrivingBytes::deliverNext);
    }
    m_deliver(batch);
}

int ArrivingBytes::nextBatchSize()
{
    const int size = static_cast<int>(m_pending.size());
    switch (m_split) {
    case Split::OneByte:
        return 1;
    case Split::WholeLines: {
        int end = 0;
        while (end < size && m_pending.at(end) != '\r' && m_pending.at(end) != '\n')
            ++end;
        if (end + 1 < size && m_pending.at(end) == '\r' && m_pending.at(end + 1) == '\n')
            ++end;
        return end + 1;
    }
    case Split::Random:
        return 1 + static_cast<int>(m_random.bounded(quint32(qMin(size, MaxRandomBatch))));
    case Split::AllWaiting:
        break;
    }
    return size;
}
