#pragma once

#include "data/DataFileError.h"

#include <QString>

struct HistoryCapture;

// A recorded capture written out as the program writes its files: the data file (.dat) the
// data window saves for the capture's samples, or the settings file (.adc) of its register
// image, as 'settings save' writes it. Either file is whole or not written at all.
namespace HistoryExport {

enum class Kind
{
    DataFile,
    SettingsFile
};

// The kind a file name asks for by its extension (.dat or .adc, any case); false for others.
bool kindOf(const QString &path, Kind &kind);

// Errors as the writers give them. For a completed capture only: a recorded failure has no
// data (the caller says so instead).
DataFileError write(const HistoryCapture &capture, const QString &path, Kind kind);

} // namespace HistoryExport
