#pragma once

#include "CliCommand.h"

// qm416x-cli board: the evaluation board's own functions (reset, SRAM test, DAC, LED).
CliCommand boardCommand();
