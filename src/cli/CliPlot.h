#pragma once

#include "CliCommand.h"

// qm416x-cli plot FILE.dat --channel N --kind time|hist|fft [--window W] -o OUT.png|OUT.pdf
CliCommand plotCommand();
