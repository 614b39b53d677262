#pragma once

#include "FakePorts.h"
#include "ScriptedDialogs.h"
#include "SignalRecorder.h"
#include "board/BoardLink.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

// A board link on fake ports, with a model prepared as the program's start-up prepares it
// (variant, register design, power-on image) and a recorder on the link's hooks.
struct BoardRig
{
    QM4168 model;
    ScriptedDialogs dialogs;
    FakePorts ports;
    BoardLink link{model, &dialogs, ports.factory()};
    SignalRecorder hooks{&link.hooks()};

    explicit BoardRig(int variant = 8)
    {
        model.setEvBoard(variant);
        RegisterDesign::applyTo(model);
        LoadRegisterDefaults(model, variant);
    }

    // Opens "Com1" and returns its port.
    FakeSerialPort &open(const QString &name = QStringLiteral("Com1"))
    {
        link.ComOpen(name);
        return *ports.last();
    }
};
