#pragma once

#include "SimBoard.h"
#include "platform/ArrivingBytes.h"
#include "platform/SerialPort.h"

#include <QPointer>

// A serial port with the simulated evaluation board at the other end, inside the program.
// Bytes written reach the board after the current event; the board's answer arrives as
// received bytes, as from a real line: in batches (all that is waiting, unless a test
// chooses another split with line()), one batch per event, and never announced again while
// a slot of received() runs. The board outlives the port when it is given from outside, so
// closing and opening again finds the board as it was left.
class SimulatedSerialPort : public SerialPort
{
    Q_OBJECT

public:
    static constexpr auto Name = "Simulated board";

    // board: the board at the other end; nullptr makes the port its own, unpaced one.
    explicit SimulatedSerialPort(SimBoard *board = nullptr, QObject *parent = nullptr);
    ~SimulatedSerialPort() override;

    SimBoard &board() { return *m_board; }
    // The bytes between the board and the port's input, and how they are split.
    ArrivingBytes &line() { return m_line; }

    bool open(const QString &port) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_name; }
    QByteArray read(int count) override;
    int bytesWaiting() const override { return static_cast<int>(m_input.size()); }
    void clearInput() override;
    bool write(const QByteArray &bytes) override;
    QString errorString() const override { return m_error; }

    // The board goes away (cable pulled): the port reports itself lost, as a real one does.
    void unplug();
    bool isUnplugged() const { return m_unplugged; }

private:
    void pull();

    QPointer<SimBoard> m_board;
    SimBoard *m_ownBoard = nullptr;
    QString m_name;
    QString m_error;
    QByteArray m_input;
    ArrivingBytes m_line;
    bool m_open = false;
    bool m_unplugged = false;
    bool m_pullQueued = false;
};
