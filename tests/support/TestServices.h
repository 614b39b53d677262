#pragma once

#include "MemorySettingsStore.h"
#include "ReceiveSplit.h"
#include "ScriptedDialogs.h"
#include "app/AppServices.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <memory>

// What the program takes from outside, for window tests: settings in memory, scripted
// boxes, and the simulated board (unpaced) behind "Simulated board", whose chip follows the
// variant chosen at start-up and whose bytes are split as the suite's split says (all
// waiting bytes at once when the suite chose none). Every other port name fails to open
// with "No such file or directory".
struct TestServices
{
    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    SimBoard board{8};

    class MissingPort : public SimulatedSerialPort
    {
    public:
        bool open(const QString &) override { return false; }
        QString errorString() const override { return QStringLiteral("No such file or directory"); }
    };

    AppServices services()
    {
        SerialPortFactory factory = [this](const QString &name) -> std::unique_ptr<SerialPort> {
            if (name == QLatin1String(SimulatedSerialPort::Name)) {
                auto port = std::make_unique<SimulatedSerialPort>(&board);
                if (suiteSplit())
                    applySuiteSplit(port->line());
                return port;
            }
            return std::make_unique<MissingPort>();
        };
        auto fitSimulatedChip = [this](int variantCode) { board.converter() = SimConverter(variantCode); };
        return AppServices{settings,         dialogs, factory, {QStringLiteral("/dev/ttyUSB0")},
                           fitSimulatedChip, {}};
    }
};
