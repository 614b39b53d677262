#include "BoardLink.h"

#include "model/HexText.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "platform/UserDialogs.h"

#include <QRegularExpression>

BoardLink::BoardLink(QM4168 &model, UserDialogs *dialogs, SerialPortFactory factory, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_dialogs(dialogs)
    , m_state(m_hooks)
    , m_link(m_state, m_hooks)
    , m_transfer(model, m_link, m_hooks)
    , m_sync(model, m_transfer, m_hooks)
{
    m_link.setPortFactory(std::move(factory));
    connect(&m_model, &QM4168::RegisterSend, this, &BoardLink::IADC_RegisterSend);
    connect(&m_link, &SerialLink::portLost, this, &BoardLink::onPortLost);
    // Before any window hears of it: the reset dialog finds the chip's side already reset.
    connect(&m_hooks, &BoardHooks::ResetNotice, this, &BoardLink::chipWasReset);
}

void BoardLink::chipWasReset()
{
    // The converter holds its power-on image again; every register the user had set
    // otherwise is pending until written (Write All) or read.
    QM4168 powerOn;
    powerOn.setTestEnable(m_model.TestEnable());
    powerOn.setEvBoard(m_model.EvBoard());
    RegisterDesign::applyTo(powerOn);
    LoadRegisterDefaults(powerOn, m_model.EvBoard());
    m_model.setChipValues(powerOn);
}

BoardLink::~BoardLink()
{
    m_link.close();
}

QString BoardLink::portLabel(const QString &port)
{
    static const QRegularExpression comN(QStringLiteral("^com(\\d+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comN.match(port);
    return m.hasMatch() ? m.captured(1) : port;
}

bool BoardLink::ComOpen(const QString &port)
{
    QString error;
    if (m_link.open(port, error)) {
        m_state.setBrdState(LinkState::BoardIdle);
        m_sync.setUpdateState(RegisterSync::UpdIdle);
        return true;
    }
    if (m_dialogs)
        m_dialogs->message(QStringLiteral("Com ") + portLabel(port) + QStringLiteral(" Can't be opend - ") +
                           error);
    m_state.setBrdState(LinkState::BoardDisabled);
    m_sync.setUpdateState(RegisterSync::UpdClosed);
    return false;
}

bool BoardLink::ComOpen(int n)
{
    return ComOpen(QStringLiteral("Com%1").arg(n));
}

void BoardLink::ComClose()
{
    m_link.close();
    m_state.setBrdState(LinkState::BoardDisabled);
    m_sync.setUpdateState(RegisterSync::UpdClosed);
}

void BoardLink::onPortLost(const QString &port)
{
    // The device is gone: without closing, the port would report errors without end. Close
    // at once (a waiting exchange ends with ""), then tell the user, once, after the
    // operation that was running has unwound.
    ComClose();
    QMetaObject::invokeMethod(
        this,
        [this, port] {
            if (m_dialogs)
                m_dialogs->message(
                    QStringLiteral("The evaluation board on %1 has gone away: the port was closed.")
                        .arg(port),
                    UserDialogs::Icon::Warning);
            // The port choice goes back to "Disabled" unless a port was opened again meanwhile.
            if (!m_link.isOpen())
                Q_EMIT m_hooks.PortLost(port);
        },
        Qt::QueuedConnection);
}

int BoardLink::RegWriteAll()
{
    const int answered = m_transfer.RegWriteAll();
    reportStop(QStringLiteral("Write All Registers"));
    return answered;
}

int BoardLink::RegReadAll()
{
    const int answered = m_transfer.RegReadAll();
    reportStop(QStringLiteral("Read all registers"));
    return answered;
}

void BoardLink::reportStop(const QString &transfer)
{
    QString why;
    switch (m_transfer.stopReason()) {
    case RegisterTransfer::Stop::NoAnswer:
        why = QStringLiteral("the evaluation board did not answer two registers in a row");
        break;
    case RegisterTransfer::Stop::NoModeValue:
        why = QStringLiteral("the evaluation board gave no value for the mode register");
        break;
    case RegisterTransfer::Stop::None:
    case RegisterTransfer::Stop::LinkNotReady:
        return; // done, or nothing could be sent (a lost board is reported on its own)
    }
    if (m_dialogs)
        m_dialogs->message(QStringLiteral("\"%1\" stopped: %2.").arg(transfer, why),
                           UserDialogs::Icon::Warning);
}

void BoardLink::IADC_RegisterSend(int address, qint32 value, int channel)
{
    m_sync.IADC_RegisterSend(address, value, channel);
}

QString BoardLink::BrdReset()
{
    return m_link.BrdCom(QStringLiteral("X"));
}

QString BoardLink::BrdCheckSRAM()
{
    return m_link.BrdCom(QStringLiteral("R"));
}

QString BoardLink::BrdDAC(int code)
{
    return m_link.BrdCom(QStringLiteral("D ") + HexPad(code, 4));
}

QString BoardLink::BrdLED(int value)
{
    return m_link.BrdCom(QStringLiteral("L ") + HexPad(value, 4));
}

QString BoardLink::BrdADCReset()
{
    const QString reply = m_link.BrdCom(QStringLiteral("S 00 FF FF FF FF"));
    if (!reply.isEmpty())
        chipWasReset();
    return reply;
}
