#pragma once

#include "CliCommand.h"
#include "CliFormat.h"
#include "history/HistoryEntry.h"

// qm416x-cli history list|show ID|export ID -o FILE.dat|FILE.adc|delete ID [--db FILE]
//                    [--format text|csv|json]
CliCommand historyCommand();

// The lines of 'history list' for the entries; with heading, the text heading or CSV
// header row first.
QString historyListText(const QList<HistoryEntry> &entries, CliFormat::Kind format, bool heading = true);
