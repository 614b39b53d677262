#pragma once

#include <QStringList>

// The serial ports the system reports that are not already Com1..Com4, as device paths
// (USB adapters and the like), in the order the system lists them.
QStringList otherSystemPorts();
