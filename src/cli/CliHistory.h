#pragma once

#include <QString>
#include <QStringList>

class CliArguments;
class ClassData;
class HistoryDatabase;
class QM4168;

// The measurement history as the commands that acquire use it: --db FILE (the user's
// history database when absent), --no-history and --note TEXT.
namespace CliHistory {

QStringList valueOptions(); // --db, --note
QString flag();             // --no-history
QString optionHelp();

// The database the arguments name: --db or the user's own.
QString path(const CliArguments &args);

// Opens the database for recording. Nothing is recorded with --no-history (true, db stays
// closed). When it cannot be opened: with --db the reason goes to standard error and false
// comes back (the command fails); for the user's own database it is a notice, and the
// command carries on without history.
bool openForRecording(const CliArguments &args, HistoryDatabase &db);

// Records the processed store and the model as a capture (of runId when not 0); the id, or 0
// after the reason has gone to standard error.
qint64 record(HistoryDatabase &db, const ClassData &store, const QM4168 &model, const QString &note,
              qint64 runId = 0);

} // namespace CliHistory
