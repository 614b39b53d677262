#include "SimulatedSerialPort.h"

#include "SimBoard.h"

SimulatedSerialPort::SimulatedSerialPort(SimBoard *board, QObject *parent)
    : SerialPort(parent)
    , m_board(board)
    , m_line([this](const QByteArray &batch) {
        m_input += batch;
        notifyReceived();
    })
{
    if (!m_board) {
        m_ownBoard = new SimBoard(8, 1, this);
        m_board = m_ownBoard;
    }
    connect(m_board, &SimBoard::outputReady, this, &SimulatedSerialPort::pull);
}

SimulatedSerialPort::~SimulatedSerialPort() = default;

bool SimulatedSerialPort::open(const QString &port)
{
    m_name = port;
    if (m_unplugged || !m_board) {
        m_error = QStringLiteral("No such file or directory");
        return false;
    }
    m_error.clear();
    m_input.clear();
    m_line.clear();
    m_board->discardOutput();
    m_open = true;
    return true;
}

void SimulatedSerialPort::close()
{
    m_open = false;
    m_input.clear();
    m_line.clear();
}

void SimulatedSerialPort::clearInput()
{
    m_input.clear();
}

QByteArray SimulatedSerialPort::read(int count)
{
    if (count <= 0)
        return {};
    const QByteArray bytes = m_input.left(count);
    m_input.remove(0, bytes.size());
    // Output the board could not hand over while the buffer was full comes on the next
    // event, never from inside a read: the reader would see it before bytes it holds.
    if (!m_pullQueued && m_board && m_board->outputWaiting() > 0) {
        m_pullQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_pullQueued = false;
                pull();
            },
            Qt::QueuedConnection);
    }
    return bytes;
}

bool SimulatedSerialPort::write(const QByteArray &bytes)
{
    if (!m_open || !m_board)
        return false;
    QPointer<SimBoard> board = m_board;
    QMetaObject::invokeMethod(
        this,
        [board, bytes] {
            if (board)
                board->receive(bytes);
        },
        Qt::QueuedConnection);
    return true;
}

void SimulatedSerialPort::pull()
{
    if (!m_open || !m_board)
        return;
    const int room = InputBufferSize - static_cast<int>(m_input.size()) - m_line.size();
    if (room <= 0)
        return;
    m_line.add(m_board->takeOutput(room));
}

void SimulatedSerialPort::unplug()
{
    m_unplugged = true;
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    m_line.clear();
    m_error = QStringLiteral("Input/output error");
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT lost(m_error); }, Qt::QueuedConnection);
}
