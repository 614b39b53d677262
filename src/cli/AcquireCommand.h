#pragma once

#include "CliCommand.h"

// qm416x-cli acquire --port NAME|PATH|sim [--variant V] --channels LIST [--samples N]
//                    [--width 16|24] [--rdy-all] -o FILE.dat
CliCommand acquireCommand();
