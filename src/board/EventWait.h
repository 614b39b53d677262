#pragma once

#include <QCoreApplication>
#include <QEventLoop>

// Runs the event loop until busy() turns false: received bytes, timers and user input are
// processed meanwhile. Sleeps until the next event instead of spinning, so every wait must
// be ended by an event (a reply, a time-out, a closed port).
template<typename Busy>
void waitWhile(Busy busy)
{
    while (busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
