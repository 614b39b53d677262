#pragma once

#include "CliCommand.h"

// qm416x-cli regs: read and write the converter's registers on an evaluation board.
CliCommand regsCommand();
