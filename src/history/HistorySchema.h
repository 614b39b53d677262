#pragma once

#include <QString>

class QSqlDatabase;

// The layout of the history database and the steps that bring an older one up to date.
// The version is the single row of the table schema_version; a database without that
// table and without any other table is a new one (version 0).
namespace HistorySchema {

constexpr int Current = 1;

// The version of the database: 0 for a new (empty) one, -1 when it holds tables of
// something else, -2 when it cannot be read (error set).
int version(QSqlDatabase &db, QString &error);

// Runs the steps from version `from` to Current. The caller holds a write transaction, so
// that either every step is kept or none. False with error set when a step fails.
bool migrate(QSqlDatabase &db, int from, QString &error);

} // namespace HistorySchema
