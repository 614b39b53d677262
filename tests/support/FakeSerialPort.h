#pragma once

#include "platform/SerialPort.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>

// A serial port for tests of the board link: records every byte written, and answers each
// complete command frame ("[" text CR) through a responder, one byte per event as a real
// line delivers them. Tests can also inject bytes at any time, fail the open, or make the
// device vanish.
class FakeSerialPort : public SerialPort
{
    Q_OBJECT

public:
    using Responder = std::function<QByteArray(const QString &command)>;
    using SerialPort::SerialPort;

    QString openError;   // set before open: the open fails with this text
    Responder responder; // answers a command (frame text without "[" and CR); "" sends nothing
    QByteArray written;

    // The command texts of the complete frames written so far ("S 78 00").
    QStringList commands() const;
    // Bytes arrive now, as one delivery.
    void inject(const QByteArray &bytes);
    // Bytes arrive one per event, starting with the next event.
    void injectLater(const QByteArray &bytes);
    // The device goes away: the port closes and reports itself lost (once per call).
    void vanish(const QString &reason = QStringLiteral("Input/output error"));

    bool open(const QString &port) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_name; }
    QByteArray read(int count) override;
    int bytesWaiting() const override { return static_cast<int>(m_input.size()); }
    void clearInput() override { m_input.clear(); }
    bool write(const QByteArray &bytes) override;
    QString errorString() const override { return m_error; }

private:
    void deliverNext();

    QString m_name, m_error;
    bool m_open = false;
    QByteArray m_input, m_toDeliver, m_partialFrame;
};

// Hands FakeSerialPorts to a board link and keeps track of them; configure() runs on each
// new port before the link opens it.
struct FakePorts
{
    std::function<void(FakeSerialPort &)> configure;
    QList<QPointer<FakeSerialPort>> created;

    SerialPortFactory factory()
    {
        return [this](const QString &) -> std::unique_ptr<SerialPort> {
            auto port = std::make_unique<FakeSerialPort>();
            if (configure)
                configure(*port);
            created.append(port.get());
            return port;
        };
    }
    FakeSerialPort *last() const { return created.isEmpty() ? nullptr : created.last().data(); }
};
