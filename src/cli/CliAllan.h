#pragma once

#include "CliCommand.h"

// qm416x-cli allan FILE.dat --channel N [--variant 62|64|68|69] [--format text|csv|json]
CliCommand allanCommand();
