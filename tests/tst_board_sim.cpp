#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {
// Everything the board has to say right now (an unpaced board answers at once).
QByteArray drain(SimBoard &board)
{
    QByteArray all;
    for (QByteArray part = board.takeOutput(1 << 20); !part.isEmpty(); part = board.takeOutput(1 << 20))
        all += part;
    return all;
}

QByteArray ask(SimBoard &board, const QByteArray &command)
{
    board.receive('[' + command + '\r');
    return drain(board);
}

// The board with every channel at a clean DC level (no noise), 0 V until set.
struct QuietBoard : SimBoard
{
    QuietBoard()
    {
        for (int c = 0; c < SimConverter::Channels; ++c)
            level(c, 0.0);
    }

    void level(int channel, double volts)
    {
        SimSignal s;
        s.dc = volts;
        converter().setSignal(channel, s);
    }
};
} // namespace

class TestBoardSim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spiReadsAndWritesRegisters()
    {
        QuietBoard b;
        QCOMPARE(ask(b, "S 13 12 34 56"), QByteArray("[S 13 12 34 56\r\n"));
        QCOMPARE(ask(b, "S 05 AB CD"), QByteArray("[S 05 AB CD\r\n"));
        QCOMPARE(ask(b, "S 45 00 00"), QByteArray("[S 45 AB CD\r\n"));
        // Power-on values of the calibration, conversion time and I/O port registers.
        QCOMPARE(ask(b, "S 59 00 00 00 71 00 41 00 46 00 00 00"),
                 QByteArray("[S 59 20 00 00 71 91 41 F0 46 80 00 00\r\n"));
        // Read-only registers keep their value (revision 14h).
        ask(b, "S 02 FF");
        QCOMPARE(ask(b, "S 42 00"), QByteArray("[S 42 14\r\n"));
        // Several accesses in one frame; the communications register itself takes no data.
        QCOMPARE(ask(b, "S 29 0A 00 69 00"), QByteArray("[S 29 0A 00 69 0A\r\n"));
        // A frame that ends inside a register drops the access; the next frame starts afresh.
        ask(b, "S 13 FF EE");
        QCOMPARE(ask(b, "S 53 00 00 00"), QByteArray("[S 53 12 34 56\r\n"));
        // Mode register at any of its eight addresses.
        ask(b, "S 3D 02");
        QCOMPARE(ask(b, "S 78 00"), QByteArray("[S 78 02\r\n"));
    }

    void conversionsStatusAndDump()
    {
        QuietBoard b;
        b.level(0, 0.625);
        ask(b, "S 28 08");                                       // channel 0 on, +-1.25 V
        ask(b, "S 38 40");                                       // single conversion of channel 0
        QCOMPARE(ask(b, "S 78 00"), QByteArray("[S 78 00\r\n")); // back to idle
        QCOMPARE(ask(b, "S 44 00 60 00"), QByteArray("[S 44 01 60 08\r\n"));
        QCOMPARE(ask(b, "S 48 00 00"), QByteArray("[S 48 C0 00\r\n"));
        QCOMPARE(ask(b, "S 44 00 60 00"), QByteArray("[S 44 00 60 00\r\n")); // reading clears RDY

        // Dump: the status byte comes in front of the data; 24-bit data.
        ask(b, "S 38 4A");
        QCOMPARE(ask(b, "S 48 00 00 00 00"), QByteArray("[S 48 08 C0 00 00\r\n"));
        // Status read with dump set: one byte, the rest of the frame is not an access.
        ask(b, "S 38 4A");
        QCOMPARE(ask(b, "S 60 00 00 00"), QByteArray("[S 60 08 00 00\r\n"));
    }

    void overAndUnderRangeCodes()
    {
        // Over and under range wrap by one full scale (or clamp), as the program's data decode
        // expects them.
        const struct
        {
            int setup;
            double volts;
            bool clamp;
            const char *record; // channel 3's status byte and 24-bit code
        } cases[] = {
            {0x08, -0.3125, false, "6A 60 00 00"}, // negative: sign
            {0x08, 2.0, false, "69 4C CC CD"},     // over range wraps
            {0x08, 2.0, true, "69 FF FF FF"},      // clamped
            {0x08, -2.0, false, "6B B3 33 33"},    // under range wraps
            {0x08, -2.0, true, "6B 00 00 00"},     // clamped
            {0x09, 0.625, false, "68 80 00 00"},   // unipolar
            {0x09, -0.1, false, "6B EB 85 1F"},    // unipolar under range
            {0x0C, 2.0, false, "68 E6 66 66"},     // +-2.5 V range
        };
        for (const auto &c : cases) {
            QuietBoard b;
            b.level(3, c.volts);
            const int mode = 0x40 | 0x0A | (c.clamp ? 0x01 : 0); // single conversion, dump, 24-bit
            ask(b, "S 2B " + QByteArray::number(c.setup, 16));
            ask(b, "S 3B " + QByteArray::number(mode, 16));
            QCOMPARE(ask(b, "S 4B 00 00 00 00"), "[S 4B " + QByteArray(c.record) + "\r\n");
        }
    }

    void calibrationsComplete()
    {
        QuietBoard b;
        b.level(2, 0.01);
        ask(b, "S 2A 08");
        ask(b, "S 3A C0");                                       // zero-scale system calibration of channel 2
        QCOMPARE(ask(b, "S 78 00"), QByteArray("[S 78 00\r\n")); // back to idle
        ask(b, "S 3A 40");
        QCOMPARE(ask(b, "S 4A 00 00"), QByteArray("[S 4A 80 00\r\n")); // the offset is gone

        b.level(2, 1.0);
        ask(b, "S 3A E0"); // full-scale system calibration
        ask(b, "S 3A 42");
        QCOMPARE(ask(b, "S 4A 00 00 00"), QByteArray("[S 4A FF FF FF\r\n")); // now full scale

        // Self calibrations take the converter's own offset and gain error out again.
        b.converter().setAdcError({100.0, 1.01});
        ask(b, "S 38 80");
        ask(b, "S 38 A0");
        ask(b, "S 3A 42");
        QCOMPARE(ask(b, "S 4A 00 00 00"), QByteArray("[S 4A FF FF FF\r\n"));
    }

    void conversionTimesAndSimulatedTime()
    {
        SimConverter chip;
        QCOMPARE(chip.conversionTime(0), 2425 / 6.144);
        chip.writeRegister(0x28, 0x08);
        chip.writeRegister(0x29, 0x08);
        QCOMPARE(chip.conversionTime(0), 2426 / 6.144);
        chip.writeRegister(0x30, 0x03);
        QCOMPARE(chip.conversionTime(0), 400 / 6.144);
        chip.setMclk(4.9152);
        QCOMPARE(chip.conversionTime(1), 2426 / 4.9152);
        SimConverter nine(9);
        QCOMPARE(nine.conversionTime(0), 2439 / 6.144);

        // A single conversion is ready only after its conversion time.
        SimConverter c;
        c.writeRegister(0x28, 0x08);
        c.writeRegister(0x38, 0x40);
        c.advance(300.0);
        QVERIFY(!c.ready(0));
        QCOMPARE(c.md(), 2);
        c.advance(100.0);
        QVERIFY(c.ready(0));
        QCOMPARE(c.md(), 0);
    }

    void idleTimeKeepsTheLatestConversions_data()
    {
        QTest::addColumn<QVector<int>>("channels");
        QTest::addColumn<double>("idle"); // microseconds
        QTest::newRow("one channel, ten seconds") << QVector<int>{2} << 1e7;
        QTest::newRow("all channels, under two rounds") << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7} << 5000.0;
    }

    void idleTimeKeepsTheLatestConversions()
    {
        // A paced board idle between two commands shows what converting all the time would
        // have left: the latest result of each channel, at the time it was converted.
        QFETCH(QVector<int>, channels);
        QFETCH(double, idle);
        SimConverter whole, stepped, year;
        for (SimConverter *c : {&whole, &stepped, &year}) {
            for (int ch : channels) {
                SimSignal s;
                s.sineAmplitude = 1.0;
                s.sineFrequency = 50.0 + ch;
                c->setSignal(ch, s);
                c->writeRegister(0x28 + ch, 0x08);
            }
            c->writeRegister(0x38, 0x22); // continuous conversion, 24 bits
        }
        whole.advance(idle);
        for (double t = 0; t < idle; t += 100.0)
            stepped.advanceConversions(qMin(100.0, idle - t));
        QCOMPARE(whole.time(), stepped.time());
        for (int ch = 0; ch < SimConverter::Channels; ++ch) {
            QCOMPARE(whole.registerValue(0x08 + ch), stepped.registerValue(0x08 + ch));
            QCOMPARE(whole.registerValue(0x20 + ch), stepped.registerValue(0x20 + ch));
        }
        // An idle year costs no more than a second.
        year.advance(3.15e13);
        QCOMPARE(year.time(), 3.15e13);
        for (int ch : channels)
            QVERIFY(year.ready(ch));
    }

    void continuousReadRequestsTheBoardCannotServeWhole()
    {
        QuietBoard b;
        ask(b, "S 28 08");
        ask(b, "S 29 08");
        // A count that is not a whole number of records ends inside the last one.
        const QByteArray out = ask(b, "C 38 2C 48 05 0003");
        QCOMPARE(out.left(8), QByteArray("[C 000F\r"));
        QCOMPARE(out.size(), 8 + 15 + 2);

        QCOMPARE(ask(b, "S 80"), QByteArray("[S 80\r\n")); // the closing exchange

        // Requests the board cannot serve announce 0 bytes (and still close).
        for (const char *bad : {"C 38 2C 48 03", "C 38 2C 48 00 0004", "C 38 2C 48 FF 0100",
                                "C 12 2C 48 03 0004", "C 38 2C 48 03 00G4", "C 38 2C 20 03 0004", "C"})
            QCOMPARE(ask(b, bad), QByteArray("[C 0000\r\r\n"));
    }

    void continuousReadCanBeAbortedOrInterrupted()
    {
        QuietBoard b;
        ask(b, "S 28 08");
        // The converter is left idle: no conversion ever comes.
        QCOMPARE(ask(b, "C 38 04 48 03 0004"), QByteArray("[C 000C\r"));
        QVERIFY(b.streaming());
        QCOMPARE(ask(b, "*"), QByteArray("\r\n"));
        QVERIFY(!b.streaming());
        QCOMPARE(ask(b, "*"), QByteArray()); // nothing to abort

        // A command during a long stream ends it; the command is then answered.
        ask(b, "S 29 08");
        b.receive("[C 38 2E 48 08 1000\r");
        const QByteArray first = b.takeOutput(1000);
        QCOMPARE(first.left(8), QByteArray("[C 8000\r"));
        b.receive("[S 80\r");
        const QByteArray rest = drain(b);
        QVERIFY(rest.endsWith("\r\n[S 80\r\n"));
        QVERIFY(first.size() + rest.size() < 8 + 0x8000);
        QVERIFY(!b.converter().continuousRead());
    }

    void badInputIsAnsweredOrIgnored()
    {
        QuietBoard b;
        b.receive(QByteArray("\x00\xFF\x80\nx\r", 6));
        QCOMPARE(drain(b), QByteArray()); // outside a line
        QCOMPARE(ask(b, QByteArray("\x01\xFEq", 3)), QByteArray("[E UNKNOWN\r\n"));
        QCOMPARE(ask(b, "S ZZ"), QByteArray("[E SYNTAX\r\n"));
        QCOMPARE(ask(b, "S 123"), QByteArray("[E SYNTAX\r\n"));
        QCOMPARE(ask(b, "D 12345"), QByteArray("[E SYNTAX\r\n"));
        QCOMPARE(ask(b, "D"), QByteArray("[E UNKNOWN\r\n"));
        QCOMPARE(ask(b, ""), QByteArray("[E EMPTY\r\n"));
        QCOMPARE(ask(b, QByteArray(1000, 'S')), QByteArray("[E LENGTH\r\n"));
        QCOMPARE(ask(b, '*' + QByteArray(70, ' ') + 'x'), QByteArray("[E LENGTH\r\n"));
        QCOMPARE(ask(b, "R"), QByteArray("[R SRAM 32K OK\r\n"));
        // "[" restarts a line that never ended.
        b.receive("[S 28 0");
        QCOMPARE(ask(b, "S 42 00"), QByteArray("[S 42 14\r\n"));

        // A PC that sends and never reads: the replies waiting are bounded.
        QByteArray flood;
        for (int i = 0; i < 100000; ++i)
            flood += "[R\r";
        b.receive(flood);
        QVERIFY(b.outputWaiting() <= SimBoard::OutputLimit);
        QVERIFY(b.outputWaiting() > SimBoard::OutputLimit - 100);
        b.discardOutput();
        QCOMPARE(ask(b, "R"), QByteArray("[R SRAM 32K OK\r\n"));
    }

    void boardCommandsAndResets()
    {
        QuietBoard b;
        QCOMPARE(ask(b, "D 1FFF"), QByteArray("[D 0FFF\r\n"));
        QCOMPARE(ask(b, "D 64"), QByteArray("[D 0064\r\n"));
        QCOMPARE(ask(b, "L 0000"), QByteArray("[L 0000\r\n"));
        QVERIFY(b.firmware().ledOn());
        QCOMPARE(ask(b, "L 00FF"), QByteArray("[L 00FF\r\n"));
        QVERIFY(!b.firmware().ledOn());

        // 32 one bits reset the converter.
        ask(b, "S 28 0D");
        QCOMPARE(ask(b, "S 00 FF FF FF FF"), QByteArray("[S 00 FF FF FF FF\r\n"));
        QCOMPARE(b.converter().resetCount(), 1);
        QCOMPARE(ask(b, "S 68 00"), QByteArray("[S 68 00\r\n"));
        // 24 ones inside a register write are data, not a reset.
        QCOMPARE(ask(b, "S 13 FF FF FF"), QByteArray("[S 13 FF FF FF\r\n"));
        QCOMPARE(b.converter().resetCount(), 1);

        // Board reset: a reset notice, converter and DAC back to power-on.
        ask(b, "S 28 0D");
        QCOMPARE(ask(b, "X"), QByteArray("[X QM416x-EB ready\r\n"));
        QCOMPARE(b.firmware().boardResets(), 1);
        QCOMPARE(b.firmware().dacCode(), 0);
        QCOMPARE(ask(b, "S 68 00"), QByteArray("[S 68 00\r\n"));
    }

    void pacingHoldsTheLineRate()
    {
        SimBoard b;
        b.setPacing(true);
        SimulatedSerialPort port(&b);
        QVERIFY(port.open(QString::fromLatin1(SimulatedSerialPort::Name)));
        b.converter().writeRegister(0x28, 0x08);
        b.converter().writeRegister(0x30, 0x03); // fastest conversions
        QElapsedTimer clock;
        clock.start();
        port.write("[C 38 26 48 04 0060\r"); // 96 records of 24 bits
        QByteArray all;
        QTRY_VERIFY_WITH_TIMEOUT((all += port.read(port.bytesWaiting())).size() == 8 + 384 + 2, 5000);
        // 38400 baud with 10 bits a byte: 3840 bytes per second, less the short burst the line
        // may catch up.
        QVERIFY2(clock.elapsed() >= (all.size() - 64) * 1000 / 3840,
                 qPrintable(QString::number(clock.elapsed())));
        // Many conversions end between two ticks of the line; each has its own noisy result.
        int repeats = 0;
        for (int i = 1; i < 96; ++i)
            repeats += all.mid(8 + 4 * i, 4) == all.mid(4 + 4 * i, 4);
        QVERIFY2(repeats < 5, qPrintable(QString::number(repeats)));
    }

    void theSimulatedPort()
    {
        SimBoard board;
        SimulatedSerialPort port(&board);
        QVERIFY(!port.write("[R\r")); // not open
        board.pressReset();           // output nobody took before the open is stale
        QVERIFY(port.open(QStringLiteral("Simulated board")));
        QSignalSpy received(&port, &SerialPort::received);
        QVERIFY(port.write("[R\r"));
        QVERIFY(received.wait(1000));
        QCOMPARE(port.read(100), QByteArray("[R SRAM 32K OK\r\n"));
        // Threshold 0: bytes arrive without notification.
        port.setReceiveThreshold(0);
        received.clear();
        port.write("[L 0000\r");
        QTRY_COMPARE(port.bytesWaiting(), 9);
        QCOMPARE(received.size(), 0);
        port.clearInput();

        // The input buffer holds at most 32766 bytes; the rest waits at the board.
        board.converter().writeRegister(0x28, 0x08);
        port.write("[C 38 2E 48 04 2000\r");
        QTRY_COMPARE(port.bytesWaiting(), SerialPort::InputBufferSize);
        QByteArray all = port.read(SerialPort::InputBufferSize);
        QTRY_COMPARE(port.bytesWaiting(), 8 + 0x8000 + 2 - SerialPort::InputBufferSize);

        // Unplugged: closed, and it cannot be opened again.
        port.unplug();
        QVERIFY(!port.isOpen());
        QVERIFY(!port.open(QStringLiteral("Simulated board")));
        QCOMPARE(port.errorString(), QStringLiteral("No such file or directory"));
    }
};

QTEST_GUILESS_MAIN(TestBoardSim)
#include "tst_board_sim.moc"
