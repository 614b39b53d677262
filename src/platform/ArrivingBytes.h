#pragma once

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>

#include <functional>

// Bytes on their way to a port that stands in for a real line (the simulated board's own
// port, the ports of the tests). A real serial driver hands received bytes over in batches
// of any size: one byte, a whole line, a reply together with the start of the next line.
// This class does the same, one batch per event, split the way its owner chooses, so that
// code above the port meets the splits a real line gives it.
class ArrivingBytes : public QObject
{
    Q_OBJECT

public:
    enum class Split
    {
        AllWaiting, // everything that has arrived so far, in one batch
        OneByte,    // one byte per batch
        WholeLines, // up to and including the end of a line (CR, LF or CR LF)
        Random      // batches of 1 to MaxRandomBatch bytes, sizes drawn from the seed
    };
    static constexpr int MaxRandomBatch = 24;

    // deliver receives each batch; it may run a nested event loop.
    explicit ArrivingBytes(std::function<void(const QByteArray &)> deliver, QObject *parent = nullptr);

    Split split() const { return m_split; }
    void setSplit(Split split, quint32 seed = 1);

    // Bytes enter the line; the first batch is delivered on the next event.
    void add(const QByteArray &bytes);
    void clear() { m_pending.clear(); }
    int size() const { return static_cast<int>(m_pending.size()); }

private:
    void deliverNext();
    int nextBatchSize();

    std::function<void(const QByteArray &)> m_deliver;
    QByteArray m_pending;
    Split m_split = Split::AllWaiting;
    QRandomGenerator m_random;
    bool m_scheduled = false;
};
