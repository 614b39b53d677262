#pragma once

#include "platform/SerialPort.h"

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

    explicit FakeSerialPort(QObject *parent = nullptr);

    // Set before open: the open fails with this text.
    QString openError;
    // Answers a command (frame text without "[" and CR); an empty answer sends nothing.
    Responder responder;
    // Deliver answers whole instead of one byte per event.
    bool wholeAnswers = false;

    QByteArray written;
    // The frames written so far, as text ("[S 78 00\r").
    QStringList frames() const;
    // The command texts written so far ("S 78 00").
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

    QString m_name;
    QString m_error;
    bool m_open = false;
    QByteArray m_input;
    QByteArray m_toDeliver;
    QByteArray m_partialFrame;
};
