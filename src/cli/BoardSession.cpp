#include "BoardSession.h"

#include "CliOutput.h"
#include "model/PowerOnImage.h"
#include "model/RegisterDesign.h"
#include "platform/SystemSerialPort.h"
#include "sim/SimulatedSerialPort.h"

#include <QCoreApplication>

BoardSession::BoardSession(int variantCode)
    : m_variantCode(variantCode)
    , m_simBoard(variantCode)
    , m_link(m_model, &m_dialogs, portFactory())
{
    m_model.setEvBoard(variantCode);
    RegisterDesign::applyTo(m_model);
    LoadRegisterDefaults(m_model, variantCode);
    QObject::connect(&m_link.hooks(), &BoardHooks::RunContReadDialog, [this] { m_contReadMet = true; });
}

BoardSession::~BoardSession()
{
    deliverMessages();
}

void BoardSession::deliverMessages()
{
    QCoreApplication::sendPostedEvents(&m_link, QEvent::MetaCall);
}

SerialPortFactory BoardSession::portFactory()
{
    return [this](const QString &port) -> std::unique_ptr<SerialPort> {
        if (port == QLatin1String("sim") || port == QLatin1String(SimulatedSerialPort::Name))
            return std::make_unique<SimulatedSerialPort>(&m_simBoard);
        return std::make_unique<SystemSerialPort>();
    };
}

bool BoardSession::connect(const QString &port)
{
    if (!m_link.ComOpen(port))
        return false; // the link has told why
    QByteArray probe("\x42\x00", 2);
    if (!m_link.BrdSPI(probe, 2)) {
        const QString reply = m_link.serialLink().lastReply();
        CliOutput::err(QStringLiteral("qm416x-cli: no evaluation board answers on %1%2\n")
                           .arg(port, reply.isEmpty() ? QString()
                                                      : QStringLiteral(" (answer \"%1\" to a read of the "
                                                                       "revision register)")
                                                            .arg(reply)));
        m_link.ComClose();
        return false;
    }
    return true;
}
