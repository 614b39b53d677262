#include "PtyBoardServer.h"

#include "SimBoard.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyBoardServer::PtyBoardServer(SimBoard &board, QObject *parent)
    : QObject(parent)
    , m_board(board)
{
}

PtyBoardServer::~PtyBoardServer()
{
    delete m_readNotifier;
    delete m_writeNotifier;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyBoardServer::start(QString &error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Raw mode: no echo, no line editing, every byte passes unchanged both ways.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B38400);
        ::cfsetospeed(&settings, B38400);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyBoardServer::readFromLine);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyBoardServer::writeToLine);
    connect(&m_board, &SimBoard::outputReady, this, &PtyBoardServer::writeToLine);
    return true;
}

void PtyBoardServer::readFromLine()
{
    char buffer[4096];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0)
        m_board.receive(QByteArray(buffer, static_cast<int>(n)));
}

void PtyBoardServer::writeToLine()
{
    for (;;) {
        if (m_pending.isEmpty())
            m_pending = m_board.takeOutput(4096);
        if (m_pending.isEmpty())
            break;
        const ssize_t n = ::write(m_master, m_pending.constData(), static_cast<size_t>(m_pending.size()));
        if (n <= 0) {
            // The terminal's buffer is full (nobody reads the port): wait until it drains.
            m_writeNotifier->setEnabled(errno == EAGAIN || errno == EWOULDBLOCK);
            return;
        }
        m_pending.remove(0, static_cast<int>(n));
    }
    m_writeNotifier->setEnabled(false);
}
