#include "BoardRig.h"

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

QByteArray frameOf(std::initializer_list<int> bytes)
{
    QByteArray frame;
    for (int b : bytes)
        frame.append(static_cast<char>(b));
    return frame;
}
} // namespace

class TestBoardLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replyLinesAreCollectedByteByByte()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 00\r");
        r.hooks.clear();

        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 00"));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardAccessed));
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Accessed"));
        QCOMPARE(port.written, QByteArray("[R\r"));
        // The monitor sees the frame sent, then every byte received on its own.
        QCOMPARE(r.hooks.only({"Display"}),
                 QStringList({"Display(\"[R\r\")", "Display(\"[\")", "Display(\"S\")", "Display(\" \")",
                              "Display(\"0\")", "Display(\"0\")", "Display(\"\r\")"}));

        // LF ends the collection; the CR that follows completes the wait with what was there.
        port.responder = always("[S 1\n2 3\r");
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 1"));
        // A second "[" restarts the line; bytes outside a line are dropped.
        port.responder = always("junk[AB[S 12\r");
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 12"));
        port.responder = always("\n\nxyz\n[S 7\r\n");
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 7"));
        QVERIFY(!r.link.InReply());
        // Binary bytes inside a line are kept as they are.
        port.responder = always(QByteArray("[S \x01\xFF\x00!\r", 8));
        QCOMPARE(r.link.BrdCom("R"), QString::fromLatin1("S \x01\xFF\0!", 6));
    }

    void aStrayCarriageReturnDoesNotRepeatTheLastReply()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 41 F0\r\n");
        QByteArray first = frameOf({0x41, 0x00});
        QVERIFY(r.link.BrdSPI(first, 2));
        QCOMPARE(first, frameOf({0x41, 0xF0}));

        // Line noise: a CR and an LF before the real answer. Only the answer completes the wait.
        port.responder = always("\r\n\r[S 42 14\r\n");
        QByteArray second = frameOf({0x42, 0x00});
        QVERIFY(r.link.BrdSPI(second, 2));
        QCOMPARE(second, frameOf({0x42, 0x14}));

        // Noise alone: the exchange times out instead of taking the old answer.
        r.link.BrdTimeOut().setInterval(50);
        port.responder = always("\r\r");
        QByteArray third = frameOf({0x43, 0x00, 0x00, 0x00});
        QVERIFY(!r.link.BrdSPI(third, 4));
        QCOMPARE(third, frameOf({0x43, 0x00, 0x00, 0x00}));
        QCOMPARE(r.link.statusText(), QStringLiteral("Board TimeOut"));

        // After a reset notice, a stray CR does not announce the reset again.
        port.inject("[X QM416x-EB ready\r\n");
        port.inject("\r");
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);
    }

    void aReplyLineThatNeverEndsStaysBounded()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.wholeAnswers = true;
        port.responder = always('[' + QByteArray(200000, 'A'));
        r.link.BrdTimeOut().setInterval(50);

        QCOMPARE(r.link.BrdCom("R"), QString()); // no CR: the time-out ends the wait
        QCOMPARE(r.link.ReplyBuffer().size(), ReplyParser::MaxLineLength);
        QVERIFY(r.link.InReply());
        // The board finally ends the line: the first characters are the reply.
        port.inject("BBB\r");
        QCOMPARE(r.link.ReplyBuffer(), QString(ReplyParser::MaxLineLength, QLatin1Char('A')));
        QVERIFY(!r.link.InReply());
        // The next reply is collected normally.
        port.responder = always("[S 42\r");
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 42"));
    }

    void resetNoticeWhileIdleShowsTheResetDialogOnly()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.hooks.clear();
        port.inject("[X QM416x-EB ready\r\n");
        QCOMPARE(r.hooks.only({"ResetNotice"}),
                 QStringList({"ResetNotice(\"Evaluation Board has been RESET !\")"}));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardIdle));
        QCOMPARE(r.link.ReplyBuffer(), QStringLiteral("X QM416x-EB ready"));
        // A line starting with X but without the blank is not a notice.
        port.inject("[XY\r\n");
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);
    }

    void resetNoticeWhileWaitingComesAfterTheExchangeWithAFreeLink()
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
            dialogOpen = false;
        });

        log << "reply " + r.link.BrdReset();
        QCOMPARE(log, QStringList({"notice Evaluation Board has been RESET !", "state 2", "nested R",
                                   "reply X QM416x-EB ready"}));
        QCOMPARE(port.commands(), QStringList({"X", "R"}));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardAccessed));

        // A notice instead of an SPI answer: the frame is not touched, the notice still comes.
        log.clear();
        port.responder = always("[X again\r\n");
        QByteArray frame = frameOf({0x78, 0x00});
        QVERIFY(!r.link.BrdSPI(frame, 2));
        QCOMPARE(frame, frameOf({0x78, 0x00}));
        // The nested exchange is answered with a notice as well: it reaches the open dialog.
        QCOMPARE(log, QStringList({"notice Evaluation Board has been RESET !", "state 2",
                                   "notice Evaluation Board has been RESET !", "state 2", "nested X again"}));
    }

    void aHeldBackResetNoticeFollowsTheLinkState()
    {
        // Code that waits on its own (the continuous read's closing exchange) sets Waiting
        // itself: the notice comes when it sets the link free, and not at all when it closes.
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.link.setBrdState(LinkState::BoardWaiting);
        port.inject("[X QM416x-EB ready\r\n");
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardReplied));
        QVERIFY(r.hooks.only({"ResetNotice"}).isEmpty());
        r.link.setBrdState(LinkState::BoardAccessed);
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);

        r.link.setBrdState(LinkState::BoardWaiting);
        port.inject("[X QM416x-EB ready\r\n");
        r.link.ComClose();
        QVERIFY(r.link.ComOpen(QStringLiteral("Com1")));
        QCOMPARE(r.hooks.only({"ResetNotice"}).size(), 1);
    }

    void noReplyTimesOutAfterTwoSeconds()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.hooks.clear();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(r.link.BrdCom("R"), QString());
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1950 && elapsed < 4000, qPrintable(QString::number(elapsed)));
        QCOMPARE(r.hooks.only({"StatusText"}), QStringList({"StatusText(\"Board TimeOut\")"}));
        QCOMPARE(r.link.BrdState(), int(LinkState::BoardIdle));
        QVERIFY(!r.link.BrdTimeOut().isActive());
        QCOMPARE(port.commands(), QStringList({"R"}));
        // The link is usable again at once.
        port.responder = always("[S 00\r\n");
        QCOMPARE(r.link.BrdCom("R"), QStringLiteral("S 00"));
    }

    void aTimedOutReadLeavesFrameAndModelAlone()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.link.BrdTimeOut().setInterval(30);
        QByteArray frame = frameOf({0x78, 0x00, 0x00});
        QVERIFY(!r.link.BrdSPI(frame, 3));
        QCOMPARE(frame, frameOf({0x78, 0x00, 0x00}));

        r.model.setRegister(0x2B, false, 0x0D);
        r.model.setRegister(0x13, false, 0x812345);
        SignalRecorder model(&r.model);
        QVERIFY(!r.link.RegReadOne(0x2B));
        QVERIFY(!r.link.RegReadOne(0x13));
        QCOMPARE(r.model.Register(0x2B), 0x0D);
        QCOMPARE(r.model.Register(0x13), 0x812345);
        QVERIFY(model.events().isEmpty());
        QCOMPARE(port.commands(), QStringList({"S 78 00 00", "S 6B 00", "S 53 00 00 00"}));
    }

    void aSecondExchangeDuringAWaitGetsNothing()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = [](const QString &c) { return c == QLatin1String("R") ? QByteArray() : echo(c); };
        r.link.BrdTimeOut().setInterval(100);
        QString nested = QStringLiteral("not run");
        int stateSeen = -1;
        QTimer::singleShot(10, this, [&] {
            stateSeen = r.link.BrdState();
            nested = r.link.BrdLED(0);
        });
        QCOMPARE(r.link.BrdCom("R"), QString());
        QCOMPARE(stateSeen, int(LinkState::BoardWaiting));
        QCOMPARE(nested, QString());
        QCOMPARE(port.commands(), QStringList({"R"}));
    }

    void brdStateSetterRules()
    {
        BoardRig r; // never opened: Disabled
        LinkState &s = r.link.linkState();
        const auto state = [&] { return r.link.BrdState(); };

        r.link.setBrdState(2);
        r.link.setBrdState(5);
        r.link.setBrdState(8);
        QCOMPARE(state(), 0); // a disabled link only becomes Idle
        QVERIFY(r.hooks.only({"StatusText"}).isEmpty());
        r.link.setBrdState(1);
        QCOMPARE(state(), 1);
        r.link.setBrdState(8);
        QCOMPARE(state(), 1); // Escape only from Request or Answer
        r.link.setBrdState(2);
        r.link.setBrdState(8);
        QCOMPARE(state(), 2);

        r.link.setBrdState(3);
        QVERIFY(r.link.BrdTimeOut().isActive());
        QCOMPARE(r.link.BrdTimeOut().interval(), 2000);
        r.link.setBrdState(3);
        QVERIFY(r.link.BrdTimeOut().isActive());
        r.link.setBrdState(4);
        QVERIFY(!r.link.BrdTimeOut().isActive());
        QCOMPARE(s.statusText(), QStringLiteral("Board Accessed")); // Waiting and Replied show nothing

        r.link.setBrdState(5);
        QCOMPARE(state(), 1);
        QCOMPARE(s.statusText(), QStringLiteral("Board TimeOut"));
        r.link.setBrdState(1); // unchanged: the panel keeps "Board TimeOut"
        QCOMPARE(s.statusText(), QStringLiteral("Board TimeOut"));

        r.link.setBrdState(6);
        r.link.BrdTimeOut().start(); // the continuous read arms it itself when cancelling
        r.link.setBrdState(6);       // unchanged value, but not Waiting: the timer stops
        QVERIFY(!r.link.BrdTimeOut().isActive());
        r.link.setBrdState(8);
        QCOMPARE(state(), 8);
        r.link.setBrdState(7);
        r.link.setBrdState(0);
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
        QCOMPARE(r.link.BrdState(), 0);
        QCOMPARE(r.link.UpdateState(), 0);
        QVERIFY(!r.link.TimerRegularUpdate().isActive());

        r.ports.configure = nullptr;
        r.hooks.clear();
        QVERIFY(r.link.ComOpen(QStringLiteral("Com1")));
        FakeSerialPort *first = r.ports.last();
        QVERIFY(first->isOpen());
        QCOMPARE(first->receiveThreshold(), 1);
        QCOMPARE(r.link.BrdState(), 1);
        QCOMPARE(r.link.UpdateState(), 1);
        QCOMPARE(r.hooks.only({"StatusText"}), QStringList({"StatusText(\"Board Idle\")"}));
        QVERIFY(r.link.TimerRegularUpdate().isActive());
        QCOMPARE(r.link.TimerRegularUpdate().interval(), 1000);

        // Opening another port closes the first.
        QVERIFY(r.link.ComOpen(QStringLiteral("Com2")));
        QVERIFY(!first->isOpen());
        QCOMPARE(r.link.portName(), QStringLiteral("Com2"));

        r.link.ComClose();
        QVERIFY(!r.ports.last()->isOpen());
        QCOMPARE(r.link.BrdState(), 0);
        QCOMPARE(r.link.UpdateState(), 0);
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Disabled"));
        QVERIFY(!r.link.TimerRegularUpdate().isActive());
        QCOMPARE(r.link.BrdCom("R"), QString());
        QCOMPARE(r.link.BrdReset(), QString());
        QVERIFY(r.ports.last()->written.isEmpty());
        QCOMPARE(r.dialogs.boxes.size(), 3);
    }

    void boardCommandTexts()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = echo;
        QCOMPARE(r.link.BrdDAC(4095), QStringLiteral("D 0FFF"));
        QCOMPARE(r.link.BrdDAC(0), QStringLiteral("D 0000"));
        QCOMPARE(r.link.BrdDAC(100), QStringLiteral("D 0064"));
        QCOMPARE(r.link.BrdLED(0), QStringLiteral("L 0000"));
        QCOMPARE(r.link.BrdLED(255), QStringLiteral("L 00FF"));
        QCOMPARE(r.link.BrdADCReset(), QStringLiteral("S 00 FF FF FF FF"));
        QCOMPARE(r.link.BrdCheckSRAM(), QStringLiteral("R"));
        port.responder = always("[X QM416x-EB ready\r\n");
        QCOMPARE(r.link.BrdReset(), QStringLiteral("X QM416x-EB ready"));
        QCOMPARE(port.written,
                 QByteArray("[D 0FFF\r[D 0000\r[D 0064\r[L 0000\r[L 00FF\r[S 00 FF FF FF FF\r[R\r[X\r"));
    }

    void spiFramesAndRegisterFrames()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        port.responder = always("[S 78 12 34\r\n");
        QByteArray frame = frameOf({0x78, 0x00, 0x00});
        QVERIFY(r.link.BrdSPI(frame, 3));
        QCOMPARE(frame, frameOf({0x78, 0x12, 0x34}));
        QCOMPARE(port.commands().last(), QStringLiteral("S 78 00 00"));

        // Replies that are not a whole SPI answer leave the frame alone.
        for (const char *bad :
             {"[S 78 1\r", "[S 78 ZZ 34\r", "[E UNKNOWN\r", "[S 78-12-34\r", "[S +1 -2 34\r"}) {
            port.responder = always(bad);
            QByteArray f = frameOf({0x78, 0x00, 0x00});
            QVERIFY2(!r.link.BrdSPI(f, 3), bad);
            QCOMPARE(f, frameOf({0x78, 0x00, 0x00}));
        }

        port.responder = echo;
        port.written.clear();
        r.model.setRegister(0x10, false, 0xABCDEF);
        QVERIFY(r.link.RegWriteOne(0x10)); // 24 bits: communications byte, then MSB first
        r.model.setRegister(0x05, false, 0x1234);
        QVERIFY(r.link.RegWriteOne(0x05)); // the second checksum byte always goes as zero
        r.model.setRegister(0x3B, false, 0x51);
        QVERIFY(r.link.RegWriteOne(0x3B));
        r.model.setRegister(0x01, false, 0x1F0); // wider than the register: low byte only
        QVERIFY(r.link.RegWriteOne(0x01));
        QCOMPARE(port.commands(), QStringList({"S 10 AB CD EF", "S 05 12 00", "S 3B 51", "S 01 F0"}));

        port.written.clear();
        port.responder = [](const QString &c) {
            return c == QLatin1String("S 58 00 00 00") ? QByteArray("[S 58 1A 2B 3C\r\n")
                                                       : QByteArray("[S 7A 06\r\n");
        };
        SignalRecorder model(&r.model);
        QVERIFY(r.link.RegReadOne(0x18));
        QVERIFY(r.link.RegReadOne(0x3A)); // mode, through its channel address
        QCOMPARE(port.commands(), QStringList({"S 58 00 00 00", "S 78 00"}));
        QCOMPARE(r.model.Register(0x18), 0x1A2B3C);
        QCOMPARE(r.model.Register(0x38), 0x06);
        QVERIFY(!model.names().contains("RegisterSend")); // read values are never written back
    }

    void dumpReadsBringTheStatusWithTheData()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        r.model.setRegister(0x38, false, 0x08); // dump, 16-bit data
        port.responder = always("[S 4A 48 12 34\r\n");
        QVERIFY(r.link.RegReadOne(0x0A));
        QCOMPARE(r.model.Register(0x22), 0x48);
        QCOMPARE(r.model.Register(0x0A), 0x1234);
        port.responder = always("[S 62 4C 56 78\r\n");
        QVERIFY(r.link.RegReadOne(0x22)); // a status read with dump is read the same way
        QCOMPARE(r.model.Register(0x22), 0x4C);
        QCOMPARE(r.model.Register(0x0A), 0x5678);

        r.model.setRegister(0x38, false, 0x0A); // dump, 24-bit data
        port.responder = always("[S 4F E8 AB CD EF\r\n");
        QVERIFY(r.link.RegReadOne(0x0F));
        QCOMPARE(r.model.Register(0x27), 0xE8);
        QCOMPARE(r.model.Register(0x0F), 0xABCDEF);
        QCOMPARE(port.commands(), QStringList({"S 4A 00 00 00", "S 62 00 00 00", "S 4F 00 00 00 00"}));
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
        QCOMPARE(r.link.BrdState(), 0);
        QCOMPARE(r.link.UpdateState(), 0);
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Disabled"));
        QVERIFY(!r.link.isPortOpen());
        QVERIFY(!r.link.TimerRegularUpdate().isActive());

        QVERIFY(lost.wait(1000));
        QCOMPARE(lost.takeFirst().at(0).toString(), QStringLiteral("Com1"));
        QCOMPARE(r.dialogs.texts(),
                 QStringList({"The evaluation board on Com1 has gone away: the port was closed."}));
        QTest::qWait(50);
        QCOMPARE(lost.size(), 0);
        QCOMPARE(r.dialogs.boxes.size(), 1);

        // The link can be opened again afterwards.
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
};

QTEST_GUILESS_MAIN(TestBoardLink)
#include "tst_board_link.moc"
