#pragma once

#include "analysis/PlotTexts.h"

#include <QString>
#include <QStringList>

class CliArguments;
class CliDataSession;

// Numbers for CSV output: a point as separator whatever the locale, and doubles with 17
// significant digits so that they read back to the same value.
namespace CliCsv {
QString number(double value);
QString number(qint64 value);

// The flag that leaves out the comment lines, for tools that cannot skip them.
inline QString noCommentsFlag()
{
    return QStringLiteral("--no-comments");
}
QString noCommentsHelp();
// The "# ..." lines a table of kind opens with (PlotFacts, dated now), as the windows'
// exports write them; none with --no-comments.
QStringList comments(const CliArguments &arguments, PlotKind kind, const CliDataSession &session, int window);
} // namespace CliCsv
