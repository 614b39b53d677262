#include "BoardRig.h"
#include "model/HexText.h"
#include "sim/SimConverter.h"
#include "sim/SimFirmware.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {
// The link on a fake port with the simulated board's firmware answering every frame.
struct SyncRig : BoardRig
{
    SimConverter chip;
    SimFirmware firmware{chip};
    FakeSerialPort &port;
    SignalRecorder updates{&link.registerSync()};

    explicit SyncRig(int variant = 8)
        : BoardRig(variant)
        , chip(variant)
        , port(open())
    {
        port.responder = [this](const QString &command) {
            chip.settle();
            return firmware.execute(command.toLatin1(), false);
        };
        updates.clear();
    }

    // The register accesses sent so far: "w28" for a write of 28h, "r38" for a read of 38h.
    QStringList accesses() const
    {
        QStringList list;
        for (const QString &c : port.commands()) {
            if (!c.startsWith(QLatin1String("S ")))
                continue;
            const int comm = c.mid(2, 2).toInt(nullptr, 16);
            list << QString(QLatin1Char((comm & 0x40) ? 'r' : 'w')) + HexPad(comm & 0x3F, 2);
        }
        return list;
    }

    void chipMode(int value) { firmware.execute("S 38 " + HexPad(value, 2).toLatin1(), false); }
};

QStringList reads(std::initializer_list<int> addresses)
{
    QStringList list;
    for (int a : addresses)
        list << QLatin1Char('r') + HexPad(a, 2);
    return list;
}

QStringList accessList(QChar kind, const QList<int> &addresses)
{
    QStringList list;
    for (int a : addresses)
        list << kind + HexPad(a, 2);
    return list;
}
} // namespace

class TestRegisterSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        // A request during the access itself (state 2) is dropped.
        int stateDuringAccess = -1;
        QTimer::singleShot(0, this, [&] {
            stateDuringAccess = r.link.UpdateState();
            r.link.RegisterUserWriteReq(0x2C);
        });
        clock.start();
        r.model.setEnable(3, true); // RegisterSend -> user write request

        QCOMPARE(stateDuringAccess, int(RegisterSync::UpdUserAccess));
        QCOMPARE(r.link.UpdateState(), int(RegisterSync::UpdReadBackPending));
        QVERIFY(r.link.TimerAutoUpdate().isActive());
        // A second write before the read-back is dropped as well.
        r.model.setEnable(4, true);
        QCOMPARE(r.accesses(), QStringList({"w2B"}));

        QSignalSpy updates(&r.link.registerSync(), &RegisterSync::UpdateStateChanged);
        while (r.link.UpdateState() != RegisterSync::UpdIdle)
            QVERIFY(updates.wait(1000));
        QCOMPARE(r.updates.events(), QStringList({"UpdateStateChanged(2)", "UpdateStateChanged(3)",
                                                  "UpdateStateChanged(4)", "UpdateStateChanged(1)"}));
        QVERIFY2(readingAt - pendingAt >= 9, qPrintable(QString::number(readingAt - pendingAt)));
        QCOMPARE(r.accesses(), QStringList({"w2B"}) +
                                   reads({0x38, 1, 2, 3, 4, 5, 6, 7, 0x0B, 0x13, 0x1B, 0x23, 0x2B, 0x33}));
        QVERIFY(!r.link.TimerAutoUpdate().isActive());
        QVERIFY(r.link.TimerRegularUpdate().isActive());
        // The chip holds what was written; channel 4's enable never reached it.
        QCOMPARE(r.chip.registerValue(0x2B), 0x08);
        QCOMPARE(r.chip.registerValue(0x2C), 0x00);
        QCOMPARE(r.model.Register(0x02), 0x14); // the read-back brought the revision in
    }

    void theSwitchesTurnPartsOfTheTrafficOff()
    {
        SyncRig r;
        r.link.setCheckAutoWriteADC(false);
        r.model.setEnable(1, true);
        QVERIFY(r.port.written.isEmpty());
        QCOMPARE(r.link.UpdateState(), int(RegisterSync::UpdIdle));

        r.link.setCheckAutoWriteADC(true);
        r.link.setCheckAutoUpdate(false);
        r.model.setEnable(1, false);
        QCOMPARE(r.updates.events(), QStringList({"UpdateStateChanged(2)", "UpdateStateChanged(1)"}));
        QTest::qWait(40);
        QCOMPARE(r.accesses(), QStringList({"w29"})); // no read-back

        // Register window write button: a write request regardless of the auto-write switch.
        r.link.setCheckAutoWriteADC(false);
        r.model.setRegister(0x31, false, 0x85);
        r.link.RegisterUserWriteReq(0x31);
        r.link.RegisterUserReadReq(0x31);
        QCOMPARE(r.accesses(), QStringList({"w29", "w31", "r31"}));
        QCOMPARE(r.chip.registerValue(0x31), 0x85);
        QVERIFY(!r.link.CheckAutoWriteReg()); // off until the board window says otherwise
    }

    void recordedAccessesAndWhoIsRecorded()
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
        SyncRig r;
        r.link.setUpdateState(RegisterSync::UpdUpdating); // an automatic read is on the wire
        ParkedRequest &write = r.link.TimerUserWrite();
        r.link.RegisterUserWriteReq(0x28);
        r.link.RegisterUserWriteReq(0x29); // the slot is taken: dropped
        QCOMPARE(write.address(), 0x28);
        QVERIFY(write.isArmed());
        QCOMPARE(write.timer().interval(), 10);
        QVERIFY(r.port.written.isEmpty());

        for (int i = 0; i < 100; ++i)
            write.tick();
        QCOMPARE(write.address(), 0x28);
        QCOMPARE(write.counter(), 100);
        write.tick(); // the 101st tick gives up
        QCOMPARE(write.address(), 0);
        QCOMPARE(write.counter(), 0);
        QVERIFY(!write.isArmed());
        QVERIFY(r.port.written.isEmpty());

        // Parked again, it runs at the first tick that finds the automatic read over.
        r.link.setCheckAutoUpdate(false);
        r.link.RegisterUserWriteReq(0x2A);
        write.tick();
        QCOMPARE(write.counter(), 1);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        QSignalSpy updates(&r.link.registerSync(), &RegisterSync::UpdateStateChanged);
        QVERIFY(updates.wait(1000));
        QCOMPARE(r.accesses(), QStringList({"w2A"}));
        QCOMPARE(r.updates.events().mid(1),
                 QStringList({"UpdateStateChanged(1)", "UpdateStateChanged(2)", "UpdateStateChanged(1)"}));
        QCOMPARE(write.address(), 0);
        QVERIFY(!write.isArmed());

        // The read slot works the same way.
        ParkedRequest &read = r.link.TimerUserRead();
        r.link.setUpdateState(RegisterSync::UpdUpdating);
        r.link.RegisterUserReadReq(0x32);
        r.link.RegisterUserReadReq(0x33);
        QCOMPARE(read.address(), 0x32);
        QVERIFY(read.isArmed());
        for (int i = 0; i <= ParkedRequest::TickLimit; ++i)
            read.tick();
        QVERIFY(!read.isArmed());
        r.link.RegisterUserReadReq(0x33);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        QVERIFY(updates.wait(1000));
        while (r.link.UpdateState() != RegisterSync::UpdIdle)
            QVERIFY(updates.wait(1000));
        QCOMPARE(r.accesses(), QStringList({"w2A", "r33"}));
        QCOMPARE(read.address(), 0);
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
        QSignalSpy updates(&r.link.registerSync(), &RegisterSync::UpdateStateChanged);
        while (!r.accesses().contains("w28"))
            QVERIFY(updates.wait(1000));
        const QStringList periodic = reads({0x38, 1, 4, 0x20, 0x21, 0x22, 0x23, 8, 9, 10, 11});
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
            expected << 56;
            QCOMPARE(r.link.RegWriteAll(), 3 + 4 * (m + 1) + 1);
            QCOMPARE(r.accesses(), accessList('w', expected));
            QCOMPARE(r.updates.events(), QStringList()); // bulk transfers leave UpdateState alone
        }
        // The chip now holds the model's image.
        SyncRig r(8);
        r.model.setRegister(0x33, false, 0x25);
        r.model.setRegister(0x1D, false, 0x1FEDCB);
        r.link.RegWriteAll();
        QCOMPARE(r.chip.registerValue(0x33), 0x25);
        QCOMPARE(r.chip.registerValue(0x1D), 0x1FEDCB);
        QCOMPARE(r.chip.registerValue(0x01), 0xF0);
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
        QCOMPARE(r.accesses(), accessList('r', all));

        const auto run = [&](auto operation) {
            r.port.written.clear();
            operation();
            return r.accesses();
        };
        QCOMPARE(run([&] { r.link.RegReadChAll(2); }),
                 reads({0x38, 1, 2, 3, 4, 5, 6, 7, 0x0A, 0x12, 0x1A, 0x22, 0x2A, 0x32}));
        QCOMPARE(run([&] { r.link.RegReadChState(2); }), reads({0x38, 1, 4, 0x22, 0x0A}));
        QCOMPARE(run([&] { r.link.RegReadState(); }),
                 reads({0x38, 1, 4, 0x20, 0x21, 0x22, 0x23, 8, 9, 10, 11}));

        // With Dump the data read brings the status along: no separate status reads.
        r.chipMode(0x08);
        QCOMPARE(run([&] { r.link.RegReadChState(2); }), reads({0x38, 1, 4, 0x0A}));
        QCOMPARE(r.port.commands().last(), QStringLiteral("S 4A 00 00 00"));
        QCOMPARE(run([&] { r.link.RegReadState(); }), reads({0x38, 1, 4, 8, 9, 10, 11}));
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
        QCOMPARE(r.accesses(), reads({0x38, 0x38, 0x38, 0x38}));
        QVERIFY(r.model.ContRd());

        // The periodic read meets it as well.
        r.port.written.clear();
        r.link.setCheckRegularUpdate(true);
        r.link.TimerRegularUpdate().setInterval(10);
        r.link.setUpdateState(RegisterSync::UpdIdle);
        QVERIFY(dialog.wait(1000));
        QCOMPARE(r.accesses(), reads({0x38}));
    }

    void closingThePortDuringAnAccessLeavesItClosed()
    {
        SyncRig r;
        r.port.responder = nullptr; // the board does not answer
        QTimer::singleShot(20, this, [&] { r.link.ComClose(); });
        r.model.setEnable(0, true);
        QCOMPARE(r.link.BrdState(), 0);
        QCOMPARE(r.link.UpdateState(), int(RegisterSync::UpdClosed));
        QVERIFY(!r.link.TimerAutoUpdate().isActive());
        QVERIFY(!r.link.TimerRegularUpdate().isActive());
        QCOMPARE(r.accesses(), QStringList({"w28"}));
    }
};

QTEST_GUILESS_MAIN(TestRegisterSync)
#include "tst_register_sync.moc"
