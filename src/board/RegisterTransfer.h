#pragma once

#include <QList>
#include <QString>

class BoardHooks;
class QM4168;
class SerialLink;

// Moves registers between the device model and the converter: one register at a time
// (RegWriteOne, RegReadOne: the communications byte, then the data bytes, most significant
// first) and the bulk transfers built on them. Values read are written into the model with
// send false, so the views refresh and nothing is written back; what the chip was given or
// returned is recorded in the model as the chip's side of the register. Bulk transfers neither look
// at nor change who may start register traffic (RegisterSync) and are never recorded.
//
// Every operation returns how many register exchanges the board answered. A register whose
// exchange got no answer keeps its value in the model.
//
// An exchange counts as answered only when the board's reply has the frame's layout and
// echoes the communications byte sent (a write: every byte sent); an error line, another
// length or another echo is a failed exchange, and a read takes nothing from it.
//
// A bulk transfer stops early, rather than spend the time-out on every further register,
// when two exchanges in a row or three of the last ten failed, when a write failed (what
// follows would build on a set-up the chip does not have), when the board announced a reset
// (every write before it is lost), when the link is closed or busy, or (reads) when the mode
// register gave no value: what follows depends on it. stopReason() and stopText() tell why
// the last bulk transfer stopped; the link is left as the last exchange left it.
//
// Writes can be watched: watchWrites() starts a list of every register written from then on,
// writeFailure() names the first write that failed (or the board's reset since), and
// verifyWrites() reads the written registers back and names the first that differs.
class RegisterTransfer
{
public:
    enum class Stop
    {
        None,         // ran to its end, or met a converter in continuous-read mode
        NoAnswer,     // two registers in a row got no reply
        NoModeValue,  // the mode register read got no proper answer
        LinkNotReady, // the link was closed or busy
        Unreliable,   // three of the last ten exchanges failed
        WriteFailed,  // a write was refused, not answered or answered wrongly
        BoardReset    // the board announced a reset
    };
    static constexpr int MissesThatStop = 2;
    static constexpr int FailuresThatStop = 3; // ... in the last FailureWindow exchanges
    static constexpr int FailureWindow = 10;

    RegisterTransfer(QM4168 &model, SerialLink &link, BoardHooks &hooks);

    bool RegWriteOne(int address);
    // False also when the converter is in continuous-read mode and the register cannot be
    // read (the continuous-read dialog is asked for instead).
    bool RegReadOne(int address);

    int RegWriteAll();
    int RegReadAll();
    int RegReadChAll(int channel);
    int RegReadChState(int channel);
    int RegReadState();

    Stop stopReason() const { return m_stop; }
    // Why the last bulk transfer stopped, naming the register: "register 29h (Channel Setup)
    // was refused (answer "E REFUSED")"; empty when it ran to its end.
    QString stopText() const { return m_stopText; }

    void watchWrites();
    // The first write that failed since watchWrites(), or the board's reset since, as
    // stopText() words it; empty when every write was answered.
    QString writeFailure() const;
    // Reads back every register written since watchWrites() that holds what it is given
    // (not the checksum, data, status or read-only registers; the mode register without its
    // mode field, which the chip changes itself when a conversion or calibration ends) and
    // names the first that could not be read or differs from what was written.
    QString verifyWrites();

    // "register 29h (Channel Setup) was not answered": how the last exchange, one for
    // address, failed.
    QString failureOf(int address) const
    {
        return QStringLiteral("register %1 %2").arg(registerName(address), exchangeFailure(false));
    }
    // "29h (Channel Setup)"
    static QString registerName(int address);

    // Reads made on their own account (the read-back and the periodic read) take a value
    // only for registers without a pending edit, and judge the mode by the chip's value.
    void setAutomatic(bool on) { m_automatic = on; }

    // Channel data (08h..0Fh) and channel status (20h..27h) registers.
    static bool isDataOrStatus(int address);

private:
    void beginBulk();
    // One register of a bulk transfer; false when the transfer must stop.
    bool bulkStep(int address, bool write);
    bool bulkSteps(const QList<int> &addresses, bool write);
    // Why the exchange for address just failed ("was not answered", ...); empty when it did not.
    QString exchangeFailure(bool ok) const;
    void noteWrite(int address, bool ok);
    // Reads the mode register first of a bulk read; true when the read may go on: the mode
    // was read, and the converter is not in continuous-read mode (if it is, the
    // continuous-read dialog has been asked for).
    bool readModeAllowsMore();
    // Mode, I/O port, ADC status, then status (unless dumped) and data of channels first..last.
    int readStates(int first, int last);
    qint32 modeForReads() const;

    QM4168 &m_model;
    SerialLink &m_link;
    BoardHooks &m_hooks;
    int m_answered = 0;
    int m_missesInRow = 0;
    QList<bool> m_recent; // the last exchanges of a bulk transfer: true when one failed
    int m_noticesAtStart = 0;
    Stop m_stop = Stop::None;
    QString m_stopText;
    QList<int> m_watched;
    QList<qint32> m_watchedValues;
    QString m_writeFailure;
    int m_noticesAtWatch = 0;
    bool m_automatic = false;
};
