#pragma once

#include "SerialPort.h"

#include <QSerialPort>

// The serial port of the operating system. "Com1" .. "Com4" (any case) name the first four
// serial ports of the machine (/dev/ttyS0 .. /dev/ttyS3 on Linux, COM1 .. COM4 on Windows);
// any other name or device path, a pseudo-terminal for instance, is opened as given.
class SystemSerialPort : public SerialPort
{
    Q_OBJECT

public:
    explicit SystemSerialPort(QObject *parent = nullptr);
    ~SystemSerialPort() override;

    // The device that a port name stands for.
    static QString systemName(const QString &port);

    bool open(const QString &port) override;
    void close() override;
    bool isOpen() const override;
    QString portName() const override { return m_name; }
    QByteArray read(int count) override;
    int bytesWaiting() const override;
    void clearInput() override;
    bool write(const QByteArray &bytes) override;
    QString errorString() const override;

protected:
    enum class LineSetting
    {
        BaudRate,
        DataBits,
        Parity,
        StopBits
    };
    // Applies one of the line settings to the opened port; false when the port refuses it,
    // with the port's reason.
    virtual bool applySetting(LineSetting setting, QString &reason);

private:
    // Read errors in a row, without a byte received between them, that mean the device is gone.
    static constexpr int ReadErrorsMeaningLost = 16;

    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_name;
    QString m_openError;
    int m_readErrorsInRow = 0;
};
