#include "BoardRig.h"
#include "MemorySettingsStore.h"
#include "ProcessRun.h"
#include "ScriptedDialogs.h"
#include "app/SettingsFile.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "history/HistoryComparison.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryExport.h"
#include "history/HistoryRecorder.h"
#include "history/LoggerRun.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

using Run = ProcessRun;

Run cli(const QStringList &arguments)
{
    return runProcess(QStringLiteral(QM_CLI), arguments);
}

// Reads the process's standard error into seen until it holds text.
bool waitFor(QProcess &p, QString &seen, const QString &text)
{
    while (!seen.contains(text)) {
        if (!p.waitForReadyRead(20000))
            return false;
        seen += QString::fromUtf8(p.readAllStandardError());
    }
    return true;
}

// qm416x-boardsim on a pseudo-terminal, reached through a link that can be pointed at the
// next one: a board unplugged and plugged in again.
struct BoardSim
{
    QProcess process;
    bool start(const QString &link)
    {
        process.start(QStringLiteral(QM_BOARDSIM), {QStringLiteral("--fast")});
        if (!process.waitForReadyRead(5000))
            return false;
        QFile::remove(link);
        return QFile::link(QString::fromLocal8Bit(process.readLine()).trimmed(), link);
    }
    ~BoardSim()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

// A set-up off the power-on image and two channels of unequal length with status bits.
void prepare(QM4168 &model, ClassData &store)
{
    model.setEvBoard(8);
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, 8);
    model.setRegister(0x2B, false, 0x1A);
    model.setRegister(0x33, false, 0xC4);
    model.setRegister(0x38, false, 0x12);
    store.setDataWidth(3);
    store.setClamp(true);
    store.setRefVoltage(2.5);
    store.setRng(0, 4);
    store.setChannelTime(0, 1000);
    store.setRng(3, 1);
    store.setChannelTime(3, 312.5);
    for (qint32 word : {0x800010, 0x7FFFF0, 0x800000, 0x812345, 0x7ABCDE})
        store.AddData(0, word, 1);
    for (qint32 word : {16, 0, 0xFFFFFF, 0x10, 1, 2, 3})
        store.AddData(3, word, 0x62);
    store.Process();
}

} // namespace

class TstHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        QTemporaryDir dir;
        QM4168 model;
        ClassData store;
        prepare(model, store);
        HistoryDatabase db;
        QVERIFY2(db.open(dir.filePath(QStringLiteral("sub/h.sqlite"))), qPrintable(db.error()));
        QCOMPARE(db.record(HistoryCapture::fromStore(store, model, QStringLiteral("warm-up µV"))), 1);
        QCOMPARE(db.record(HistoryCapture::fromStore(store, model)), 2);

        const std::optional<QList<HistoryEntry>> entries = db.list();
        QVERIFY(entries);
        QCOMPARE(entries->size(), 2);
        QCOMPARE(entries->at(0).id, 2); // newest first
        const HistoryEntry &first = entries->at(1);
        QCOMPARE(first.note, QStringLiteral("warm-up µV"));
        QCOMPARE(first.variant, 8);
        QCOMPARE(first.channels.size(), 2);
        const StatisticsFigures f = statisticsFigures(store, 3, model);
        QCOMPARE(first.channels.at(1).channel, 3);
        QCOMPARE(first.channels.at(1).rmsNoiseV, f.rmsNoiseV);
        QCOMPARE(first.channels.at(1).meanCode, f.avgCode);
        QCOMPARE(first.channels.at(1).convTimeS, 312.5e-6);

        // Opened into another store as a data file would be, then written out.
        const std::optional<HistoryCapture> capture = db.load(1);
        QVERIFY2(capture, qPrintable(db.error()));
        ClassData opened;
        QSignalSpy changed(&opened, &ClassData::DataChanged);
        capture->fillStore(opened);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(opened.codes(3), store.codes(3));
        QCOMPARE(opened.StatusByte(3, 7), quint8(0x62));
        QCOMPARE(opened.StdDev(0), store.StdDev(0));
        const QString dat = dir.filePath(QStringLiteral("a.dat")),
                      adc = dir.filePath(QStringLiteral("a.adc"));
        const QString windowDat = dir.filePath(QStringLiteral("w.dat")),
                      saved = dir.filePath(QStringLiteral("s.adc"));
        QVERIFY(!HistoryExport::write(*capture, dat, HistoryExport::Kind::DataFile).isError());
        QVERIFY(!HistoryExport::write(*capture, adc, HistoryExport::Kind::SettingsFile).isError());
        QVERIFY(!WriteDataFile(windowDat, store, model).isError());
        QVERIFY(!WriteSettingsFile(saved, model).isError());
        QCOMPARE(bytesOf(dat), bytesOf(windowDat));
        QCOMPARE(bytesOf(adc), bytesOf(saved));
        QVERIFY(bytesOf(adc).contains("Register: 2B,1A\r\n"));

        // Side by side with a capture of another set-up: the rows that differ are marked.
        model.setRegister(0x33, false, 0x91);
        store.setChannelTime(3, 1000);
        store.Process();
        HistoryCapture other = HistoryCapture::fromStore(store, model);
        other.recordedAt = capture->recordedAt;
        other.id = 3;
        QStringList differing;
        for (const HistoryComparisonRow &row : compareCaptures(*capture, other))
            if (row.differs())
                differing << row.item + QLatin1Char('=') + row.first + QLatin1Char('/') + row.second;
        QCOMPARE(differing, QStringList({"Capture=1/3", "Note=warm-up µV/",
                                         "Channel 3 Conv.Time=312.5 us/1000 us", "Register 33h=C4/91"}));

        QVERIFY(db.remove(1));
        QVERIFY(!db.remove(1));
        QCOMPARE(db.error(), QStringLiteral("no capture 1 in ") + db.path());
        QVERIFY(!db.load(1));
        QCOMPARE(db.list()->size(), 1);
    }

    void refusedFilesStayUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("newer")
            << "newer"
            << "the history database was written by a newer program and was left as it is: "
               "PATH: schema version 2, this program knows up to 1";
        QTest::newRow("damaged")
            << "damaged"
            << "the history database is damaged and was left as it is: PATH: file is not a "
               "database";
        QTest::newRow("other")
            << "other"
            << "not a QM416x history database (left as it is): PATH: it holds other tables";
    }
    void refusedFilesStayUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.sqlite"));
        if (kind == QLatin1String("damaged")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(path);
            QVERIFY(raw.open());
            QSqlQuery q(raw);
            QVERIFY(q.exec(kind == QLatin1String("other")
                               ? QStringLiteral("CREATE TABLE samples (x)")
                               : QStringLiteral("CREATE TABLE schema_version (version)")));
            QVERIFY(kind == QLatin1String("other") ||
                    q.exec(QStringLiteral("INSERT INTO schema_version VALUES (2)")));
            q = QSqlQuery();
            raw.close();
            raw = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        }
        const QByteArray before = bytesOf(path);
        HistoryDatabase db;
        QVERIFY(!db.open(path));
        QCOMPARE(db.error(), error.replace(QLatin1String("PATH"), path));
        QVERIFY(!db.isOpen());
        QVERIFY(!db.record(HistoryCapture()));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("h.sqlite")});
    }

    // The program records each completed acquisition unless switched off; a database it
    // cannot open is told once, and the program goes on without it.
    void programRecorder()
    {
        QTemporaryDir dir;
        QM4168 model;
        ClassData store;
        prepare(model, store);
        MemorySettingsStore settings;
        ScriptedDialogs dialogs;
        HistoryRecorder recorder(settings, dialogs, dir.filePath(QStringLiteral("h.sqlite")));
        QVERIFY(recorder.enabled());
        QCOMPARE(recorder.record(store, model), 1);
        recorder.setEnabled(false);
        QCOMPARE(settings.values.value(QStringLiteral("FormMain/RecordHistory")), QStringLiteral("False"));
        QCOMPARE(recorder.record(store, model), 0);
        QCOMPARE(recorder.database()->list()->size(), 1);

        const QString damaged = dir.filePath(QStringLiteral("d.sqlite"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
        file.close();
        settings.values.clear();
        HistoryRecorder refused(settings, dialogs, damaged);
        QCOMPARE(refused.record(store, model), 0);
        QCOMPARE(refused.record(store, model), 0);
        QCOMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.boxes.at(0).text,
                 QStringLiteral(
                     "the history database is damaged and was left as it is: %1: file is not a database. "
                     "Captures are not recorded until the program starts again.")
                     .arg(damaged));
        QCOMPARE(bytesOf(damaged), QByteArray(4096, 'x'));
    }

    // A run in the program against the simulated firmware: each capture recorded in one run,
    // a closed port recorded as a failure, and the trend leaves the failures out.
    void programLoggerRun()
    {
        QTemporaryDir dir;
        SimBoard board;
        BoardRig rig(8, [&](const QString &) { return std::make_unique<SimulatedSerialPort>(&board); });
        rig.model.setEnable(0, true);
        rig.model.setEnable(1, true);
        QVERIFY(rig.link.ComOpen(QStringLiteral("sim")));
        ClassData store;
        HistoryDatabase db;
        QVERIFY(db.open(dir.filePath(QStringLiteral("h.sqlite"))));
        LoggerRun run(rig.model, store, rig.link, db);
        QTRY_COMPARE(rig.link.UpdateState(), 1); // the read-back after the writes is over
        QSignalSpy finished(&run, &LoggerRun::finished);
        QVERIFY(run.start(0, 20, 3, QStringLiteral("warm-up")));
        QVERIFY(finished.wait(20000));
        rig.link.ComClose();
        QList<HistoryEntry> entries = run.entries();
        QVERIFY(run.start(0, 20, 2));
        QVERIFY(finished.wait(20000));
        entries += run.entries();
        QCOMPARE(entries.size(), 5);
        QCOMPARE(db.list(1)->size(), 3);
        QStringList outcomes;
        for (const HistoryEntry &e : entries)
            outcomes << QStringLiteral("%1:%2:%3").arg(e.runId).arg(e.channels.size()).arg(e.failure);
        QCOMPARE(outcomes, QStringList({"1:2:", "1:2:", "1:2:", "2:0:the port is not open",
                                        "2:0:the port is not open"}));
        QCOMPARE(store.DataCount(1), 20);
        const PlotTable noise = LoggerRun::trend(entries, 1, LoggerRun::Quantity::RmsNoise);
        QCOMPARE(noise.rows(), 3);
        QCOMPARE(noise.x.first(), 0.0);
        QCOMPARE(noise.y.last(), entries.at(2).channels.at(1).rmsNoiseV);
    }

    // The command line: acquire records what it wrote, a failed acquisition nothing, and a
    // refused database stops acquire before the board is touched.
    void commandLine()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("h.sqlite")),
                      dat = dir.filePath(QStringLiteral("a.dat"));
        const QString out = dir.filePath(QStringLiteral("e.dat")),
                      damaged = dir.filePath(QStringLiteral("d.sqlite"));
        Run r = cli({"acquire", "--port", "sim", "--channels", "0,3", "--samples", "50", "-o", dat, "--db",
                     db, "--note", "first"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        r = cli({"acquire", "--port", "/dev/qm416x-none", "--channels", "0", "-o", out, "--db", db});
        QCOMPARE(r.exitCode, 1);
        r = cli({"history", "list", "--db", db});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4); // heading, channels 0 and 3, and the end
        QCOMPARE(lines.at(0),
                 QStringLiteral("ID\tRecorded (UTC)\tRun\tVariant\tChannel\tRange\tConv.Time\tSamples\t"
                                "RMS Noise\tNote"));
        QVERIFY2(
            lines.at(2).startsWith(QStringLiteral("1\t20")) &&
                lines.at(2).endsWith(QStringLiteral("\tQM4168\t3\t±1.25 V\t394.86 us\t50\t0.000 uV\tfirst")),
            qPrintable(lines.at(2)));
        QCOMPARE(cli({"history", "export", "1", "-o", out, "--db", db}).exitCode, 0);
        QCOMPARE(bytesOf(out), bytesOf(dat));
        r = cli({"history", "show", "1", "--db", db, "--format", "json"});
        QCOMPARE(r.out, cli({"stats", dat, "--format", "json"}).out);
        QCOMPARE(cli({"history", "delete", "1", "--db", db}).out, QStringLiteral("deleted capture 1\n"));
        r = cli({"history", "show", "1", "--db", db});
        QCOMPARE(r.err, QStringLiteral("qm416x-cli: no capture 1 in %1\n").arg(db));
        QCOMPARE(r.exitCode, 1);

        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
        file.close();
        r = cli({"acquire", "--port", "sim", "--channels", "0", "-o", out, "--db", damaged});
        QCOMPARE(r.err,
                 QStringLiteral("qm416x-cli: the history database is damaged and was left as it is: %1: file "
                                "is not a database\n")
                     .arg(damaged));
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(bytesOf(damaged), QByteArray(4096, 'x'));
        QCOMPARE(bytesOf(out), bytesOf(dat)); // the earlier export, not replaced
    }

    // A logger run whose board goes away and comes back records the failures and goes on; a
    // logger killed while it writes loses nothing it had recorded.
    void loggerRuns()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("h.sqlite")),
                      board = dir.filePath(QStringLiteral("board"));
        auto first = std::make_unique<BoardSim>();
        QVERIFY(first->start(board));
        QProcess log;
        log.start(QStringLiteral(QM_CLI), {"log", "--port", board, "--channels", "0", "--samples", "20",
                                           "--interval", "0.2", "--count", "15", "--db", db});
        QString seen;
        QVERIFY(waitFor(log, seen, QStringLiteral("capture 3 of 15 recorded as 3\n")));
        first.reset();
        QFile::remove(board); // its terminal's number may soon serve another program
        QVERIFY(waitFor(log, seen, QStringLiteral(" failed, recorded as ")));
        BoardSim second;
        QVERIFY(second.start(board));
        QVERIFY(log.waitForFinished(30000));
        seen += QString::fromUtf8(log.readAllStandardError());
        QCOMPARE(log.exitCode(), 1);
        QVERIFY2(seen.endsWith(QStringLiteral(" captures of run 1 failed\n")), qPrintable(seen));
        QVERIFY2(seen.contains(QStringLiteral("capture 15 of 15 recorded as 15\n")),
                 qPrintable(seen)); // back again
        const QStringList lines = QString::fromUtf8(log.readAllStandardOutput()).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 17); // heading, 15 captures, the end
        const int failed = static_cast<int>(lines.filter(QStringLiteral("\tfailed: ")).size());
        QVERIFY(failed > 0 && lines.mid(0, 4).filter(QStringLiteral("\tfailed: ")).isEmpty());
        QVERIFY(seen.endsWith(QStringLiteral("qm416x-cli: %1 of 15 captures of run 1 failed\n").arg(failed)));

        // Captures back to back, killed at once after the third is reported.
        log.start(QStringLiteral(QM_CLI),
                  {"log", "--port", "sim", "--channels", "0,1,2,3,4,5,6,7", "--samples", "1000", "--interval",
                   "0", "--db", db, "--format", "json"});
        seen.clear();
        QVERIFY(waitFor(log, seen, QStringLiteral(" recorded as 18\n")));
        log.kill();
        QVERIFY(log.waitForFinished(5000));
        const QStringList printed = QString::fromUtf8(log.readAllStandardOutput()).split(QLatin1Char('\n'));
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        raw.setDatabaseName(db);
        QVERIFY(raw.open());
        QSqlQuery q(raw);
        QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        q = QSqlQuery();
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        HistoryDatabase history;
        QVERIFY(history.open(db));
        const std::optional<QList<HistoryEntry>> run2 = history.list(2);
        QVERIFY(run2 && run2->size() >= 3);
        for (const QString &line : printed.mid(0, printed.size() - 1)) {
            const qint64 id = QJsonDocument::fromJson(line.toUtf8()).object().value("id").toInteger();
            const std::optional<HistoryCapture> capture = history.load(id);
            QVERIFY2(capture && capture->runId == 2 && capture->channels.size() == 8, qPrintable(line));
        }
    }

    // Two connections write at once: the second waits for the first's lock.
    void twoWriters()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.sqlite"));
        QM4168 model;
        ClassData store;
        prepare(model, store);
        const HistoryCapture capture = HistoryCapture::fromStore(store, model);
        int recordedThere = 0;
        std::thread other([&] {
            HistoryDatabase db;
            if (db.open(path))
                for (int i = 0; i < 30; ++i)
                    recordedThere += db.record(capture) != 0;
        });
        HistoryDatabase db;
        int recordedHere = 0;
        if (db.open(path))
            for (int i = 0; i < 30; ++i)
                recordedHere += db.record(capture) != 0;
        other.join();
        QCOMPARE(recordedHere, 30);
        QCOMPARE(recordedThere, 30);
        QCOMPARE(db.list()->size(), 60);
    }
};

QTEST_GUILESS_MAIN(TstHistory)
#include "tst_history.moc"
