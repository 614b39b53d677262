#include "ParkedRequest.h"

ParkedRequest::ParkedRequest(std::function<bool()> mayRun, std::function<void(int)> perform, QObject *parent)
    : QObject(parent)
    , m_mayRun(std::move(mayRun))
    , m_perform(std::move(perform))
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ParkedRequest::tick);
}

bool ParkedRequest::park(int address)
{
    if (m_address != 0)
        return false;
    m_address = address;
    m_timer.start();
    return true;
}

void ParkedRequest::tick()
{
    ++m_counter;
    if (m_mayRun()) {
        // Emptied before the request runs: it waits for the board, and ticks or requests
        // arriving meanwhile must find the slot free rather than run this one again.
        const int address = m_address;
        empty();
        m_perform(address);
    } else if (m_counter > TickLimit) {
        empty();
    }
}

void ParkedRequest::empty()
{
    m_counter = 0;
    m_address = 0;
    m_timer.stop();
}
