#include "LogCommand.h"

#include "AcquireSetup.h"
#include "BoardSession.h"
#include "CliArguments.h"
#include "CliHistory.h"
#include "CliOutput.h"
#include "HistoryCommand.h"
#include "board/Acquisition.h"
#include "board/ContReadCounts.h"
#include "data/ClassData.h"
#include "history/HistoryDatabase.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace {

const char *const Help =
    "Usage: qm416x-cli log --port NAME|PATH|sim [--variant 62|64|68|69] --channels LIST\n"
    "                      [--samples N] [--width 16|24] [--rdy-all] --interval SECONDS\n"
    "                      [--count K | --duration SECONDS] [--db FILE] [--note TEXT]\n"
    "                      [--format text|csv|json]\n\n"
    "Long-run logging: acquires as 'acquire' does, once every interval (counted from the\n"
    "start, so the captures do not drift), and records each capture in the measurement\n"
    "history as part of one run. Each capture is printed as 'history list' prints it as soon\n"
    "as it is recorded (json: one line per capture); progress goes to standard error.\n\n"
    "A capture that fails (a board that does not answer, stops sending or goes away) is\n"
    "recorded as a failure of the run and the run goes on: when the port was lost it is\n"
    "opened again at the next interval, and the set-up is written to the board again once it\n"
    "answers. Without --count or --duration the run goes on until it is interrupted; every\n"
    "capture recorded before stays in the database. The exit code is 1 when any capture\n"
    "failed.\n\n"
    "Options:\n"
    "  --channels LIST     channels to enable, e.g. 0,1\n"
    "  --samples N         samples per channel, 4 or more (default 100)\n"
    "  --width 16|24       data width in bits (default: as after power-on, 16)\n"
    "  --rdy-all           ready pin after all channels instead of after any channel\n"
    "  --interval SECONDS  time from the start of one capture to the start of the next\n"
    "  --count K           stop after K captures\n"
    "  --duration SECONDS  start no capture later than this after the start\n"
    "  --db FILE           the history database (default ~/.local/share/QM416x/history.sqlite)\n"
    "  --note TEXT         a note kept with the run and each of its captures\n";

// A positive number (or zero when allowed) of the option; -1 when it is not one.
double seconds(const CliArguments &args, const QString &option, bool zeroAllowed)
{
    bool ok = false;
    const double value = args.value(option).toDouble(&ok);
    return ok && std::isfinite(value) && (value > 0 || (zeroAllowed && value == 0)) ? value : -1;
}

// Runs the event loop until the clock reaches ms.
void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    const qint64 left = ms - clock.elapsed();
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(left, &loop, &QEventLoop::quit);
    loop.exec();
}

int run(const QStringList &arguments)
{
    const CliArguments args(
        arguments,
        QStringList{QStringLiteral("--port"), QStringLiteral("--variant"), QStringLiteral("--channels"),
                    QStringLiteral("--samples"), QStringLiteral("--width"), QStringLiteral("--interval"),
                    QStringLiteral("--count"), QStringLiteral("--duration"), CliFormat::option()}
            << CliHistory::valueOptions(),
        {QStringLiteral("--rdy-all")});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help), false))
        return *done;
    const QString port = args.value(QStringLiteral("--port"));
    if (port.isEmpty())
        return CliOutput::usageError(QStringLiteral("log needs --port (see 'qm416x-cli log --help')"));
    if (!args.has(QStringLiteral("--channels")))
        return CliOutput::usageError(QStringLiteral("log needs --channels, e.g. --channels 0,1"));
    if (!args.has(QStringLiteral("--interval")))
        return CliOutput::usageError(QStringLiteral("log needs --interval SECONDS"));
    const double interval = seconds(args, QStringLiteral("--interval"), true);
    if (interval < 0)
        return CliOutput::usageError(
            QStringLiteral("--interval must be a number of seconds, 0 or more, not '%1'")
                .arg(args.value(QStringLiteral("--interval"))));
    if (args.has(QStringLiteral("--count")) && args.has(QStringLiteral("--duration")))
        return CliOutput::usageError(QStringLiteral("use --count or --duration, not both"));
    int count = 0;
    if (args.has(QStringLiteral("--count"))) {
        bool ok = false;
        count = args.value(QStringLiteral("--count")).toInt(&ok);
        if (!ok || count < 1)
            return CliOutput::usageError(
                QStringLiteral("--count must be a whole number of 1 or more, not '%1'")
                    .arg(args.value(QStringLiteral("--count"))));
    }
    double duration = 0;
    if (args.has(QStringLiteral("--duration")) &&
        (duration = seconds(args, QStringLiteral("--duration"), false)) < 0)
        return CliOutput::usageError(
            QStringLiteral("--duration must be a number of seconds above 0, not '%1'")
                .arg(args.value(QStringLiteral("--duration"))));
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (!CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    AcquireSetup setup;
    if (const int code = setup.read(args); code >= 0)
        return code;
    BoardSession session(setup.variantCode);
    if (const int code = setup.checkChannels(session); code >= 0)
        return code;
    QM4168 &model = session.model();

    // A log is its record: without a database there is no run.
    HistoryDatabase db;
    if (!db.open(CliHistory::path(args)))
        return CliOutput::failure(db.error());
    const QString note = args.value(QStringLiteral("--note"));
    const qint64 runId = db.startRun(note);
    if (runId == 0)
        return CliOutput::failure(db.error());
    CliOutput::notice(QStringLiteral("run %1 in %2").arg(runId).arg(db.path()));

    BoardLink &link = session.link();
    link.contRead().setRequestTimeOutMs(2000);
    const QString of = count != 0 ? QStringLiteral(" of %1").arg(count) : QString();
    bool setUp = false, rewrite = false;
    int failures = 0, done = 0;
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; count == 0 || k < count; ++k) {
        const qint64 due = std::llround(k * interval * 1000);
        if (duration > 0 && due >= std::llround(duration * 1000))
            break;
        waitUntil(clock, due);
        QString failure;
        ClassData store;
        if (!link.isPortOpen() && !session.connect(port)) {
            failure = QStringLiteral("no evaluation board answers on %1").arg(port);
        } else if (!setUp) {
            // As acquire sets up the channels, each write answered and read back.
            const QString made = setup.makeOn(session);
            if (!made.isEmpty())
                failure = QStringLiteral("the set-up was not made: %1").arg(made);
            setUp = true;
        } else if (rewrite) {
            // After a failure the board may have started afresh (or been replaced): the whole
            // set-up goes to it again.
            const int written = link.RegWriteAll();
            if (written != session.writeAllCount())
                failure = QStringLiteral("the board answered %1 of %2 register writes of the set-up")
                              .arg(written)
                              .arg(session.writeAllCount());
        }
        if (failure.isEmpty()) {
            const ContReadCounts counts = ContReadCounts::refresh(
                model.ChannelCount(), model.DataWidth(-1), setup.samples, store.MaxBytes(), store.MinCount());
            Acquisition acquisition(model, store, link, nullptr, [&] {
                return std::optional<ContReadResult>(link.BrdContRead(counts.amount, store));
            });
            const std::optional<ContReadResult> result = acquisition.ReadData();
            if (!result || !result->completed())
                failure = result ? result->message() : QStringLiteral("no acquisition ran");
            else if (!store.Valid(-1))
                failure = QStringLiteral("the board delivered no channel with enough samples");
        }
        session.deliverMessages();
        rewrite = !failure.isEmpty();

        HistoryCapture capture;
        if (failure.isEmpty()) {
            capture = HistoryCapture::fromStore(store, model, note);
        } else {
            capture = HistoryCapture::fromStore(ClassData(), model, note);
            capture.failure = failure;
        }
        capture.runId = runId;
        capture.id = db.record(capture);
        if (capture.id == 0)
            return CliOutput::failure(db.error() + QStringLiteral(" (run %1 stopped)").arg(runId));
        ++done;
        CliOutput::out(historyListText({capture.entry()}, format, done == 1));
        if (failure.isEmpty()) {
            CliOutput::notice(
                QStringLiteral("capture %1%2 recorded as %3").arg(k + 1).arg(of).arg(capture.id));
        } else {
            ++failures;
            CliOutput::notice(QStringLiteral("capture %1%2 failed, recorded as %3: %4")
                                  .arg(k + 1)
                                  .arg(of)
                                  .arg(capture.id)
                                  .arg(failure));
        }
    }
    if (failures > 0)
        return CliOutput::failure(
            QStringLiteral("%1 of %2 captures of run %3 failed").arg(failures).arg(done).arg(runId));
    return 0;
}

} // namespace

CliCommand logCommand()
{
    return {QStringLiteral("log"),
            QStringLiteral("acquire every interval and record each capture in the history"), run};
}
