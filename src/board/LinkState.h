#pragma once

#include <QObject>
#include <QTimer>

class BoardHooks;

// The state of the serial link, BrdState, with its time-out timer BrdTimeOut and the text of
// the status bar panel. An exchange sets Waiting and arms the time-out; the reply sets
// Replied; the time-out shows "Board TimeOut" and leaves the link Idle.
class LinkState : public QObject
{
    Q_OBJECT

public:
    enum State
    {
        BoardDisabled = 0,
        BoardIdle = 1,
        BoardAccessed = 2,
        BoardWaiting = 3,
        BoardReplied = 4,
        BoardTimeOut = 5,
        BoardRequest = 6,
        BoardAnswer = 7,
        BoardEscape = 8
    };

    static constexpr int TimeOutMs = 2000;

    explicit LinkState(BoardHooks &hooks, QObject *parent = nullptr);

    int BrdState() const { return m_state; }
    // Setter rules, in this order: the time-out runs exactly while the requested value is
    // Waiting (also when the value does not change); an unchanged value does nothing more;
    // a disabled link only accepts Idle; Escape is only accepted from Request or Answer.
    // TimeOut shows its text and leaves Idle stored.
    void setBrdState(int value);

    QTimer &BrdTimeOut() { return m_timeOut; }
    // The last text given to the status bar panel.
    QString statusText() const { return m_statusText; }

    static QString textOf(int state);

Q_SIGNALS:
    void BrdStateChanged(int state);

private:
    void showStatus(const QString &text);

    BoardHooks &m_hooks;
    int m_state = BoardDisabled;
    QTimer m_timeOut;
    QString m_statusText;
};
