#include "CliHistory.h"

#include "CliArguments.h"
#include "CliOutput.h"
#include "history/HistoryDatabase.h"

namespace CliHistory {

QStringList valueOptions()
{
    return {QStringLiteral("--db"), QStringLiteral("--note")};
}

QString flag()
{
    return QStringLiteral("--no-history");
}

QString optionHelp()
{
    return QStringLiteral(
        "  --db FILE           the history database every completed acquisition is recorded in\n"
        "                      (default ~/.local/share/QM416x/history.sqlite)\n"
        "  --note TEXT         a note kept with the recorded capture\n"
        "  --no-history        record nothing\n");
}

QString path(const CliArguments &args)
{
    return args.has(QStringLiteral("--db")) ? args.value(QStringLiteral("--db"))
                                            : HistoryDatabase::defaultPath();
}

bool openForRecording(const CliArguments &args, HistoryDatabase &db)
{
    if (args.has(flag()) || db.open(path(args)))
        return true;
    if (args.has(QStringLiteral("--db"))) {
        CliOutput::failure(db.error());
        return false;
    }
    CliOutput::notice(db.error() + QStringLiteral("; nothing is recorded"));
    return true;
}

qint64 record(HistoryDatabase &db, const ClassData &store, const QM4168 &model, const QString &note,
              qint64 runId)
{
    HistoryCapture capture = HistoryCapture::fromStore(store, model, note);
    capture.runId = runId;
    const qint64 id = db.record(capture);
    if (id == 0)
        CliOutput::failure(db.error());
    return id;
}

} // namespace CliHistory
