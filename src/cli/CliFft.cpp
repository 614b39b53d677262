#include "CliFft.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliOutput.h"
#include "analysis/EditFFT.h"
#include "analysis/FftWindow.h"
#include "analysis/SpectrumMetrics.h"

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli fft FILE.dat --channel N [--window NAME|0-5] [--metrics]\n"
                          "                     [--variant 62|64|68|69]\n\n"
                          "The spectrum of channel N as CSV: frequency in Hz, level in dB relative to the\n"
                          "strongest bin, one row per bin from 0 Hz to half the sampling rate.\n"
                          "With --metrics, the figures of the strongest tone instead, one per line:\n"
                          "fundamental frequency, SNR, THD, SINAD, SFDR and ENOB.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral("  --channel N            the channel (0..7), required\n"
                          "  --window NAME|0-5      Rectangular (0), Triangular (1), Hanning (2, default),\n"
                          "                         Hamming (3), Blackman (4), Blackman-Harris (5)\n"
                          "  --metrics              print the spectrum metrics instead of the table\n");
}

int printMetrics(const SpectrumMetrics &m)
{
    if (!m.valid)
        return CliOutput::failure(m.message);
    CliOutput::out(metricsLines(m).join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return 0;
}

int run(const QStringList &arguments)
{
    QStringList options = CliDataSession::valueOptions();
    options << QStringLiteral("--window");
    const CliArguments args(arguments, options, {QStringLiteral("--metrics")});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("fft needs --channel N"));
    int window = 2;
    if (args.has(QStringLiteral("--window"))) {
        const QString text = args.value(QStringLiteral("--window"));
        bool isNumber = false;
        window = text.toInt(&isNumber);
        if (!isNumber)
            window = FftWindow::selectorOf(text);
        if (window < 0 || window > 5)
            return CliOutput::usageError(QStringLiteral("--window must be 0..5 or one of %1, not '%2'")
                                             .arg(FftWindow::names().join(", "), text));
    }
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    if (args.has(QStringLiteral("--metrics")))
        return printMetrics(spectrumMetrics(session.data(), session.channel(), window));

    const FftResult result = EditFFT(session.data(), session.channel(), window);
    for (const AnalysisMessage &m : result.messages)
        CliOutput::err(
            QStringLiteral("qm416x-cli: %1\n").arg(QString(m.text).replace(QLatin1String("\r\n"), "\n")));
    if (result.failed)
        return 1;
    QString text = QStringLiteral("frequency_hz,level_db\n");
    for (int k = 0; k < result.table.rows(); ++k)
        text += CliCsv::number(result.table.x.at(k)) + QLatin1Char(',') +
                CliCsv::number(result.table.y.at(k)) + QLatin1Char('\n');
    CliOutput::out(text);
    return 0;
}

} // namespace

CliCommand fftCommand()
{
    return {QStringLiteral("fft"), QStringLiteral("spectrum of a channel of a data file as CSV"), run};
}
