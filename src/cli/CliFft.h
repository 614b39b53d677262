#pragma once

#include "CliCommand.h"

// qm416x-cli fft FILE.dat --channel N [--window NAME|0-5] [--variant 62|64|68|69]
CliCommand fftCommand();
