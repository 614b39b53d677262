#pragma once

#include "FakeSerialPort.h"
#include "ScriptedDialogs.h"
#include "SignalRecorder.h"
#include "board/BoardLink.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

#include <QTest>

// A board link with a model prepared as the program's start-up prepares it (variant,
// register design, power-on image) and a recorder on the link's hooks. The link opens fake
// ports unless a factory of other ports is given.
struct BoardRig
{
    QM4168 model;
    ScriptedDialogs dialogs;
    FakePorts ports;
    BoardLink link;
    SignalRecorder hooks{&link.hooks()};

    explicit BoardRig(int variant = 8, SerialPortFactory factory = nullptr)
        : link(model, &dialogs, factory ? std::move(factory) : ports.factory())
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

    // The link is closed: Disabled, no register traffic, no automatic reads.
    void verifyClosed()
    {
        QCOMPARE(link.BrdState(), 0);
        QCOMPARE(link.UpdateState(), 0);
        QVERIFY(!link.isPortOpen());
        QVERIFY(!link.TimerRegularUpdate().isActive());
        QVERIFY(!link.TimerAutoUpdate().isActive());
    }
};
