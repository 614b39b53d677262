#pragma once

#include "FuzzBytes.h"
#include "platform/SerialPort.h"

#include <QList>

class SimBoard;

// A serial port whose other end is played by the fuzz input. Each command frame the link
// writes ("[" text CR) is answered, as the input chooses, by the simulated board's reply as
// it is, by that reply mangled (bytes flipped, cut, inserted, dropped, repeated), by raw
// input bytes, by silence, or by the port vanishing. Answers and injected bytes arrive in
// batches of input-chosen sizes, one batch per event. Like QSerialPort, received() is not
// raised again while one of its slots still runs; the bytes wait for the reader.
//
// answered() follows the last batch of each answer or injection (or the silence), one event
// later: the moment a real link would have nothing left but its time-out.
class FuzzSerialPort : public SerialPort
{
    Q_OBJECT

public:
    FuzzSerialPort(FuzzBytes &input, SimBoard &board, QObject *parent = nullptr);

    bool open(const QString &port) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_name; }
    QByteArray read(int count) override;
    int bytesWaiting() const override { return static_cast<int>(m_input.size()); }
    void clearInput() override { m_input.clear(); }
    bool write(const QByteArray &bytes) override;
    QString errorString() const override { return m_error; }

    // Bytes the board sends on its own, in batches.
    void inject(const QByteArray &bytes);
    // The device goes away: the port closes and reports itself lost.
    void vanish();
    // Batches still to come.
    bool delivering() const { return !m_batches.isEmpty(); }

Q_SIGNALS:
    void answered();

private:
    QByteArray answerTo(const QByteArray &frame);
    QByteArray mangle(QByteArray bytes);
    void schedule(const QByteArray &bytes);
    void deliverNext();

    FuzzBytes &m_fuzz;
    SimBoard &m_board;
    QString m_name, m_error;
    bool m_open = false;
    bool m_notifying = false;
    QByteArray m_input, m_frame;
    struct Batch
    {
        QByteArray bytes;
        bool last; // the last of an answer or injection: answered() follows
    };
    QList<Batch> m_batches;
};
