#pragma once

#include "SimConverter.h"
#include "SimFaults.h"
#include "SimFirmware.h"
#include "SimLineReader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The simulated evaluation board as seen from the serial line: bytes from the PC go in with
// receive(), the board's bytes come out with takeOutput() whenever outputReady() says there
// are some. Transports (the in-process port, the pseudo-terminal server) sit on either side.
//
// A continuous read streams the records of the enabled channels in turn (status byte with
// the channel number in bits 7..5, then the data bytes), exactly the announced number of
// bytes, then 2 closing bytes (CR LF). Any command line that arrives meanwhile ends the
// stream early (closing bytes first); "*" only ends it.
//
// With pacing on, bytes leave at the line rate (3840 bytes per second) and conversions take
// their real time; with pacing off everything is answered as fast as the event loop runs.
class SimBoard : public QObject
{
    Q_OBJECT

public:
    static constexpr int BytesPerSecond = 3840;
    static constexpr int StreamChunk = 4096; // unpaced: records prepared ahead of the reader
    // Replies nobody reads are dropped beyond this, as a UART without flow control drops them.
    static constexpr int OutputLimit = 1 << 20;

    explicit SimBoard(int variant = 8, quint32 seed = 1, QObject *parent = nullptr);

    SimConverter &converter() { return m_converter; }
    const SimFirmware &firmware() const { return m_firmware; }

    bool pacing() const { return m_pacing; }
    void setPacing(bool on);

    void receive(const QByteArray &bytes);
    // Up to max bytes of the board's output (fewer when paced and the line is busy).
    QByteArray takeOutput(int max);
    int outputWaiting() const { return static_cast<int>(m_out.size()); }
    // Drops output that nobody has taken (a port opening discards stale bytes).
    void discardOutput();

    // Misbehaviour on purpose (see SimFaults); none by default.
    const SimFaults &faults() const { return m_faults; }
    // Counts commands and writes (drop-third, reset-in-writes) from here.
    void setFaults(const SimFaults &faults)
    {
        m_faults = faults;
        m_commands = 0;
        m_writes = 0;
    }

    bool streaming() const { return m_streamLeft > 0; }
    // The reset button on the board: resets board and converter, announces it with "X ...".
    void pressReset();

Q_SIGNALS:
    void outputReady();

private:
    void execute(const QByteArray &line, bool overflowed);
    void emitOutput(const QByteArray &bytes);
    void endStream();
    void startStream(int bytes);
    // The next record of the stream from channel, as the faults shape it, cut at the count.
    QByteArray streamRecord(int channel);
    bool resetDue() const;
    void afterChunk(const QByteArray &chunk);
    // Executes a command line and answers it, or not, as the faults say.
    void answer(const QByteArray &line, bool overflowed);
    void produceStream();
    void streamTick();
    void catchUpTime();
    void announce();

    SimConverter m_converter;
    SimFirmware m_firmware;
    SimLineReader m_reader;
    QByteArray m_out;
    bool m_pacing = false;
    bool m_announcePending = false;

    SimFaults m_faults;
    int m_commands = 0;
    int m_writes = 0;
    bool m_afterStream = false;
    bool m_lateWaiting = false;
    quint32 m_junk = 12345;
    int m_streamTotal = 0;
    int m_streamRecords = 0;
    int m_streamLeft = 0;
    QTimer m_streamTimer;
    QTimer m_lineTimer;
    QElapsedTimer m_clock;
    qint64 m_lastTimeNs = 0;
    qint64 m_lineNs = 0;
    double m_lineBudget = 0.0;
};
