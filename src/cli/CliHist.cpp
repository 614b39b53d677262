#include "CliHist.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliOutput.h"
#include "analysis/BuildHistogram.h"

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli hist FILE.dat --channel N [--variant 62|64|68|69]\n\n"
                          "The code histogram of channel N as CSV: code, number of samples with that\n"
                          "code, one row per code that occurs, in ascending order.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --channel N            the channel (0..7), required\n");
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, CliDataSession::valueOptions(), {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("hist needs --channel N"));
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    const PlotTable table = BuildHistogram(session.data(), session.channel());
    QString text = QStringLiteral("code,count\n");
    // Three rows per code; the middle one holds the count.
    for (int row = 1; row < table.rows(); row += 3)
        text += CliCsv::number(static_cast<qint64>(table.x.at(row))) + QLatin1Char(',') +
                CliCsv::number(static_cast<qint64>(table.y.at(row))) + QLatin1Char('\n');
    CliOutput::out(text);
    return 0;
}

} // namespace

CliCommand histCommand()
{
    return {QStringLiteral("hist"), QStringLiteral("code histogram of a channel of a data file as CSV"), run};
}
