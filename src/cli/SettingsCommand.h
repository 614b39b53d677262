#pragma once

#include "CliCommand.h"

// qm416x-cli settings: save the board's register set-up to a settings file, or load one
// into the board.
CliCommand settingsCommand();
