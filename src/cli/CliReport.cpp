#include "CliReport.h"

#include "CliDataSession.h"
#include "CliOutput.h"
#include "app/SettingsFile.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "report/ReportFile.h"

#include <QFileInfo>

#include <memory>

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli report FILE.dat [--channels LIST] [--settings FILE.adc] "
                          "[--window NAME|0-5]\n"
                          "                         -o REPORT.pdf|REPORT.html [--variant 62|64|68|69]\n\n"
                          "Writes a measurement report: the date, variant and program version; the set-up\n"
                          "(from the settings file, in the setup window's words, with the register image;\n"
                          "without one, what the data file tells); per channel the noise figures of the\n"
                          "data window, the time plot, the histogram, the spectrum with its figures and\n"
                          "the Allan deviation. PDF (A4, numbered pages, plots as vectors) or one HTML\n"
                          "file with the plots embedded. Needs no display.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral(
               "  --channels LIST        the channels, e.g. 0,2,5 (default: every one holding data)\n"
               "  --settings FILE.adc    the converter's set-up, a settings file of the variant\n"
               "  --window NAME|0-5      window of the spectrum (default Hanning)\n"
               "  -o, --output FILE      the report; its extension (.pdf, .html) chooses the format\n");
}

// The channels of a LIST such as "0,2,5"; false with error set when an entry is not one.
bool readChannels(const QString &text, QList<int> &channels, QString &error)
{
    for (const QString &entry : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int channel = entry.trimmed().toInt(&ok);
        if (!ok || channel < 0 || channel >= QM4168::Channels) {
            error = QStringLiteral("--channels takes channels 0..7 separated by commas, not '%1'").arg(text);
            return false;
        }
        if (!channels.contains(channel))
            channels << channel;
    }
    return true;
}

int run(const QStringList &arguments)
{
    QStringList options = CliDataSession::valueOptions();
    options << QStringLiteral("--channels") << QStringLiteral("--settings") << QStringLiteral("--window")
            << QStringLiteral("--output|-o");
    const CliArguments args(arguments, options, {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    const QString output = args.value(QStringLiteral("--output"));
    if (args.error().isEmpty() && !args.has(QStringLiteral("--output")))
        return CliOutput::usageError(QStringLiteral("report needs -o REPORT.pdf|REPORT.html"));
    if (args.error().isEmpty() && !ReportFile::knownFormat(output))
        return CliOutput::usageError(
            QStringLiteral("the report must end in .pdf or .html, not '%1'").arg(output));
    QList<int> channels;
    QString error;
    if (args.error().isEmpty() && args.has(QStringLiteral("--channels")) &&
        !readChannels(args.value(QStringLiteral("--channels")), channels, error))
        return CliOutput::usageError(error);
    const int window = args.windowOption();
    if (window < 0)
        return CliOutput::usageError(args.windowError());
    CliDataSession session;
    if (const int code = session.open(args))
        return code;
    if (session.channel() >= 0 && !channels.contains(session.channel()))
        channels << session.channel();
    for (const int c : std::as_const(channels))
        if (!session.data().Valid(c))
            return CliOutput::failure(
                QStringLiteral("channel %1 of %2 holds no data (more than 3 samples are needed)")
                    .arg(c)
                    .arg(session.path()));

    std::unique_ptr<QM4168> setup;
    if (args.has(QStringLiteral("--settings"))) {
        const QString path = args.value(QStringLiteral("--settings"));
        const int variant = session.adc().EvBoard();
        setup = std::make_unique<QM4168>();
        setup->setEvBoard(variant);
        RegisterDesign::applyTo(*setup);
        LoadRegisterDefaults(*setup, variant);
        const SettingsReadResult read = ReadSettingsFile(path, *setup);
        if (!read.ok())
            return CliOutput::failure(read.message.trimmed() + QStringLiteral(": ") + path);
    }
    const DataFileError written = ReportFile::write(output, session.data(), session.adc(), setup.get(),
                                                    channels, window, QFileInfo(session.path()).fileName());
    if (written.isError())
        return CliOutput::failure(QStringLiteral("cannot write %1: %2").arg(output, written.message()));
    return 0;
}

} // namespace

CliCommand reportCommand()
{
    return {QStringLiteral("report"), QStringLiteral("measurement report of a data file as PDF or HTML"),
            run};
}
