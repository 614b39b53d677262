#include "CliCsv.h"

#include "CliArguments.h"
#include "CliDataSession.h"
#include "analysis/PlotFacts.h"

#include <QDateTime>

namespace CliCsv {

QString number(double value)
{
    // QString::number ignores the locale: always a point, never group separators.
    return QString::number(value, 'g', 17);
}

QString number(qint64 value)
{
    return QString::number(value);
}

QString noCommentsHelp()
{
    return QStringLiteral(
        "  --no-comments          no '#' lines naming the channel, range, conversion time,\n"
        "                         samples and date before the table\n");
}

QStringList comments(const CliArguments &arguments, PlotKind kind, const CliDataSession &session, int window)
{
    if (arguments.has(noCommentsFlag()))
        return {};
    return plotComments(plotTexts(kind).title,
                        plotFacts(kind, session.data(), session.channel(), session.adc(), window,
                                  QDateTime::currentDateTime()));
}

} // namespace CliCsv
