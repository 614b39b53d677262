// The board link on stand-in ports: reply lines and reset notices, the link states, register
// frames, the automatic register traffic (answered by the simulated board's firmware), and
// the continuous read (on a port that plays the board and on the simulated board). Every
// test runs with each way a line may split the bytes it delivers.

#include "FirmwareRig.h"
#include "ReceiveSplit.h"
#include "board/Acquisition.h"
#include "board/ContReadCounts.h"
#include "board/LiveCapture.h"
#include "data/ClassData.h"
#include "model/HexText.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

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

// The link on a fake port with the simulated board's firmware answering every frame.
struct SyncRig : FirmwareRig
{
    SignalRecorder updates{&link.registerSync()};

    explicit SyncRig(int variant = 8)
        : FirmwareRig(variant)
    {
        updates.clear();
    }

    // The register accesses sent so far: "w28" for a write of 28h, "r38" for a read of 38h.
    QStringList accesses() const
    {
        QStringList list;
        for (const QString &c : port.commands()) {
            const int comm = c.mid(2, 2).toInt(nullptr, 16);
            list << QString(QLatin1Char((comm & 0x40) ? 'r' : 'w')) + HexPad(comm & 0x3F, 2);
        }
        return list;
    }

    QStringList accessesOf(const std::function<void()> &operation)
    {
        port.written.clear();
        operation();
        return accesses();
    }

    void chipMode(int value) { firmware.execute("S 38 " + HexPad(value, 2).toLatin1(), false); }
};

// Accesses as SyncRig::accesses() lists them: kind 'r' or 'w', then the addresses.
QStringList ops(char kind, const QList<int> &addresses)
{
    QStringList list;
    for (int a : addresses)
        list << QLatin1Char(kind) + HexPad(a, 2);
    return list;
}

QStringList states(const QList<int> &values)
{
    QStringList list;
    for (int v : values)
        list << QStringLiteral("UpdateStateChanged(%1)").arg(v);
    return list;
}

// n records of 24-bit data for channels 0 and 1 in turn.
QByteArray records(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += QByteArray(1, char((i % 2) << 5)) + QByteArray("\x80\x00", 2) + char(i);
    return bytes;
}

// A store holding earlier data: five samples in channel 3.
void fillEarlier(ClassData &store)
{
    store.setDataWidth(3);
    for (int i = 0; i < 5; ++i)
        store.AddData(3, 0x800000 + i);
    store.Process();
}

// Channels 0 and 1 enabled with 24-bit data, in the model (and on the chip after a write-all).
void twoChannels(QM4168 &model, bool rdyFn)
{
    model.setEnable(0, true);
    model.setEnable(1, true);
    model.setDataWidth(3);
    model.setRdyFn(rdyFn);
}
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
        QCOMPARE(r.hooks.only({"ResetNotice"}),
                 QStringList({"ResetNotice(\"Evaluation Board has been RESET !\")"}));
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
        bool first = true;
        port.responder = [&](const QString &c) {
            return c == QLatin1String("S 42 00") && std::exchange(first, false) ? answer
                                                                                : '[' + c.toLatin1() + "\r\n";
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

        // Line noise only: the exchanges time out rather than take the last answer again; the
        // frame and the model keep their values.
        port.responder = always("\r\r");
        r.link.BrdTimeOut().setInterval(30);
        QByteArray frame = hex("78 00 00");
        QVERIFY(!r.link.BrdSPI(frame, 3));
        QCOMPARE(frame, hex("78 00 00"));
        QCOMPARE(r.link.statusText(), QStringLiteral("Board TimeOut"));
        r.model.setRegister(0x2B, false, 0x0D);
        r.model.setRegister(0x13, false, 0x812345);
        SignalRecorder model(&r.model);
        QVERIFY(!r.link.RegReadOne(0x2B));
        QVERIFY(!r.link.RegReadOne(0x13));
        QVERIFY(model.events().isEmpty()); // no register changed
        QCOMPARE(port.commands(), QStringList({"R", "S 78 00 00", "S 6B 00", "S 53 00 00 00"}));

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
        FakeSerialPort &first = r.open();
        QCOMPARE(r.link.BrdState(), 1);
        QCOMPARE(r.hooks.only({"StatusText"}), QStringList({"StatusText(\"Board Idle\")"}));
        QVERIFY(r.link.TimerRegularUpdate().isActive());

        // Opening another port closes the first.
        QVERIFY(r.link.ComOpen(2));
        QCOMPARE(r.ports.last()->portName(), QStringLiteral("Com2"));
        QVERIFY(!first.isOpen());

        r.link.ComClose();
        r.verifyClosed();
        QCOMPARE(r.link.statusText(), QStringLiteral("Board Disabled"));
        QCOMPARE(r.link.BrdCom("R"), QString());
        QVERIFY(r.ports.last()->written.isEmpty());
    }

    void standInLinesSplitTheirBytes()
    {
        // The split column's ways differ: all that has arrived, whole lines, one byte.
        for (const auto &[split, sizes] : {std::pair{ArrivingBytes::Split::AllWaiting, QList<int>{16}},
                                           {ArrivingBytes::Split::WholeLines, {7, 5, 4}},
                                           {ArrivingBytes::Split::OneByte, QList<int>(16, 1)}}) {
            QList<int> seen;
            ArrivingBytes line([&](const QByteArray &batch) { seen << int(batch.size()); });
            line.setSplit(split);
            line.add("[S 01\r\n[X a\r[E 1");
            QTRY_COMPARE(seen, sizes);
        }
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
        r.model.setRegister(0x01, false, 0x1F0);    // wider than the register: low byte only
        for (int address : {0x10, 0x05, 0x01})
            QVERIFY(r.link.RegWriteOne(address));
        QCOMPARE(port.commands(), QStringList({"S 10 AB CD EF", "S 05 12 00", "S 01 F0"}));
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
            {0x00, 0x3A, "S 78 00", "[S 78 06\r", {{0x38, 0x06}}}, // mode, through its channel address
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

    void aVanishedBoardClosesThePortAndIsReportedOnce()
    {
        BoardRig r;
        FakeSerialPort &port = r.open();
        QSignalSpy lost(&r.link.hooks(), &BoardHooks::PortLost);
        QTimer::singleShot(20, this, [&] {
            port.vanish();
            port.vanish(); // a real port may report more than once before it is closed
        });
        QCOMPARE(r.link.BrdCom("R"), QString());
        r.verifyClosed();
        QVERIFY(lost.wait(1000));
        QTest::qWait(50);
        QCOMPARE(lost.size(), 1);
        QCOMPARE(r.dialogs.boxes.size(), 1);
        QVERIFY(r.link.ComOpen(QStringLiteral("Com1")));

        // Lost and opened again before the report runs: the user hears of it, but the port
        // choice is not reset under the new port.
        r.ports.last()->vanish();
        QVERIFY(r.link.ComOpen(QStringLiteral("Com2")));
        QTest::qWait(20);
        QCOMPARE(r.dialogs.boxes.size(), 2);
        QCOMPARE(lost.size(), 1);
        QVERIFY(r.link.isPortOpen());
    }

    void aUserWriteIsReadBackTenMillisecondsLater()
    {
        SyncRig r;
        r.model.setChannel(3);
        QElapsedTimer clock;
        qint64 pendingAt = -1, readingAt = -1;
        connect(&r.link.registerSync(), &RegisterSync::UpdateStateChanged, this, [&](int s) {
            if (s == RegisterSync::UpdReadBackPending)
                pendingAt = clock.elapsed();
            if (s == RegisterSync::UpdUpdating)
                readingAt = clock.elapsed();
        });
        clock.start();
        r.model.setEnable(3, true); // RegisterSend -> user write request
        // A second write before the read-back (state 3) is dropped.
        r.model.setEnable(4, true);
        QCOMPARE(r.accesses(), QStringList({"w2B"}));

        // A spy's event loop, not QTRY's sleeps in steps of 10 ms: the read-back's time is measured.
        QSignalSpy updates(&r.link.registerSync(), &RegisterSync::UpdateStateChanged);
        while (r.link.UpdateState() != RegisterSync::UpdIdle)
            QVERIFY(updates.wait(1000));
        QCOMPARE(r.updates.events(), states({2, 3, 4, 1}));
        QVERIFY2(readingAt - pendingAt >= 9, qPrintable(QString::number(readingAt - pendingAt)));
        QCOMPARE(r.accesses(), ops('w', {0x2B}) +
                                   ops('r', {0x38, 1, 2, 3, 4, 5, 6, 7, 0x0B, 0x13, 0x1B, 0x23, 0x2B, 0x33}));
        QVERIFY(!r.link.TimerAutoUpdate().isActive() && r.link.TimerRegularUpdate().isActive());
        // The chip holds what was written.
    }

    void theSwitchesTurnPartsOfTheTrafficOff()
    {
        SyncRig r;
        r.link.setCheckAutoWriteADC(false);
        r.model.setEnable(1, true);
        QVERIFY(r.port.written.isEmpty());

        r.link.setCheckAutoWriteADC(true);
        r.link.setCheckAutoUpdate(false);
        r.model.setEnable(1, false);
        QCOMPARE(r.updates.events(), states({2, 1}));
        QTest::qWait(40);
        QCOMPARE(r.accesses(), QStringList({"w29"})); // no read-back

        // Register window write button: a write request regardless of the auto-write switch.
        r.link.setCheckAutoWriteADC(false);
        r.model.setRegister(0x31, false, 0x85);
        r.link.RegisterUserWriteReq(0x31);
        r.link.RegisterUserReadReq(0x31);
        QCOMPARE(r.accesses(), QStringList({"w29", "w31", "r31"}));

        // "Read repeatedly" is off: the periodic read comes but reads nothing.
        r.port.written.clear();
        r.link.TimerRegularUpdate().setInterval(5);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        QTRY_VERIFY(r.updates.events().contains("UpdateStateChanged(4)"));
        QVERIFY(r.port.written.isEmpty());
    }

    void whichAccessesAreRecordedAndWhichDropped()
    {
        SyncRig r;
        r.link.setCheckAutoUpdate(false);
        r.link.hooks().Record = [] { return true; };
        r.model.setRegister(0x29, true, 0x0C);
        r.link.RegisterUserReadReq(0x29);
        const QStringList events = r.hooks.only({"Display", "WriteOperation", "ReadOperation"});
        // The code generator hears of an access after the board answered it.
        const int written = events.indexOf("WriteOperation(41)");
        const int read = events.indexOf("ReadOperation(41)");
        QVERIFY(written > events.indexOf("Display(\"\r\")"));
        QVERIFY(read > written && events.mid(written, read - written).contains("Display(\"[S 69 00\r\")"));

        // Bulk transfers and accesses while the continuous-read dialog is open are not recorded.
        r.hooks.clear();
        r.link.RegWriteAll();
        r.link.RegReadChAll(0);
        r.link.setUpdateState(RegisterSync::UpdContRead);
        r.port.written.clear();
        r.link.RegisterUserWriteReq(0x29);
        r.link.RegisterUserReadReq(0x29);
        QCOMPARE(r.accesses(), QStringList({"w29", "r29"}));
        QCOMPARE(r.link.UpdateState(), int(RegisterSync::UpdContRead));
        QVERIFY(r.hooks.only({"WriteOperation", "ReadOperation"}).isEmpty());

        // Closed, or busy with another access: dropped.
        r.port.written.clear();
        for (int state : {0, 2, 3}) {
            r.link.setUpdateState(state);
            r.link.RegisterUserWriteReq(0x29);
            r.link.RegisterUserReadReq(0x29);
        }
        QVERIFY(r.port.written.isEmpty());

        r.link.setUpdateState(RegisterSync::UpdIdle);
        r.link.hooks().Record = [] { return false; };
        r.link.RegisterUserWriteReq(0x29);
        QVERIFY(r.hooks.only({"WriteOperation", "ReadOperation"}).isEmpty());
    }

    void parkedRequestsWaitAtMost101Ticks()
    {
        for (const char kind : {'w', 'r'}) {
            SyncRig r;
            r.link.setCheckAutoUpdate(false);
            ParkedRequest &slot = kind == 'w' ? r.link.TimerUserWrite() : r.link.TimerUserRead();
            const auto request = [&](int address) {
                kind == 'w' ? r.link.RegisterUserWriteReq(address) : r.link.RegisterUserReadReq(address);
            };
            r.link.setUpdateState(RegisterSync::UpdUpdating); // an automatic read is on the wire
            request(0x28);
            request(0x29); // the slot is taken: dropped
            // Address, ticks counted, armed.
            const auto state = [&] {
                return QList<int>{slot.address(), slot.counter(), int(slot.isArmed())};
            };
            QCOMPARE(state(), (QList<int>{0x28, 0, 1}));
            for (int i = 0; i < 100; ++i)
                slot.tick();
            QCOMPARE(state(), (QList<int>{0x28, 100, 1}));
            slot.tick(); // the 101st tick gives up
            QCOMPARE(state(), (QList<int>{0, 0, 0}));
            QVERIFY(r.port.written.isEmpty());

            // Parked again, it runs at the first tick that finds the automatic read over.
            request(0x2A);
            slot.tick();
            QCOMPARE(slot.counter(), 1);
            r.updates.clear();
            r.link.setUpdateState(RegisterSync::UpdIdle);
            QTRY_COMPARE(r.updates.events(), states({1, 2, 1}));
            QCOMPARE(r.accesses(), ops(kind, {0x2A}));
            QCOMPARE(state(), (QList<int>{0, 0, 0}));
        }
    }

    void aWriteDuringThePeriodicReadRunsWhenItEnds()
    {
        SyncRig r(4);
        r.link.setCheckRegularUpdate(true);
        r.link.setCheckAutoUpdate(false);
        r.link.TimerRegularUpdate().setInterval(20);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        bool requested = false;
        connect(&r.link.registerSync(), &RegisterSync::UpdateStateChanged, this, [&](int s) {
            if (s != RegisterSync::UpdUpdating || requested)
                return;
            requested = true;
            r.model.setEnable(0, true); // parked
            r.model.setEnable(1, true); // dropped
            QCOMPARE(r.link.TimerUserWrite().address(), 0x28);
        });
        QTRY_VERIFY(r.accesses().contains("w28"));
        const QStringList periodic = ops('r', {0x38, 1, 4, 0x20, 0x21, 0x22, 0x23, 8, 9, 10, 11});
        QCOMPARE(r.accesses().mid(0, periodic.size() + 1), periodic + QStringList({"w28"}));
        QTest::qWait(30);
        QVERIFY(!r.accesses().contains("w29"));
    }

    void bulkWritesPerVariant()
    {
        for (int variant : {2, 4, 8, 9}) {
            SyncRig r(variant);
            const int m = r.model.MaxChannel();
            QList<int> expected{1, 6, 7};
            for (int ch = 0; ch <= m; ++ch)
                expected << 16 + ch << 24 + ch << 40 + ch << 48 + ch;
            QCOMPARE(r.link.RegWriteAll(), 3 + 4 * (m + 1) + 1);
            QCOMPARE(r.accesses(), ops('w', expected << 56));
            QCOMPARE(r.updates.events(), QStringList()); // bulk transfers leave UpdateState alone
        }
    }

    void bulkReadOrders()
    {
        SyncRig r(4);
        QList<int> all{56, 4};
        for (int base : {48, 40, 32, 24, 16, 8})
            for (int ch = 0; ch <= 3; ++ch)
                all << base + ch;
        all << 5 << 7 << 6 << 3 << 2 << 1;
        QCOMPARE(r.link.RegReadAll(), all.size());
        QCOMPARE(r.accesses(), ops('r', all));
        QCOMPARE(r.accessesOf([&] { r.link.RegReadChAll(2); }),
                 ops('r', {0x38, 1, 2, 3, 4, 5, 6, 7, 0x0A, 0x12, 0x1A, 0x22, 0x2A, 0x32}));
        QCOMPARE(r.accessesOf([&] { r.link.RegReadChState(2); }), ops('r', {0x38, 1, 4, 0x22, 0x0A}));
        QCOMPARE(r.accessesOf([&] { r.link.RegReadState(); }),
                 ops('r', {0x38, 1, 4, 0x20, 0x21, 0x22, 0x23, 8, 9, 10, 11}));

        // With Dump the data read brings the status along: no separate status reads.
        r.chipMode(0x08);
        QCOMPARE(r.accessesOf([&] { r.link.RegReadChState(2); }), ops('r', {0x38, 1, 4, 0x0A}));
        QCOMPARE(r.accessesOf([&] { r.link.RegReadState(); }), ops('r', {0x38, 1, 4, 8, 9, 10, 11}));
        QCOMPARE(r.updates.events(), QStringList());
    }

    void continuousReadModeStopsReads()
    {
        SyncRig r(8);
        r.chipMode(0x24); // continuous conversion with Cont.RD
        QSignalSpy dialog(&r.link.hooks(), &BoardHooks::RunContReadDialog);
        // Bulk reads read the mode first and stop there.
        QCOMPARE(r.link.RegReadAll(), 1);
        QCOMPARE(r.link.RegReadChAll(0), 1);
        QCOMPARE(r.link.RegReadChState(0), 1);
        QCOMPARE(r.link.RegReadState(), 1);
        QCOMPARE(dialog.size(), 4);
        QCOMPARE(r.accesses(), ops('r', {0x38, 0x38, 0x38, 0x38}));
        QVERIFY(r.model.ContRd());
        // With the mode known, a data or status read is not even sent; other registers are read.
        r.port.written.clear();
        QVERIFY(!r.link.RegReadOne(0x25));
        QVERIFY(!r.link.RegReadOne(0x0A));
        QVERIFY(r.link.RegReadOne(0x28));
        QCOMPARE(r.accesses(), ops('r', {0x28}));
        QCOMPARE(dialog.size(), 6);

        // The periodic read meets it as well.
        r.port.written.clear();
        r.link.setCheckRegularUpdate(true);
        r.link.TimerRegularUpdate().setInterval(10);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        QVERIFY(dialog.wait(1000));
        QCOMPARE(r.accesses(), ops('r', {0x38}));
    }

    void bulkTransfersStopWhenTheBoardStopsAnswering_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QList<int>>("silent"); // exchanges (counted from 1) the board leaves unanswered
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("answered");
        QTest::addColumn<QString>("message");
        const QString twice = QStringLiteral("the evaluation board did not answer two registers in a row.");
        // A write not answered stops a write-all at once: what follows builds on it.
        QTest::newRow("write all, board stops")
            << true << QList<int>{6, 7, 8} << 6 << 5
            << "\"Write All Registers\" stopped: register 28h (Channel Setup) was not answered.";
        QTest::newRow("read all, every third lost")
            << false << QList<int>{3, 6, 9, 12} << 9 << 6
            << "\"Read all registers\" stopped: 3 of the last 8 exchanges failed, the last register 36h "
               "(Conversion Time) was not answered.";
        QTest::newRow("read all, board stops")
            << false << QList<int>{6, 7, 8} << 7 << 5 << "\"Read all registers\" stopped: " + twice;
        QTest::newRow("read all, one reply lost") << false << QList<int>{3} << 56 << 55 << QString();
        QTest::newRow("read all, no mode value")
            << false << QList<int>{1} << 1 << 0
            << "\"Read all registers\" stopped: the evaluation board gave no value for the mode register.";
    }

    void bulkTransfersStopWhenTheBoardStopsAnswering()
    {
        QFETCH(bool, write);
        QFETCH(QList<int>, silent);
        QFETCH(int, sent);
        QFETCH(int, answered);
        QFETCH(QString, message);
        SyncRig r;
        r.link.BrdTimeOut().setInterval(30);
        int exchange = 0;
        const FakeSerialPort::Responder board = r.port.responder;
        r.port.responder = [&](const QString &command) {
            return silent.contains(++exchange) ? QByteArray() : board(command);
        };
        // The model's stale continuous-read bit decides nothing when the mode is not read.
        r.model.setRegister(0x38, false, 0x24);
        QCOMPARE(write ? r.link.RegWriteAll() : r.link.RegReadAll(), answered);
        QCOMPARE(r.port.commands().size(), sent);
        QCOMPARE(r.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList({message}));
        QVERIFY(r.hooks.only({"RunContReadDialog"}).isEmpty());
        QCOMPARE(r.link.BrdState(), int(message.isEmpty() ? LinkState::BoardAccessed : LinkState::BoardIdle));
    }

    void closingThePortDuringAnAccessLeavesItClosed()
    {
        SyncRig r;
        r.port.responder = nullptr; // the board does not answer
        QTimer::singleShot(20, this, [&] { r.link.ComClose(); });
        r.model.setEnable(0, true);
        r.verifyClosed();
        QCOMPARE(r.accesses(), QStringList({"w28"}));
    }

    // Against a port that answers the request with exact bytes, through the data window's Read.
    void contReadData_data()
    {
        QTest::addColumn<bool>("rdyFn");
        QTest::addColumn<QByteArray>("board");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("message");

        const QByteArray c800 = "[C 0320\r" + records(200) + "\r\n";
        const QStringList closing{"C 38 26 48 04 00C8", "S 80", "S 38 22"};
        const QStringList escaped{"C 38 26 48 04 00C8", "*", "S 80", "S 38 22"};
        const QStringList allEscaped{"C 38 26 48 08 0064", "*", "S 80", "S 38 22"};
        const QString kept = QStringLiteral(" The data held before are kept.");
        QTest::newRow("any channel ready") << false << c800 << 200 << closing << QString();
        QTest::newRow("all channels ready")
            << true << c800 << 200 << QStringList{"C 38 26 48 08 0064", "S 80", "S 38 22"} << QString();
        // Another count than requested, or records out of the order the ready pin fixes: nothing
        // is kept.
        QTest::newRow("count 802")
            << false << "[C 0322\r" + records(200) + "\x20\x80\r\n"
            << 0 << escaped
            << "The evaluation board announced 802 bytes (answer \"[C 0322\") where 800 were requested." +
                   kept;
        QTest::newRow("order the ready pin fixes") << true << "[C 0320\r" + records(1) + records(199) + "\r\n"
                                                   << 1 << allEscaped
                                                   << "Record 2 of the continuous read (byte 5) names "
                                                      "channel 0, where channel 1 was due; the stream is "
                                                      "damaged." +
                                                          kept;
        // The data are complete; the chip's way out of continuous-read mode is not.
        QTest::newRow("closing exchange answered wrongly")
            << false << "[C 0320\r" + records(200) + "\r\njunk" << 200 << closing
            << "The evaluation board did not answer the closing exchange (\"S 80\"). The chip may still be "
               "in "
               "continuous-read mode. The data read are kept.";
        QTest::newRow("not [C ")
            << false << QByteArray("[E UNKNOWN\r\n") << 0 << closing
            << "The evaluation board refused the continuous read (answer \"[E UNKNO\")." + kept;
        QTest::newRow("no bytes")
            << false << QByteArray("[C 0000\r\r\n") << 0 << closing
            << "The evaluation board refused the continuous read (answer \"[C 0000\")." + kept;
        // No answer at all, with the request limited in time as on the command line.
        QTest::newRow("no answer") << false << QByteArray() << 0 << escaped
                                   << "The evaluation board did not answer the continuous-read request." +
                                          kept;
        // Silent for 2 s after 400 of 800 bytes: stopped, told to stop, line drained.
        QTest::newRow("board falls silent")
            << false << "[C 0320\r" + records(100) << 100 << escaped
            << "The evaluation board stopped sending after 400 of 800 bytes; the transfer was ended." + kept;
    }

    void contReadData()
    {
        QFETCH(bool, rdyFn);
        QFETCH(QByteArray, board);
        BoardRig rig;
        twoChannels(rig.model, rdyFn);
        rig.model.setInStep(); // as if written: nothing pending, nothing asked
        FakeSerialPort &port = rig.open();
        // A board whose bytes end in "junk" answers its closing "S 80" with junk.
        const bool junk = board.endsWith("junk");
        if (junk)
            board.chop(4);
        port.responder = [&](const QString &command) -> QByteArray {
            if (command.startsWith(QLatin1String("C ")))
                return board;
            if (junk && command == QLatin1String("S 80"))
                return "[S 12 34 56 78\r\n";
            if (command.startsWith(QLatin1String("S ")))
                return "[" + command.toLatin1() + "\r\n";
            return {};
        };
        ClassData store;
        fillEarlier(store);
        SignalRecorder storeEvents(&store);
        rig.link.contRead().setRequestTimeOutMs(board.isEmpty() ? 100 : 0);
        Acquisition acquisition(rig.model, store, rig.link, &rig.dialogs,
                                [&] { return std::optional(rig.link.BrdContRead(100, store)); });
        QSignalSpy shown(&acquisition, &Acquisition::ShowData);

        const std::optional<ContReadResult> result = acquisition.ReadData();

        QTEST(result->records, "records");
        QTEST(port.commands(), "commands");
        QTEST(rig.dialogs.texts().join(QString()), "message");
        const bool done = result->completed();
        QCOMPARE((QList<int>{store.DataCount(0), store.DataCount(1), store.DataCount(3)}),
                 (done ? QList<int>{100, 100, 0} : QList<int>{0, 0, 5}));
        // New data take the place of the old without a clear: the open plots stay and redraw.
        QCOMPARE(storeEvents.names(), QStringList{"DataChanged"});
        QCOMPARE(shown.count(), done ? 1 : 0);
        if (done)
            QCOMPARE(store.ChannelTime(1), 394.86); // 2426 clocks with two channels, as the row shows it
        QCOMPARE(rig.model.Register(0x38), 0x22);   // continuous conversion, continuous read off
        QCOMPARE(rig.link.BrdState(), int(LinkState::BoardAccessed));
        QCOMPARE(port.receiveThreshold(), 1);
    }

    // The simulated board, unpaced: a full acquisition, a cancel in each phase, the port lost.
    void contReadOnTheSimulatedBoard_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("states");

        const QString request = QStringLiteral("C 38 26 48 04 2000");
        const QString answer = QStringLiteral("C 8000"); // shown in the monitor
        QTest::newRow("complete") << "" << int(ContReadResult::Completed)
                                  << QStringList{request, answer, "S 80"}
                                  << QStringList{"6", "7", "3", "4", "2"};
        // The answer came after the cancel: the board is told again to stop.
        QTest::newRow("cancel in request")
            << "request" << int(ContReadResult::Cancelled) << QStringList{request, "*", answer, "*", "S 80"}
            << QStringList{"6", "8", "3", "4", "2"};
        QTest::newRow("cancel in transfer")
            << "transfer" << int(ContReadResult::Cancelled) << QStringList{request, answer, "*", "S 80"}
            << QStringList{"6", "7", "8", "3", "4", "2"};
        QTest::newRow("board unplugged") << "unplug" << int(ContReadResult::Lost)
                                         << QStringList{request, answer} << QStringList{"6", "7", "0"};
    }

    void contReadOnTheSimulatedBoard()
    {
        QFETCH(QString, action);
        SimBoard board;
        QPointer<SimulatedSerialPort> sim;
        BoardRig rig(8, [&](const QString &) {
            auto port = std::make_unique<SimulatedSerialPort>(&board);
            applySuiteSplit(port->line());
            sim = port.get();
            return port;
        });
        twoChannels(rig.model, false);
        QVERIFY(rig.link.ComOpen(QStringLiteral("sim")));
        QCOMPARE(rig.link.RegWriteAll(), 36);
        rig.model.setRegister(0x38, false, 0x26);
        QStringList commands;
        connect(&rig.link.hooks(), &BoardHooks::Display, this, [&](const QString &text) {
            if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char('\r')))
                commands << text.mid(1, text.size() - 2);
        });
        QStringList states;
        connect(&rig.link.linkState(), &LinkState::BrdStateChanged, this, [&](int state) {
            states << QString::number(state);
            if (state == LinkState::BoardRequest && action == QLatin1String("request"))
                rig.link.setBrdState(LinkState::BoardEscape);
        });
        // 2 x 4096 records of 4 bytes (the board's whole memory) come in more than one batch.
        connect(&rig.link.contRead(), &ContinuousRead::progress, this, [&](int received, int total) {
            if (received == 0 || received == total)
                return;
            if (action == QLatin1String("transfer"))
                rig.link.setBrdState(LinkState::BoardEscape);
            else if (action == QLatin1String("unplug"))
                sim->unplug();
        });
        ClassData store;
        fillEarlier(store);
        // The live view is handed the records batch by batch, as they arrive.
        LiveCapture &live = rig.link.contRead().live();
        QList<int> arrived;
        connect(&live, &LiveCapture::recordsArrived, this, [&](int records) { arrived << records; });

        const ContReadResult result = rig.link.BrdContRead(4096, store);
        QCoreApplication::processEvents(); // a lost port is reported on the next event

        // Every record the transfer took, in order; the store changed only when all came.
        QVERIFY(!live.running() && std::is_sorted(arrived.begin(), arrived.end()));
        QCOMPARE(arrived.isEmpty(), action == QLatin1String("request"));
        QCOMPARE(live.records(), result.records);
        QCOMPARE(live.data().DataCount(0) + live.data().DataCount(1), result.records);
        if (!arrived.isEmpty())
            QVERIFY(arrived.last() == result.records && result.records > 0);
        if (result.completed())
            QVERIFY(live.data().codes(0) == store.codes(0) && live.data().codes(1) == store.codes(1));

        QTEST(int(result.outcome), "outcome");
        QTEST(commands, "commands");
        QTEST(states, "states");
        QCOMPARE((QList<int>{store.DataCount(0), store.DataCount(1), store.DataCount(3)}),
                 (result.completed() ? QList<int>{4096, 4096, 0} : QList<int>{0, 0, 5}));
        // The board has stopped and the chip has left continuous-read mode, unless the board
        // went away in the middle.
        const bool unplugged = action == QLatin1String("unplug");
        QVERIFY(unplugged || !board.streaming());
        QCOMPARE(board.converter().continuousRead(), unplugged);
    }

    // The simulated board given one fault, as the windows meet it: the data held before stay
    // (unless all records came), the user is told once, the chip is out of continuous-read
    // mode and the board answers again.
    void faultsOfTheSimulatedBoard_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("operation"); // "read" (the data window's), "write-all", "read-all"
        QTest::addColumn<QString>("message");   // how the one message box ends
        const auto row = [](const char *fault, const char *operation, const QString &message) {
            QTest::newRow(fault) << fault << operation << message;
        };
        const QString kept = QStringLiteral(" The data held before are kept.");
        const QString damaged = QStringLiteral(", which is not enabled; the stream is damaged.") + kept;
        const QString writeAll = QStringLiteral("\"Write All Registers\" stopped: register 01h (I/O Port) ");
        const QString announced = QStringLiteral("The evaluation board announced %1 bytes (answer \"[C %2\") "
                                                 "where 800 were requested.") +
                                  kept;
        row("refuse-writes", "write-all", writeAll + "was refused (answer \"E REFUSED\").");
        row("mute-writes", "write-all", writeAll + "was not answered.");
        row("junk-replies", "write-all", writeAll + "was answered wrongly (answer \"S 12 34 56 78\").");
        row("reset-in-writes", "write-all", "), which undid every register written before.");
        row("drop-third", "read-all",
            "\"Read all registers\" stopped: 3 of the last 8 exchanges failed, the last register 36h "
            "(Conversion Time) was not answered.");
        row("foreign-channel", "read", "Record 3 of the continuous read (byte 9) names channel 4" + damaged);
        row("channel-7", "read", "Record 1 of the continuous read (byte 1) names channel 7" + damaged);
        row("random-bytes", "read", damaged);
        row("count-fewer", "read", announced.arg(400).arg("0190"));
        row("count-more", "read", announced.arg(804).arg("0324"));
        row("count-ffff", "read", announced.arg(65535).arg("FFFF"));
        row("reset-in-stream", "read",
            "The evaluation board was reset during the continuous read; its registers are back at their "
            "power-on values." +
                kept);
        // Cancelled at once; the board answers 2.5 s later and streams all the same.
        row("late-answer", "read", "The continuous read was cancelled before any data came." + kept);
        row("mute-close", "read",
            "The evaluation board did not answer the closing exchange (\"S 80\"). The chip may still be in "
            "continuous-read mode. The data read are kept.");
        row("no-closing-bytes", "read",
            "The evaluation board sent all 800 bytes but not the closing bytes; the transfer was ended." +
                kept);
    }

    void faultsOfTheSimulatedBoard()
    {
        QFETCH(QString, fault);
        QFETCH(QString, operation);
        QFETCH(QString, message);
        SimBoard board;
        BoardRig rig(8, [&](const QString &) {
            auto port = std::make_unique<SimulatedSerialPort>(&board);
            applySuiteSplit(port->line());
            return port;
        });
        twoChannels(rig.model, false);
        QVERIFY(rig.link.ComOpen(QStringLiteral("sim")));
        QCOMPARE(rig.link.RegWriteAll(), 36);
        SimFaults faults;
        QVERIFY(faults.set(fault));
        board.setFaults(faults);
        if (fault != QLatin1String("late-answer"))
            rig.link.BrdTimeOut().setInterval(50);
        QStringList commands;
        connect(&rig.link.hooks(), &BoardHooks::Display, this, [&](const QString &text) {
            if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char('\r')))
                commands << text.mid(1, text.size() - 2);
        });
        connect(&rig.link.linkState(), &LinkState::BrdStateChanged, this, [&](int state) {
            if (state == LinkState::BoardRequest && fault == QLatin1String("late-answer"))
                rig.link.setBrdState(LinkState::BoardEscape);
        });
        ClassData store;
        fillEarlier(store);
        Acquisition acquisition(rig.model, store, rig.link, &rig.dialogs,
                                [&] { return std::optional(rig.link.BrdContRead(100, store)); });
        std::optional<ContReadResult> result;
        if (operation == QLatin1String("read"))
            result = acquisition.ReadData();
        else if (operation == QLatin1String("write-all"))
            QVERIFY(rig.link.RegWriteAll() < 36);
        else
            QVERIFY(rig.link.RegReadAll() < 56);
        QTest::qWait(100); // a reset notice goes out once the link is free

        QCOMPARE(rig.dialogs.texts().size(), 1);
        QVERIFY2(rig.dialogs.texts().constFirst().endsWith(message),
                 qPrintable(rig.dialogs.texts().join("|")));
        const bool reset = fault.startsWith(QLatin1String("reset"));
        QCOMPARE(rig.hooks.names().contains("ResetNotice"), reset);
        const bool fresh = result && result->completed();
        QCOMPARE(store.DataCount(3), fresh ? 0 : 5);
        QCOMPARE(store.DataCount(0), fresh ? 100 : 0);
        if (result) {
            // The board was told to stop, and no reply was taken from inside a stream.
            QVERIFY(!board.streaming());
            QCOMPARE(board.converter().continuousRead(), false);
            QCOMPARE(commands.count(QStringLiteral("*")),
                     fault == QLatin1String("late-answer") ? 2 : int(!fresh));
            board.setFaults({});
            QVERIFY(rig.link.RegReadOne(0x38));
            QCOMPARE(rig.model.Register(0x38), 0x22); // continuous conversion, 24-bit data
        }
    }

    // An edit the chip has not been given stays pending until written or read by the user:
    // the automatic reads keep it, and a continuous read asks about it first.
    void pendingEditsAreKeptAndAskedAbout()
    {
        SimBoard board;
        BoardRig rig(8, [&](const QString &) {
            auto port = std::make_unique<SimulatedSerialPort>(&board);
            applySuiteSplit(port->line());
            return port;
        });
        QVERIFY(rig.link.ComOpen(QStringLiteral("sim")));
        rig.link.setCheckAutoUpdate(false);
        rig.model.setEnable(0, true); // written: channel 0 at +-1.25 V
        rig.link.setCheckAutoUpdate(true);
        rig.link.setCheckRegularUpdate(true);
        rig.link.TimerRegularUpdate().setInterval(5);
        SignalRecorder events(&rig.model);
        rig.model.setRegister(0x28, false, 0x0C); // +-2.5 V, in the model only
        rig.model.setRegister(0x01, false, 0xF8); // RDY pin after all channels, likewise
        rig.model.setChop(0, false);              // sent: written, then read back
        QSignalSpy updates(&rig.link.registerSync(), &RegisterSync::UpdateStateChanged);
        while (updates.count(QVariantList{int(RegisterSync::UpdIdle)}) < 2) // read-back, then periodic
            QVERIFY(updates.wait(1000));
        QCOMPARE(
            events.only({"RegisterSend", "PendingChanged"}),
            QStringList({"PendingChanged(40, true)", "PendingChanged(1, true)", "RegisterSend(48, 17, 0)"}));
        QCOMPARE((QList<int>{rig.model.Register(0x28), rig.model.Register(0x01), rig.model.ChipValue(0x28),
                             rig.model.ChipValue(0x01), rig.model.Pending(0x30)}),
                 (QList<int>{0x0C, 0xF8, 0x08, 0xF0, 0}));
        rig.link.setCheckRegularUpdate(false);

        ClassData store;
        Acquisition acquisition(rig.model, store, rig.link, &rig.dialogs,
                                [&] { return std::optional(rig.link.BrdContRead(10, store)); });
        QSignalSpy shown(&acquisition, &Acquisition::ShowData);
        using Answer = UserDialogs::Answer;
        rig.dialogs.choices << Answer::Cancel << Answer::No << Answer::Yes;
        QVERIFY(!acquisition.ReadData()); // Cancel: nothing sent
        QCOMPARE(board.converter().registerValue(0x38), 0x00);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({"The chip has not been given the changes of register 01h, 28h.\n\n"
                              "Yes: write them, then read.\nNo: read with the chip's own "
                              "settings.\nCancel: do not read."}));
        // No: the chip's settings, for the request and the conditions; the edits stay.
        QVERIFY(acquisition.ReadData()->completed());
        QCOMPARE((QList<int>{store.DataCount(0), store.Rng(0), rig.model.Register(0x28),
                             rig.model.Register(0x38), rig.model.Pending(0x38)}),
                 (QList<int>{10, 0, 0x0C, 0x20, 0}));
        // Yes: written first, then read with them.
        QVERIFY(acquisition.ReadData()->completed());
        QCOMPARE((QList<int>{store.DataCount(0), store.Rng(0), board.converter().registerValue(0x28),
                             board.converter().registerValue(0x01), rig.model.AnyPending()}),
                 (QList<int>{10, 4, 0x0C, 0xF8, 0}));
        QCOMPARE(rig.dialogs.boxes.size(), 3);
        QCOMPARE(shown.count(), 2); // each completed read brings the data forward
        // Unwritten after the read ("Auto Write ADC Set" off), the mode is still the chip's.
        rig.link.setCheckAutoUpdate(false);
        QTRY_COMPARE(rig.link.UpdateState(), int(RegisterSync::UpdIdle)); // the read-back is over
        rig.model.setMd(0, 0);
        rig.link.setCheckAutoWriteADC(false);
        QVERIFY(acquisition.ReadData()->completed());
        QVERIFY(!rig.model.AnyPending() && rig.model.Register(0x38) == 0x20);
        // A reset converter holds its power-on image: the set-up is pending again.
        board.pressReset();
        QVERIFY(QSignalSpy(&rig.link.hooks(), &BoardHooks::ResetNotice).wait(1000));
        QCOMPARE((QList<int>{rig.model.Pending(0x28), rig.model.Pending(0x01), rig.model.ChipValue(0x28)}),
                 (QList<int>{1, 1, 0x00}));
    }

    void contReadNeedsAFreeLink()
    {
        BoardRig rig;
        twoChannels(rig.model, false);
        ClassData store;
        QCOMPARE(int(rig.link.BrdContRead(100, store).outcome), int(ContReadResult::LinkClosed));
        FakeSerialPort &port = rig.open();
        rig.link.setBrdState(LinkState::BoardWaiting);
        QCOMPARE(int(rig.link.BrdContRead(100, store).outcome), int(ContReadResult::LinkBusy));
        QCOMPARE(port.written, QByteArray());
    }

    void contReadCounts_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("amount");
        QTest::addColumn<int>("limited");
        QTest::addColumn<QString>("texts"); // the dialog's labels, separated by "|"
        QTest::newRow("one 16-bit channel")
            << 1 << 2 << 20000 << 8192 << "1 channel enabled|Samples 8192|Bytes 24576|";
        // 32768 / 3 / 3 = 3640.9: one more would not fit the board's memory.
        QTest::newRow("three 16-bit channels") << 3 << 2 << 20000 << 3640
                                               << "3 channels enabled|Samples 10920|Bytes 32760|3640 samples "
                                                  "per channel, as many as the board's "
                                                  "memory holds";
        QTest::newRow("amount 1") << 2 << 3 << 1 << 3 << "2 channels enabled|Samples 6|Bytes 24|";
        QTest::newRow("no channel") << 0 << 3 << 100 << 100 << "No channel enabled|||Configure some channel";
    }

    void contReadCounts()
    {
        QFETCH(int, channels);
        QFETCH(int, width);
        QFETCH(int, amount);
        const ContReadCounts c = ContReadCounts::refresh(channels, width, amount, 32768, 3);
        QTEST(c.amount, "limited");
        QTEST(QStringList({c.channelsText, c.samplesText, c.bytesText, c.statusText}).join('|'), "texts");
        QCOMPARE(c.enabled, channels > 0);
    }
};

QTEST_GUILESS_MAIN(TestBoardLink)
#include "tst_board_link.moc"
