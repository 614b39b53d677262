#pragma once

#include "ContReadResult.h"

#include <QObject>

class BoardLink;
class CaptureSet;
class ClassData;

// Repeated captures: count continuous reads with the same set-up, one after another. Each
// completed read is put in the store (as a single read puts it) and added to the capture
// set, which the series empties first; the series stops at the first read that does not
// end clean, or when cancelled. Either way the captures completed so far stay in the set
// and the store holds the last of them.
class CaptureSeries : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxCaptures = 1000;

    explicit CaptureSeries(BoardLink &link, QObject *parent = nullptr);

    // Runs the series of amount samples per enabled channel. The result is that of the last
    // read (the one that stopped the series, if one did), with captures and capturesDone
    // set; a series cancelled between two reads ends as Cancelled before any data came.
    ContReadResult run(int count, int amount, ClassData &store, CaptureSet &captures);

    // Ends the running read (the link goes to Escape) and starts no further one.
    void cancel();
    bool running() const { return m_running; }

Q_SIGNALS:
    // Read index (1-based) of count starts.
    void captureStarted(int index, int count);

private:
    BoardLink &m_link;
    bool m_running = false;
    bool m_cancelled = false;
};
