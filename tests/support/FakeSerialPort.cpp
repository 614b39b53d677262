#include "FakeSerialPort.h"

#include <QTimer>

FakeSerialPort::FakeSerialPort(QObject *parent)
    : SerialPort(parent)
    , m_line([this](const QByteArray &batch) { inject(batch); })
{
}

QStringList FakeSerialPort::commands() const
{
    QList<QByteArray> frames = written.split('\r');
    frames.removeLast(); // not ended by CR (yet)
    QStringList list;
    for (const QByteArray &f : frames)
        if (f.startsWith('['))
            list << QString::fromLatin1(f.mid(1));
    return list;
}

bool FakeSerialPort::open(const QString &port)
{
    m_name = port;
    m_error = openError;
    m_input.clear();
    m_line.clear();
    m_open = openError.isEmpty();
    return m_open;
}

void FakeSerialPort::close()
{
    m_open = false;
    m_line.clear();
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
    m_partialFrame += bytes;
    for (qsizetype end; (end = m_partialFrame.indexOf('\r')) >= 0;) {
        const QByteArray frame = m_partialFrame.left(end);
        m_partialFrame.remove(0, end + 1);
        const qsizetype start = frame.lastIndexOf('[');
        if (start >= 0 && responder)
            injectLater(responder(QString::fromLatin1(frame.mid(start + 1))));
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
    m_line.add(bytes);
}

void FakeSerialPort::vanish(const QString &reason)
{
    m_open = false;
    m_line.clear();
    Q_EMIT lost(reason);
}
