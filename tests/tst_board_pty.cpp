// The board link over the system serial port code (QSerialPort) and a real pseudo-terminal,
// and qm416x-cli run as the user runs it: against the standalone simulator qm416x-boardsim
// (with the program's main window where the reset dialog is concerned), and against a
// terminal the test drives itself to play a misbehaving board.

#include "BoardRig.h"
#include "ModalDriver.h"
#include "TestServices.h"
#include "app/AppContext.h"
#include "app/FormMain.h"
#include "platform/SystemSerialPort.h"
#include "tools/FormReset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <pty.h>
#include <unistd.h>

namespace {
struct Run
{
    int exitCode = -1;
    QString out, err;
    qint64 ms = 0;
};

// Runs the command; meanwhile, when given, runs while the command does.
Run cli(const QStringList &arguments, const std::function<void()> &meanwhile = {})
{
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(QM_CLI), arguments);
    if (meanwhile) {
        p.waitForStarted(5000);
        meanwhile();
    }
    p.waitForFinished(30000);
    Run r;
    r.ms = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// qm416x-boardsim started for one test, killed at the end.
struct BoardSimProcess
{
    QProcess process;
    QString path;

    bool start(const QStringList &arguments = {QStringLiteral("--fast")})
    {
        process.start(QStringLiteral(QM_BOARDSIM), arguments);
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000))
                return false;
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
        return path.startsWith(QLatin1String("/dev/"));
    }

    void signal(int number) { ::kill(static_cast<pid_t>(process.processId()), number); }

    // Runs qm416x-cli; 1.5 s in, the board is killed.
    Run killedMidway(const QStringList &arguments)
    {
        return cli(arguments, [this] {
            QTest::qWait(1500);
            process.kill();
        });
    }

    ~BoardSimProcess()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

// A pseudo-terminal whose master side the test reads and writes itself, playing the board
// (or a terminal for standard error).
struct TestTerminal
{
    int master = -1, slave = -1;
    QString path;

    bool open()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return false;
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        ::fcntl(master, F_SETFD, FD_CLOEXEC); // not inherited: closed here, gone for a child too
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
        path = QString::fromLocal8Bit(name);
        return true;
    }

    // What the link has written so far.
    QByteArray received()
    {
        char buffer[4096];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, static_cast<int>(n)) : QByteArray();
    }

    void close()
    {
        ::close(master);
        ::close(slave);
        master = slave = -1;
    }
    ~TestTerminal() { close(); }
};

// A system port that refuses 8 data bits.
struct RefusingPort : SystemSerialPort
{
    bool applySetting(LineSetting setting, QString &reason) override
    {
        reason = QStringLiteral("Invalid argument");
        return setting != LineSetting::DataBits && SystemSerialPort::applySetting(setting, reason);
    }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool store(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Runs the command and expects it to succeed with exactly this output.
void succeeds(const QStringList &arguments, const QString &out)
{
    const Run r = cli(arguments);
    QCOMPARE(r.out, out);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
}
} // namespace

class TestBoardPty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aResetNoticeWhileIdleLetsTheResetDialogWriteEveryRegister()
    {
        // The real port does not notify again inside its own slot: the dialog's transfers,
        // started from the notice, must still be answered.
        BoardSimProcess sim;
        QVERIFY(sim.start());
        TestServices t;
        AppServices services = t.services();
        services.portFactory = [](const QString &) { return std::make_unique<SystemSerialPort>(); };
        AppContext context;
        FormMain window(context, StartupOptions::parse({"68"}), services);
        window.Load();
        BoardLink &link = window.boardLink();
        QVERIFY(link.ComOpen(sim.path));
        link.BrdTimeOut().setInterval(500); // a mistake shows in seconds, not minutes
        context.IADC.setRegister(0x1B, false, 0x1ABCDE);

        // The board's reset button, while the link is idle: the reset dialog's Write All.
        SignalRecorder traffic(&link.hooks());
        bool written = false;
        whenModal([&](QWidget *modal) {
            auto *reset = qobject_cast<FormReset *>(modal);
            QVERIFY(reset);
            reset->CommandWriteAll->click();
            written = true;
        });
        sim.signal(SIGUSR1);
        QTRY_VERIFY_WITH_TIMEOUT(written, 10000);
        QVERIFY(!traffic.only({"StatusText"}).contains("StatusText(\"Board TimeOut\")")); // all answered
        context.IADC.setRegister(0x1B, false, 0);
        QVERIFY(link.RegReadOne(0x1B));
        QCOMPARE(context.IADC.Register(0x1B), 0x1ABCDE); // the chip holds what was written
    }

    void aPortThatRefusesALineSettingAndPortNames()
    {
        TestTerminal board;
        QVERIFY(board.open());
        BoardRig l(8, [](const QString &) { return std::make_unique<RefusingPort>(); });
        QVERIFY(!l.link.ComOpen(board.path));
        QCOMPARE(l.dialogs.texts(),
                 QStringList({"Com " + board.path +
                              " Can't be opend - the port refuses 8 data bits: Invalid argument"}));
        l.verifyClosed();
        QVERIFY(!l.link.port()->isOpen());

        // The names of the program's port list, on this system.
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("com4")), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com5")), QStringLiteral("Com5"));
    }

    void regsAndBoardCommandsOnTheSimulatedBoard()
    {
        const Run r = cli({"regs", "--port", "sim", "read-all"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 7 + 6 * 8 + 1);
        QCOMPARE(lines.first(), QStringLiteral("01 F0      I/O Port"));
        QVERIFY(lines.contains(QStringLiteral("25 A0      Channel Status")));
        QCOMPARE(lines.last(), QStringLiteral("38 00      Mode"));

        // Single commands print their result.
        succeeds({"regs", "--port", "sim", "write", "2B", "0D"}, "2B 0D      Channel Setup\n");
        succeeds({"regs", "--port", "sim", "write", "0x13", "123456"}, "13 123456  ZS Calibration\n");
        succeeds({"regs", "--port", "sim", "read", "3Ah"}, "3A 00      Mode\n");
        succeeds({"regs", "--port", "sim", "write-all"}, "wrote 36 registers\n");
        succeeds({"regs", "--port", "sim", "--variant", "62", "write-all"}, "wrote 16 registers\n");
        succeeds({"regs", "--port", "sim", "--variant", "64", "read", "02"},
                 "02 12      Revision\n"); // its chip
        succeeds({"board", "--port", "sim", "reset"}, "X QM416x-EB ready\n");
        succeeds({"board", "--port", "sim", "sram"}, "R SRAM 32K OK\n");
        succeeds({"board", "--port", "sim", "dac", "4095"}, "D 0FFF\n");
        succeeds({"board", "--port", "sim", "led", "on"}, "L 0000\n");
        succeeds({"board", "led", "off", "--port", "sim"}, "L 00FF\n");
    }

    void terminalsWithoutAWorkingBoard()
    {
        Run r = cli({"regs", "--port", "/dev/qm416x-no-such-port", "read-all"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(
            r.err,
            QStringLiteral(
                "qm416x-cli: Com /dev/qm416x-no-such-port Can't be opend - No such file or directory\n"));
        QVERIFY(r.ms < 5000);

        // A terminal with nobody at the other end: one probe, then a clear message.
        TestTerminal nobody;
        QVERIFY(nobody.open());
        r = cli({"board", "--port", nobody.path, "sram"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringLiteral("qm416x-cli: no evaluation board answers on %1\n").arg(nobody.path));
        QVERIFY2(r.ms < 6000, qPrintable(QString::number(r.ms)));

        // A board that answers the probe, then vanishes while the command waits.
        TestTerminal board;
        QVERIFY(board.open());
        QProcess p;
        p.start(QStringLiteral(QM_CLI), {"board", "--port", board.path, "sram"});
        QByteArray seen;
        QTRY_VERIFY_WITH_TIMEOUT((seen += board.received()).contains("[S 42 00\r"), 10000);
        QCOMPARE(::write(board.master, "[S 42 14\r\n", 10), 10);
        QTRY_VERIFY_WITH_TIMEOUT((seen += board.received()).contains("[R\r"), 10000);
        board.close();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardError()),
                 QStringLiteral("qm416x-cli: The evaluation board on %1 has gone away: the port was closed.\n"
                                "qm416x-cli: the board did not answer\n")
                     .arg(board.path));
    }

    void badUse()
    {
        // Arguments separated by blanks, then the start of the message.
        const char *const cases[][2] = {
            {"regs read-all", "regs needs --port"},
            {"regs --port sim", "regs needs an action"},
            {"regs --port sim read", "wrong number of arguments for 'regs read'"},
            {"regs --port sim read 40", "'40' is not a register address"},
            {"regs --port sim read zz", "'zz' is not a register address"},
            {"regs --port sim write 38 1FF",
             "'1FF' is not a hexadecimal value that fits register 38 (8 bits)"},
            {"regs --port sim write 13 -1", "Unknown option '1'."},
            {"regs --port sim -- write 13 -1",
             "'-1' is not a hexadecimal value that fits register 13 (24 bits)"},
            {"regs --port sim --format json write-all", "--format applies to read-all, read and write"},
            {"regs --port sim --variant 66 read-all", "--variant must be 62, 64, 68 or 69, not '66'"},
            {"board --port sim dac 4096", "the DAC code must be a whole number 0..4095"},
            {"board --port sim led blink", "the LED is switched 'on' or 'off'"},
            {"board --port sim --variant 68 reset", "Unknown option 'variant'."},
            {"board --port sim explode", "board needs an action"},
            {"settings save --port sim", "use 'settings save -o FILE.adc'"},
            {"settings load --port sim a.adc -o b.adc", "use 'settings save -o FILE.adc'"},
            {"settings load a.adc", "settings needs --port"},
            {"acquire --port sim -o a.dat", "acquire needs --channels"},
            {"acquire --port sim --channels 0", "acquire needs -o FILE.dat"},
            {"acquire --port sim --channels 0,x -o a.dat",
             "--channels needs channel numbers 0..7 separated by commas, not '0,x'"},
            {"acquire --port sim --channels 4 --variant 64 -o a.dat",
             "channel 4 does not exist on this variant (--variant 64)"},
            {"acquire --port sim --channels 0 --width 20 -o a.dat", "--width must be 16 or 24, not '20'"},
            {"acquire --port sim --channels 0 --samples 3 -o a.dat",
             "--samples must be a whole number of 4 or more, not '3'"},
            {"acquire --port sim --channels 0 -o /qm416x-no-such-folder/a.dat",
             "cannot write /qm416x-no-such-folder/a.dat: the folder does not exist"},
            {"sweep --port sim", "sweep needs --channel, e.g. --channel 0"},
            {"sweep --port sim --channel 0 --chop x", "--chop must be on, off or both, not 'x'"},
            {"sweep --port sim --channel 0 --fw 3,1",
             "--fw needs numbers from 2 to 127 separated by commas, not '3,1'"},
            {"sweep --port sim --channel 0 --ranges 6", "range code 6 does not exist on this variant (0..5)"},
            {"sweep --port sim --channel 0 --format xml",
             "--format must be text, csv, json or markdown, not 'xml'"},
            {"sweep --port sim --channel 0 --plot a.svg", "--plot must end in .png or .pdf, not 'a.svg'"},
        };
        for (const auto &[arguments, message] : cases) {
            const Run r = cli(QString::fromLatin1(arguments).split(QLatin1Char(' ')));
            QCOMPARE(r.exitCode, 2);
            QVERIFY2(r.err.startsWith(QStringLiteral("qm416x-cli: ") + QLatin1String(message)),
                     qPrintable(r.err));
            QCOMPARE(r.out, QString());
        }
        BoardSimProcess sim;
        QVERIFY(!sim.start({"--fault", "nope"}));
        QVERIFY(sim.process.state() == QProcess::NotRunning || sim.process.waitForFinished(5000));
        QCOMPARE(sim.process.exitCode(), 2);
        QVERIFY(sim.process.readAllStandardError().startsWith(
            "qm416x-boardsim: unknown fault 'nope' (refuse-writes, mute-writes, "));
    }

    void againstTheSimulatorOnAPseudoTerminal()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start({"--fast", "--variant", "64"}));
        const QString path = sim.path;
        QTemporaryDir dir;

        // Acquisition into a data file: binary records over the terminal.
        const QString file = dir.filePath(QStringLiteral("a.dat"));
        const Run r = cli({"acquire", "--port", path, "--variant", "64", "--channels", "0,3", "--width", "24",
                           "--samples", "50", "-o", file});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(
            contents(file).startsWith("Parameters:, Channel(s) enabled = 2,Vref = 2.5,DataWidth = 24Bits, "
                                      "Clamp = False, Data format = dec\r\n"));
        QVERIFY(r.out.startsWith(QStringLiteral("Channel 0\nConv.Time\t")));
        QVERIFY(r.out.contains(QStringLiteral("\nChannel 3\n")));
        QCOMPARE(r.out.count(QStringLiteral("Samples\t50 Dec")), 2);
        // Equal settings, equal times: 2426 clocks with two channels enabled, shown and recorded.
        QCOMPARE(r.out.count(QStringLiteral("Conv.Time\t394.86 us")), 2);
        QCOMPARE(contents(file).count("Channel Time = 394.86 us"), 2);
        // The figures printed are those of the file written.
        succeeds({"stats", file, "--variant", "64"}, r.out);

        succeeds({"regs", "--port", path, "write", "29", "0A"}, "29 0A      Channel Setup\n");
        succeeds({"regs", "--port", path, "read", "02"}, "02 12      Revision\n"); // the variant's

        // Settings files: what is saved from the board (with what was written) loads back into
        // it register by register; a damaged file is refused and nothing of it reaches the board.
        const QString saved = dir.filePath(QStringLiteral("board.adc"));
        succeeds({"settings", "save", "--port", path, "--variant", "64", "-o", saved}, QString());
        QByteArray text = contents(saved);
        QVERIFY(text.startsWith("QM4164\r\n") && text.contains("Register: 29,A\r\n"));
        QVERIFY(store(saved, text.replace("Register: 31,91", "Register: 31,C4")));
        succeeds({"settings", "load", saved, "--port", path, "--variant", "64"},
                 QStringLiteral("wrote 20 registers from %1\n").arg(saved));
        const QString again = dir.filePath(QStringLiteral("again.adc"));
        succeeds({"settings", "save", "--port", path, "--variant", "64", "-o", again}, QString());
        QCOMPARE(contents(again), text); // every register as loaded
        QVERIFY(store(saved, "QM4164\r\nRegister: 31,55\r\nRegister: 32\r\n"));
        const Run refused = cli({"settings", "load", saved, "--port", path, "--variant", "64"});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err, QStringLiteral("qm416x-cli: This file cannot be read: %1\n").arg(saved));
        succeeds({"regs", "--port", path, "--variant", "64", "read", "31"}, "31 C4      Conversion Time\n");
    }

    // With standard error on a terminal the progress goes there, never into the data; a
    // notice goes to standard error too; --quiet silences both.
    // A real file system that fills up: every command that saves keeps the earlier file,
    // leaves nothing of its own and fails with the disk's error.
    void savingOnAFullDisk()
    {
        QTemporaryDir source, dir;
        const QString data = source.filePath(QStringLiteral("a.dat"));
        QCOMPARE(cli({"acquire", "--port", "sim", "--channels", "0", "--samples", "50", "-o", data}).exitCode,
                 0);
        if (::geteuid() != 0 || QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k",
                                                                            "tmpfs", dir.path()}) != 0)
            QSKIP("mounting a small file system (tmpfs) needs root");
        const auto unmount =
            qScopeGuard([&dir] { QProcess::execute(QStringLiteral("umount"), {dir.path()}); });
        const QStringList names{"filler", "keep.adc", "keep.csv", "keep.dat", "keep.pdf"};
        for (const QString &name : names.mid(1) + names.mid(0, 1)) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                    file.write(name.toLatin1()) > 0);
            while (name == names[0] && file.write(QByteArray(512, 'x')) == 512) {
            } // the filler takes what is left
        }
        const QList<QStringList> commands{
            {"acquire", "--port", "sim", "--channels", "0", "--samples", "50", "-o",
             dir.filePath("keep.dat")},
            {"settings", "save", "--port", "sim", "-o", dir.filePath("keep.adc")},
            {"sweep", "--port", "sim", "--channel", "0", "--fw", "20", "--samples", "20", "-q", "-o",
             dir.filePath("keep.csv")},
            {"plot", data, "--channel", "0", "--kind", "time", "-o", dir.filePath("keep.pdf")},
            {"plot", data, "--channel", "0", "--kind", "hist", "-o", dir.filePath("new.png")}};
        for (const QStringList &command : commands) {
            const Run r = cli(command);
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.endsWith(QStringLiteral("error 61 : Disk full\n")), qPrintable(r.err));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), names);
            for (const QString &name : names.mid(1))
                QCOMPARE(contents(dir.filePath(name)), name.toLatin1());
        }
    }

    // --live: lines of the running count and each channel's noise on standard error, the
    // last one with every record and the noise figures printed for the written file.
    void acquireLive()
    {
        QTemporaryDir dir;
        const Run r = cli({"acquire", "--port", "sim", "--channels", "0,2", "--samples", "300",
                           "--no-history", "--live", "-o", dir.filePath("a.dat")});
        QCOMPARE(r.exitCode, 0);
        QStringList noise;
        for (const QString &line : r.out.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("RMS Noise\t")))
                noise << line.mid(10).trimmed();
        QCOMPARE(noise.size(), 2);
        const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.filter(QRegularExpression("^live: \\d+ of 600 records; ch 0: \\d+ samples")).size(),
                 lines.size());
        QCOMPARE(lines.last(), QStringLiteral("live: 600 of 600 records; ch 0: 300 samples, RMS Noise %1; "
                                              "ch 2: 300 samples, RMS Noise %2")
                                   .arg(noise[0], noise[1]));
    }

    void progressStaysOffStandardOutput_data()
    {
        QTest::addColumn<bool>("quiet");
        QTest::newRow("progress") << false;
        QTest::newRow("quiet") << true;
    }

    void progressStaysOffStandardOutput()
    {
        QFETCH(bool, quiet);
        TestTerminal stderrTerminal;
        QVERIFY(stderrTerminal.open());
        QTemporaryDir dir;
        QProcess p;
        p.setChildProcessModifier([slave = stderrTerminal.slave] { ::dup2(slave, STDERR_FILENO); });
        QStringList arguments =
            QStringLiteral("acquire --port sim --channels 0,1 --samples 9000 --format json -o")
                .split(QLatin1Char(' '))
            << dir.filePath("a.dat");
        if (quiet)
            arguments << "--quiet";
        p.start(QStringLiteral(QM_CLI), arguments);
        QVERIFY(p.waitForFinished(30000));
        QByteArray terminal;
        for (QByteArray part = stderrTerminal.received(); !part.isEmpty(); part = stderrTerminal.received())
            terminal += part;
        QCOMPARE(p.exitCode(), 0);
        const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
        QCOMPARE(lines.size(), 3);
        for (const QByteArray &line : lines.mid(0, 2))
            QCOMPARE(QJsonDocument::fromJson(line).object().value("samples").toInt(),
                     5461); // 32768 bytes, 3 a sample
        QCOMPARE(terminal.contains("as many as the board's memory holds"), !quiet);
        QCOMPARE(terminal.contains("\r"), !quiet);
    }

    // qm416x-boardsim given one fault: the command fails naming what went wrong, writes no
    // file and leaves a board that answers a register read, out of continuous-read mode.
    void boardFaultsFromTheCommandLine_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("command"); // PORT and FILE stand for the terminal and a file
        QTest::addColumn<QString>("message"); // a part of standard error
        QTest::addColumn<bool>("readable");   // the board answers a read afterwards
        const auto row = [](const char *name, const char *fault, const QString &command,
                            const QString &message, bool readable = true) {
            QTest::newRow(name) << fault << command << message << readable;
        };
        const QString acquire = QStringLiteral("acquire --port PORT --channels 0,1 -o FILE");
        const QString load = QStringLiteral("settings load FILE --port PORT");
        const QString damaged = QStringLiteral(", which is not enabled; the stream is damaged.");
        const QString refused =
            QStringLiteral("register 28h (Channel Setup) was refused (answer \"E REFUSED\")");
        const QString announced =
            QStringLiteral("announced %1 bytes (answer \"[C %2\") where 600 were requested.");
        row("refused set-up write", "refuse-writes", acquire, "the set-up was not made: " + refused + ".");
        row("refused set-up write in a log", "refuse-writes",
            "log --port PORT --channels 0,1 --interval 0 --count 1 --db FILE",
            "capture 1 of 1 failed, recorded as 1: the set-up was not made: " + refused);
        row("unanswered set-up write", "mute-writes", acquire,
            "register 28h (Channel Setup) was not answered.");
        row("refused load", "refuse-writes", load,
            "\"Write All Registers\" stopped: register 01h (I/O Port) was refused (answer \"E REFUSED\").\n"
            "qm416x-cli: the board answered 0 of 36 register writes; the board holds only part of");
        // Nothing reached the chip, so nothing needs putting back.
        row("refused sweep row", "refuse-writes", "sweep --port PORT --channel 0 --fw 17 -o FILE",
            "row 1 of 1 (fw 17, chop on, ±1.25 V): the set-up was not made: " + refused +
                " (no rows, nothing written)\n");
        row("channel not enabled", "foreign-channel", acquire,
            "Record 3 of the continuous read (byte 7) names channel 4" + damaged);
        row("channel 7", "channel-7", acquire, "(byte 1) names channel 7" + damaged);
        row("random bytes", "random-bytes", acquire, damaged);
        row("fewer bytes", "count-fewer", acquire, announced.arg(300).arg("012C"));
        row("more bytes", "count-more", acquire, announced.arg(604).arg("025C"));
        row("FFFF bytes", "count-ffff", acquire, announced.arg(65535).arg("FFFF"));
        row("reset in the stream", "reset-in-stream", acquire,
            "The evaluation board was reset during the continuous read");
        row("reset in a load", "reset-in-writes", load,
            "the board was reset during the transfer (at register");
        row("late answer", "late-answer", acquire,
            "The evaluation board did not answer the continuous-read request.");
        row("writes not taken", "ignore-writes", "regs --port PORT write 1 30",
            "register 01h (I/O Port) reads back as F0, not 30 as written");
        row("every answer S 12 34 56 78", "junk-replies", "regs --port PORT write 1 30",
            "no evaluation board answers on PORT (answer \"S 12 34 56 78\" to a read of the revision "
            "register)",
            false);
        row("every third reply lost", "drop-third", "regs --port PORT read-all",
            "\"Read all registers\" stopped: 3 of the last 7 exchanges failed, the last register 35h "
            "(Conversion Time) was not answered.\nqm416x-cli: the board answered 5 of 56 register reads\n",
            false);
        row("closing exchange unanswered", "mute-close", acquire,
            "did not answer the closing exchange (\"S 80\"). The chip may still be in continuous-read mode.");
        row("no closing bytes", "no-closing-bytes", acquire, "sent all 600 bytes but not the closing bytes");
    }

    void boardFaultsFromTheCommandLine()
    {
        QFETCH(QString, fault);
        QFETCH(QString, command);
        BoardSimProcess sim;
        QVERIFY(sim.start({"--fast", "--fault", fault}));
        QTemporaryDir dir;
        const QString file = dir.filePath(command.startsWith(QLatin1String("settings")) ? "in.adc" : "out");
        if (command.startsWith(QLatin1String("settings")))
            QVERIFY(store(file, "QM4168\r\n\r\n I/O Port Register\r\nRegister: 1,30\r\n"));
        QStringList arguments = command.split(QLatin1Char(' '));
        arguments.replaceInStrings(QStringLiteral("PORT"), sim.path)
            .replaceInStrings(QStringLiteral("FILE"), file);
        const Run r = cli(arguments);
        QCOMPARE(r.exitCode, 1);
        QFETCH(QString, message);
        QVERIFY2(r.err.contains(message.replace(QStringLiteral("PORT"), sim.path)), qPrintable(r.err));
        // Only a settings file read and a log's database are there afterwards.
        QCOMPARE(QFile::exists(file),
                 command.startsWith(QLatin1String("settings")) || command.startsWith(QLatin1String("log")));
        QFETCH(bool, readable);
        if (!readable)
            return;
        const Run mode = cli({"regs", "--port", sim.path, "read", "38"});
        QCOMPARE(mode.exitCode, 0);
        QCOMPARE(mode.out.left(3), QStringLiteral("38 "));
        QCOMPARE(mode.out.mid(3, 2).toInt(nullptr, 16) & 0x04, 0); // not in continuous-read mode
    }

    void acquireFromABoardKilledMidway()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start({})); // at the line rate: 32768 bytes take 8.5 s
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.dat"));
        const Run r = sim.killedMidway({"acquire", "--port", sim.path, "--channels", "0,1,2,3,4,5,6,7",
                                        "--width", "24", "--samples", "1024", "-o", file});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err,
                 QStringLiteral("qm416x-cli: The evaluation board went away during the continuous read. %1 "
                                "was not written.\nqm416x-cli: The evaluation board on %2 has gone away: the "
                                "port was closed.\n")
                     .arg(file, sim.path));
        QVERIFY(!QFile::exists(file));
        QVERIFY2(r.ms < 8000, qPrintable(QString::number(r.ms)));
    }

    // A board lost in the middle of a sweep: the rows so far are written, the row that
    // stopped is named, the exit code is 1.
    void sweepFromABoardKilledMidway()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start({})); // at the line rate: each row's 2000 bytes take about 0.5 s
        const Run r = sim.killedMidway(
            {"sweep", "--port", sim.path, "--channel", "0", "--samples", "500", "--format", "csv"});
        QCOMPARE(r.exitCode, 1);
        // The stop, then the link's own word on the lost board.
        const QString gone =
            QStringLiteral("qm416x-cli: The evaluation board on %1 has gone away: the port was closed.\n");
        QVERIFY2(r.err.endsWith(gone.arg(sim.path)), qPrintable(r.err));
        const QString last = r.err.section(QLatin1Char('\n'), -3, -3);
        const int kept = r.out.count(QLatin1Char('\n')) - 1;
        QVERIFY2(last.startsWith(
                     QStringLiteral("qm416x-cli: the sweep stopped at row %1 of 6 (fw ").arg(kept + 1)),
                 qPrintable(r.err));
        QVERIFY(last.endsWith(QStringLiteral(" (%1 rows written)").arg(kept)));
        QVERIFY(r.out.startsWith(QStringLiteral("filter_word,chop,")));
    }
};

QTEST_MAIN(TestBoardPty)
#include "tst_board_pty.moc"
