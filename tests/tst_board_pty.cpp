// The board link over the system serial port code (QSerialPort) and a real pseudo-terminal:
// against the standalone simulator qm416x-boardsim (with the program's main window where the
// reset dialog is concerned), and against a terminal the test drives itself to play a
// misbehaving board.

#include "BoardRig.h"
#include "ModalDriver.h"
#include "TestServices.h"
#include "app/AppContext.h"
#include "app/FormMain.h"
#include "platform/SystemSerialPort.h"
#include "tools/FormReset.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
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

// A pseudo-terminal whose master side the test reads and writes itself, playing the board.
struct TestTerminal
{
    int master = -1, slave = -1;
    QString path;
    QObject timers; // sends still to come are dropped with the terminal

    bool open()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return false;
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
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

    // Sends bytes to the link, after delayMs (the link waiting meanwhile).
    void send(const QByteArray &bytes, int delayMs)
    {
        QTimer::singleShot(delayMs, &timers, [this, bytes] {
            for (qsizetype done = 0; done < bytes.size();) {
                const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
                if (n > 0)
                    done += n;
                else
                    QTest::qWait(1); // the terminal's buffer is full: let the link read
            }
        });
    }

    ~TestTerminal()
    {
        ::close(master);
        ::close(slave);
    }
};

// The board link on the system's serial ports.
struct SystemRig : BoardRig
{
    SystemRig()
        : BoardRig(8, [](const QString &) { return std::make_unique<SystemSerialPort>(); })
    {
    }
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
} // namespace

class TestBoardPty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aBoardThatStopsAnsweringAndThenGoesAway()
    {
        BoardSimProcess sim;
        QVERIFY(sim.start());
        SystemRig l;
        QVERIFY(l.link.ComOpen(sim.path));
        // Read All over the terminal: the chip's power-on state reaches the model.
        l.model.setRegister(0x31, false, 0);
        QCOMPARE(l.link.RegReadAll(), 2 + 6 * 8 + 6);
        QCOMPARE(l.model.Register(0x31), 0x91);

        // The board hangs, then dies while the next exchange waits: the link closes at once
        // and says so once.
        sim.signal(SIGSTOP);
        QElapsedTimer clock;
        QSignalSpy lost(&l.link.hooks(), &BoardHooks::PortLost);
        QTimer::singleShot(100, this, [&] { sim.signal(SIGKILL); });
        clock.start();
        QCOMPARE(l.link.BrdCheckSRAM(), QString());
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        l.verifyClosed();
        QVERIFY(lost.wait(1000));
        QTest::qWait(100);
        QCOMPARE(lost.size(), 1);
        QCOMPARE(l.dialogs.texts(),
                 QStringList({QStringLiteral("The evaluation board on %1 has gone away: the port was closed.")
                                  .arg(sim.path)}));
        QCOMPARE(l.link.BrdLED(0), QString()); // nothing goes out any more
    }

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

    void aPortThatRefusesALineSettingIsNotOpened()
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
    }

    void garbageAndBrokenLinesFromTheBoard()
    {
        TestTerminal board;
        QVERIFY(board.open());
        SystemRig l;
        QVERIFY(l.link.ComOpen(board.path));

        // Binary noise outside any line, then a proper answer.
        QByteArray noise;
        for (int i = 0; i < 4096; ++i)
            noise.append(static_cast<char>((i * 37) % 256 == '[' ? 0 : (i * 37) % 256));
        board.send(noise + "[S 41 F0\r\n", 20);
        QByteArray frame("\x41\x00", 2);
        QVERIFY(l.link.BrdSPI(frame, 2));
        QCOMPARE(frame, QByteArray("\x41\xF0", 2));
        QCOMPARE(board.received(), QByteArray("[S 41 00\r"));

        // A reply in pieces, with its LF far behind.
        board.send("[D 0", 20);
        board.send("FFF\r", 50);
        board.send("\n", 80);
        QCOMPARE(l.link.BrdDAC(4095), QStringLiteral("D 0FFF"));
    }

    void portsThatCannotBeOpened()
    {
        SystemRig l;
        QVERIFY(!l.link.ComOpen(QStringLiteral("Com9")));
        QCOMPARE(l.dialogs.texts(), QStringList({"Com 9 Can't be opend - No such file or directory"}));
        QCOMPARE(l.link.BrdState(), 0);

        // A port that is in use elsewhere.
        BoardSimProcess sim;
        QVERIFY(sim.start());
        SystemRig first;
        QVERIFY(first.link.ComOpen(sim.path));
        QVERIFY(!l.link.ComOpen(sim.path));
        QCOMPARE(l.dialogs.boxes.size(), 2);
        QVERIFY(
            l.dialogs.texts().last().startsWith(QStringLiteral("Com %1 Can't be opend - ").arg(sim.path)));

        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("com4")), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(SystemSerialPort::systemName(QStringLiteral("Com5")), QStringLiteral("Com5"));
    }
};

QTEST_MAIN(TestBoardPty)
#include "tst_board_pty.moc"
