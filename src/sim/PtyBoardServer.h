#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class SimBoard;

// Serves a simulated board on a pseudo-terminal, so that the program reaches it through its
// ordinary serial port code: start() opens the pair and names the slave device (path()),
// which the program opens like any serial port. The server keeps its own slave descriptor
// open; without it the master side would report errors for as long as no program has the
// port open.
class PtyBoardServer : public QObject
{
    Q_OBJECT

public:
    explicit PtyBoardServer(SimBoard &board, QObject *parent = nullptr);
    ~PtyBoardServer() override;

    bool start(QString &error);
    QString path() const { return m_path; }

private:
    void readFromLine();
    void writeToLine();

    SimBoard &m_board;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;
};
