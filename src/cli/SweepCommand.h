#pragma once

#include "CliCommand.h"

// qm416x-cli sweep --port NAME|PATH|sim [--variant V] --channel C [--fw LIST|--conv-times LIST]
//                  [--chop on|off|both] [--ranges LIST] [--samples N]
//                  [--format text|csv|json|markdown] [-o FILE] [--plot OUT.png|OUT.pdf]
CliCommand sweepCommand();
