#pragma once

#include "CliCommand.h"

// qm416x-cli hist FILE.dat --channel N [--variant 62|64|68|69]
CliCommand histCommand();
