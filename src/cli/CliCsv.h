#pragma once

#include <QString>

// Numbers for CSV output: a point as separator whatever the locale, and doubles with 17
// significant digits so that they read back to the same value.
namespace CliCsv {
QString number(double value);
QString number(qint64 value);
} // namespace CliCsv
