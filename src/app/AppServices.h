#pragma once

#include "data/DataFileError.h"
#include "platform/SerialPort.h"

#include <QStringList>

#include <functional>

class ClassData;
class QM4168;
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
    // Writes the report of the data with the model's set-up and the spectrum's window
    // selector to a .pdf or .html path; may be empty (no "Report..." then).
    std::function<DataFileError(const QString &path, const ClassData &data, const QM4168 &model, int window)>
        writeReport;
};
