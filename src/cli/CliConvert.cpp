#include "CliConvert.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliOutput.h"

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli convert FILE.dat --csv [--variant 62|64|68|69]\n\n"
                          "The codes of a data file as CSV: a header row naming the channels, then one\n"
                          "row per sample index and one column per valid channel; a channel that has\n"
                          "run out of samples leaves its cell empty.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --csv                  comma-separated values (the only format)\n");
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, {QStringLiteral("--variant")}, {QStringLiteral("--csv")});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--csv")))
        return CliOutput::usageError(QStringLiteral("convert needs an output format: --csv"));
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    const ClassData &data = session.data();
    const QList<int> channels = session.channels();
    QStringList heading;
    int rows = 0;
    for (int c : channels) {
        heading << QStringLiteral("Channel %1").arg(c);
        rows = qMax(rows, data.DataCount(c));
    }
    QString text = heading.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int i = 1; i <= rows; ++i) {
        QStringList cells;
        for (int c : channels)
            cells << (i <= data.DataCount(c) ? CliCsv::number(static_cast<qint64>(data.ExtData(c, i)))
                                             : QString());
        text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    CliOutput::out(text);
    return 0;
}

} // namespace

CliCommand convertCommand()
{
    return {QStringLiteral("convert"), QStringLiteral("codes of a data file as CSV"), run};
}
