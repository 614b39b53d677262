#include "CliStats.h"

#include "CliDataSession.h"
#include "CliOutput.h"
#include "data/ShowStatistics.h"

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli stats FILE.dat [--variant 62|64|68|69] [--channel N]\n\n"
                          "The conditions and noise figures of each valid channel of a data file (or of\n"
                          "channel N), one label and value per line, separated by a tab, as the data\n"
                          "window shows them (numbers with a point).\n\n") +
           CliDataSession::optionHelp() + QStringLiteral("  --channel N            only channel N (0..7)\n");
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, CliDataSession::valueOptions(), {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    CliDataSession session;
    if (const int code = session.open(args))
        return code;
    CliOutput::out(statisticsText(session.data(), session.channels(), session.adc()));
    return 0;
}

} // namespace

QString statisticsText(const ClassData &data, const QList<int> &channels, const QM4168 &adc)
{
    QString text;
    for (int c : channels) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QStringLiteral("Channel %1\n").arg(c);
        for (const StatisticsCell &cell : ShowStatistics(data, c, adc, QLocale::c()))
            text += cell.label + QLatin1Char('\t') + cell.value + QLatin1Char('\n');
    }
    return text;
}

CliCommand statsCommand()
{
    return {QStringLiteral("stats"), QStringLiteral("noise figures of the channels of a data file"), run};
}
