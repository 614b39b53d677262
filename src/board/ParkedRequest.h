#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// One user register request that arrived while an automatic read was on the wire: the slot
// holds its address (0 means empty) and a timer retries every 10 ms. The request runs at the
// first tick that finds the link free, and is given up after 101 ticks (about a second).
// A second request while one is parked is dropped.
class ParkedRequest : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 10;
    static constexpr int TickLimit = 100; // given up when the counter goes above this

    // mayRun: is the link free for user traffic; perform: run the request for an address.
    ParkedRequest(std::function<bool()> mayRun, std::function<void(int)> perform, QObject *parent = nullptr);

    // Parks address and starts the timer; false (request dropped) when the slot is taken.
    bool park(int address);
    // One timer tick; public so that tests can step the timer.
    void tick();

    int address() const { return m_address; }
    int counter() const { return m_counter; }
    bool isArmed() const { return m_timer.isActive(); }
    QTimer &timer() { return m_timer; }

private:
    void empty();

    std::function<bool()> m_mayRun;
    std::function<void(int)> m_perform;
    QTimer m_timer;
    int m_address = 0;
    int m_counter = 0;
};
