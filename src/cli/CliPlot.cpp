#include "CliPlot.h"

#include "CliDataSession.h"
#include "CliDialogs.h"
#include "CliOutput.h"
#include "analysis/ChannelPlot.h"
#include "analysis/PlotView.h"

namespace {

// Size of the picture, in pixels (PNG) or points (PDF).
constexpr int Width = 800;
constexpr int Height = 500;

QString help()
{
    return QStringLiteral(
               "Usage: qm416x-cli plot FILE.dat --channel N --kind time|hist|fft [--window NAME|0-5]\n"
               "                       -o OUT.png|OUT.pdf [--variant 62|64|68|69]\n\n"
               "Draws the time plot, the histogram or the spectrum of channel N as the program\n"
               "shows it, into a PNG or PDF file, with a title naming the channel, its range,\n"
               "conversion time and sample count, the window (spectrum) and the date. Needs no\n"
               "display.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral(
               "  --channel N            the channel (0..7), required\n"
               "  --kind time|hist|fft   which plot, required\n"
               "  --window NAME|0-5      window of the spectrum (default Hanning)\n"
               "  -o, --output FILE      the picture; its extension (.png or .pdf) chooses the format\n");
}

int run(const QStringList &arguments)
{
    QStringList options = CliDataSession::valueOptions();
    options << QStringLiteral("--kind") << QStringLiteral("--window") << QStringLiteral("--output|-o");
    const CliArguments args(arguments, options, {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty()) {
        for (const char *required : {"--channel", "--kind", "--output"})
            if (!args.has(QString::fromLatin1(required)))
                return CliOutput::usageError(QStringLiteral("plot needs %1").arg(QLatin1String(required)));
    }
    const QString kindText = args.value(QStringLiteral("--kind"));
    const QStringList kinds = {QStringLiteral("time"), QStringLiteral("hist"), QStringLiteral("fft")};
    if (args.error().isEmpty() && !kinds.contains(kindText))
        return CliOutput::usageError(
            QStringLiteral("--kind must be time, hist or fft, not '%1'").arg(kindText));
    const PlotKind kind = QList<PlotKind>{PlotKind::Time, PlotKind::Histogram, PlotKind::Spectrum}.value(
        static_cast<int>(kinds.indexOf(kindText)));
    const QString output = args.value(QStringLiteral("--output"));
    const bool pdf = output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (args.error().isEmpty() && !pdf && !output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return CliOutput::usageError(
            QStringLiteral("the output must end in .png or .pdf, not '%1'").arg(output));
    const int window = args.windowOption();
    if (window < 0)
        return CliOutput::usageError(args.windowError());
    CliDataSession session;
    if (const int code = session.open(args))
        return code;

    QList<AnalysisMessage> messages;
    CliDialogs dialogs;
    PlotView view(dialogs);
    const bool drawn = ChannelPlot::load(view, kind, session.data(), session.adc(), session.channel(), window,
                                         QDateTime::currentDateTime(), messages);
    for (const AnalysisMessage &m : std::as_const(messages)) {
        const QString text = QString(m.text).replace(QLatin1String("\r\n"), "\n");
        if (!drawn)
            CliOutput::err(QStringLiteral("qm416x-cli: %1\n").arg(text));
        else
            CliOutput::notice(text);
    }
    if (!drawn)
        return 1;
    const DataFileError written =
        pdf ? view.savePdf(output, Width, Height) : view.savePng(output, Width, Height);
    if (written.isError())
        return CliOutput::failure(QStringLiteral("cannot write %1: %2").arg(output, written.message()));
    return 0;
}

} // namespace

CliCommand plotCommand()
{
    return {QStringLiteral("plot"),
            QStringLiteral("time plot, histogram or spectrum of a channel as PNG or PDF"), run};
}
