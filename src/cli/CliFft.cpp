#include "CliFft.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliFormat.h"
#include "CliOutput.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "analysis/PlotTableCsv.h"

#include <QJsonObject>

#include <cmath>

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli fft FILE.dat --channel N [--window NAME|0-5] [--metrics]\n"
                          "                     [--format text|csv|json] [--variant 62|64|68|69]\n\n"
                          "The spectrum of channel N as CSV: '#' lines naming the data, then frequency in\n"
                          "Hz, level in dB relative to the strongest bin, one row per bin from 0 Hz to\n"
                          "half the sampling rate.\n"
                          "With --metrics, the figures of the strongest tone instead, one per line:\n"
                          "fundamental frequency, SNR, THD, SINAD, SFDR and ENOB; --format applies to\n"
                          "them (an infinite figure is null in JSON, inf or -inf elsewhere). When no bin\n"
                          "stands 20 dB above the median of the others, \"no tone found\" replaces the\n"
                          "figures (empty in CSV, null in JSON, with the reason), exit code 0.\n"
                          "--scale dbfs gives the table in dB relative to the range's full scale.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --channel N            the channel (0..7), required\n"
                          "  --window NAME|0-5      Rectangular (0), Triangular (1), Hanning (2, default),\n"
                          "                         Hamming (3), Blackman (4), Blackman-Harris (5)\n"
                          "  --metrics              print the spectrum metrics instead of the table\n"
                          "  --scale relative|dbfs  levels of the table: to the strongest bin (default)\n"
                          "                         or to full scale\n") +
           CliCsv::noCommentsHelp() + CliFormat::helpLine();
}

// A spectrum without a tone is an answer, not a failure: its figures are empty (null) and
// the reason says why.
int printMetrics(const FftMetrics &m, int channel, int window, CliFormat::Kind format)
{
    if (!m.valid && !m.noTone)
        return CliOutput::failure(m.message);
    const QStringList lines = m.valid ? metricsLines(m) : QStringList{m.message};
    if (format == CliFormat::Text) {
        CliOutput::out(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        return 0;
    }
    const QList<QPair<QString, double>> figures = {{"fundamental_hz", m.fundamentalHz},
                                                   {"snr_db", m.snrDb},
                                                   {"thd_db", m.thdDb},
                                                   {"sinad_db", m.sinadDb},
                                                   {"sfdr_dbc", m.sfdrDbc},
                                                   {"enob_bits", m.enobBits}};
    if (format == CliFormat::Csv) {
        QStringList heading = {"channel", "window", "fundamental_bin"};
        QStringList row = {QString::number(channel), FftWindow::names().at(window),
                           m.valid ? QString::number(m.fundamentalBin) : QString()};
        for (const auto &[name, value] : figures) {
            heading << name;
            row << (m.valid ? CliCsv::number(value) : QString());
        }
        heading << QStringLiteral("reason");
        row << (m.valid ? QString() : m.message);
        CliOutput::out(CliFormat::csvRow(heading) + CliFormat::csvRow(row));
        return 0;
    }
    QJsonObject object{{"channel", channel},
                       {"window", FftWindow::names().at(window)},
                       {"fundamental_bin", m.valid ? QJsonValue(m.fundamentalBin) : QJsonValue()},
                       {"reason", m.valid ? QJsonValue() : QJsonValue(m.message)}};
    for (const auto &[name, value] : figures)
        object.insert(name, m.valid && std::isfinite(value) ? QJsonValue(value) : QJsonValue());
    QJsonObject texts;
    if (m.valid)
        for (const QString &line : lines)
            texts.insert(line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1));
    object.insert(QStringLiteral("texts"), texts);
    CliOutput::out(CliFormat::jsonLine(object));
    return 0;
}

int run(const QStringList &arguments)
{
    QStringList options = CliDataSession::valueOptions();
    options << QStringLiteral("--window") << QStringLiteral("--scale") << CliFormat::option();
    const CliArguments args(arguments, options, {QStringLiteral("--metrics"), CliCsv::noCommentsFlag()});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("fft needs --channel N"));
    const int window = args.windowOption();
    if (window < 0)
        return CliOutput::usageError(args.windowError());
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (args.error().isEmpty() && !CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    const bool metrics = args.has(QStringLiteral("--metrics"));
    if (args.error().isEmpty() && !metrics && args.has(CliFormat::option()) && format != CliFormat::Csv)
        return CliOutput::usageError(
            QStringLiteral("the spectrum table is CSV; --format text|json needs --metrics"));
    const QString scaleText = args.value(QStringLiteral("--scale"));
    if (args.error().isEmpty() && args.has(QStringLiteral("--scale")) &&
        scaleText != QLatin1String("relative") && scaleText != QLatin1String("dbfs"))
        return CliOutput::usageError(
            QStringLiteral("--scale must be relative or dbfs, not '%1'").arg(scaleText));
    const FftScale scale = scaleText == QLatin1String("dbfs") ? FftScale::FullScale : FftScale::Relative;
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    if (metrics)
        return printMetrics(fftMetrics(session.data(), session.channel(), window), session.channel(), window,
                            format);

    const FftResult result = EditFFT(session.data(), session.channel(), window, scale);
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
