#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal window from inside its own event loop, so a test can run code
// that opens a modal dialog without blocking: whenModal(act) checks every few
// milliseconds for QApplication::activeModalWidget() and hands it to act once. Gives up
// after timeoutMs so that a dialog that never appears fails the test instead of hanging.
inline void whenModal(std::function<void(QWidget *)> act, int timeoutMs = 5000)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            if (modal)
                act(modal);
        }
    });
    timer->start(5);
}
