#include "BoardSession.h"

#include "model/PowerOnImage.h"
#include "model/RegisterDesign.h"
#include "platform/SystemSerialPort.h"
#include "sim/SimulatedSerialPort.h"

#include <QCoreApplication>

#include <algorithm>

BoardSession::BoardSession(int variantCode, UserDialogs *dialogs)
    : m_variantCode(variantCode)
    , m_simBoard(variantCode)
    , m_dialogs(dialogs ? dialogs : &m_cliDialogs)
    , m_link(m_model, m_dialogs, portFactory())
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
        m_dialogs->message(QStringLiteral("no evaluation board answers on %1%2")
                               .arg(port, reply.isEmpty() ? QString()
                                                          : QStringLiteral(" (answer \"%1\" to a read of the "
                                                                           "revision register)")
                                                                .arg(reply)),
                           UserDialogs::Icon::Critical);
        m_link.ComClose();
        return false;
    }
    return true;
}

QList<int> BoardSession::readAllAddresses() const
{
    QList<int> addresses{1, 2, 3, 4, 5, 6, 7, 56};
    for (int base = 8; base <= 48; base += 8)
        for (int ch = 0; ch <= m_model.MaxChannel(); ++ch)
            addresses << base + ch;
    std::sort(addresses.begin(), addresses.end());
    return addresses;
}

QString BoardSession::contReadMessage(const QString &what)
{
    return QStringLiteral("the converter is in continuous-read mode; its %1 cannot be read (write the mode "
                          "register first)")
        .arg(what);
}
