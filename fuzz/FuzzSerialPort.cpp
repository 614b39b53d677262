#include "FuzzSerialPort.h"

#include "sim/SimBoard.h"

#include <QTimer>

namespace {
constexpr int MostAnswer = 40000; // a whole continuous read and then some
}

FuzzSerialPort::FuzzSerialPort(FuzzBytes &input, SimBoard &board, QObject *parent)
    : SerialPort(parent)
    , m_fuzz(input)
    , m_board(board)
{
}

bool FuzzSerialPort::open(const QString &port)
{
    m_name = port;
    if (m_fuzz.choice(16) == 1) {
        m_error = QStringLiteral("Permission denied");
        return false;
    }
    m_error.clear();
    m_input.clear();
    m_frame.clear();
    m_open = true;
    return true;
}

void FuzzSerialPort::close()
{
    m_open = false;
    m_input.clear();
}

QByteArray FuzzSerialPort::read(int count)
{
    const QByteArray bytes = m_input.left(qMax(0, count));
    m_input.remove(0, bytes.size());
    return bytes;
}

bool FuzzSerialPort::write(const QByteArray &bytes)
{
    if (!m_open) {
        schedule({});
        return false;
    }
    bool framed = false;
    for (char byte : bytes) {
        m_frame += byte;
        if (byte != '\r')
            continue;
        const qsizetype start = m_frame.lastIndexOf('[');
        if (start >= 0) {
            schedule(answerTo(m_frame.mid(start)));
            framed = true;
        }
        m_frame.clear();
    }
    if (!framed)
        schedule({}); // nothing to answer: the link may still wait for something
    return true;
}

QByteArray FuzzSerialPort::answerTo(const QByteArray &frame)
{
    switch (m_fuzz.choice(6)) {
    case 0:
    case 1: { // the simulated board, as it answers or mangled
        const bool mangled = m_fuzz.byte() & 1;
        m_board.receive(frame);
        QByteArray reply;
        for (QByteArray part = m_board.takeOutput(4096); !part.isEmpty() && reply.size() < MostAnswer;
             part = m_board.takeOutput(4096))
            reply += part;
        if (m_board.streaming())
            m_board.receive("[*\r");
        m_board.takeOutput(1 << 20);
        return mangled ? mangle(reply) : reply;
    }
    case 2: // whatever the input holds
        return m_fuzz.take(m_fuzz.byte());
    case 3: // silence
        return {};
    case 4: // the device goes away while the link waits
        vanish();
        return {};
    default: // line noise, then the board's answer
        m_board.receive(frame);
        return m_fuzz.take(m_fuzz.choice(8)) + m_board.takeOutput(1 << 20);
    }
}

QByteArray FuzzSerialPort::mangle(QByteArray bytes)
{
    for (int edits = m_fuzz.choice(4) + 1; edits > 0; --edits) {
        const qsizetype at = bytes.isEmpty() ? 0 : m_fuzz.byte() % bytes.size();
        switch (m_fuzz.choice(5)) {
        case 0:
            if (!bytes.isEmpty())
                bytes[at] = static_cast<char>(bytes.at(at) ^ m_fuzz.byte());
            break;
        case 1:
            bytes.truncate(at);
            break;
        case 2:
            bytes.insert(at, m_fuzz.take(m_fuzz.choice(8)));
            break;
        case 3:
            bytes.remove(at, 1);
            break;
        default:
            if (bytes.size() < MostAnswer)
                bytes += bytes;
            break;
        }
    }
    return bytes;
}

void FuzzSerialPort::inject(const QByteArray &bytes)
{
    schedule(bytes);
}

void FuzzSerialPort::schedule(const QByteArray &bytes)
{
    const bool idle = m_batches.isEmpty();
    qsizetype at = 0;
    do {
        const int size = m_fuzz.byte();
        const qsizetype n = size == 0 ? bytes.size() - at : qMin<qsizetype>(size % 32 + 1, bytes.size() - at);
        m_batches.append({bytes.mid(at, n), false});
        at += n;
    } while (at < bytes.size());
    m_batches.last().last = true;
    if (idle)
        QTimer::singleShot(0, this, &FuzzSerialPort::deliverNext);
}

void FuzzSerialPort::deliverNext()
{
    if (m_batches.isEmpty())
        return;
    const Batch batch = m_batches.takeFirst();
    if (!m_batches.isEmpty())
        QTimer::singleShot(0, this, &FuzzSerialPort::deliverNext);
    if (m_open && !batch.bytes.isEmpty()) {
        // A UART without flow control drops what its buffer cannot take.
        m_input += batch.bytes.left(InputBufferSize - m_input.size());
        if (!m_notifying) {
            m_notifying = true;
            notifyReceived();
            m_notifying = false;
        }
    }
    if (batch.last)
        QTimer::singleShot(0, this, &FuzzSerialPort::answered);
}

void FuzzSerialPort::vanish()
{
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    m_error = QStringLiteral("Input/output error");
    QTimer::singleShot(0, this, [this] { Q_EMIT lost(m_error); });
}
