// qm416x-cli regs and board, run as the user runs them.

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace {
struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

Run cli(const QStringList &arguments)
{
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(QM_CLI), arguments);
    p.waitForFinished(30000);
    Run r;
    r.ms = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
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

class TestCliBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readAllOnTheSimulatedBoard()
    {
        const Run r = cli({"regs", "--port", "sim", "read-all"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 7 + 6 * 8 + 1);
        QCOMPARE(lines.first(), QStringLiteral("01 F0      I/O Port"));
        for (const char *line : {"02 14      Revision", "13 800000  ZS Calibration",
                                 "25 A0      Channel Status", "37 91      Conversion Time"})
            QVERIFY2(lines.contains(QLatin1String(line)), line);
        QCOMPARE(lines.last(), QStringLiteral("38 00      Mode"));

        // The variant decides the channels; the simulated chip is of the same kind.
        const QStringList four = cli({"regs", "--variant", "64", "--port", "sim", "read-all"})
                                     .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(four.size(), 7 + 6 * 4 + 1);
        QVERIFY(four.contains(QStringLiteral("02 12      Revision")));
    }

    void commandsPrintTheirResult()
    {
        succeeds({"regs", "--port", "sim", "write", "2B", "0D"}, "2B 0D      Channel Setup\n");
        succeeds({"regs", "--port", "sim", "write", "0x13", "123456"}, "13 123456  ZS Calibration\n");
        succeeds({"regs", "--port", "sim", "read", "3Ah"}, "3A 00      Mode\n");
        succeeds({"regs", "--port", "sim", "write-all"}, "wrote 36 registers\n");
        succeeds({"regs", "--port", "sim", "--variant", "62", "write-all"}, "wrote 16 registers\n");
        succeeds({"board", "--port", "sim", "reset"}, "X QM416x-EB ready\n");
        succeeds({"board", "--port", "sim", "sram"}, "R SRAM 32K OK\n");
        succeeds({"board", "--port", "sim", "dac", "4095"}, "D 0FFF\n");
        succeeds({"board", "--port", "sim", "led", "on"}, "L 0000\n");
        succeeds({"board", "led", "off", "--port", "sim"}, "L 00FF\n");
    }

    void portsWithoutABoardFailFast()
    {
        Run r = cli({"regs", "--port", "/dev/qm416x-no-such-port", "read-all"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QCOMPARE(
            r.err,
            QStringLiteral(
                "qm416x-cli: Com /dev/qm416x-no-such-port Can't be opend - No such file or directory\n"));
        QVERIFY(r.ms < 5000);

        // A terminal with nobody at the other end: one probe, then a clear message.
        int master = -1, slave = -1;
        char name[256] = {};
        QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        r = cli({"board", "--port", QString::fromLocal8Bit(name), "sram"});
        ::close(master);
        ::close(slave);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringLiteral("qm416x-cli: no evaluation board answers on %1\n").arg(name));
        QVERIFY2(r.ms < 6000, qPrintable(QString::number(r.ms)));
    }

    void aBoardThatGoesAwayIsReported()
    {
        // The board answers the probe, then vanishes while the command waits.
        int master = -1, slave = -1;
        char name[256] = {};
        QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::fcntl(master, F_SETFD, FD_CLOEXEC); // closed here, gone for the tool as well
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
        QProcess p;
        p.start(QStringLiteral(QM_CLI), {"board", "--port", QString::fromLocal8Bit(name), "sram"});
        QByteArray seen;
        const auto await = [&](const QByteArray &frame) {
            for (int i = 0; i < 100 && !seen.contains(frame); ++i) {
                pollfd in{master, POLLIN, 0};
                char buffer[64];
                if (::poll(&in, 1, 100) == 1)
                    seen.append(buffer, qMax<ssize_t>(0, ::read(master, buffer, sizeof buffer)));
            }
            return seen.contains(frame);
        };
        QVERIFY(await("[S 42 00\r"));
        QCOMPARE(::write(master, "[S 42 14\r\n", 10), 10);
        QVERIFY(await("[R\r"));
        ::close(master);
        ::close(slave);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardError()),
                 QStringLiteral("qm416x-cli: The evaluation board on %1 has gone away: the port was closed.\n"
                                "qm416x-cli: the board did not answer\n")
                     .arg(name));
    }

    void badUse()
    {
        const struct
        {
            QStringList arguments;
            QString message;
        } cases[] = {
            {{"regs", "read-all"}, "regs needs --port"},
            {{"regs", "--port"}, "option --port needs a value"},
            {{"regs", "--port", "sim"}, "regs needs an action"},
            {{"regs", "--port", "sim", "read"}, "wrong number of arguments for 'regs read'"},
            {{"regs", "--port", "sim", "read", "40"}, "'40' is not a register address"},
            {{"regs", "--port", "sim", "read", "zz"}, "'zz' is not a register address"},
            {{"regs", "--port", "sim", "write", "38", "1FF"},
             "'1FF' is not a hexadecimal value that fits register 38 (8 bits)"},
            {{"regs", "--port", "sim", "write", "13", "-1"},
             "'-1' is not a hexadecimal value that fits register 13 (24 bits)"},
            {{"regs", "--port", "sim", "--variant", "66", "read-all"},
             "--variant must be 62, 64, 68 or 69, not '66'"},
            {{"regs", "--port", "sim", "--fast", "read-all"}, "unknown option --fast"},
            {{"board", "--port", "sim", "dac", "4096"}, "the DAC code must be a whole number 0..4095"},
            {{"board", "--port", "sim", "led", "blink"}, "the LED is switched 'on' or 'off'"},
            {{"board", "--port", "sim", "--variant", "68", "reset"}, "unknown option --variant"},
            {{"board", "--port", "sim", "explode"}, "board needs an action"},
        };
        for (const auto &c : cases) {
            const Run r = cli(c.arguments);
            QCOMPARE(r.exitCode, 2);
            QVERIFY2(r.err.startsWith(QStringLiteral("qm416x-cli: ") + c.message), qPrintable(r.err));
            QCOMPARE(r.out, QString());
        }
        Run help = cli({"regs", "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Usage: qm416x-cli regs --port NAME|PATH")));
        help = cli({"board", "--help"});
        QVERIFY(help.out.startsWith(QStringLiteral("Usage: qm416x-cli board --port NAME|PATH ACTION")));
        help = cli({"--help"});
        QVERIFY(help.out.contains(QStringLiteral("  regs")) && help.out.contains(QStringLiteral("  board")));
    }

    void againstTheSimulatorOnAPseudoTerminal()
    {
        QProcess sim;
        sim.start(QStringLiteral(QM_BOARDSIM),
                  {QStringLiteral("--fast"), QStringLiteral("--variant"), QStringLiteral("64")});
        QVERIFY(sim.waitForStarted(5000));
        while (!sim.canReadLine())
            QVERIFY(sim.waitForReadyRead(5000));
        const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
        succeeds({"regs", "--port", path, "write", "29", "0A"}, "29 0A      Channel Setup\n");
        // The board kept it; the revision is the variant's.
        succeeds({"regs", "--port", path, "--variant", "64", "read", "29"}, "29 0A      Channel Setup\n");
        succeeds({"regs", "--port", path, "read", "02"}, "02 12      Revision\n");
        succeeds({"board", "--port", path, "led", "on"}, "L 0000\n");
        sim.kill();
        sim.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestCliBoard)
#include "tst_cli_board.moc"
