#pragma once

#include "ReceiveSplit.h"
#include "platform/ArrivingBytes.h"
#include "platform/SerialPort.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>

// A serial port for tests of the board link: records every byte written, and answers each
// complete command frame ("[" text CR) through a responder. Answers arrive as from a real
// line, in batches split as split() says (one byte, whole lines, all waiting bytes, random
// sizes), one batch per event; like QSerialPort the port never announces bytes again while
// a slot of received() runs. Tests can also inject bytes at any time, fail the open, or make
// the device vanish.
class FakeSerialPort : public SerialPort
{
    Q_OBJECT

public:
    using Responder = std::function<QByteArray(const QString &command)>;
    explicit FakeSerialPort(QObject *parent = nullptr);

    QString openError;   // set before open: the open fails with this text
    Responder responder; // answers a command (frame text without "[" and CR); "" sends nothing
    QByteArray written;

    // The command texts of the complete frames written so far ("S 78 00").
    QStringList commands() const;
    // Bytes arrive now, as one batch.
    void inject(const QByteArray &bytes);
    // Bytes enter the line and arrive in batches, starting with the next event.
    void injectLater(const QByteArray &bytes);
    ArrivingBytes &line() { return m_line; }
    void setSplit(ArrivingBytes::Split split, quint32 seed = 1) { m_line.setSplit(split, seed); }
    // The device goes away: the port closes and reports itself lost (once per call).
    void vanish(const QString &reason = QStringLiteral("Input/output error"));

    bool open(const QString &port) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_name; }
    QByteArray read(int count) override;
    int bytesWaiting() const override { return static_cast<int>(m_input.size()); }
    void clearInput() override { m_input.clear(); }
    bool write(const QByteArray &bytes) override;
    QString errorString() const override { return m_error; }

private:
    QString m_name, m_error;
    bool m_open = false;
    QByteArray m_input, m_partialFrame;
    ArrivingBytes m_line;
};

// Hands FakeSerialPorts to a board link and keeps track of them; each new port takes the
// suite's split (ReceiveSplit.h), then configure() runs on it before the link opens it.
struct FakePorts
{
    std::function<void(FakeSerialPort &)> configure;
    QList<QPointer<FakeSerialPort>> created;

    SerialPortFactory factory()
    {
        return [this](const QString &) -> std::unique_ptr<SerialPort> {
            auto port = std::make_unique<FakeSerialPort>();
            applySuiteSplit(port->line());
            if (configure)
                configure(*port);
            created.append(port.get());
            return port;
        };
    }
    FakeSerialPort *last() const { return created.isEmpty() ? nullptr : created.last().data(); }
};
