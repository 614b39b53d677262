#pragma once

#include <QList>

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
// A bulk transfer stops early, rather than spend the time-out on every further register,
// when two exchanges in a row got no reply, when the link is closed or busy, or (reads)
// when the mode register gave no value: what follows depends on it. stopReason() tells why
// the last bulk transfer stopped; the link is left as the last exchange left it.
class RegisterTransfer
{
public:
    enum class Stop
    {
        None,        // ran to its end, or met a converter in continuous-read mode
        NoAnswer,    // two registers in a row got no reply
        NoModeValue, // the mode register read got no proper answer
        LinkNotReady // the link was closed or busy
    };
    static constexpr int MissesThatStop = 2;

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
    Stop m_stop = Stop::None;
    bool m_automatic = false;
};
