#include "SystemSerialPort.h"

#include <QRegularExpression>

SystemSerialPort::SystemSerialPort(QObject *parent)
    : SerialPort(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        m_readErrorsInRow = 0;
        notifyReceived();
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SystemSerialPort::onError);
}

SystemSerialPort::~SystemSerialPort()
{
    m_port.disconnect(this);
    if (m_port.isOpen())
        m_port.close();
}

QString SystemSerialPort::systemName(const QString &port)
{
    static const QRegularExpression comN(QStringLiteral("^com([1-4])$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comN.match(port);
    if (!m.hasMatch())
        return port;
    const int n = m.captured(1).toInt();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool SystemSerialPort::open(const QString &port)
{
    close();
    m_name = port;
    m_openError.clear();
    m_readErrorsInRow = 0;
    m_port.setPortName(systemName(port));
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openError = m_port.errorString();
        return false;
    }
    // The line settings: a port that will not take one of them could not talk to the board,
    // so that is a failed open. Flow control is not among them: a pseudo-terminal refuses the
    // modem-control ioctls behind it, and the line works all the same.
    static const struct
    {
        LineSetting setting;
        const char *name;
    } settings[] = {{LineSetting::BaudRate, "38400 baud"},
                    {LineSetting::DataBits, "8 data bits"},
                    {LineSetting::Parity, "no parity"},
                    {LineSetting::StopBits, "1 stop bit"}};
    for (const auto &s : settings) {
        QString reason;
        if (!applySetting(s.setting, reason)) {
            m_openError = QStringLiteral("the port refuses %1: %2").arg(QLatin1String(s.name), reason);
            m_port.close();
            return false;
        }
    }
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(InputBufferSize);
    m_port.clearError();
    // Bytes the board sent before the port was opened are stale.
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
    return true;
}

bool SystemSerialPort::applySetting(LineSetting setting, QString &reason)
{
    bool done = false;
    switch (setting) {
    case LineSetting::BaudRate:
        done = m_port.setBaudRate(BaudRate);
        break;
    case LineSetting::DataBits:
        done = m_port.setDataBits(QSerialPort::Data8);
        break;
    case LineSetting::Parity:
        done = m_port.setParity(QSerialPort::NoParity);
        break;
    case LineSetting::StopBits:
        done = m_port.setStopBits(QSerialPort::OneStop);
        break;
    }
    if (!done)
        reason = m_port.errorString();
    return done;
}

void SystemSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SystemSerialPort::isOpen() const
{
    return m_port.isOpen();
}

QByteArray SystemSerialPort::read(int count)
{
    if (!m_port.isOpen() || count <= 0)
        return {};
    return m_port.read(count);
}

int SystemSerialPort::bytesWaiting() const
{
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

void SystemSerialPort::clearInput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

bool SystemSerialPort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    return m_port.write(bytes) == bytes.size();
}

QString SystemSerialPort::errorString() const
{
    return m_openError.isEmpty() ? m_port.errorString() : m_openError;
}

void SystemSerialPort::onError(QSerialPort::SerialPortError error)
{
    // A vanished device makes the port report errors without end: an unplugged adapter gives
    // resource errors, a pseudo-terminal whose other side has gone gives read errors, many
    // thousands a second and never a byte in between. Either way the port is closed and
    // reported lost once. Everything else (line errors, a refused setting) is left to the
    // protocol above, which ignores it.
    if (!m_port.isOpen())
        return;
    if (error == QSerialPort::ReadError)
        ++m_readErrorsInRow;
    if (error != QSerialPort::ResourceError && m_readErrorsInRow < ReadErrorsMeaningLost)
        return;
    const QString reason = m_port.errorString();
    m_port.close();
    Q_EMIT lost(reason);
}
