#pragma once

#include "CliCommand.h"

#include <QList>
#include <QString>

class ClassData;
class QM4168;

// qm416x-cli stats FILE.dat [--variant 62|64|68|69] [--channel N]
CliCommand statsCommand();

// The conditions and noise figures of the given channels: "Channel N" and one label and
// value per line, separated by a tab; a blank line between channels.
QString statisticsText(const ClassData &data, const QList<int> &channels, const QM4168 &adc);
