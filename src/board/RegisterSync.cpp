#include "RegisterSync.h"

#include "BoardHooks.h"
#include "RegisterTransfer.h"
#include "model/QM4168.h"

RegisterSync::RegisterSync(QM4168 &model, RegisterTransfer &transfer, BoardHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_transfer(transfer)
    , m_hooks(hooks)
    , m_userWrite([this] { return m_updateState != UpdUpdating; }, [this](int a) { UserRegWrite(a); })
    , m_userRead([this] { return m_updateState != UpdUpdating; }, [this](int a) { UserRegRead(a); })
{
    m_autoUpdateTimer.setInterval(AutoUpdateMs);
    m_regularUpdateTimer.setInterval(RegularUpdateMs);
    connect(&m_autoUpdateTimer, &QTimer::timeout, this, &RegisterSync::autoUpdateTick);
    connect(&m_regularUpdateTimer, &QTimer::timeout, this, &RegisterSync::regularUpdateTick);
}

void RegisterSync::setUpdateState(int value)
{
    m_regularUpdateTimer.stop();
    m_autoUpdateTimer.stop();
    const bool changed = value != m_updateState;
    m_updateState = value;
    if (value == UpdIdle)
        m_regularUpdateTimer.start();
    else if (value == UpdReadBackPending)
        m_autoUpdateTimer.start();
    if (changed)
        Q_EMIT UpdateStateChanged(value);
}

void RegisterSync::IADC_RegisterSend(int address, qint32 value, int channel)
{
    Q_UNUSED(value)
    Q_UNUSED(channel)
    if (m_autoWriteADC)
        RegisterUserWriteReq(address);
}

void RegisterSync::RegisterUserWriteReq(int address)
{
    if (m_updateState != UpdUpdating)
        UserRegWrite(address);
    else
        m_userWrite.park(address);
}

void RegisterSync::RegisterUserReadReq(int address)
{
    if (m_updateState != UpdUpdating)
        UserRegRead(address);
    else
        m_userRead.park(address);
}

void RegisterSync::UserRegWrite(int address)
{
    userAccess(address, true);
}

void RegisterSync::UserRegRead(int address)
{
    userAccess(address, false);
}

void RegisterSync::transfer(int address, bool write)
{
    if (write)
        m_transfer.RegWriteOne(address);
    else
        m_transfer.RegReadOne(address);
}

void RegisterSync::userAccess(int address, bool write)
{
    if (m_updateState == UpdContRead) {
        // The continuous-read dialog is open: the access goes through as it is, unrecorded.
        transfer(address, write);
        return;
    }
    if (m_updateState != UpdIdle)
        return; // closed, or another access or read-back is under way: dropped

    setUpdateState(UpdUserAccess);
    transfer(address, write);
    // Asked after the exchange, so that a recorded write shows the value written.
    if (m_hooks.isRecording()) {
        if (write)
            Q_EMIT m_hooks.WriteOperation(address);
        else
            Q_EMIT m_hooks.ReadOperation(address);
    }
    finishAccess(UpdUserAccess, m_autoUpdate ? UpdReadBackPending : UpdIdle);
}

void RegisterSync::autoUpdateTick()
{
    if (m_held)
        return; // the read-back waits; the next tick comes 10 ms later
    setUpdateState(UpdUpdating);
    if (m_autoUpdate)
        automaticRead([this] { m_transfer.RegReadChAll(m_model.Channel()); });
    finishAccess(UpdUpdating, UpdIdle);
}

void RegisterSync::regularUpdateTick()
{
    if (m_held)
        return;
    setUpdateState(UpdUpdating);
    if (m_regularUpdate)
        automaticRead([this] { m_transfer.RegReadState(); });
    finishAccess(UpdUpdating, UpdIdle);
}

void RegisterSync::automaticRead(const std::function<void()> &read)
{
    m_transfer.setAutomatic(true);
    read();
    m_transfer.setAutomatic(false);
}

void RegisterSync::finishAccess(int during, int next)
{
    if (m_updateState == during)
        setUpdateState(next);
}
