// Settings files: the exact text written, reading back in any order, refused files, and the
// File menu's commands against the simulated board.

#include "BoardRig.h"
#include "app/SettingsFile.h"
#include "app/SettingsFileCommands.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

namespace {

SettingsReadResult readText(const QByteArray &text, QM4168 &model)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadSettingsFile(buffer, model);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void powerOnImageOfTheQM4168()
    {
        BoardRig rig(8);
        QByteArray expected = "QM4168\r\n\r\n I/O Port Register\r\nRegister: 1,F0\r\n"
                              "\r\nADC ZS Calibration\r\nRegister: 6,800000\r\n"
                              "\r\nADC FS Calibration\r\nRegister: 7,800000\r\n";
        // Per channel: title, first address, value.
        const std::tuple<const char *, int, const char *> sections[] = {
            {"Channel ZS Calibration", 0x10, "800000"},
            {"Channel FS Calibration", 0x18, "200000"},
            {"Channel Setup", 0x28, "0"},
            {"Channel Conv Time", 0x30, "91"},
            {"Channel Mode", 0x38, "0"}};
        for (const auto &[title, base, value] : sections) {
            expected += QByteArray("\r\n") + title + "\r\n";
            for (int c = 0; c < 8; ++c)
                expected += "Register: " + QByteArray::number(base + c, 16).toUpper() + ',' + value + "\r\n";
        }
        QCOMPARE(SettingsFileText(rig.model), expected);
    }

    void variantsWriteTheirChannels_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("setupLines");
        // clang-format off
        QTest::newRow("QM4162") << 2 << QByteArray("QM4162") << QByteArray("Register: 28,0\r\nRegister: 2A,0\r\n");
        QTest::newRow("QM4164") << 4 << QByteArray("QM4164")
                                << QByteArray("Register: 28,0\r\nRegister: 29,0\r\n"
                                              "Register: 2A,0\r\nRegister: 2B,0\r\n");
        QTest::newRow("QM4169") << 9 << QByteArray("QM4169") << QByteArray("Register: 28,0\r\n");
        // clang-format on
    }

    void variantsWriteTheirChannels()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, setupLines);
        BoardRig rig(variant);
        const QByteArray text = SettingsFileText(rig.model);
        QVERIFY(text.startsWith(header + "\r\n\r\n I/O Port Register\r\n"));
        QVERIFY(text.contains("Channel Setup\r\n" + setupLines));
        const int lastMode = 0x38 + (variant == 2 ? 2 : variant == 4 ? 3 : 7);
        QVERIFY(text.endsWith("Register: " + QByteArray::number(lastMode, 16).toUpper() + ",0\r\n"));

        // What is written reads back into a fresh model of the same variant unchanged.
        BoardRig other(variant);
        QVERIFY(readText(text, other.model).ok());
        QCOMPARE(SettingsFileText(other.model), text);
    }

    void readsRegisterLinesInAnyOrder()
    {
        BoardRig rig(8);
        SignalRecorder events(&rig.model);
        const SettingsReadResult read =
            readText("QM4168\r\rsome notes, with a comma\nRegister: 31,A5\r\n\nRegister: 40,12\n"
                     "Register: 1,F4\rRegister: 19,8000\rRegister: 1A,800000",
                     rig.model);
        QVERIFY(read.ok());
        QCOMPARE(read.registers, 4);                  // 40h is no register of the chip: skipped
        QCOMPARE(rig.model.Register(0x1A), 0x800000); // all digits there: not cut short
        QCOMPARE(rig.model.Register(0x31), 0xA5);
        QCOMPARE(rig.model.Register(0x01), 0xF4);
        QCOMPARE(rig.model.Register(0x19), 0x8000);
        QVERIFY(!events.names().contains(QStringLiteral("RegisterSend")));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("registers");
        const int notValid = SettingsReadResult::NotValid, cannotRead = SettingsReadResult::CannotRead;
        const QByteArray head("QM4168\r\nRegister: 31,A5\r\n");
        // clang-format off
        QTest::newRow("other variant") << QByteArray("QM4164\r\nRegister: 31,A5\r\n") << notValid << 0;
        QTest::newRow("empty") << QByteArray() << notValid << 0;
        QTest::newRow("value missing") << head + "Register: 32\r\n" << cannotRead << 1;
        QTest::newRow("not hexadecimal") << head + "Register: 32,9G\r\n" << cannotRead << 1;
        QTest::newRow("too wide") << head + "Register: 32,1A5\r\n" << cannotRead << 1;
        QTest::newRow("nine digits") << QByteArray("QM4168\r\nRegister: 10,123456789\r\n") << cannotRead << 0;
        QTest::newRow("last value cut short") << head + "Register: 1A,80" << cannotRead << 1;
        QTest::newRow("last 1-byte value cut") << head + "Register: 32,9" << cannotRead << 1;
        QTest::newRow("over 1 MB") << head + QByteArray(1 << 20, '\n') << cannotRead << 0;
        // clang-format on
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, outcome);
        QFETCH(int, registers);
        BoardRig rig(8);
        const SettingsReadResult read = readText(text, rig.model);
        QCOMPARE(int(read.outcome), outcome);
        QCOMPARE(read.registers, registers);
        QCOMPARE(read.message,
                 outcome == SettingsReadResult::NotValid ? QStringLiteral(" The selected file is not valide")
                 : text.size() > 1 << 20
                     ? QStringLiteral(
                           "This file cannot be read: it is larger than 1 MB, which no settings file is")
                     : QStringLiteral("This file cannot be read"));
        // The lines before the damage are in the model, nothing after it.
        QCOMPARE(rig.model.Register(0x31), registers ? 0xA5 : 0x91);
        QCOMPARE(rig.model.Register(0x32), 0x91);
    }

    void menuCommandsAgainstTheSimulatedBoard()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("setup.adc"));
        SimBoard sim(8);
        BoardRig rig(8, [&sim](const QString &) { return std::make_unique<SimulatedSerialPort>(&sim); });
        QVERIFY(rig.link.ComOpen(QStringLiteral("Simulated board")));
        SettingsFileCommands commands(rig.model, rig.link, rig.dialogs);

        rig.model.setRegister(0x2B, false, 0x0D);
        rig.dialogs.fileAnswers << path;
        commands.save();
        QVERIFY(rig.dialogs.boxes.isEmpty());
        rig.link.ComClose();

        // Open: the model takes the file, the chip only after Yes.
        BoardRig fresh(8, [&sim](const QString &) { return std::make_unique<SimulatedSerialPort>(&sim); });
        QVERIFY(fresh.link.ComOpen(QStringLiteral("Simulated board")));
        SettingsFileCommands open(fresh.model, fresh.link, fresh.dialogs);
        fresh.dialogs.fileAnswers << path;
        open.open();
        QCOMPARE(fresh.model.Register(0x2B), 0x0D);
        QCOMPARE(fresh.dialogs.texts(), QStringList{QStringLiteral("Do you want to write all registers ?")});
        QCOMPARE(sim.converter().registerValue(0x2B), 0);
        fresh.dialogs.fileAnswers << path;
        fresh.dialogs.answers << true;
        open.open();
        QCOMPARE(sim.converter().registerValue(0x2B), 0x0D);

        // A missing file and a write into a missing folder are reported; cancel says nothing.
        fresh.dialogs.boxes.clear();
        fresh.dialogs.fileAnswers << dir.filePath(QStringLiteral("none.adc")) << QString()
                                  << dir.filePath(QStringLiteral("no/such/folder.adc"));
        open.open();
        open.open();
        open.save();
        QCOMPARE(fresh.dialogs.texts(), (QStringList{QStringLiteral("error 53 : File not found"),
                                                     QStringLiteral("error 76 : Path not found"),
                                                     QStringLiteral("Error Creating File")}));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
