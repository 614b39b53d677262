#pragma once

#include "ContReadResult.h"
#include "LiveCapture.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class BoardLink;
class ClassData;
class QM4168;
class SerialPort;

// The continuous read (BrdContRead): one request names the mode register value to start
// conversions with, the byte the board reads after each conversion and how many bytes to
// deliver; the board answers "[C " with the byte count N (8 bytes in all), streams N bytes
// of records (status byte, then the data bytes) and two closing bytes. The port is read
// here, in whole records, while the link is in Request, Answer or Escape; the reply parser
// is silent then. Afterwards the link takes the chip out of continuous-read mode with the
// SPI exchange "S 80".
//
// Link states: Idle or Accessed -> Request (request sent) -> Answer (data flowing) ->
// Waiting (closing exchange) -> Replied -> Accessed. Cancel moves Request or Answer to
// Escape (setBrdState(8) from the dialog).
//
// The records go to a fresh store, which takes the place of the contents of the given store
// only when the transfer completed: a cancel, a refused request, an answer announcing another
// byte count than requested, a record naming a channel that is not enabled (or, with the
// ready pin after all channels, out of the enabled channels' order), a board reset, a board
// that stops sending for two seconds in the middle of the transfer or before its closing
// bytes, or a lost port leave the data held before. After such an end the board is told to
// stop ("*") and the line is drained before the closing exchange, so that no record byte is
// taken for a reply; a board that answers a cancelled request late is told again to stop.
// A closing exchange that is not answered with its echo leaves the data but is reported
// (ContReadResult::closeProblem).
class ContinuousRead : public QObject
{
    Q_OBJECT

public:
    static constexpr int AnswerBytes = 8;
    static constexpr int ClosingBytes = 2;
    static constexpr int SilenceMs = 2000;          // no byte for so long after data began: stopped
    static constexpr int QuietMs = 100;             // a drained line has been quiet for so long
    static constexpr int LineBytesPerSecond = 3840; // 38400 baud, 10 bits per byte
    static constexpr int SeenBytes = 64;            // latest bytes kept to find a reset notice in

    explicit ContinuousRead(BoardLink &link, QObject *parent = nullptr);

    // The request phase waits for the answer until the user cancels (0, as in the window),
    // or is cancelled after so many milliseconds (the command line).
    void setRequestTimeOutMs(int ms) { m_requestTimeOutMs = ms; }
    // The picture the request and the store's conditions are taken from: the link's model,
    // or (not null) another, such as the chip's own settings when the model holds edits
    // the chip has not been given.
    void setSource(const QM4168 *model) { m_source = model; }

    // The request text for amount samples per enabled channel, from the model: "C 38 mm 48
    // uu nnnn" (mode value, bytes per transfer unit, number of units; one unit is one record,
    // or one record per enabled channel when the model's RdyFn is set).
    QString request(int amount) const;
    // The data bytes that request asks for; the answer must announce exactly these.
    int requestedBytes(int amount) const;

    // Acquires amount samples per enabled channel into store (see above). Returns at once
    // with LinkClosed or LinkBusy unless the link is Idle or Accessed.
    ContReadResult BrdContRead(int amount, ClassData &store);

    // The records of the running transfer as they arrive (see LiveCapture).
    LiveCapture &live() { return m_live; }

    // "800 of 32768 bytes, 0.2 s, about 8.3 s left": the remaining bytes (and the closing
    // ones) at the line rate.
    static QString progressText(int received, int total, qint64 elapsedMs);

Q_SIGNALS:
    // The phase: "Waiting for Data", "Transfering Data", "Processing Data", "Escaping Cont.Read".
    void LabelStatus(const QString &text);
    // Data bytes taken so far of the announced total, and the time since the start.
    void progress(int received, int total, qint64 elapsedMs);

private:
    const QM4168 &source() const;
    bool portAlive() const;
    // Waits while fewer than count bytes are waiting and the link stays in state; with
    // watchSilence, also ends after SilenceMs without a new byte. True when the bytes are there.
    bool waitForBytes(int count, int state, bool watchSilence);
    // Collects the 8-byte answer from its "[" on while the link stays in state.
    bool waitForAnswer(QByteArray &answer, int state);
    void transfer(ContReadResult &result, ClassData &store);
    // Tells the board to stop and throws away what it still sends, until the line is quiet
    // (streamMs: the time a stream still due may take); watchLate: a cancelled request may
    // still be answered.
    void abortAndDrain(bool sendAbort, int streamMs, bool watchLate);
    // "S 80"; true when the board answered it with its echo.
    bool closingExchange();
    void keepSeen(const QByteArray &bytes);
    void reportProgress(const ContReadResult &result);

    BoardLink &m_link;
    QPointer<SerialPort> m_port;
    QElapsedTimer m_clock;
    int m_requestTimeOutMs = 0;
    const QM4168 *m_source = nullptr;
    bool m_silent = false;
    int m_reported = -1;
    QByteArray m_seen; // the latest bytes of the answer, the stream and the drain
    LiveCapture m_live;
};
