#pragma once

#include "CliCommand.h"

// qm416x-cli convert FILE.dat --csv [--variant 62|64|68|69]
CliCommand convertCommand();
