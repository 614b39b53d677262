#include "HistoryDatabase.h"

#include "HistorySchema.h"
#include "model/QM4168.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <QtEndian>

namespace {

const QString Driver = QStringLiteral("QSQLITE");

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("qm416x-history-%1").arg(counter.fetchAndAddRelaxed(1));
}

QByteArray packWords(const qint32 *words, qsizetype count)
{
    QByteArray bytes(4 * count, Qt::Uninitialized);
    qToLittleEndian<qint32>(words, count, bytes.data());
    return bytes;
}

std::vector<qint32> unpackWords(const QByteArray &bytes)
{
    std::vector<qint32> words(static_cast<size_t>(bytes.size() / 4));
    qFromLittleEndian<qint32>(bytes.constData(), static_cast<qsizetype>(words.size()), words.data());
    return words;
}

QString reasonOf(const QSqlQuery &query)
{
    const QSqlError e = query.lastError();
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

} // namespace

HistoryDatabase::HistoryDatabase()
    : m_connection(nextConnectionName())
{
}

HistoryDatabase::~HistoryDatabase()
{
    close();
}

QString HistoryDatabase::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/QM416x/history.sqlite");
}

bool HistoryDatabase::fail(const QString &what, const QString &reason)
{
    m_error = QStringLiteral("%1 %2: %3").arg(what, m_path, reason);
    return false;
}

bool HistoryDatabase::open(const QString &path)
{
    close();
    m_path = path;
    m_error.clear();
    if (!QSqlDatabase::isDriverAvailable(Driver))
        return fail(
            QStringLiteral("cannot open the history database"),
            QStringLiteral("the SQLite driver of Qt SQL is not installed (package libqt6sql6-sqlite)"));
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("cannot open the history database"),
                    QStringLiteral("its folder cannot be created"));
    m_open = prepare();
    if (!m_open) {
        const QString why = m_error;
        close();
        m_error = why;
    }
    return m_open;
}

bool HistoryDatabase::prepare()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(Driver, m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return fail(QStringLiteral("cannot open the history database"), db.lastError().databaseText());
    // Read before anything is written: a file that is not a history database of a version
    // this program knows stays exactly as it is.
    QString reason;
    const int version = HistorySchema::version(db, reason);
    if (version == -2)
        return fail(QStringLiteral("the history database is damaged and was left as it is:"), reason);
    if (version == -1)
        return fail(QStringLiteral("not a QM416x history database (left as it is):"),
                    QStringLiteral("it holds other tables"));
    if (version > HistorySchema::Current)
        return fail(
            QStringLiteral("the history database was written by a newer program and was left as it is:"),
            QStringLiteral("schema version %1, this program knows up to %2")
                .arg(version)
                .arg(HistorySchema::Current));
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
        return fail(QStringLiteral("cannot open the history database"), reasonOf(query));
    if (query.value(0).toString() != QLatin1String("wal"))
        return fail(QStringLiteral("cannot open the history database"),
                    QStringLiteral("the write-ahead log cannot be used"));
    if (!query.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        return fail(QStringLiteral("cannot open the history database"), reasonOf(query));
    if (version == HistorySchema::Current)
        return true;
    // Another program may be bringing the same file up to date: look again inside the
    // write transaction.
    if (!begin())
        return false;
    int now = HistorySchema::version(db, reason);
    if (now >= 0 && now < HistorySchema::Current && !HistorySchema::migrate(db, now, reason))
        now = -2;
    if (now < 0 || !commit()) {
        if (now >= 0)
            reason = m_error;
        rollback();
        return fail(QStringLiteral("cannot bring the history database up to date (left as it was):"), reason);
    }
    return true;
}

void HistoryDatabase::close()
{
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

bool HistoryDatabase::begin()
{
    // Immediate: the write lock is taken (waiting for it up to the busy timeout) before
    // anything is read, so that two writers never deadlock.
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(QStringLiteral("cannot write the history database"), reasonOf(query));
    return true;
}

bool HistoryDatabase::commit()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail(QStringLiteral("cannot write the history database"), reasonOf(query));
    return true;
}

void HistoryDatabase::rollback()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.exec(QStringLiteral("ROLLBACK"));
}

qint64 HistoryDatabase::startRun(const QString &note)
{
    if (!m_open) {
        fail(QStringLiteral("cannot write the history database"), QStringLiteral("it is not open"));
        return 0;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("INSERT INTO runs (started_ms, note) VALUES (?, coalesce(?, ''))"));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    query.addBindValue(note);
    if (!query.exec()) {
        fail(QStringLiteral("cannot write the history database"), reasonOf(query));
        return 0;
    }
    return query.lastInsertId().toLongLong();
}

qint64 HistoryDatabase::record(const HistoryCapture &capture)
{
    if (!m_open) {
        fail(QStringLiteral("cannot write the history database"), QStringLiteral("it is not open"));
        return 0;
    }
    if (!begin())
        return 0;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "INSERT INTO captures (recorded_ms, run_id, variant, data_width, clamp, "
        "ref_voltage, registers, note, failure) VALUES (?, ?, ?, ?, ?, ?, ?, coalesce(?, ''), ?)"));
    query.addBindValue(capture.recordedAt.toMSecsSinceEpoch());
    query.addBindValue(capture.runId != 0 ? QVariant(capture.runId)
                                          : QVariant(QMetaType(QMetaType::LongLong)));
    query.addBindValue(capture.variant);
    query.addBindValue(capture.dataWidth);
    query.addBindValue(capture.clamp ? 1 : 0);
    query.addBindValue(capture.refVoltage);
    query.addBindValue(packWords(capture.registers.constData(), capture.registers.size()));
    query.addBindValue(capture.note);
    query.addBindValue(capture.failure.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                                 : QVariant(capture.failure));
    if (!query.exec()) {
        fail(QStringLiteral("cannot write the history database"), reasonOf(query));
        rollback();
        return 0;
    }
    const qint64 id = query.lastInsertId().toLongLong();
    query.prepare(QStringLiteral(
        "INSERT INTO channels (capture_id, channel, range_code, channel_time_us, samples, conv_time_s, "
        "range_v, bipolar, data_width_bits, lsb_v, rms_noise_v, pkpk_noise_v, avg_voltage_v, code_dev, "
        "mean_code, code_span, max_code, min_code, rms_bits, pkpk_bits, words, statuses) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const HistoryChannel &c : capture.channels) {
        const StatisticsFigures &f = c.figures;
        for (const QVariant &value :
             {QVariant(id),
              QVariant(c.channel),
              QVariant(c.rangeCode),
              QVariant(c.channelTimeUs),
              QVariant(static_cast<int>(c.words.size())),
              QVariant(f.convTimeS),
              QVariant(f.inputRangeV),
              QVariant(f.bipolar ? 1 : 0),
              QVariant(f.dataWidthBits),
              QVariant(f.lsbV),
              QVariant(f.rmsNoiseV),
              QVariant(f.pkPkNoiseV),
              QVariant(f.avgVoltageV),
              QVariant(f.codeDev),
              QVariant(f.avgCode),
              QVariant(f.codeSpan),
              QVariant(f.maxCode),
              QVariant(f.minCode),
              QVariant(f.rmsResolutionBits),
              QVariant(f.pkPkResolutionBits),
              QVariant(packWords(c.words.data(), static_cast<qsizetype>(c.words.size()))),
              QVariant(c.statuses)})
            query.addBindValue(value);
        if (!query.exec()) {
            fail(QStringLiteral("cannot write the history database"), reasonOf(query));
            rollback();
            return 0;
        }
    }
    if (!commit()) {
        rollback();
        return 0;
    }
    return id;
}

std::optional<QList<HistoryEntry>> HistoryDatabase::list(qint64 runId)
{
    if (!m_open) {
        fail(QStringLiteral("cannot read the history database"), QStringLiteral("it is not open"));
        return std::nullopt;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT c.id, c.recorded_ms, c.run_id, c.variant, c.note, c.failure, h.channel, "
                       "h.range_v, h.bipolar, h.conv_time_s, h.samples, h.mean_code, h.avg_voltage_v, "
                       "h.rms_noise_v FROM captures c LEFT JOIN channels h ON h.capture_id = c.id%1 "
                       "ORDER BY c.recorded_ms DESC, c.id DESC, h.channel")
            .arg(runId != 0 ? QStringLiteral(" WHERE c.run_id = ?") : QString()));
    if (runId != 0)
        query.addBindValue(runId);
    if (!query.exec()) {
        fail(QStringLiteral("cannot read the history database"), reasonOf(query));
        return std::nullopt;
    }
    QList<HistoryEntry> entries;
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (entries.isEmpty() || entries.last().id != id) {
            HistoryEntry entry;
            entry.id = id;
            entry.recordedAt = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong(), Qt::UTC);
            entry.runId = query.value(2).toLongLong();
            entry.variant = query.value(3).toInt();
            entry.note = query.value(4).toString();
            entry.failure = query.value(5).toString();
            entries << entry;
        }
        if (query.value(6).isNull())
            continue;
        HistoryChannelSummary s;
        s.channel = query.value(6).toInt();
        s.rangeV = query.value(7).toDouble();
        s.bipolar = query.value(8).toInt() != 0;
        s.convTimeS = query.value(9).toDouble();
        s.samples = query.value(10).toInt();
        s.meanCode = query.value(11).toDouble();
        s.avgVoltageV = query.value(12).toDouble();
        s.rmsNoiseV = query.value(13).toDouble();
        entries.last().channels << s;
    }
    if (query.lastError().isValid()) {
        fail(QStringLiteral("cannot read the history database"), reasonOf(query));
        return std::nullopt;
    }
    return entries;
}

std::optional<HistoryCapture> HistoryDatabase::load(qint64 id)
{
    if (!m_open) {
        fail(QStringLiteral("cannot read the history database"), QStringLiteral("it is not open"));
        return std::nullopt;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT recorded_ms, run_id, variant, data_width, clamp, ref_voltage, registers, "
                       "note, failure FROM captures WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec()) {
        fail(QStringLiteral("cannot read the history database"), reasonOf(query));
        return std::nullopt;
    }
    if (!query.next()) {
        m_error = QStringLiteral("no capture %1 in %2").arg(id).arg(m_path);
        return std::nullopt;
    }
    HistoryCapture capture;
    capture.id = id;
    capture.recordedAt = QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC);
    capture.runId = query.value(1).toLongLong();
    capture.variant = query.value(2).toInt();
    capture.dataWidth = query.value(3).toInt();
    capture.clamp = query.value(4).toInt() != 0;
    capture.refVoltage = query.value(5).toDouble();
    const std::vector<qint32> cells = unpackWords(query.value(6).toByteArray());
    capture.registers = QVector<qint32>(cells.begin(), cells.end());
    capture.note = query.value(7).toString();
    capture.failure = query.value(8).toString();
    if (capture.registers.size() != QM4168::CacheCells) {
        fail(QStringLiteral("the history database is damaged:"),
             QStringLiteral("capture %1 holds %2 register cells instead of %3")
                 .arg(id)
                 .arg(capture.registers.size())
                 .arg(QM4168::CacheCells));
        return std::nullopt;
    }
    query.prepare(QStringLiteral(
        "SELECT channel, range_code, channel_time_us, samples, conv_time_s, range_v, bipolar, "
        "data_width_bits, "
        "lsb_v, rms_noise_v, pkpk_noise_v, avg_voltage_v, code_dev, mean_code, code_span, max_code, "
        "min_code, "
        "rms_bits, pkpk_bits, words, statuses FROM channels WHERE capture_id = ? ORDER BY channel"));
    query.addBindValue(id);
    if (!query.exec()) {
        fail(QStringLiteral("cannot read the history database"), reasonOf(query));
        return std::nullopt;
    }
    while (query.next()) {
        HistoryChannel c;
        c.channel = query.value(0).toInt();
        c.rangeCode = query.value(1).toInt();
        c.channelTimeUs = query.value(2).toDouble();
        const int samples = query.value(3).toInt();
        StatisticsFigures &f = c.figures;
        f.channel = c.channel;
        f.samples = samples;
        f.convTimeS = query.value(4).toDouble();
        f.inputRangeV = query.value(5).toDouble();
        f.bipolar = query.value(6).toInt() != 0;
        f.dataWidthBits = query.value(7).toInt();
        f.lsbV = query.value(8).toDouble();
        f.rmsNoiseV = query.value(9).toDouble();
        f.pkPkNoiseV = query.value(10).toDouble();
        f.avgVoltageV = query.value(11).toDouble();
        f.codeDev = query.value(12).toDouble();
        f.avgCode = query.value(13).toDouble();
        f.codeSpan = query.value(14).toLongLong();
        f.maxCode = query.value(15).toInt();
        f.minCode = query.value(16).toInt();
        f.rmsResolutionBits = query.value(17).toDouble();
        f.pkPkResolutionBits = query.value(18).toDouble();
        c.words = unpackWords(query.value(19).toByteArray());
        c.statuses = query.value(20).toByteArray();
        if (c.channel < 0 || c.channel > 7 || static_cast<int>(c.words.size()) != samples ||
            c.statuses.size() != samples) {
            fail(QStringLiteral("the history database is damaged:"),
                 QStringLiteral("channel %1 of capture %2 does not hold its %3 samples")
                     .arg(c.channel)
                     .arg(id)
                     .arg(samples));
            return std::nullopt;
        }
        capture.channels << c;
    }
    return capture;
}

bool HistoryDatabase::remove(qint64 id)
{
    if (!m_open)
        return fail(QStringLiteral("cannot write the history database"), QStringLiteral("it is not open"));
    if (!begin())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM channels WHERE capture_id = ?"));
    query.addBindValue(id);
    bool done = query.exec();
    if (done) {
        query.prepare(QStringLiteral("DELETE FROM captures WHERE id = ?"));
        query.addBindValue(id);
        done = query.exec();
    }
    if (!done) {
        fail(QStringLiteral("cannot write the history database"), reasonOf(query));
        rollback();
        return false;
    }
    if (query.numRowsAffected() != 1) {
        rollback();
        m_error = QStringLiteral("no capture %1 in %2").arg(id).arg(m_path);
        return false;
    }
    return commit();
}
