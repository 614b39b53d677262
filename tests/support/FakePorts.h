#pragma once

#include "FakeSerialPort.h"

#include <QList>
#include <QPointer>

#include <functional>

// Hands FakeSerialPorts to a board link and keeps track of them; configure() runs on each
// new port before the link opens it.
class FakePorts
{
public:
    std::function<void(FakeSerialPort &)> configure;
    QList<QPointer<FakeSerialPort>> created;

    SerialPortFactory factory();
    FakeSerialPort *last() const { return created.isEmpty() ? nullptr : created.last().data(); }
};
