#pragma once

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

// Records, in order, every signal that an object declares (its own class and its bases up
// to, not including, QObject), as text such as "RegisterChanged(1, 176, -1)". Booleans read
// true/false, numbers in decimal, strings in double quotes. Suites compare whole event
// sequences across different signals with it, which QSignalSpy cannot do.
class SignalRecorder
{
public:
    explicit SignalRecorder(QObject *object);
    ~SignalRecorder();

    const QStringList &events() const { return m_events; }
    // The recorded events whose name is one of names, in order.
    QStringList only(const QStringList &names) const;
    // Signal names only, in order ("RegisterChanged", ...).
    QStringList names() const;
    void clear() { m_events.clear(); }

private:
    class Catcher;
    QStringList m_events;
    std::vector<std::unique_ptr<Catcher>> m_catchers;
};
