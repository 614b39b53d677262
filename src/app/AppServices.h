#pragma once

#include "platform/SerialPort.h"

#include <QStringList>

#include <functional>

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
    // Told the chip variant (2, 4, 8, 9) once start-up has it, before any port opens, so
    // that the simulated board carries the same chip; may be empty.
    std::function<void(int variantCode)> variantChosen;
};
