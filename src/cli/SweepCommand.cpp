#include "SweepCommand.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliOutput.h"
#include "analysis/NoisePlot.h"
#include "board/NoiseSweep.h"
#include "data/NoiseTable.h"
#include "data/WholeFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char *const Help =
    "Usage: qm416x-cli sweep --port NAME|PATH|sim [--variant 62|64|68|69] --channel C\n"
    "                        [--fw LIST|--conv-times LIST] [--chop on|off|both] [--ranges LIST]\n"
    "                        [--samples N] [--format text|csv|json|markdown] [-o FILE]\n"
    "                        [--plot OUT.png|OUT.pdf]\n\n"
    "Measures a noise table: for every range, chop setting and filter word it sets the\n"
    "channel as the setup window does (only this channel enabled, 24-bit data), lets the\n"
    "converter settle, acquires N samples by continuous read and takes the noise figures\n"
    "of the data window. Short the channel's inputs on a real board. Progress goes to\n"
    "standard error.\n\n"
    "Options:\n"
    "  --channel C          the channel to measure\n"
    "  --fw LIST            filter words, e.g. 3,17,127 (default 3,8,17,40,80,127)\n"
    "  --conv-times LIST    conversion times in us instead; each gives the filter word\n"
    "                       nearest below it for the chop setting\n"
    "  --chop on|off|both   chop setting(s) (default on)\n"
    "  --ranges LIST        range codes, e.g. 0,2,4 (default 0)\n"
    "  --samples N          samples per row, 4 or more (default 1000)\n"
    "  --format FORMAT      text (default), csv, json or markdown (a datasheet table: a\n"
    "                       row per output data rate, a column per range, \"uV rms (bits)\")\n"
    "  -o FILE              the table goes to FILE instead of standard output\n"
    "  --plot FILE          RMS noise against output data rate, log-log, one trace per\n"
    "                       range, as .png or .pdf\n\n"
    "A sweep that stops (the board is lost, refuses a set-up write or a read) writes the\n"
    "rows completed so far (nothing when there are none), names the row that stopped and\n"
    "exits with code 1. However it ends, the registers it changed are put back as the board\n"
    "had them before; a restore that fails is named as well.\n";

// The whole numbers or decimal numbers of a comma-separated list; empty with error set.
template<typename T>
QList<T> numberList(const QString &option, const QString &text, T low, T high, QString &error)
{
    QList<T> list;
    for (const QString &word : text.split(QLatin1Char(','))) {
        bool ok = false;
        const T value =
            std::is_integral_v<T> ? T(word.trimmed().toInt(&ok)) : T(word.trimmed().toDouble(&ok));
        if (!ok || value < low || value > high) {
            error = QStringLiteral("%1 needs numbers from %2 to %3 separated by commas, not '%4'")
                        .arg(option)
                        .arg(low)
                        .arg(high)
                        .arg(text);
            return {};
        }
        list << value;
    }
    return list;
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments,
                            {QStringLiteral("--port"), QStringLiteral("--variant"),
                             QStringLiteral("--channel"), QStringLiteral("--fw"),
                             QStringLiteral("--conv-times"), QStringLiteral("--chop"),
                             QStringLiteral("--ranges"), QStringLiteral("--samples"),
                             QStringLiteral("--format"), QStringLiteral("-o"), QStringLiteral("--plot")},
                            {});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help), false))
        return *done;
    const QString port = args.value(QStringLiteral("--port"));
    if (port.isEmpty())
        return CliOutput::usageError(QStringLiteral("sweep needs --port (see 'qm416x-cli sweep --help')"));
    if (!args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("sweep needs --channel, e.g. --channel 0"));
    if (args.has(QStringLiteral("--fw")) && args.has(QStringLiteral("--conv-times")))
        return CliOutput::usageError(QStringLiteral("give either --fw or --conv-times, not both"));
    const int variantCode = args.variantOption(8);
    if (variantCode == 0)
        return CliOutput::usageError(args.variantError());

    QString error;
    NoiseSweepSettings settings;
    const QList<int> channel =
        numberList<int>(QStringLiteral("--channel"), args.value(QStringLiteral("--channel")), 0, 7, error);
    if (!error.isEmpty() || channel.size() != 1)
        return CliOutput::usageError(QStringLiteral("--channel needs one channel number 0..7, not '%1'")
                                         .arg(args.value(QStringLiteral("--channel"))));
    settings.channel = channel.first();
    if (args.has(QStringLiteral("--fw")))
        settings.filterWords =
            numberList<int>(QStringLiteral("--fw"), args.value(QStringLiteral("--fw")), 2, 127, error);
    if (args.has(QStringLiteral("--conv-times")))
        settings.conversionTimesUs = numberList<double>(
            QStringLiteral("--conv-times"), args.value(QStringLiteral("--conv-times")), 1.0, 1e6, error);
    if (args.has(QStringLiteral("--ranges")))
        settings.ranges =
            numberList<int>(QStringLiteral("--ranges"), args.value(QStringLiteral("--ranges")), 0, 7, error);
    if (!error.isEmpty())
        return CliOutput::usageError(error);
    const QString chop = args.value(QStringLiteral("--chop"));
    if (chop == QLatin1String("off"))
        settings.chops = {false};
    else if (chop == QLatin1String("both"))
        settings.chops = {true, false};
    else if (args.has(QStringLiteral("--chop")) && chop != QLatin1String("on"))
        return CliOutput::usageError(QStringLiteral("--chop must be on, off or both, not '%1'").arg(chop));
    if (args.has(QStringLiteral("--samples"))) {
        bool ok = false;
        settings.samples = args.value(QStringLiteral("--samples")).toInt(&ok);
        if (!ok || settings.samples < 4)
            return CliOutput::usageError(
                QStringLiteral("--samples must be a whole number of 4 or more, not '%1'")
                    .arg(args.value(QStringLiteral("--samples"))));
    }
    NoiseTable::Format format = NoiseTable::Format::Text;
    if (args.has(QStringLiteral("--format")) &&
        !NoiseTable::formatOf(args.value(QStringLiteral("--format")), format))
        return CliOutput::usageError(QStringLiteral("--format must be text, csv, json or markdown, not '%1'")
                                         .arg(args.value(QStringLiteral("--format"))));
    const QString output = args.value(QStringLiteral("-o"));
    const QString plot = args.value(QStringLiteral("--plot"));
    const bool pdf = plot.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (args.has(QStringLiteral("--plot")) && !pdf &&
        !plot.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return CliOutput::usageError(QStringLiteral("--plot must end in .png or .pdf, not '%1'").arg(plot));
    for (const QString &path : {output, plot})
        if (!path.isEmpty() && !QFileInfo(path).absoluteDir().exists())
            return CliOutput::usageError(
                QStringLiteral("cannot write %1: the folder does not exist").arg(path));

    BoardSession session(variantCode);
    QM4168 &model = session.model();
    if (settings.channel > model.MaxChannel() || (model.EvBoard() == 2 && settings.channel == 1))
        return CliOutput::usageError(
            QStringLiteral("channel %1 does not exist on this variant (--variant %2)")
                .arg(settings.channel)
                .arg(60 + variantCode));
    for (int range : std::as_const(settings.ranges))
        if (range >= model.RangeCount())
            return CliOutput::usageError(
                QStringLiteral("range code %1 does not exist on this variant (0..%2)")
                    .arg(range)
                    .arg(model.RangeCount() - 1));
    if (!session.connect(port))
        return 1;

    session.link().contRead().setRequestTimeOutMs(2000);
    NoiseSweep sweep(model, session.link());
    QObject::connect(&sweep, &NoiseSweep::progress, [](int done, int total, const QString &current) {
        if (!current.isEmpty())
            CliOutput::notice(QStringLiteral("row %1 of %2: %3").arg(done + 1).arg(total).arg(current));
    });
    const bool completed = sweep.run(settings);
    const QList<NoiseRow> rows = sweep.rows();

    // A sweep that stopped before its first row has nothing to write.
    if (!completed && rows.isEmpty())
        return CliOutput::failure(sweep.stopMessage() + QStringLiteral(" (no rows, nothing written)"));
    const QString table = NoiseTable::render(rows, format);
    if (output.isEmpty()) {
        CliOutput::out(table);
    } else if (const DataFileError written = WriteWholeFile(output, table.toUtf8()); written.isError()) {
        return CliOutput::failure(QStringLiteral("cannot write %1: %2").arg(output, written.message()));
    }
    if (!plot.isEmpty()) {
        NoisePlot view;
        view.setRows(rows);
        view.setExportTitle(
            NoisePlot::exportTitle(settings.channel, settings.samples, QDateTime::currentDateTime()));
        if (const DataFileError written = pdf ? view.savePdf(plot) : view.savePng(plot); written.isError())
            return CliOutput::failure(QStringLiteral("cannot write %1: %2").arg(plot, written.message()));
    }
    if (!completed)
        return CliOutput::failure(sweep.stopMessage() +
                                  QStringLiteral(" (%1 rows written)").arg(rows.size()));
    return 0;
}

} // namespace

CliCommand sweepCommand()
{
    return {QStringLiteral("sweep"),
            QStringLiteral("noise table over filter words, chop and ranges, with a plot"), run};
}
