#pragma once

#include "CliCommand.h"

#include <QList>
#include <QString>

// qm416x-cli acquire --port NAME|PATH|sim [--variant V] --channels LIST [--samples N]
//                    [--width 16|24] [--rdy-all] -o FILE.dat
CliCommand acquireCommand();

// The channel numbers of "0,1,5" for --channels; empty with error set when the list is not one.
QList<int> channelList(const QString &text, QString &error);
