#pragma once

#include "data/ClassData.h"

#include <QByteArray>
#include <QList>
#include <QObject>

// The records of the running continuous read, handed on as they arrive so that the dialog
// and the command line can show the data while they come in. The continuous read feeds it:
// begin with the acquisition's conditions, add for every record in the order the board sent
// them, flush after each batch read from the line, finish at the end. What it holds is for
// viewing only: the store the windows show changes only when the acquisition completed.
class LiveCapture : public QObject
{
    Q_OBJECT

public:
    explicit LiveCapture(QObject *parent = nullptr);

    // A new acquisition of perChannel samples of each of channels, with the conditions of
    // `conditions` (data width, clamp, reference, ranges, conversion times) and none of its
    // samples; raises started.
    void begin(const ClassData &conditions, const QList<int> &channels, int perChannel);
    // One record as the board delivers it (status byte, then the data bytes).
    void add(const QByteArray &record);
    // Raises recordsArrived when records came since the last flush.
    void flush();
    // The acquisition ended (completed or not); raises finished. The records stay until
    // the next begin.
    void finish(bool completed);

    bool running() const { return m_running; }
    int records() const { return m_records; }
    QList<int> channels() const { return m_channels; }
    int perChannel() const { return m_perChannel; }
    int expectedRecords() const { return m_perChannel * static_cast<int>(m_channels.size()); }
    // The records so far, with the statistics of every valid channel brought up to date.
    const ClassData &data();

Q_SIGNALS:
    void started();
    void recordsArrived(int records);
    void finished(bool completed);

private:
    ClassData m_data;
    QList<int> m_channels;
    int m_perChannel = 0;
    int m_records = 0;
    int m_flushed = 0;
    int m_processed = -1;
    bool m_running = false;
};
