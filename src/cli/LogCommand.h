#pragma once

#include "CliCommand.h"

// qm416x-cli log --port NAME|PATH|sim --channels LIST [--samples N] --interval SECONDS
//                [--count K | --duration SECONDS] [--db FILE] [--format text|csv|json]
CliCommand logCommand();
