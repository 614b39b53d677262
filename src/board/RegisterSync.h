#pragma once

#include "ParkedRequest.h"

#include <QObject>
#include <QTimer>

#include <functional>

class BoardHooks;
class QM4168;
class RegisterTransfer;

// Keeps model and chip in step: decides when a register changed in the model goes to the
// chip and when registers are read back, and keeps automatic reads from interleaving with a
// user's access. UpdateState says who may start register traffic now; the timers drive the
// automatic traffic; four switches (the board window's check boxes) turn parts of it off.
class RegisterSync : public QObject
{
    Q_OBJECT

public:
    enum Update
    {
        UpdClosed = 0,
        UpdIdle = 1,
        UpdUserAccess = 2,
        UpdReadBackPending = 3,
        UpdUpdating = 4,
        UpdContRead = 5
    };

    static constexpr int AutoUpdateMs = 10;
    static constexpr int RegularUpdateMs = 1000;

    RegisterSync(QM4168 &model, RegisterTransfer &transfer, BoardHooks &hooks, QObject *parent = nullptr);

    int UpdateState() const { return m_updateState; }
    // Stops both update timers, stores the value, then starts the periodic read for Idle or
    // the read-back for ReadBackPending; every assignment restarts this, changed or not.
    void setUpdateState(int value);

    void RegisterUserWriteReq(int address);
    void RegisterUserReadReq(int address);
    void UserRegWrite(int address);
    void UserRegRead(int address);
    void IADC_RegisterSend(int address, qint32 value, int channel);

    // The board window's switches ("Auto Write Registers", "Auto Write ADC Set", "Read
    // Automatically", "Read repeatedly").
    bool CheckAutoWriteReg() const { return m_autoWriteReg; }
    void setCheckAutoWriteReg(bool on) { m_autoWriteReg = on; }
    bool CheckAutoWriteADC() const { return m_autoWriteADC; }
    void setCheckAutoWriteADC(bool on) { m_autoWriteADC = on; }
    bool CheckAutoUpdate() const { return m_autoUpdate; }
    void setCheckAutoUpdate(bool on) { m_autoUpdate = on; }
    bool CheckRegularUpdate() const { return m_regularUpdate; }
    void setCheckRegularUpdate(bool on) { m_regularUpdate = on; }

    // While held (the reset dialog is open) no automatic read starts: the model keeps the
    // set-up the user had, for the dialog's Write All.
    bool automaticReadsHeld() const { return m_held; }
    void setAutomaticReadsHeld(bool on) { m_held = on; }

    QTimer &TimerAutoUpdate() { return m_autoUpdateTimer; }
    QTimer &TimerRegularUpdate() { return m_regularUpdateTimer; }
    ParkedRequest &TimerUserWrite() { return m_userWrite; }
    ParkedRequest &TimerUserRead() { return m_userRead; }

Q_SIGNALS:
    void UpdateStateChanged(int state);

private:
    // One user access: write or read, recorded for the code generator, then the read-back.
    void userAccess(int address, bool write);
    void transfer(int address, bool write);
    void autoUpdateTick();
    void regularUpdateTick();
    // Runs read as an automatic read (RegisterTransfer::setAutomatic).
    void automaticRead(const std::function<void()> &read);
    // Ends an automatic or user access, unless the link was closed (or otherwise taken) while
    // the access waited for the board.
    void finishAccess(int during, int next);

    QM4168 &m_model;
    RegisterTransfer &m_transfer;
    BoardHooks &m_hooks;
    int m_updateState = UpdClosed;
    bool m_autoWriteReg = false;
    bool m_autoWriteADC = true;
    bool m_autoUpdate = true;
    bool m_regularUpdate = false;
    bool m_held = false;
    QTimer m_autoUpdateTimer;
    QTimer m_regularUpdateTimer;
    ParkedRequest m_userWrite;
    ParkedRequest m_userRead;
};
