#include "AcquireCommand.h"

#include "AcquireSetup.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliCaptures.h"
#include "CliHistory.h"
#include "CliLiveReport.h"
#include "CliOutput.h"
#include "CliStats.h"
#include "board/CaptureSeries.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "history/HistoryDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

const char *const Help =
    "Usage: qm416x-cli acquire --port NAME|PATH|sim [--variant 62|64|68|69] --channels LIST\n"
    "                          [--samples N] [--width 16|24] [--rdy-all] [--captures K]\n"
    "                          -o FILE.dat [--format text|csv|json] [--db FILE] [--note TEXT]\n"
    "                          [--no-history] [--live]\n\n"
    "Acquires samples by continuous read, as the data window's Read does: enables exactly\n"
    "the listed channels, sets the data width and the ready-pin option, reads N samples per\n"
    "channel, writes the data file, records the capture in the measurement history and prints\n"
    "the noise figures of each channel (see 'qm416x-cli history'). The\n"
    "model starts as the program's does (register design values, then the power-on image);\n"
    "only the settings named here change. Progress goes to standard error on a terminal.\n\n"
    "Options:\n"
    "  --channels LIST     channels to enable, e.g. 0,1 (0..3 for the QM4164, 0 and 2 for\n"
    "                      the QM4162)\n"
    "  --samples N         samples per channel, 4 or more (default 100); more than the\n"
    "                      board's memory holds for the channels is limited, with a notice\n"
    "  --width 16|24       data width in bits (default: as after power-on, 16)\n"
    "  --rdy-all           ready pin after all channels instead of after any channel\n"
    "  --captures K        K acquisitions (1..1000, default 1) one after another with the\n"
    "                      same set-up; the file holds the last, and beside its figures\n"
    "                      come their mean +- standard deviation (minimum / maximum) over\n"
    "                      the K (CSV: a row per capture; JSON: per-capture arrays). When a\n"
    "                      later one fails, the captures completed so far are written and\n"
    "                      printed, and the command says how many and ends with exit code 1\n"
    "  -o, --output FILE.dat  the data file; it is not written when the acquisition fails\n"
    "  --format text|csv|json  the noise figures as stats prints them (default text)\n"
    "  --live              while the data arrive, print the records received and each\n"
    "                      channel's samples and RMS noise on standard error (twice a\n"
    "                      second and at the end), in place of the progress line\n"
    "%1\n"
    "NAME is Com1..Com4, a device path such as /dev/pts/3 (qm416x-boardsim), or 'sim' for\n"
    "the built-in simulated board. --variant defaults to 68. A board that does not answer\n"
    "the request within 2 s, or stops sending for 2 s, ends the command with exit code 1,\n"
    "as do a set-up write the board refuses or that does not read back as written, a\n"
    "damaged stream and an unanswered closing exchange; the file is then not written and\n"
    "nothing is recorded.\n";

int run(const QStringList &arguments)
{
    const CliArguments args(arguments,
                            QStringList{QStringLiteral("--port"), QStringLiteral("--variant"),
                                        QStringLiteral("--channels"), QStringLiteral("--samples"),
                                        QStringLiteral("--width"), QStringLiteral("--captures"),
                                        QStringLiteral("-o|--output"), CliFormat::option()}
                                << CliHistory::valueOptions(),
                            {QStringLiteral("--rdy-all"), QStringLiteral("--live"), CliHistory::flag()});
    if (const std::optional<int> done =
            args.answerFirst(QString::fromLatin1(Help).arg(CliHistory::optionHelp()), false))
        return *done;
    const QString port = args.value(QStringLiteral("--port"));
    if (port.isEmpty())
        return CliOutput::usageError(
            QStringLiteral("acquire needs --port (see 'qm416x-cli acquire --help')"));
    if (!args.has(QStringLiteral("--channels")))
        return CliOutput::usageError(QStringLiteral("acquire needs --channels, e.g. --channels 0,1"));
    const QString path = args.value(QStringLiteral("-o"));
    if (path.isEmpty())
        return CliOutput::usageError(QStringLiteral("acquire needs -o FILE.dat"));
    CliFormat::Kind format = CliFormat::Text;
    QString formatError;
    if (!CliFormat::read(args, format, formatError))
        return CliOutput::usageError(formatError);
    AcquireSetup setup;
    if (const int code = setup.read(args); code >= 0)
        return code;
    int captureCount = 1;
    if (args.has(QStringLiteral("--captures"))) {
        bool ok = false;
        captureCount = args.value(QStringLiteral("--captures")).toInt(&ok);
        if (!ok || captureCount < 1 || captureCount > CaptureSeries::MaxCaptures)
            return CliOutput::usageError(
                QStringLiteral("--captures must be a whole number from 1 to %1, not '%2'")
                    .arg(CaptureSeries::MaxCaptures)
                    .arg(args.value(QStringLiteral("--captures"))));
    }
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return CliOutput::usageError(QStringLiteral("cannot write %1: the folder does not exist").arg(path));

    BoardSession session(setup.variantCode);
    if (const int code = setup.checkChannels(session); code >= 0)
        return code;
    // A database that is refused fails the command before the board is touched.
    HistoryDatabase history;
    if (!CliHistory::openForRecording(args, history))
        return 1;
    if (!session.connect(port))
        return 1;

    // As the setup window sets them, every set-up write answered and read back as written.
    if (const QString failure = setup.makeOn(session); !failure.isEmpty())
        return CliOutput::failure(
            QStringLiteral("the set-up was not made: %1. %2 was not written.").arg(failure, path));
    QM4168 &model = session.model();
    ClassData store;
    const int amount = setup.amountFor(session, store);
    if (amount != setup.samples)
        CliOutput::notice(
            QStringLiteral("%1 samples per channel, as many as the board's memory holds").arg(amount));

    ContinuousRead &read = session.link().contRead();
    bool progressShown = false;
    qint64 shownAt = -1000;
    CaptureSeries series(session.link());
    QString capturePrefix;
    if (captureCount > 1)
        QObject::connect(&series, &CaptureSeries::captureStarted, [&](int index, int count) {
            capturePrefix = QStringLiteral("capture %1 of %2: ").arg(index).arg(count);
            shownAt = -1000;
        });
    const bool live = args.has(QStringLiteral("--live"));
    std::optional<CliLiveReport> liveReport;
    if (live && !CliOutput::quiet())
        liveReport.emplace(read.live(), model);
    if (!live && ::isatty(STDERR_FILENO) && !CliOutput::quiet()) {
        // At most ten lines a second, and the last one.
        QObject::connect(&read, &ContinuousRead::progress, [&](int received, int total, qint64 ms) {
            if (ms - shownAt < 100 && received < total)
                return;
            shownAt = ms;
            CliOutput::progress(QLatin1Char('\r') + capturePrefix +
                                ContinuousRead::progressText(received, total, ms) + QStringLiteral("   "));
            progressShown = true;
        });
    }
    CaptureSet captures;
    const std::optional<ContReadResult> result =
        AcquireSetup::acquireSeries(session, store, amount, series, captureCount, captures);
    if (progressShown)
        CliOutput::progress(QStringLiteral("\n"));
    // A series keeps what it completed before a failure; a single capture is all or nothing.
    const bool partial = result && captureCount > 1 && result->capturesDone > 0 && !result->clean();
    if (!partial && (!result || !result->clean()))
        return CliOutput::failure((result ? result->message() : QStringLiteral("no acquisition ran")) +
                                  QStringLiteral(" %1 was not written.").arg(path));
    if (!store.Valid(-1))
        return CliOutput::failure(QStringLiteral("the board delivered no channel with enough samples"));

    const DataFileError written = WriteDataFile(path, store, model);
    if (written.isError())
        return CliOutput::failure(QStringLiteral("%1: %2").arg(path, written.boxText()));
    QList<int> valid;
    for (int channel = 0; channel <= model.MaxChannel(); ++channel)
        if (store.Valid(channel))
            valid << channel;
    if (captureCount > 1)
        CliOutput::out(seriesText(captures, captures.channels(), model, format));
    else
        CliOutput::out(statisticsText(store, valid, model, format));
    if (partial)
        return CliOutput::failure(result->message() +
                                  QStringLiteral(" %1 holds the last completed capture.").arg(path));
    // Only a completed acquisition, once its file is written.
    if (history.isOpen() &&
        CliHistory::record(history, store, model, args.value(QStringLiteral("--note"))) == 0)
        return 1;
    return 0;
}

} // namespace

CliCommand acquireCommand()
{
    return {QStringLiteral("acquire"),
            QStringLiteral("acquire samples by continuous read into a data file, with noise figures"), run};
}
