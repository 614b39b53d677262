#pragma once

#include "DataFileError.h"

#include <QByteArray>
#include <QString>

// Every file the program saves (data, settings, tables, plots) is written through here,
// whole or not at all: the bytes go to a temporary file beside the target, unbuffered and
// every write checked, and it takes the target's place only once complete and synced. On
// any failure the earlier file is as it was and no temporary file is left. Errors: 76 when
// the folder does not exist, 75 when the file cannot be created or put in place, 61 when
// the disk is full (ENOSPC, EDQUOT), 57 when a write fails otherwise.
DataFileError WriteWholeFile(const QString &path, const QByteArray &bytes);

// The error of a write that failed with the given errno: 61 for lack of space, else 57.
DataFileError WriteFailure(int savedErrno);

// For tests: from now on every WriteWholeFile finds only `bytes` bytes free, as on a disk
// that fills up: the write that goes beyond them fails with ENOSPC after the bytes that fit.
// A negative value (the start) gives the disk as it is.
void SimulateFreeSpace(qint64 bytes);
