#pragma once

#include "BoardHooks.h"
#include "ContinuousRead.h"
#include "LinkState.h"
#include "RegisterSync.h"
#include "RegisterTransfer.h"
#include "SerialLink.h"

#include <QObject>

class ClassData;
class QM4168;
class UserDialogs;

// The evaluation-board link of the board window, without the window: serial port, link
// state, board commands and register synchronisation, under the operation names the rest of
// the program uses. The board window (and any other user of the board) holds one BoardLink
// and connects to hooks() for everything the link shows to the user.
//
// It answers the model's RegisterSend (IADC_RegisterSend). Message boxes go through
// UserDialogs; with none given, no box is shown.
class BoardLink : public QObject
{
    Q_OBJECT

public:
    BoardLink(QM4168 &model, UserDialogs *dialogs, SerialPortFactory factory, QObject *parent = nullptr);
    ~BoardLink() override;

    BoardHooks &hooks() { return m_hooks; }
    QM4168 &model() { return m_model; }

    // Serial port. The port is a name ("Com1" .. "Com4", a device path, the simulated board);
    // the number form opens "Com" + n.
    bool ComOpen(const QString &port);
    bool ComOpen(int n);
    void ComClose();
    bool isPortOpen() const { return m_link.isOpen(); }
    QString portName() const { return m_link.portName(); }
    SerialPort *port() const { return m_link.port(); }
    // How the open-failure message names a port: N for "ComN", otherwise the name itself.
    static QString portLabel(const QString &port);

    // Link state (0 Disabled .. 8 Escape) and who may start register traffic (0 .. 5).
    int BrdState() const { return m_state.BrdState(); }
    void setBrdState(int value) { m_state.setBrdState(value); }
    int UpdateState() const { return m_sync.UpdateState(); }
    void setUpdateState(int value) { m_sync.setUpdateState(value); }
    QString statusText() const { return m_state.statusText(); }

    // Framing and the receive path.
    void BrdSend(const QString &command) { m_link.BrdSend(command); }
    void ComWrite(const QString &text) { m_link.ComWrite(text); }
    void ComReadInput() { m_link.ComReadInput(); }
    void BrdReceiveByte(char byte) { m_link.BrdReceiveByte(byte); }
    QString ReplyBuffer() const { return m_link.ReplyBuffer(); }
    bool InReply() const { return m_link.InReply(); }

    // One command and its reply line; "" when the link is not ready or no reply came.
    QString BrdCom(const QString &command) { return m_link.BrdCom(command); }
    bool BrdSPI(QByteArray &frame, int count) { return m_link.BrdSPI(frame, count); }
    bool RegWriteOne(int address) { return m_transfer.RegWriteOne(address); }
    bool RegReadOne(int address) { return m_transfer.RegReadOne(address); }

    // Board functions; each returns the board's reply text or "".
    QString BrdReset();
    QString BrdCheckSRAM();
    QString BrdDAC(int code);
    QString BrdLED(int value);
    QString BrdADCReset();

    // Continuous read: amount samples per enabled channel into store, which changes only
    // when the transfer completed. contRead() reports the phase and the progress.
    ContReadResult BrdContRead(int amount, ClassData &store) { return m_contRead.BrdContRead(amount, store); }
    ContinuousRead &contRead() { return m_contRead; }

    // Register synchronisation.
    void RegisterUserWriteReq(int address) { m_sync.RegisterUserWriteReq(address); }
    void RegisterUserReadReq(int address) { m_sync.RegisterUserReadReq(address); }
    void UserRegWrite(int address) { m_sync.UserRegWrite(address); }
    void UserRegRead(int address) { m_sync.UserRegRead(address); }
    // The user's bulk transfers: one that stops early (RegisterTransfer) tells the user once
    // which transfer stopped and why.
    int RegWriteAll();
    int RegReadAll();
    int RegReadChAll(int channel) { return m_transfer.RegReadChAll(channel); }
    int RegReadChState(int channel) { return m_transfer.RegReadChState(channel); }
    int RegReadState() { return m_transfer.RegReadState(); }

    bool CheckAutoWriteReg() const { return m_sync.CheckAutoWriteReg(); }
    void setCheckAutoWriteReg(bool on) { m_sync.setCheckAutoWriteReg(on); }
    bool CheckAutoWriteADC() const { return m_sync.CheckAutoWriteADC(); }
    void setCheckAutoWriteADC(bool on) { m_sync.setCheckAutoWriteADC(on); }
    bool CheckAutoUpdate() const { return m_sync.CheckAutoUpdate(); }
    void setCheckAutoUpdate(bool on) { m_sync.setCheckAutoUpdate(on); }
    bool CheckRegularUpdate() const { return m_sync.CheckRegularUpdate(); }
    void setCheckRegularUpdate(bool on) { m_sync.setCheckRegularUpdate(on); }

    // The timers, for the board window and for tests.
    QTimer &BrdTimeOut() { return m_state.BrdTimeOut(); }
    QTimer &TimerAutoUpdate() { return m_sync.TimerAutoUpdate(); }
    QTimer &TimerRegularUpdate() { return m_sync.TimerRegularUpdate(); }
    ParkedRequest &TimerUserWrite() { return m_sync.TimerUserWrite(); }
    ParkedRequest &TimerUserRead() { return m_sync.TimerUserRead(); }

    LinkState &linkState() { return m_state; }
    RegisterSync &registerSync() { return m_sync; }

public Q_SLOTS:
    void IADC_RegisterSend(int address, qint32 value, int channel);

private:
    void onPortLost(const QString &port);
    void chipWasReset();
    void reportStop(const QString &transfer);

    QM4168 &m_model;
    UserDialogs *m_dialogs;
    BoardHooks m_hooks;
    LinkState m_state;
    SerialLink m_link;
    RegisterTransfer m_transfer;
    RegisterSync m_sync;
    ContinuousRead m_contRead{*this};
};
