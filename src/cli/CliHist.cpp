#include "CliHist.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliFormat.h"
#include "CliOutput.h"
#include "analysis/BuildHistogram.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli hist FILE.dat --channel N [--variant 62|64|68|69]\n"
                          "                      [--format text|csv|json]\n\n"
                          "The code histogram of channel N as CSV: '#' lines naming the data, then code,\n"
                          "number of samples with that code, one row per code that occurs, in ascending\n"
                          "order (text and csv alike).\n"
                          "JSON: one object with the channel, the samples and the list of bins.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --channel N            the channel (0..7), required\n") +
           CliCsv::noCommentsHelp() + CliFormat::helpLine();
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, CliDataSession::valueOptions() << CliFormat::option(),
                            {CliCsv::noCommentsFlag()});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("hist needs --channel N"));
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (args.error().isEmpty() && !CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    const PlotTable table = BuildHistogram(session.data(), session.channel());
    const PlotTexts texts = plotTexts(PlotKind::Histogram);
    QString text;
    for (const QString &line : CliCsv::comments(args, PlotKind::Histogram, session, 0))
        text += line + QLatin1Char('\n');
    text += texts.xColumn + QLatin1Char(',') + texts.yColumn + QLatin1Char('\n');
    QJsonArray bins;
    // Three rows per code; the middle one holds the count.
    for (int row = 1; row < table.rows(); row += 3) {
        const auto code = static_cast<qint64>(table.x.at(row));
        const auto count = static_cast<qint64>(table.y.at(row));
        text += CliCsv::number(code) + QLatin1Char(',') + CliCsv::number(count) + QLatin1Char('\n');
        bins.append(QJsonObject{{"code", code}, {"count", count}});
    }
    if (format == CliFormat::Json)
        text = CliFormat::jsonLine({{"channel", session.channel()},
                                    {"samples", session.data().DataCount(session.channel())},
                                    {"bins", bins}});
    CliOutput::out(text);
    return 0;
}

} // namespace

CliCommand histCommand()
{
    return {QStringLiteral("hist"), QStringLiteral("code histogram of a channel of a data file as CSV"), run};
}
