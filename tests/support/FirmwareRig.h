#pragma once

#include "BoardRig.h"
#include "sim/SimConverter.h"
#include "sim/SimFirmware.h"

// A board rig whose fake port is answered, frame by frame, by the simulated board's firmware
// in front of a simulated chip of the same variant.
struct FirmwareRig : BoardRig
{
    SimConverter chip;
    SimFirmware firmware{chip};
    FakeSerialPort &port;

    explicit FirmwareRig(int variant = 8)
        : BoardRig(variant)
        , chip(variant)
        , port(open())
    {
        port.responder = [this](const QString &command) {
            chip.settle();
            return firmware.execute(command.toLatin1(), false);
        };
    }
};
