#pragma once

#include "CliCommand.h"

// qm416x-cli history list|show ID|export ID -o FILE.dat|FILE.adc|delete ID [--db FILE]
//                    [--format text|csv|json]
CliCommand historyCommand();
