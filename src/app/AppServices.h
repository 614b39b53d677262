#pragma once

#include "platform/SerialPort.h"

#include <QStringList>

class SettingsStore;
class UserDialogs;

// What the program takes from outside: the per-user settings, message boxes and file
// dialogs, and the serial ports. Tests give scripted ones.
struct AppServices
{
    SettingsStore &settings;
    UserDialogs &dialogs;
    // Creates the port object for a port name ("Com1", a device path, "Simulated board").
    SerialPortFactory portFactory;
    // Serial ports of the system beyond Com1..Com4 (USB adapters), as device paths.
    QStringList otherPorts;
};
