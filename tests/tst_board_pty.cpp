// The board link over the system serial port code (QSerialPort) and a real pseudo-terminal:
// against the standalone simulator qm416x-boardsim, and against a terminal the test drives
// itself to play a misbehaving board.

#include "ScriptedDialogs.h"
#include "SignalRecorder.h"
#include "board/BoardLink.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "platform/SystemSerialPort.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// qm416x-boardsim started for one test, killed at the end.
struct BoardSimProcess
{
    QProcess process;
    QString path;

    bool start()
    {
        process.start(QStringLiteral(QM_BOARDSIM), {QStringLiteral("--fast")});
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000))
                return false;
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
        return path.startsWith(QLatin1String("/dev/"));
    }

    void signal(int number) { ::kill(static_cast<pid_t>(process.processId()), number); }

    ~BoardSimProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            signal(SIGCONT);
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

// A pseudo-terminal whose master side the test reads and writes itself.
struct TestTerminal
{
    int master = -1;
    int slave = -1;
    QString path;
    QByteArray received;
    std::function<QByteArray(const QByteArray &)> answer; // to each chunk the link writes
    QSocketNotifier *notifier = nullptr;

    bool open()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return false;
        termios t{};
        ::tcgetattr(slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        path = QString::fromLocal8Bit(name);
        notifier = new QSocketNotifier(master, QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, [this] {
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                return;
            const QByteArray chunk(buffer, static_cast<int>(n));
            received += chunk;
            if (answer)
                send(answer(chunk));
        });
        return true;
    }

    void send(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QTest::qWait(1); // the terminal's buffer is full: let the link read
        }
    }

    void closeBoardSide()
    {
        delete notifier;
        notifier = nullptr;
        ::close(master);
        ::close(slave);
        master = slave = -1;
    }

    ~TestTerminal()
    {
        delete notifier;
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }
};

struct Link
{
    QM4168 model;
    ScriptedDialogs dialogs;
    BoardLink link{model, &dialogs, [](const QString &) { return std::make_unique<SystemSerialPort>(); }};
    SignalRecorder hooks{&link.hooks()};

    Link()
    {
        model.setEvBoard(8);
        RegisterDesign::applyTo(model);
        LoadRegisterDefaults(model, 8);
    }
};
} // namespace

class TestBoardPty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theWholeLinkAgainstTheSimulatorProcess()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start());
        Link l;
        QVERIFY(l.link.ComOpen(sim.path));
        QCOMPARE(l.link.BrdState(), 1);
        QVERIFY(l.dialogs.boxes.isEmpty());

        // Read all: the chip's power-on state reaches the model.
        for (int a : {0x02, 0x30, 0x31})
            l.model.setRegister(a, false, 0);
        QCOMPARE(l.link.RegReadAll(), 2 + 6 * 8 + 6);
        QCOMPARE(l.model.Register(0x02), 0x14);
        QCOMPARE(l.model.Generic(), QStringLiteral("QM4168"));
        QCOMPARE(l.model.Register(0x30), 0x91);
        QCOMPARE(l.model.Register(0x31), 0x91);
        QCOMPARE(l.model.Register(0x25), 0xA0);

        // Write all, then read back register by register.
        l.model.setRegister(0x2A, false, 0x0C);
        l.model.setRegister(0x35, false, 0x85);
        l.model.setRegister(0x1B, false, 0x1ABCDE);
        QCOMPARE(l.link.RegWriteAll(), 3 + 4 * 8 + 1);
        for (int a : {0x2A, 0x35, 0x1B})
            l.model.setRegister(a, false, 0);
        QVERIFY(l.link.RegReadOne(0x2A));
        QVERIFY(l.link.RegReadOne(0x35));
        QVERIFY(l.link.RegReadOne(0x1B));
        QCOMPARE(l.model.Register(0x2A), 0x0C);
        QCOMPARE(l.model.Register(0x35), 0x85);
        QCOMPARE(l.model.Register(0x1B), 0x1ABCDE);

        // A user change goes out and is read back.
        QSignalSpy updates(&l.link.registerSync(), &RegisterSync::UpdateStateChanged);
        l.model.setEnable(6, true);
        while (l.link.UpdateState() != RegisterSync::UpdIdle)
            QVERIFY(updates.wait(2000));
        l.model.setRegister(0x2E, false, 0);
        QVERIFY(l.link.RegReadOne(0x2E));
        QCOMPARE(l.model.Register(0x2E), 0x08);

        QCOMPARE(l.link.BrdDAC(4095), QStringLiteral("D 0FFF"));
        QCOMPARE(l.link.BrdLED(0), QStringLiteral("L 0000"));
        QCOMPARE(l.link.BrdLED(255), QStringLiteral("L 00FF"));
        QCOMPARE(l.link.BrdCheckSRAM(), QStringLiteral("R SRAM 32K OK"));

        // Board reset: the notice reaches the reset dialog, the chip is back at power-on.
        QCOMPARE(l.link.BrdReset(), QStringLiteral("X QM416x-EB ready"));
        QCOMPARE(l.hooks.only({"ResetNotice"}),
                 QStringList({"ResetNotice(\"Evaluation Board has been RESET !\")"}));
        QVERIFY(l.link.RegReadOne(0x2A));
        QCOMPARE(l.model.Register(0x2A), 0x00);
        QVERIFY(l.dialogs.boxes.isEmpty());
        l.link.ComClose();
    }

    void aBoardThatStopsAnsweringAndThenGoesAway()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start());
        Link l;
        QVERIFY(l.link.ComOpen(sim.path));
        QCOMPARE(l.link.BrdLED(0), QStringLiteral("L 0000"));

        sim.signal(SIGSTOP); // the board hangs
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(l.link.BrdCheckSRAM(), QString());
        QVERIFY(clock.elapsed() >= 1900);
        QCOMPARE(l.link.BrdState(), 1);
        QCOMPARE(l.link.statusText(), QStringLiteral("Board TimeOut"));
        QVERIFY(l.link.isPortOpen());

        // Then it dies while the next exchange waits: the link closes at once and says so once.
        QSignalSpy lost(&l.link.hooks(), &BoardHooks::PortLost);
        QTimer::singleShot(100, this, [&] { sim.signal(SIGKILL); });
        clock.restart();
        QCOMPARE(l.link.BrdCheckSRAM(), QString());
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(l.link.BrdState(), 0);
        QCOMPARE(l.link.UpdateState(), 0);
        QVERIFY(!l.link.isPortOpen());
        QVERIFY(lost.wait(1000));
        QTest::qWait(100);
        QCOMPARE(lost.size(), 1);
        QCOMPARE(l.dialogs.texts(),
                 QStringList({QStringLiteral("The evaluation board on %1 has gone away: the port was closed.")
                                  .arg(sim.path)}));
        // Nothing goes out any more.
        QCOMPARE(l.link.BrdLED(0), QString());
    }

    void garbageAndEndlessLinesFromTheBoard()
    {
        TestTerminal board;
        QVERIFY(board.open());
        Link l;
        QVERIFY(l.link.ComOpen(board.path));
        l.link.BrdTimeOut().setInterval(300);

        // Binary noise outside any line, then a proper answer.
        QByteArray noise;
        for (int i = 0; i < 4096; ++i)
            noise.append(static_cast<char>((i * 37) % 256 == '[' ? 0 : (i * 37) % 256));
        board.answer = [&](const QByteArray &) { return noise + "[S 41 F0\r\n"; };
        QByteArray frame("\x41\x00", 2);
        QVERIFY(l.link.BrdSPI(frame, 2));
        QCOMPARE(frame, QByteArray("\x41\xF0", 2));
        QCOMPARE(board.received, QByteArray("[S 41 00\r"));

        // A line that never ends: the wait times out, the buffer stays bounded.
        board.answer = [&](const QByteArray &) { return '[' + QByteArray(100000, 'Z'); };
        QCOMPARE(l.link.BrdCheckSRAM(), QString());
        QTest::qWait(200); // the rest of the line arrives
        QCOMPARE(l.link.ReplyBuffer().size(), ReplyParser::MaxLineLength);

        // A reply in pieces, with its LF far behind.
        board.answer = [&](const QByteArray &) { return QByteArray("[D 0"); };
        QTimer::singleShot(50, this, [&] { board.send("FFF\r"); });
        QTimer::singleShot(80, this, [&] { board.send("\n"); });
        QCOMPARE(l.link.BrdDAC(4095), QStringLiteral("D 0FFF"));

        // No answer at all.
        board.answer = nullptr;
        QCOMPARE(l.link.BrdLED(255), QString());
        QCOMPARE(l.link.BrdState(), 1);

        // The terminal closes while an exchange waits.
        QTimer::singleShot(50, this, [&] { board.closeBoardSide(); });
        QCOMPARE(l.link.BrdLED(0), QString());
        QTRY_VERIFY(!l.link.isPortOpen());
        QCOMPARE(l.link.BrdState(), 0);
        QTRY_COMPARE(l.dialogs.boxes.size(), 1);
    }

    void portsThatCannotBeOpened()
    {
        Link l;
        QVERIFY(!l.link.ComOpen(QStringLiteral("/dev/qm416x-no-such-port")));
        QVERIFY(!l.link.ComOpen(QStringLiteral("Com9")));
        QCOMPARE(l.dialogs.texts(),
                 QStringList({"Com /dev/qm416x-no-such-port Can't be opend - No such file or directory",
                              "Com 9 Can't be opend - No such file or directory"}));
        QCOMPARE(l.link.BrdState(), 0);

        // A port that is in use elsewhere.
        BoardSimProcess sim;
        QVERIFY(sim.start());
        Link first;
        QVERIFY(first.link.ComOpen(sim.path));
        QVERIFY(!l.link.ComOpen(sim.path));
        QCOMPARE(l.dialogs.boxes.size(), 3);
        QVERIFY(
            l.dialogs.texts().last().startsWith(QStringLiteral("Com %1 Can't be opend - ").arg(sim.path)));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("com4")), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com5")), QStringLiteral("Com5"));
    }
};

QTEST_GUILESS_MAIN(TestBoardPty)
#include "tst_board_pty.moc"
