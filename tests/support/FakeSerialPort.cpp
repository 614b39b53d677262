#include "FakeSerialPort.h"

#include <QTimer>

FakeSerialPort::FakeSerialPort(QObject *parent)
    : SerialPort(parent)
{
}

QStringList FakeSerialPort::frames() const
{
    QStringList list;
    QString current;
    for (char c : written) {
        current += QChar::fromLatin1(c);
        if (c == '\r') {
            list << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        list << current;
    return list;
}

QStringList FakeSerialPort::commands() const
{
    QStringList list;
    for (const QString &f : frames())
        if (f.startsWith(QLatin1Char('[')) && f.endsWith(QLatin1Char('\r')))
            list << f.mid(1, f.size() - 2);
    return list;
}

bool FakeSerialPort::open(const QString &port)
{
    m_name = port;
    if (!openError.isEmpty()) {
        m_error = openError;
        return false;
    }
    m_error.clear();
    m_input.clear();
    m_open = true;
    return true;
}

QByteArray FakeSerialPort::read(int count)
{
    const QByteArray bytes = m_input.left(count);
    m_input.remove(0, bytes.size());
    return bytes;
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    written += bytes;
    for (char c : bytes) {
        m_partialFrame += c;
        if (c != '\r')
            continue;
        const QByteArray frame = m_partialFrame;
        m_partialFrame.clear();
        const int start = frame.lastIndexOf('[');
        if (start < 0 || !responder)
            continue;
        const QByteArray answer =
            responder(QString::fromLatin1(frame.mid(start + 1, frame.size() - start - 2)));
        if (answer.isEmpty())
            continue;
        if (wholeAnswers)
            QTimer::singleShot(0, this, [this, answer] { inject(answer); });
        else
            injectLater(answer);
    }
    return true;
}

void FakeSerialPort::inject(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_input += bytes;
    notifyReceived();
}

void FakeSerialPort::injectLater(const QByteArray &bytes)
{
    const bool idle = m_toDeliver.isEmpty();
    m_toDeliver += bytes;
    if (idle)
        QTimer::singleShot(0, this, &FakeSerialPort::deliverNext);
}

void FakeSerialPort::deliverNext()
{
    if (m_toDeliver.isEmpty())
        return;
    const QByteArray byte = m_toDeliver.left(1);
    m_toDeliver.remove(0, 1);
    inject(byte);
    if (!m_toDeliver.isEmpty())
        QTimer::singleShot(0, this, &FakeSerialPort::deliverNext);
}

void FakeSerialPort::vanish(const QString &reason)
{
    m_open = false;
    m_toDeliver.clear();
    Q_EMIT lost(reason);
}
