#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The serial port as the board link needs it: one port opened by name with the fixed line
// settings 38400 baud, no parity, 8 data bits, 1 stop bit; raw bytes in and out.
//
// Receive notification: with a threshold of 1 the port raises received() whenever new bytes
// have arrived, in batches of any size (the link then reads every waiting byte); with 0 it
// raises nothing and the owner polls bytesWaiting() itself, as a continuous read does. As
// with QSerialPort, received() is never raised again while a slot connected to it is still
// running: bytes that arrive meanwhile wait, unannounced, until the next batch or until
// someone reads them. A slot must therefore not wait for further bytes (a modal dialog, an
// exchange with the board): it hands such work to a queued call.
//
// A port whose device goes away (USB adapter unplugged, simulator ended) raises lost() once;
// ordinary line errors (framing, parity, overrun) are not reported.
class SerialPort : public QObject
{
    Q_OBJECT

public:
    static constexpr int BaudRate = 38400;
    static constexpr int InputBufferSize = 32766;
    static constexpr int OutputBufferSize = 512;

    using QObject::QObject;

    // Opens the port with the line settings above and clears whatever input was waiting.
    // On failure returns false and errorString() describes why.
    virtual bool open(const QString &port) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The name the port was opened with, as the user chose it.
    virtual QString portName() const = 0;

    // Up to count waiting bytes, oldest first.
    virtual QByteArray read(int count) = 0;
    virtual int bytesWaiting() const = 0;
    virtual void clearInput() = 0;
    // Queues bytes for sending; false when the port is closed or refuses them.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual QString errorString() const = 0;

    int receiveThreshold() const { return m_receiveThreshold; }
    void setReceiveThreshold(int bytes) { m_receiveThreshold = bytes; }

Q_SIGNALS:
    void received();
    void lost(const QString &reason);

protected:
    // Implementations call this when bytes arrive: raises received() unless the threshold is
    // 0 or a slot of received() is still running.
    void notifyReceived();

private:
    int m_receiveThreshold = 1;
    bool m_notifying = false;
};

// Creates the port object that serves a port name (a system port, a device path, or the
// simulated board). The link calls it for every open.
using SerialPortFactory = std::function<std::unique_ptr<SerialPort>(const QString &port)>;
