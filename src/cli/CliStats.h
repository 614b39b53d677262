#pragma once

#include "CliCommand.h"

// qm416x-cli stats FILE.dat [--variant 62|64|68|69] [--channel N]
CliCommand statsCommand();
