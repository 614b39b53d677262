#pragma once

#include "CliCommand.h"

// qm416x-cli report FILE.dat [--channels LIST] [--settings FILE.adc] [--window W] -o REPORT.pdf|REPORT.html
CliCommand reportCommand();
