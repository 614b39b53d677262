#include "SignalRecorder.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

#include <QtTest>

class TestModelVariants : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void variantSetUp()
    {
        QM4168 model;
        QCOMPARE(model.MaxChannel(), 0);
        QCOMPARE(model.RangeCount(), 0);
        QCOMPARE(model.Vref(), 2.5);
        QCOMPARE(model.Mclk(), 6.144);
        QCOMPARE(model.DataWidth(), 2);
        QCOMPARE(model.FullScale(), 0xFFFF);

        const QList<QPair<int, int>> maxChannel = {{2, 2}, {4, 3}, {8, 7}, {9, 7}};
        for (const auto &v : maxChannel) {
            model.setEvBoard(v.first);
            QCOMPARE(model.EvBoard(), v.first);
            QCOMPARE(model.MaxChannel(), v.second);
        }
        // An unknown code keeps the channel count and range table of the last variant.
        model.setEvBoard(5);
        QCOMPARE(model.MaxChannel(), 7);
        QCOMPARE(model.RangeCount(), 6);

        QM4168 test;
        test.setTestEnable(true);
        test.setEvBoard(2);
        QCOMPARE(test.MaxChannel(), 7);
        QCOMPARE(test.RangeCount(), 4);
    }

    void variantNineTimingConstants()
    {
        QM4168 eight, nine;
        eight.setEvBoard(8);
        nine.setEvBoard(9);
        QCOMPARE(nine.TimeOfFilterWord(17, true, 0) * 6.144, 128.0 * 17 + 263);
        QCOMPARE(nine.TimeOfFilterWord(17, false, 0) * 6.144, 64.0 * 17 + 214);
        QCOMPARE(eight.TimeOfFilterWord(17, true, 3) * 6.144, 128.0 * 17 + 249 + 1);
        QCOMPARE(nine.Range(4), eight.Range(4));
        QCOMPARE(nine.MaxChannel(), eight.MaxChannel());
    }

    void settingTheVariantAgainResetsQuietly()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setVref(1.0);
        model.setMclk(4.9152);
        model.setRegister(0x38, false, 0x02);
        QCOMPARE(model.DataWidth(), 3);
        SignalRecorder rec(&model);
        model.setEvBoard(8);
        QCOMPARE(model.Vref(), 2.5);
        QCOMPARE(model.Mclk(), 6.144);
        QCOMPARE(model.DataWidth(), 2);
        QCOMPARE(model.FullScale(), 0xFFFF);
        QCOMPARE(model.Register(0x38), 0x02); // the cache is not touched
        QVERIFY(rec.events().isEmpty());
    }

    void twoChannelImageUsesChannelsZeroAndTwo()
    {
        QM4168 model;
        model.setEvBoard(2);
        SignalRecorder rec(&model);
        LoadRegisterDefaults(model, 2);
        for (int c : {0, 2}) {
            QCOMPARE(model.Register(0x10 + c), 0x800000);
            QCOMPARE(model.Register(0x18 + c), 0x200000);
            QCOMPARE(model.Register(0x30 + c), 0x91);
        }
        for (int c : {1, 3, 4, 5, 6, 7}) {
            QCOMPARE(model.Register(0x10 + c), 0);
            QCOMPARE(model.Register(0x18 + c), 0);
            QCOMPARE(model.Register(0x30 + c), 0);
        }
        QCOMPARE(model.Register(0x01), 0xF0);
        QVERIFY(rec.only({"RegisterSend"}).isEmpty());
        QCOMPARE(rec.only({"RegisterChanged"}),
                 QStringList({"RegisterChanged(1, 240, -1)", "RegisterChanged(6, 8388608, -1)",
                              "RegisterChanged(7, 8388608, -1)", "RegisterChanged(16, 8388608, 0)",
                              "RegisterChanged(24, 2097152, 0)", "RegisterChanged(40, 0, 0)",
                              "RegisterChanged(48, 145, 0)", "RegisterChanged(56, 0, 0)",
                              "RegisterChanged(18, 8388608, 2)", "RegisterChanged(26, 2097152, 2)",
                              "RegisterChanged(42, 0, 2)", "RegisterChanged(50, 145, 2)",
                              "RegisterChanged(58, 0, 2)"}));
    }

    void imageChannelsPerVariant()
    {
        const QList<QPair<int, int>> lastChannel = {{4, 3}, {8, 7}, {9, 7}};
        for (const auto &v : lastChannel) {
            QM4168 model;
            model.setEvBoard(v.first);
            LoadRegisterDefaults(model, v.first);
            QCOMPARE(model.Register(0x30 + v.second), 0x91);
            if (v.second < 7)
                QCOMPARE(model.Register(0x30 + v.second + 1), 0);
        }
    }

    void noVariantWritesOnlyTheGlobalRegisters()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        LoadRegisterDefaults(model, 0);
        QCOMPARE(rec.only({"RegisterChanged"}),
                 QStringList({"RegisterChanged(1, 240, -1)", "RegisterChanged(6, 8388608, -1)",
                              "RegisterChanged(7, 8388608, -1)"}));
        QCOMPARE(model.MaxChannel(), 0);
        QCOMPARE(model.Range(0), 0.0);
    }

    void registerDesignGivesWidthsAndImage()
    {
        QM4168 model;
        model.setEvBoard(8);
        SignalRecorder rec(&model);
        RegisterDesign::applyTo(model);
        QVERIFY(rec.only({"RegisterSend"}).isEmpty());
        for (int a = 0x30; a <= 0x37; ++a)
            QCOMPARE(model.Register(a), 0x91);
        QCOMPARE(model.Register(0x25), 0xA0);
        QCOMPARE(model.Register(0x20), 0x00);
        QCOMPARE(model.Register(0x27), 0xE0);
        QCOMPARE(model.Register(0x01), 0x30);
        QCOMPARE(model.Register(0x02), 0x01);
        QCOMPARE(model.Register(0x0C), 0x8000);
        QCOMPARE(model.Register(0x1B), 0x200000);
        const QList<QPair<int, int>> widths = {{0, 1},    {1, 1},    {3, 3},    {5, 2},    {6, 3},
                                               {8, 2},    {15, 2},   {0x10, 3}, {0x1F, 3}, {0x20, 1},
                                               {0x2F, 1}, {0x37, 1}, {0x38, 1}};
        for (const auto &w : widths)
            QCOMPARE(model.RegBytes(w.first), w.second);
        // Addresses above 38h are not visited: their mode writes did not happen.
        QCOMPARE(rec.only({"RegisterChanged"}).size(), 57);

        LoadRegisterDefaults(model, 8);
        QCOMPARE(model.Register(0x01), 0xF0);
        QCOMPARE(model.Register(0x02), 0x01); // keeps the design value
        QCOMPARE(model.Register(0x25), 0xA0);
    }

    void designTable()
    {
        QCOMPARE(RegisterDesign::rows().size(), 15);
        QCOMPARE(RegisterDesign::row(0x28)->name, QStringLiteral("Channel Setup"));
        QCOMPARE(RegisterDesign::row(0x28)->bitNames[0], QStringLiteral("BUF OFF"));
        QCOMPARE(RegisterDesign::row(0x38)->bitNames[6], QStringLiteral("24/16 bit"));
        QCOMPARE(RegisterDesign::row(0x09), nullptr);
        QCOMPARE(RegisterDesign::rowIndexOf(0x3B), 0x38);
        QCOMPARE(RegisterDesign::rowIndexOf(0x07), 0x07);
    }
};

QTEST_GUILESS_MAIN(TestModelVariants)
#include "tst_model_variants.moc"
