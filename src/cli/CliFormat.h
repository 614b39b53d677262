#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class CliArguments;

// --format text|csv|json of the commands that print results. json is JSON Lines: one
// compact object per line (per channel, per register), numbers as numbers in SI units.
// csv is a header row, then one row per object, numbers as CliCsv writes them.
namespace CliFormat {
enum Kind
{
    Text,
    Csv,
    Json
};

// The option for CliArguments.
inline QString option()
{
    return QStringLiteral("--format");
}
// The --format of the arguments (Text when absent); false with error set when the value
// names no format.
bool read(const CliArguments &arguments, Kind &kind, QString &error);
QString helpLine();

// One JSON Lines line.
QString jsonLine(const QJsonObject &object);
// One CSV row of the cells, each quoted when it holds a comma, a quote or a line end.
QString csvRow(const QStringList &cells);
} // namespace CliFormat
