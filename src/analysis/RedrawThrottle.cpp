#include "RedrawThrottle.h"

RedrawThrottle::RedrawThrottle(std::function<void()> redraw, int intervalMs, QObject *parent)
    : QObject(parent)
    , m_redraw(std::move(redraw))
    , m_intervalMs(intervalMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RedrawThrottle::run);
}

void RedrawThrottle::request()
{
    if (m_timer.isActive())
        return;
    const qint64 since = m_last.isValid() ? m_last.elapsed() : m_intervalMs;
    if (since >= m_intervalMs)
        run();
    else
        m_timer.start(static_cast<int>(m_intervalMs - since));
}

void RedrawThrottle::cancel()
{
    m_timer.stop();
}

void RedrawThrottle::run()
{
    m_timer.stop();
    m_last.start();
    m_redraw();
}
