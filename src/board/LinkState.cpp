#include "LinkState.h"

#include "BoardHooks.h"

LinkState::LinkState(BoardHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_hooks(hooks)
{
    m_timeOut.setInterval(TimeOutMs);
    m_timeOut.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(&m_timeOut, &QTimer::timeout, this, [this] { setBrdState(BoardTimeOut); });
}

QString LinkState::textOf(int state)
{
    switch (state) {
    case BoardDisabled:
        return QStringLiteral("Board Disabled");
    case BoardIdle:
        return QStringLiteral("Board Idle");
    case BoardAccessed:
        return QStringLiteral("Board Accessed");
    case BoardTimeOut:
        return QStringLiteral("Board TimeOut");
    case BoardRequest:
        return QStringLiteral("Board Request");
    case BoardAnswer:
        return QStringLiteral("Board Answer");
    default:
        return {}; // Waiting, Replied and Escape leave the panel as it is
    }
}

void LinkState::setBrdState(int value)
{
    if (value == BoardWaiting) {
        if (!m_timeOut.isActive())
            m_timeOut.start();
    } else {
        m_timeOut.stop();
    }
    if (value == m_state)
        return;
    if (m_state == BoardDisabled && value != BoardIdle)
        return;
    if (value == BoardEscape && m_state != BoardRequest && m_state != BoardAnswer)
        return;

    const QString text = textOf(value);
    const int previous = m_state;
    m_state = value == BoardTimeOut ? static_cast<int>(BoardIdle) : value;
    if (!text.isEmpty())
        showStatus(text);
    if (m_state != previous)
        Q_EMIT BrdStateChanged(m_state);
}

void LinkState::showStatus(const QString &text)
{
    m_statusText = text;
    Q_EMIT m_hooks.StatusText(text);
}
