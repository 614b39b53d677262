#include "LiveCapture.h"

LiveCapture::LiveCapture(QObject *parent)
    : QObject(parent)
{
}

void LiveCapture::begin(const ClassData &conditions, const QList<int> &channels, int perChannel)
{
    m_channels = channels;
    m_perChannel = perChannel;
    m_data.replaceContents(conditions);
    for (int c = 0; c <= m_data.MaxChannel(); ++c) { // the samples go, the range stays
        m_data.ClearChannel(c);
        m_data.setRng(c, conditions.Rng(c));
    }
    m_records = 0;
    m_flushed = 0;
    m_processed = -1;
    m_running = true;
    Q_EMIT started();
}

void LiveCapture::add(const QByteArray &record)
{
    m_data.Add(record);
    ++m_records;
}

void LiveCapture::flush()
{
    if (m_records == m_flushed)
        return;
    m_flushed = m_records;
    Q_EMIT recordsArrived(m_records);
}

void LiveCapture::finish(bool completed)
{
    if (!m_running)
        return;
    flush();
    m_running = false;
    Q_EMIT finished(completed);
}

const ClassData &LiveCapture::data()
{
    if (m_processed != m_records) {
        m_data.Process();
        m_processed = m_records;
    }
    return m_data;
}
