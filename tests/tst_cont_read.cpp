// The continuous read: the request, the answer, the stream of records and the closing
// exchange, on a port that plays the board byte by byte and on the simulated board; what
// the store holds afterwards; the amount limits of the dialog.

#include "BoardRig.h"
#include "ReceiveSplit.h"
#include "board/Acquisition.h"
#include "board/ContReadCounts.h"
#include "data/ClassData.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
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

class TestContRead : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every case with each way the line may split the bytes it delivers.
    void initTestCase_data() { addReceiveSplitRows(); }
    void init() { useReceiveSplitRow(); }

    // Against a port that answers the request with exact bytes, through the data window's Read.
    void readData_data()
    {
        QTest::addColumn<bool>("rdyFn");
        QTest::addColumn<QByteArray>("board");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("message");

        const QByteArray c800 = "[C 0320\r" + records(200) + "\r\n";
        const QStringList closing{"C 38 26 48 04 00C8", "S 80", "S 38 22"};
        const QStringList escaped{"C 38 26 48 04 00C8", "*", "S 80", "S 38 22"};
        const QString kept = QStringLiteral(" The data held before are kept.");
        QTest::newRow("any channel ready") << false << c800 << 200 << closing << QString();
        QTest::newRow("all channels ready")
            << true << c800 << 200 << QStringList{"C 38 26 48 08 0064", "S 80", "S 38 22"} << QString();
        // 802 bytes: 200 whole records, then two bytes of a part record and the closing bytes.
        QTest::newRow("part record") << false << "[C 0322\r" + records(200) + "\x20\x80\r\n"
                                     << 200 << closing << QString();
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

    void readData()
    {
        QFETCH(bool, rdyFn);
        QFETCH(QByteArray, board);
        BoardRig rig;
        twoChannels(rig.model, rdyFn);
        FakeSerialPort &port = rig.open();
        port.responder = [&](const QString &command) -> QByteArray {
            if (command.startsWith(QLatin1String("C ")))
                return board;
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

        const std::optional<ContReadResult> result = acquisition.ReadData();

        QTEST(result->records, "records");
        QTEST(port.commands(), "commands");
        QTEST(rig.dialogs.texts().join(QString()), "message");
        const bool done = result->completed();
        QCOMPARE(store.DataCount(0), done ? 100 : 0);
        QCOMPARE(store.DataCount(1), done ? 100 : 0);
        QCOMPARE(store.DataCount(3), done ? 0 : 5);
        QCOMPARE(storeEvents.names(),
                 done ? QStringList({"DataCleared", "DataChanged"}) : QStringList{"DataChanged"});
        if (done)
            QCOMPARE(store.ChannelTime(1), 394.69); // as the setup window's row shows it
        QCOMPARE(rig.model.Register(0x38), 0x22);   // continuous conversion, continuous read off
        QCOMPARE(rig.link.BrdState(), int(LinkState::BoardAccessed));
        QCOMPARE(port.receiveThreshold(), 1);
    }

    // The simulated board, unpaced: a full acquisition, a cancel in each phase, the port lost.
    void simulatedBoard_data()
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
        QTest::newRow("cancel in request")
            << "request" << int(ContReadResult::Cancelled) << QStringList{request, "*", answer, "S 80"}
            << QStringList{"6", "8", "3", "4", "2"};
        QTest::newRow("cancel in transfer")
            << "transfer" << int(ContReadResult::Cancelled) << QStringList{request, answer, "*", "S 80"}
            << QStringList{"6", "7", "8", "3", "4", "2"};
        QTest::newRow("board unplugged") << "unplug" << int(ContReadResult::Lost)
                                         << QStringList{request, answer} << QStringList{"6", "7", "0"};
    }

    void simulatedBoard()
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

        const ContReadResult result = rig.link.BrdContRead(4096, store);
        QCoreApplication::processEvents(); // a lost port is reported on the next event

        QTEST(int(result.outcome), "outcome");
        QTEST(commands, "commands");
        QTEST(states, "states");
        QCOMPARE(store.DataCount(0), result.completed() ? 4096 : 0);
        QCOMPARE(store.DataCount(1), result.completed() ? 4096 : 0);
        QCOMPARE(store.DataCount(3), result.completed() ? 0 : 5);
        // The board has stopped and the chip has left continuous-read mode, unless the board
        // went away in the middle.
        const bool unplugged = action == QLatin1String("unplug");
        QVERIFY(unplugged || !board.streaming());
        QCOMPARE(board.converter().continuousRead(), unplugged);
    }

    void notReady()
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

    void counts_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("amount");
        QTest::addColumn<int>("limited");
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("one 16-bit channel, 20000")
            << 1 << 2 << 20000 << 8192 << QStringList{"1 channel enabled", "Samples 8192", "Bytes 24576", ""};
        QTest::newRow("eight 24-bit channels, 20000")
            << 8 << 3 << 20000 << 1024
            << QStringList{"8 channels enabled", "Samples 8192", "Bytes 32768", ""};
        // 32768 / 3 / 3 = 3640.9: one more would not fit the board's memory.
        QTest::newRow("three 16-bit channels, 20000")
            << 3 << 2 << 20000 << 3640
            << QStringList{"3 channels enabled", "Samples 10920", "Bytes 32760", ""};
        QTest::newRow("amount 1") << 2 << 3 << 1 << 3
                                  << QStringList{"2 channels enabled", "Samples 6", "Bytes 24", ""};
        QTest::newRow("no channel") << 0 << 3 << 100 << 100
                                    << QStringList{"No channel enabled", "", "", "Configure some channel"};
    }

    void counts()
    {
        QFETCH(int, channels);
        QFETCH(int, width);
        QFETCH(int, amount);
        const ContReadCounts c = ContReadCounts::refresh(channels, width, amount, 32768, 3);
        QTEST(c.amount, "limited");
        QTEST(QStringList({c.channelsText, c.samplesText, c.bytesText, c.statusText}), "texts");
        QCOMPARE(c.enabled, channels > 0);
    }
};

QTEST_GUILESS_MAIN(TestContRead)
#include "tst_cont_read.moc"
