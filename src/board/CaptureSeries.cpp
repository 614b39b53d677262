#include "CaptureSeries.h"

#include "BoardLink.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"

CaptureSeries::CaptureSeries(BoardLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
}

ContReadResult CaptureSeries::run(int count, int amount, ClassData &store, CaptureSet &captures)
{
    count = qBound(1, count, MaxCaptures);
    captures.clear();
    m_running = true;
    m_cancelled = false;
    ContReadResult result;
    for (int i = 1; i <= count; ++i) {
        if (m_cancelled) {
            result = ContReadResult();
            result.outcome = ContReadResult::Cancelled;
            break;
        }
        Q_EMIT captureStarted(i, count);
        result = m_link.BrdContRead(amount, store);
        if (result.completed())
            captures.add(store, m_link.model());
        if (!result.clean())
            break;
    }
    m_running = false;
    result.captures = count;
    result.capturesDone = captures.count();
    return result;
}

void CaptureSeries::cancel()
{
    if (!m_running)
        return;
    m_cancelled = true;
    const int state = m_link.BrdState();
    if (state == LinkState::BoardRequest || state == LinkState::BoardAnswer)
        m_link.setBrdState(LinkState::BoardEscape);
}
