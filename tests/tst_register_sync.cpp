#include "FirmwareRig.h"
#include "ReceiveSplit.h"
#include "model/HexText.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {
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
} // namespace

class TestRegisterSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addReceiveSplitRows(); }
    void init() { useReceiveSplitRow(); }

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
        QVERIFY(!r.link.TimerAutoUpdate().isActive());
        QVERIFY(r.link.TimerRegularUpdate().isActive());
        // The chip holds what was written.
        QCOMPARE(r.chip.registerValue(0x2B), 0x08);
        QCOMPARE(r.model.Register(0x02), 0x14); // the read-back brought the revision in
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
        QCOMPARE(r.chip.registerValue(0x31), 0x85);

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
            QCOMPARE(slot.address(), 0x28);
            QVERIFY(slot.isArmed());
            QCOMPARE(slot.timer().interval(), 10);
            for (int i = 0; i < 100; ++i)
                slot.tick();
            QCOMPARE(slot.address(), 0x28);
            QCOMPARE(slot.counter(), 100);
            slot.tick(); // the 101st tick gives up
            QCOMPARE(slot.address(), 0);
            QCOMPARE(slot.counter(), 0);
            QVERIFY(!slot.isArmed());
            QVERIFY(r.port.written.isEmpty());

            // Parked again, it runs at the first tick that finds the automatic read over.
            request(0x2A);
            slot.tick();
            QCOMPARE(slot.counter(), 1);
            r.updates.clear();
            r.link.setUpdateState(RegisterSync::UpdIdle);
            QTRY_COMPARE(r.updates.events(), states({1, 2, 1}));
            QCOMPARE(r.accesses(), ops(kind, {0x2A}));
            QCOMPARE(slot.address(), 0);
            QVERIFY(!slot.isArmed());
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
        QCOMPARE(r.chip.registerValue(0x28), 0x08);
        QCOMPARE(r.chip.registerValue(0x29), 0x00);
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
            // The chip now holds the model's image.
            r.model.setRegister(0x10 + m, false, 0x1FEDCB);
            r.model.setRegister(0x30 + m, false, 0x25);
            r.link.RegWriteAll();
            QCOMPARE(r.chip.registerValue(0x10 + m), 0x1FEDCB);
            QCOMPARE(r.chip.registerValue(0x30 + m), 0x25);
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

    void bulkReadsStopAtContinuousReadMode()
    {
        SyncRig r(8);
        r.chipMode(0x24); // continuous conversion with Cont.RD
        QSignalSpy dialog(&r.link.hooks(), &BoardHooks::RunContReadDialog);
        QCOMPARE(r.link.RegReadAll(), 1);
        QCOMPARE(r.link.RegReadChAll(0), 1);
        QCOMPARE(r.link.RegReadChState(0), 1);
        QCOMPARE(r.link.RegReadState(), 1);
        QCOMPARE(dialog.size(), 4);
        QCOMPARE(r.accesses(), ops('r', {0x38, 0x38, 0x38, 0x38}));
        QVERIFY(r.model.ContRd());

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
        QTest::newRow("write all, board stops")
            << true << QList<int>{6, 7, 8} << 7 << 5 << "\"Write All Registers\" stopped: " + twice;
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
};

QTEST_GUILESS_MAIN(TestRegisterSync)
#include "tst_register_sync.moc"
