#include "SystemPortNames.h"

#include "SystemSerialPort.h"

#include <QSerialPortInfo>

QStringList otherSystemPorts()
{
    QStringList comDevices;
    for (int n = 1; n <= 4; ++n)
        comDevices << SystemSerialPort::systemName(QStringLiteral("Com%1").arg(n));
    QStringList result;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString location = info.systemLocation();
        if (!comDevices.contains(location) && !result.contains(location))
            result << location;
    }
    return result;
}
