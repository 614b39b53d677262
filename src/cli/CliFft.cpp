#include "CliFft.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliFormat.h"
#include "CliOutput.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "analysis/NoiseDensity.h"
#include "analysis/PlotTableCsv.h"
#include "analysis/PowerAverage.h"

#include <QJsonObject>

#include <cmath>
#include <memory>

namespace {

QString help()
{
    return QStringLiteral(
               "Usage: qm416x-cli fft FILE.dat [FILE.dat ...] --channel N [--window NAME|0-5]\n"
               "                     [--metrics] [--harmonics H] [--exclude-dc B] [--exclude-tone B]\n"
               "                     [--sfdr-range F1:F2] [--format text|csv|json] [--psd]\n"
               "                     [--scale relative|dbfs] [--no-comments] [--variant 62|64|68|69]\n\n"
               "The spectrum of channel N as CSV: '#' lines naming the data, then frequency in\n"
               "Hz, level in dB relative to the strongest bin, one row per bin from 0 Hz to\n"
               "half the sampling rate.\n"
               "With --metrics, the figures of the strongest tone instead, one per line:\n"
               "fundamental frequency, SNR, THD, SINAD, SFDR, ENOB = (SINAD - 1.76) / 6.02,\n"
               "the full-scale ENOB(FS) = log2(FSR / (rms noise and distortion * sqrt 12)) and\n"
               "the tone's level in dBFS, then the definition they were computed with (window,\n"
               "harmonics, excluded bins, SFDR range, full scale); --format applies to them\n"
               "(the definition as '#' lines in CSV, an object in JSON; an infinite figure is\n"
               "null in JSON, inf or -inf elsewhere). When no bin stands 20 dB above the\n"
               "median of the others, \"no tone found\" replaces the figures (empty in CSV,\n"
               "null in JSON, with the reason), exit code 0.\n"
               "--psd gives the one-sided noise density in V/sqrt(Hz) instead, corrected for\n"
               "the window, a '#' line stating its equivalent noise bandwidth first.\n"
               "--scale dbfs gives the table in dB relative to the range's full scale.\n"
               "Given several files, the power spectrum averaged bin by bin over them (RMS\n"
               "averaging), and the metrics computed on that average (\"Averaged over K\n"
               "captures\" before the text figures, \"captures\" in CSV and JSON). The files\n"
               "must share the channel's data width, input range, transform length and time\n"
               "between samples; files that do not are refused, naming what differs.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --channel N            the channel (0..7), required\n"
                          "  --window NAME|0-5      Rectangular (0), Triangular (1), Hanning (2, default),\n"
                          "                         Hamming (3), Blackman (4), Blackman-Harris (5)\n"
                          "  --metrics              print the spectrum metrics instead of the table\n"
                          "  --harmonics H          count harmonics 2 to H as distortion (1-50, default 6)\n"
                          "  --exclude-dc B         bins 0..B are DC (default by window: 1 Rectangular,\n"
                          "                         2 Triangular, Hanning, Hamming, 3 Blackman,\n"
                          "                         4 Blackman-Harris)\n"
                          "  --exclude-tone B       a tone takes its bin and B on each side (same defaults)\n"
                          "  --sfdr-range F1:F2     search SFDR's spur from F1 to F2 Hz (F2 empty: up to\n"
                          "                         half the rate; default the whole band)\n"
                          "  --psd                  print the noise density instead of the table\n"
                          "  --scale relative|dbfs  levels of the table: to the strongest bin (default)\n"
                          "                         or to full scale\n") +
           CliCsv::noCommentsHelp() + CliFormat::helpLine();
}

// The definition options of the metrics; an empty text when they were understood.
QString readDefinition(const CliArguments &args, MetricDefinition &definition)
{
    const auto integer = [&args](const char *option, int lowest, int highest, int &value) -> QString {
        const QString name = QLatin1String(option);
        if (!args.has(name))
            return {};
        bool ok = false;
        value = args.value(name).toInt(&ok);
        if (!ok || value < lowest || value > highest)
            return QStringLiteral("%1 must be a whole number from %2 to %3, not '%4'")
                .arg(name)
                .arg(lowest)
                .arg(highest)
                .arg(args.value(name));
        return {};
    };
    QString error =
        integer("--harmonics", 1, MetricDefinition::MaxHighestHarmonic, definition.highestHarmonic);
    if (error.isEmpty())
        error = integer("--exclude-dc", 0, MetricDefinition::MaxExcludedBins, definition.dcBins);
    if (error.isEmpty())
        error = integer("--exclude-tone", 0, MetricDefinition::MaxExcludedBins, definition.toneBins);
    if (!error.isEmpty() || !args.has(QStringLiteral("--sfdr-range")))
        return error;
    const QString range = args.value(QStringLiteral("--sfdr-range"));
    const QStringList ends = range.split(QLatin1Char(':'));
    bool fromOk = false, toOk = true;
    if (ends.size() == 2) {
        definition.sfdrFromHz = ends.at(0).toDouble(&fromOk);
        if (!ends.at(1).isEmpty())
            definition.sfdrToHz = ends.at(1).toDouble(&toOk);
    }
    if (!fromOk || !toOk || !definition.error().isEmpty())
        return QStringLiteral("--sfdr-range must be F1:F2 in Hz with 0 <= F1 < F2, not '%1'").arg(range);
    return {};
}

// A spectrum without a tone is an answer, not a failure: its figures are empty (null) and
// the reason says why.
int printMetrics(const FftMetrics &m, int channel, CliFormat::Kind format, int captures)
{
    if (!m.valid && !m.noTone)
        return CliOutput::failure(m.message);
    const QStringList lines = m.valid ? metricsLines(m) : QStringList{m.message};
    const QStringList definition = m.definition.describe();
    const QString window = FftWindow::names().at(m.definition.window);
    if (format == CliFormat::Text) {
        const QString heading =
            captures > 1 ? QStringLiteral("Averaged over %1 captures\n").arg(captures) : QString();
        CliOutput::out(heading + (lines + definition).join(QLatin1Char('\n')) + QLatin1Char('\n'));
        return 0;
    }
    const bool fs = m.valid && m.fullScaleKnown;
    const QList<std::tuple<QString, double, bool>> figures = {{"fundamental_hz", m.fundamentalHz, m.valid},
                                                              {"snr_db", m.snrDb, m.valid},
                                                              {"thd_db", m.thdDb, m.valid},
                                                              {"sinad_db", m.sinadDb, m.valid},
                                                              {"sfdr_dbc", m.sfdrDbc, m.valid},
                                                              {"enob_bits", m.enobBits, m.valid},
                                                              {"enob_fs_bits", m.enobFullScaleBits, fs},
                                                              {"level_dbfs", m.fundamentalDbfs, fs}};
    if (format == CliFormat::Csv) {
        QString text;
        for (const QString &line : definition)
            text += QStringLiteral("# ") + line + QLatin1Char('\n');
        QStringList heading = {"channel", "window", "fundamental_bin"};
        QStringList row = {QString::number(channel), window,
                           m.valid ? QString::number(m.fundamentalBin) : QString()};
        for (const auto &[name, value, given] : figures) {
            heading << name;
            row << (given ? CliCsv::number(value) : QString());
        }
        heading << QStringLiteral("reason");
        row << (m.valid ? QString() : m.message);
        if (captures > 1) {
            heading << QStringLiteral("captures");
            row << QString::number(captures);
        }
        CliOutput::out(text + CliFormat::csvRow(heading) + CliFormat::csvRow(row));
        return 0;
    }
    QJsonObject object{{"channel", channel},
                       {"window", window},
                       {"definition", m.definition.toJson()},
                       {"fundamental_bin", m.valid ? QJsonValue(m.fundamentalBin) : QJsonValue()},
                       {"reason", m.valid ? QJsonValue() : QJsonValue(m.message)}};
    for (const auto &[name, value, given] : figures)
        object.insert(name, given && std::isfinite(value) ? QJsonValue(value) : QJsonValue());
    QJsonObject texts;
    if (m.valid)
        for (const QString &line : lines)
            texts.insert(line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1));
    object.insert(QStringLiteral("texts"), texts);
    if (captures > 1)
        object.insert(QStringLiteral("captures"), captures);
    CliOutput::out(CliFormat::jsonLine(object));
    return 0;
}

int printDensity(const NoiseDensity &density, int window)
{
    if (!density.valid())
        return CliOutput::failure(density.error);
    QString text = QStringLiteral("# One-sided noise density, corrected for the window: %1\n"
                                  "frequency_hz,density_v_per_rthz\n")
                       .arg(density.enbwText(window));
    for (size_t k = 0; k < density.densityV.size(); ++k)
        text += CliCsv::number(density.frequencyHz[k]) + QLatin1Char(',') +
                CliCsv::number(density.densityV[k]) + QLatin1Char('\n');
    CliOutput::out(text);
    return 0;
}

int run(const QStringList &arguments)
{
    const QStringList definitionOptions = {"--harmonics", "--exclude-dc", "--exclude-tone", "--sfdr-range"};
    QStringList options = CliDataSession::valueOptions() + definitionOptions;
    options << QStringLiteral("--window") << QStringLiteral("--scale") << CliFormat::option();
    const CliArguments args(arguments, options,
                            {QStringLiteral("--metrics"), QStringLiteral("--psd"), CliCsv::noCommentsFlag()});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    const bool understood = args.error().isEmpty();
    if (understood && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("fft needs --channel N"));
    const int window = args.windowOption();
    if (window < 0)
        return CliOutput::usageError(args.windowError());
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (understood && !CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    const bool metrics = args.has(QStringLiteral("--metrics"));
    const bool psd = args.has(QStringLiteral("--psd"));
    if (understood && metrics && psd)
        return CliOutput::usageError(QStringLiteral("--metrics and --psd exclude each other"));
    if (understood && !metrics && args.has(CliFormat::option()) && format != CliFormat::Csv)
        return CliOutput::usageError(
            QStringLiteral("the spectrum table is CSV; --format text|json needs --metrics"));
    for (const QString &option : definitionOptions)
        if (understood && !metrics && args.has(option))
            return CliOutput::usageError(QStringLiteral("%1 needs --metrics").arg(option));
    MetricDefinition definition = MetricDefinition::forWindow(window);
    if (understood)
        if (const QString bad = readDefinition(args, definition); !bad.isEmpty())
            return CliOutput::usageError(bad);
    const QString scaleText = args.value(QStringLiteral("--scale"));
    if (understood && args.has(QStringLiteral("--scale")) && scaleText != QLatin1String("relative") &&
        scaleText != QLatin1String("dbfs"))
        return CliOutput::usageError(
            QStringLiteral("--scale must be relative or dbfs, not '%1'").arg(scaleText));
    if (understood && args.has(QStringLiteral("--scale")) && (metrics || psd))
        return CliOutput::usageError(QStringLiteral("--scale sets the levels of the spectrum table only"));
    const FftScale scale = scaleText == QLatin1String("dbfs") ? FftScale::FullScale : FftScale::Relative;
    // One file, or several to average.
    const QStringList paths = args.positional();
    std::vector<std::unique_ptr<CliDataSession>> sessions;
    std::vector<const ClassData *> captures;
    for (int i = 0; i < qMax(1, int(paths.size())); ++i) {
        sessions.push_back(std::make_unique<CliDataSession>());
        if (const int code =
                paths.size() > 1 ? sessions.back()->openFile(args, paths.at(i)) : sessions.back()->open(args))
            return code;
        captures.push_back(&sessions.back()->data());
    }
    const CliDataSession &session = *sessions.front();
    const int channel = session.channel();
    PowerAverage average;
    if (captures.size() > 1) {
        average = averagedSpectrum(captures, channel, window);
        if (!average.mismatch.isEmpty())
            return CliOutput::failure(
                QStringLiteral("%1 does not match %2: %3")
                    .arg(paths.at(average.mismatchAt), paths.first(), average.mismatch));
    }
    const int count = static_cast<int>(captures.size());

    if (metrics)
        return printMetrics(count > 1 ? averagedMetrics(average, definition)
                                      : fftMetrics(session.data(), channel, definition),
                            channel, format, count);
    if (psd)
        return printDensity(noiseDensity(session.data(), channel, window, session.adc()), window);

    const FftResult result = count > 1
                                 ? spectrumTable(average.spectrum, window, session.data().HalfScale(), scale)
                                 : EditFFT(session.data(), channel, window, scale);
    for (const AnalysisMessage &m : result.messages) {
        const QString text = QString(m.text).replace(QLatin1String("\r\n"), "\n");
        if (result.failed)
            CliOutput::err(QStringLiteral("qm416x-cli: %1\n").arg(text));
        else
            CliOutput::notice(text);
    }
    if (result.failed)
        return 1;
    const PlotTexts texts = plotTexts(PlotKind::Spectrum);
    const QString text = QString::fromUtf8(
        plotTableCsv(result.table, texts.xColumn,
                     scale == FftScale::FullScale ? QStringLiteral("level_dbfs") : texts.yColumn,
                     CliCsv::comments(args, PlotKind::Spectrum, session, window)));
    CliOutput::out(text);
    return 0;
}

} // namespace

CliCommand fftCommand()
{
    return {QStringLiteral("fft"), QStringLiteral("spectrum of a channel of a data file as CSV"), run};
}
