#include "BoardRig.h"
#include "ReceiveSplit.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {
// Answers every command with one fixed line.
FakeSerialPort::Responder always(const QByteArray &answer)
{
    return [answer](const QString &) { return answer; };
}

// Answers every command by echoing it as a reply line.
QByteArray echo(const QString &command)
{
    return '[' + command.toLatin1() + "\r\n";
}

// Bytes from hexadecimal text: hex("78 00") is 0x78, 0x00.
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const QString ResetNotice = QStringLiteral("ResetNotice(\"Evaluation Board has been RESET !\")");
} // namespace

class TestBoardLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addReceiveSplitRows(); }
    void init() { useReceiveSplitRow(); }

    void replyLinesAreCollectedByteByByte()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 00\r");
        r.hooks.clear();
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 00"));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardAccessed));
        // The monitor sees the frame sent, then every byte received on its own.
        QCOMPARE(r.hooks.only({"Display"}),
                 QStringList({"Display(\"[R\r\")", "Display(\"[\")", "Display(\"S\")", "Display(\" \")",
                              "Display(\"0\")", "Display(\"0\")", "Display(\"\r\")"}));

        const auto reply = [&](const QByteArray &answer) {
            port.responder = always(answer);
            return r.link.BrdCom("R");
        };
        // LF ends the collection, the CR completes the wait; a second "[" restarts the line;
        // bytes outside a line are dropped; stray CRs do not hand out the last reply again.
        QCOMPARE(reply("[S 1\n2 3\r"), QStringLiteral("S 1"));
        QCOMPARE(reply("junk[AB[S 12\r"), QStringLiteral("S 12"));
        QCOMPARE(reply("\n\nxyz\n[S 7\r\n"), QStringLiteral("S 7"));
        QCOMPARE(reply("\r\n\r[S 42 14\r\n"), QStringLiteral("S 42 14"));
        QCOMPARE(reply(QByteArray("[S \x01\xFF\x00!\r", 8)), QString::fromLatin1("S \x01\xFF\0!", 6));

        // A line that never ends: the time-out ends the wait and the line stays bounded.
        r.link.BrdTimeOut().setInterval(50);
        QTimer::singleShot(0, &port, [&] { port.inject('[' + QByteArray(4096, 'A')); });
        QCOMPARE(reply({}), QString());
        QCOMPARE(r.link.ReplyBuffer().size(), ReplyParser::MaxLineLength);
        QVERIFY(r.link.InReply());
        port.inject("BBB\r"); // when it does end, its first characters are the reply
        QCOMPARE(r.link.ReplyBuffer(), QString(ReplyParser::MaxLineLength, QLatin1Char('A')));
        QVERIFY(!r.link.InReply());
        QCOMPARE(reply("[S 42\r"), QStringLiteral("S 42"));
    }

    void resetNoticesComeOnceAndOnlyWithAFreeLink()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.hooks.clear();
        // The notice goes out from the event loop, after the port's notification has returned.
        port.inject("[X QM416x-EB ready\r\n");
        QVERIFY(r.hooks.only({"ResetNotice"}).isEmpty());
        QTest::qWait(0);
        QCOMPARE(r.hooks.only({"ResetNotice"}), QStringList({ResetNotice}));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardIdle));
        // A stray CR does not announce it again; a line starting with X but no blank is no notice.
        port.inject("\r");
        port.inject("[XY\r\n");
        // While a continuous read owns the port the parser takes nothing.
        r.link.setBrdState(LinkState::BoardRequest);
        port.inject("[X QM416x-EB ready\r\n");
        r.link.BrdReceiveByte('\r');
        QCOMPARE(r.link.ReplyBuffer(), QStringLiteral("XY"));
        QTest::qWait(0);
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);
        port.clearInput();
        r.link.setBrdState(LinkState::BoardIdle);

        // Code that waits on its own (the continuous read's closing exchange) sets Waiting
        // itself: a notice is not its reply, and it comes once the link is free, or not at all
        // when the link is closed first.
        r.link.setBrdState(LinkState::BoardWaiting);
        port.inject("[X QM416x-EB ready\r\n");
        QTest::qWait(0);
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardWaiting));
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);
        r.link.setBrdState(LinkState::BoardAccessed);
        QTest::qWait(0);
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 2);
        r.link.setBrdState(LinkState::BoardWaiting);
        port.inject("[X QM416x-EB ready\r\n");
        r.link.ComClose();
        QVERIFY(r.link.ComOpen(QStringLiteral("Com1")));
        QTest::qWait(0);
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 2);
    }

    void resetNoticeDuringAnExchangeComesAfterItWithAFreeLink()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = [](const QString &c) {
            return c == QLatin1String("X") ? QByteArray("[X QM416x-EB ready\r\n") : echo(c);
        };
        QStringList log;
        bool dialogOpen = false;
        connect(&r.link.hooks(), &BoardHooks::ResetNotice, this, [&](const QString &message) {
            log << "notice " + message << "state " + QString::number(r.link.BrdState());
            if (dialogOpen)
                return; // the dialog only changes its message
            dialogOpen = true;
            // What the reset dialog's buttons do: the link must be usable from here.
            log << "nested " + r.link.BrdCom(QStringLiteral("R"));
            QTest::qWait(20); // the dialog stays open a while
            dialogOpen = false;
        });

        // The board reset is answered by the notice itself, which then also reaches the dialog.
        log << "reply " + r.link.BrdReset();
        QTest::qWait(0);
        QCOMPARE(log, QStringList({"reply X QM416x-EB ready", "notice Evaluation Board has been RESET !",
                                   "state 2", "nested R"}));
        QCOMPARE(port.commands(), QStringList({"X", "R"}));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardAccessed));

        // A notice is no SPI answer: the exchange waits on for its own line; the notice comes
        // after it, and one arriving during the dialog's exchange reaches the open dialog.
        log.clear();
        port.responder = [&](const QString &c) {
            return QByteArray("[X again\r\n") + (c == QLatin1String("R") ? "[R 1\r\n" : "[S 78 12\r\n");
        };
        QByteArray frame = hex("78 00");
        QVERIFY(r.link.BrdSPI(frame, 2));
        QCOMPARE(frame, hex("78 12"));
        QTRY_COMPARE(log.size(), 5);
        QCOMPARE(log, QStringList({"notice Evaluation Board has been RESET !", "state 2", "nested R 1",
                                   "notice Evaluation Board has been RESET !", "state 2"}));
    }

    void aReplyIsKeptFromTheLinesAroundIt_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("notice");
        QTest::newRow("reply, then a notice") << QByteArray("[S 42 14\r\n[X QM416x-EB ready\r\n") << true;
        QTest::newRow("a notice, then the reply") << QByteArray("[X QM416x-EB ready\r\n[S 42 14\r\n") << true;
        QTest::newRow("reply, then a stray line") << QByteArray("[S 42 14\r\n[E 1\r\n") << false;
    }

    void aReplyIsKeptFromTheLinesAroundIt()
    {
        // A register read whose answer comes with another line; the notice's dialog then reads
        // all registers, each with its own answer (an idle chip: all zeros).
        QFETCH(QByteArray, answer);
        QFETCH(bool, notice);
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = [&](const QString &c) {
            return c == QLatin1String("S 42 00") ? answer : '[' + c.toLatin1() + "\r\n";
        };
        int readAll = -1;
        connect(&r.link.hooks(), &BoardHooks::ResetNotice, this, [&] { readAll = r.link.RegReadAll(); });
        r.model.setRegister(0x38, false, 0x24);
        QVERIFY(r.link.RegReadOne(0x02));
        QCOMPARE(r.model.Register(0x02), 0x14);
        QTest::qWait(20);
        QCOMPARE(readAll, notice ? 2 + 6 * 8 + 6 : -1);
        QCOMPARE(r.model.Register(0x38), notice ? 0 : 0x24);
        QVERIFY(r.hooks.only({"RunContReadDialog"}).isEmpty());
    }

    void noReplyTimesOutAfterTwoSecondsAndChangesNothing()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.hooks.clear();
        // An exchange started during the wait finds the link Waiting: it gets "" and sends nothing.
        QString nested = QStringLiteral("not run");
        int stateSeen = -1;
        QTimer::singleShot(10, this, [&] {
            stateSeen = r.link.BrdState();
            nested = r.link.BrdLED(0);
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(r.link.BrdCom("R"), QString());
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1950 && elapsed < 4000, qPrintable(QString::number(elapsed)));
        QCOMPARE(stateSeen, int(LinkState::BoardWaiting));
        QCOMPARE(nested, QString());
        QCOMPARE(r.hooks.only({"StatusText"}), QStringList({"StatusText(\"Board TimeOut\")"}));

        // The link is usable again at once.
        port.responder = always("[S 41 F0\r\n");
        QByteArray frame = hex("41 00");
        QVERIFY(r.link.BrdSPI(frame, 2));
        // Line noise only: the exchanges time out rather than take the last answer again; the
        // frame and the model keep their values.
        port.responder = always("\r\r");
        r.link.BrdTimeOut().setInterval(30);
        frame = hex("78 00 00");
        QVERIFY(!r.link.BrdSPI(frame, 3));
        QCOMPARE(frame, hex("78 00 00"));
        QCOMPARE(r.link.statusText(), QStringLiteral("Board TimeOut"));
        r.model.setRegister(0x2B, false, 0x0D);
        r.model.setRegister(0x13, false, 0x812345);
        SignalRecorder model(&r.model);
        QVERIFY(!r.link.RegReadOne(0x2B));
        QVERIFY(!r.link.RegReadOne(0x13));
        QCOMPARE(r.model.Register(0x2B), 0x0D);
        QCOMPARE(r.model.Register(0x13), 0x812345);
        QVERIFY(model.events().isEmpty());
        QCOMPARE(port.commands(), QStringList({"R", "S 41 00", "S 78 00 00", "S 6B 00", "S 53 00 00 00"}));

        // What an exchange that timed out left behind is dropped: the end of its line, arriving
        // after the next command went out, does not answer that command.
        port.responder = always("[S 42 14");
        QCOMPARE(r.link.BrdCom("S 42 00"), QString());
        port.responder = always("\r\n[S 78 05\r\n");
        QCOMPARE(r.link.BrdCom("S 78 00"), QStringLiteral("S 78 05"));
    }

    void brdStateSetterRules()
    {
        BoardRig r; // never opened: Disabled
        QCOMPARE(r.link.BrdTimeOut().interval(), 2000);
        // The time-out runs exactly while the requested value is Waiting.
        const auto step = [&](int value, int stored, const char *status) {
            if (QTest::currentTestFailed())
                return; // report the first wrong step only
            r.link.setBrdState(value);
            QCOMPARE(r.link.BrdState(), stored);
            QCOMPARE(r.link.statusText(), QString::fromLatin1(status));
            QCOMPARE(r.link.BrdTimeOut().isActive(), value == LinkState::BoardWaiting);
        };
        step(2, 0, ""); // a disabled link only becomes Idle
        step(5, 0, "");
        step(8, 0, "");
        step(1, 1, "Board Idle");
        step(8, 1, "Board Idle"); // Escape only from Request or Answer
        step(2, 2, "Board Accessed");
        step(8, 2, "Board Accessed");
        step(3, 3, "Board Accessed"); // Waiting and Replied show nothing
        step(3, 3, "Board Accessed");
        step(4, 4, "Board Accessed");
        step(5, 1, "Board TimeOut"); // shown, and the link is Idle at once
        step(1, 1, "Board TimeOut"); // unchanged: the panel keeps it
        step(6, 6, "Board Request");
        r.link.BrdTimeOut().start(); // the continuous read arms it itself when cancelling
        step(6, 6, "Board Request"); // unchanged, but not Waiting: the timer stops
        step(8, 8, "Board Request");
        step(7, 7, "Board Answer");
        step(8, 8, "Board Answer");
        step(0, 0, "Board Disabled");
        QCOMPARE(r.hooks.only({"StatusText"}),
                 QStringList({"StatusText(\"Board Idle\")", "StatusText(\"Board Accessed\")",
                              "StatusText(\"Board TimeOut\")", "StatusText(\"Board Request\")",
                              "StatusText(\"Board Answer\")", "StatusText(\"Board Disabled\")"}));
    }

    void openingAndClosingThePort()
    {
        BoardRig r;
        r.ports.configure = [](FakeSerialPort &p) {
            p.openError = QStringLiteral("No such file or directory");
        };
        QVERIFY(!r.link.ComOpen(QStringLiteral("Com3")));
        QVERIFY(!r.link.ComOpen(QStringLiteral("/dev/ttyUSB7")));
        QVERIFY(!r.link.ComOpen(4));
        QCOMPARE(r.dialogs.texts(),
                 QStringList({"Com 3 Can't be opend - No such file or directory",
                              "Com /dev/ttyUSB7 Can't be opend - No such file or directory",
                              "Com 4 Can't be opend - No such file or directory"}));
        QCOMPARE(r.ports.last()->portName(), QStringLiteral("Com4"));
        r.verifyClosed();

        r.ports.configure = nullptr;
        r.hooks.clear();
        FakeSerialPort &first = r.open();
        QVERIFY(first.isOpen());
        QCOMPARE(r.link.BrdState(), 1);
        QCOMPARE(r.link.UpdateState(), 1);
        QCOMPARE(r.hooks.only({"StatusText"}), QStringList({"StatusText(\"Board Idle\")"}));
        QVERIFY(r.link.TimerRegularUpdate().isActive());
        QCOMPARE(r.link.TimerRegularUpdate().interval(), 1000);

        // Opening another port closes the first.
        QVERIFY(r.link.ComOpen(QStringLiteral("Com2")));
        QVERIFY(!first.isOpen());

        r.link.ComClose();
        r.verifyClosed();
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Disabled"));
        QCOMPARE(r.link.BrdCom("R"), QString());
        QVERIFY(r.ports.last()->written.isEmpty());
        QCOMPARE(r.dialogs.boxes.size(), 3);
    }

    void spiFramesAndRegisterWrites()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 78 12 34\r\n");
        QByteArray frame = hex("78 00 00");
        QVERIFY(r.link.BrdSPI(frame, 3));
        QCOMPARE(frame, hex("78 12 34"));
        QCOMPARE(port.written, QByteArray("[S 78 00 00\r"));
        // Replies that are not a whole SPI answer leave the frame alone.
        for (const char *bad :
             {"[S 78 1\r", "[S 78 ZZ 34\r", "[E UNKNOWN\r", "[S 78-12-34\r", "[S +1 -2 34\r"}) {
            port.responder = always(bad);
            frame = hex("78 00 00");
            QVERIFY2(!r.link.BrdSPI(frame, 3), bad);
            QCOMPARE(frame, hex("78 00 00"));
        }

        port.responder = echo;
        port.written.clear();
        r.model.setRegister(0x10, false, 0xABCDEF); // 24 bits: communications byte, then MSB first
        r.model.setRegister(0x05, false, 0x1234);   // the second checksum byte always goes as zero
        r.model.setRegister(0x3B, false, 0x51);
        r.model.setRegister(0x01, false, 0x1F0); // wider than the register: low byte only
        for (int address : {0x10, 0x05, 0x3B, 0x01})
            QVERIFY(r.link.RegWriteOne(address));
        QCOMPARE(port.commands(), QStringList({"S 10 AB CD EF", "S 05 12 00", "S 3B 51", "S 01 F0"}));
    }

    void registerReadsAndTheStatusThatDumpBrings()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        SignalRecorder model(&r.model);
        const struct
        {
            int mode, address;
            const char *sent, *answer;
            QList<QPair<int, int>> values;
        } reads[] = {
            {0x00, 0x18, "S 58 00 00 00", "[S 58 1A 2B 3C\r", {{0x18, 0x1A2B3C}}},
            {0x00, 0x3A, "S 78 00", "[S 7A 06\r", {{0x38, 0x06}}}, // mode, through its channel address
            // With dump the status comes in front of the data, for a data or a status read.
            {0x08, 0x0A, "S 4A 00 00 00", "[S 4A 48 12 34\r", {{0x22, 0x48}, {0x0A, 0x1234}}},
            {0x08, 0x22, "S 62 00 00 00", "[S 62 4C 56 78\r", {{0x22, 0x4C}, {0x0A, 0x5678}}},
            {0x0A, 0x0F, "S 4F 00 00 00 00", "[S 4F E8 AB CD EF\r", {{0x27, 0xE8}, {0x0F, 0xABCDEF}}},
        };
        for (const auto &c : reads) {
            r.model.setRegister(0x38, false, c.mode);
            port.responder = always(c.answer);
            QVERIFY(r.link.RegReadOne(c.address));
            QCOMPARE(port.commands().last(), QString::fromLatin1(c.sent));
            for (const auto &[address, value] : c.values)
                QCOMPARE(r.model.Register(address), value);
        }
        QVERIFY(!model.names().contains("RegisterSend")); // read values are never written back
    }

    void continuousReadModeBlocksDataAndStatusReads()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 68 05\r\n");
        r.model.setRegister(0x38, false, 0x24); // continuous conversion with Cont.RD
        QVERIFY(!r.link.RegReadOne(0x25));
        QVERIFY(!r.link.RegReadOne(0x0A));
        QVERIFY(port.written.isEmpty());
        QCOMPARE(r.hooks.only({"RunContReadDialog"}),
                 QStringList({"RunContReadDialog()", "RunContReadDialog()"}));
        QVERIFY(r.link.RegReadOne(0x28));
        QCOMPARE(port.commands(), QStringList({"S 68 00"}));
        QCOMPARE(r.model.Register(0x28), 0x05);
    }

    void aVanishedBoardClosesThePortAndIsReportedOnce()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        QSignalSpy lost(&r.link.hooks(), &BoardHooks::PortLost);
        QTimer::singleShot(20, this, [&] {
            port.vanish();
            port.vanish(); // a real port may report more than once before it is closed
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(r.link.BrdCom("R"), QString());
        QVERIFY(clock.elapsed() < 1000); // not the time-out
        r.verifyClosed();
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Disabled"));
        QVERIFY(lost.wait(1000));
        QCOMPARE(lost.takeFirst().at(0).toString(), QStringLiteral("Com1"));
        QCOMPARE(r.dialogs.texts(),
                 QStringList({"The evaluation board on Com1 has gone away: the port was closed."}));
        QTest::qWait(50);
        QCOMPARE(lost.size(), 0);
        QCOMPARE(r.dialogs.boxes.size(), 1);
        QVERIFY(r.link.ComOpen(QStringLiteral("Com1")));
        QCOMPARE(r.link.BrdState(), 1);

        // Lost and opened again before the report runs: the user hears of it, but the port
        // choice is not reset under the new port.
        r.ports.last()->vanish();
        QVERIFY(r.link.ComOpen(QStringLiteral("Com2")));
        QTest::qWait(20);
        QCOMPARE(r.dialogs.boxes.size(), 2);
        QCOMPARE(lost.size(), 0);
        QVERIFY(r.link.isPortOpen());
    }

    void standInPortsSplitTheirBytes()
    {
        const QByteArray bytes = "[S 01\r\n[X a\r[E 1";
        for (const auto &[split, sizes] : {std::pair{ArrivingBytes::Split::AllWaiting, QList<int>{16}},
                                           {ArrivingBytes::Split::WholeLines, {7, 5, 4}},
                                           {ArrivingBytes::Split::OneByte, QList<int>(16, 1)}}) {
            FakeSerialPort port;
            port.open(QStringLiteral("Com1"));
            port.setSplit(split);
            QList<int> seen;
            connect(&port, &SerialPort::received, this, [&] { seen << port.read(100).size(); });
            port.injectLater(bytes.left(10));
            port.injectLater(bytes.mid(10));
            QTRY_COMPARE(seen, sizes);
        }
    }
};

QTEST_GUILESS_MAIN(TestBoardLink)
#include "tst_board_link.moc"
