#include "HistorySchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Step n takes a database from version n to n + 1.
const QStringList &step(int from)
{
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
            QStringLiteral("CREATE TABLE runs ("
                           " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " started_ms INTEGER NOT NULL,"
                           " note TEXT NOT NULL DEFAULT '')"),
            // Times are milliseconds since 1970 in UTC; registers are the 57 cells of the
            // register cache as little-endian 32-bit integers.
            QStringLiteral("CREATE TABLE captures ("
                           " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " recorded_ms INTEGER NOT NULL,"
                           " run_id INTEGER REFERENCES runs (id),"
                           " variant INTEGER NOT NULL,"
                           " data_width INTEGER NOT NULL,"
                           " clamp INTEGER NOT NULL,"
                           " ref_voltage REAL NOT NULL,"
                           " registers BLOB NOT NULL,"
                           " note TEXT NOT NULL DEFAULT '',"
                           " failure TEXT)"),
            QStringLiteral("CREATE INDEX captures_by_time ON captures (recorded_ms)"),
            QStringLiteral("CREATE INDEX captures_by_run ON captures (run_id)"),
            // One row per valid channel: conditions, the noise figures in SI units, and the
            // samples (words as little-endian 32-bit integers, one status byte each).
            QStringLiteral("CREATE TABLE channels ("
                           " capture_id INTEGER NOT NULL REFERENCES captures (id) ON DELETE CASCADE,"
                           " channel INTEGER NOT NULL,"
                           " range_code INTEGER NOT NULL,"
                           " channel_time_us REAL NOT NULL,"
                           " samples INTEGER NOT NULL,"
                           " conv_time_s REAL, range_v REAL, bipolar INTEGER, data_width_bits INTEGER,"
                           " lsb_v REAL, rms_noise_v REAL, pkpk_noise_v REAL, avg_voltage_v REAL,"
                           " code_dev REAL, mean_code REAL, code_span INTEGER, max_code INTEGER,"
                           " min_code INTEGER, rms_bits REAL, pkpk_bits REAL,"
                           " words BLOB NOT NULL, statuses BLOB NOT NULL,"
                           " PRIMARY KEY (capture_id, channel))"),
        },
    };
    return steps.at(from);
}

} // namespace

namespace HistorySchema {

int version(QSqlDatabase &db, QString &error)
{
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        error = tables.lastError().databaseText();
        return -2;
    }
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    if (!names.contains(QLatin1String("schema_version")))
        return names.isEmpty() ? 0 : -1;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version")) || !query.next()) {
        error = query.lastError().isValid() ? query.lastError().databaseText()
                                            : QStringLiteral("its schema_version table is empty");
        return -2;
    }
    return query.value(0).toInt();
}

bool migrate(QSqlDatabase &db, int from, QString &error)
{
    QSqlQuery query(db);
    for (int v = from; v < Current; ++v) {
        for (const QString &statement : step(v)) {
            if (!query.exec(statement)) {
                error = query.lastError().databaseText();
                return false;
            }
        }
        query.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
        query.addBindValue(v + 1);
        if (!query.exec()) {
            error = query.lastError().databaseText();
            return false;
        }
    }
    return true;
}

} // namespace HistorySchema
