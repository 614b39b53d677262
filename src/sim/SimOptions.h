#pragma once

#include "SimFaults.h"
#include "SimSignal.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class SimConverter;

// Command line of qm416x-boardsim.
struct SimOptions
{
    bool pacing = true;
    int variant = 8;
    quint32 seed = 1;
    double mclk = 6.144;
    QList<QPair<int, SimSignal>> signalSettings; // per channel, in the order given
    SimFaults faults;
    bool showHelp = false;
    QString error;

    static SimOptions parse(const QStringList &arguments);
    static QString helpText();
    void applyTo(SimConverter &converter) const;
};
