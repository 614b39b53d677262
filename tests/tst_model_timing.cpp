#include "SignalRecorder.h"
#include "model/QM4168.h"

#include <QtTest>

namespace {

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

} // namespace

class TestModelTiming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void powerOnWordGivesTheDocumentedTimes()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setRegister(0x30, false, 0x91);
        QVERIFY(near(model.ConversionTime(0), 2425 / 6.144));
        QCOMPARE(QString::number(model.ConversionTime(0), 'f', 3), QStringLiteral("394.694"));

        model.setRegister(0x28, false, 0x08);
        model.setRegister(0x29, false, 0x08);
        QVERIFY(near(model.ConversionTime(0), 2425 / 6.144)); // not recomputed by the enable
        model.setRegister(0x30, false, 0x91);
        QCOMPARE(QString::number(model.ConversionTime(0), 'f', 3), QStringLiteral("394.857"));

        QM4168 nine;
        nine.setEvBoard(9);
        nine.setRegister(0x30, false, 0x91);
        QCOMPARE(QString::number(nine.ConversionTime(0), 'f', 3), QStringLiteral("396.973"));
        nine.setRegister(0x30, false, 0x03);
        QVERIFY(near(nine.ConversionTime(0), (64 * 3 + 214) / 6.144));
    }

    void filterWordLimits()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setRegister(0x31, false, 0x03);
        QCOMPARE(QString::number(model.ConversionTime(1), 'f', 3), QStringLiteral("64.941"));
        model.setRegister(0x31, false, 0xFF);
        QCOMPARE(QString::number(model.ConversionTime(1), 'f', 3), QStringLiteral("2686.361"));
        QCOMPARE(model.TimeOfFilterWord(200, true, 0), model.TimeOfFilterWord(127, true, 0));
        QCOMPARE(model.TimeOfFilterWord(0, false, 0), model.TimeOfFilterWord(3, false, 0));
    }

    void writtenWordsAreLimited()
    {
        QM4168 model;
        model.setEvBoard(8);
        SignalRecorder rec(&model);
        const QList<QPair<int, int>> cases = {{0x81, 0x82}, {0x01, 0x03}, {0x00, 0x03},  {0x80, 0x82},
                                              {0xFF, 0xFF}, {0x7F, 0x7F}, {0x100, 0xFF}, {-4, 0x03}};
        for (const auto &c : cases) {
            rec.clear();
            model.setRegister(0x32, true, c.first);
            QCOMPARE(model.Register(0x32), c.second);
            QCOMPARE(rec.only({"RegisterChanged", "RegisterSend"}),
                     QStringList({QStringLiteral("RegisterChanged(50, %1, 2)").arg(c.second),
                                  QStringLiteral("RegisterSend(50, %1, 2)").arg(c.second)}));
        }
    }

    void settingATimePicksTheLongestWordNotAbove()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setRegister(0x30, false, 0x91);
        SignalRecorder rec(&model);
        model.setConversionTime(0, 400);
        QCOMPARE(model.Register(0x30), 0x91);
        QCOMPARE(QString::number(model.ConversionTime(0), 'f', 3), QStringLiteral("394.694"));
        QCOMPARE(rec.only({"RegisterSend"}), QStringList({"RegisterSend(48, 145, 0)"}));

        rec.clear();
        model.setConversionTime(0, model.ConversionTime(0)); // equal: nothing happens
        QVERIFY(rec.events().isEmpty());

        model.setConversionTime(0, 1e9); // beyond reach: the highest word
        QCOMPARE(model.Register(0x30), 0x80 + 127);
        model.setConversionTime(0, 1);
        QCOMPARE(model.Register(0x30), 0x80 + 2);
        model.setRegister(0x30, false, 0x11);
        model.setConversionTime(0, 100); // no chop: x = (614.4 - 207) / 64 = 6.37
        QCOMPARE(model.Register(0x30), 6);
    }

    void stepsStopAtTheLimits()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setRegister(0x30, false, 0xFF);
        model.setRegister(0x31, false, 0x03);
        SignalRecorder rec(&model);
        model.ConversionTimeUp(0);
        model.ConversionTimeDown(1);
        QVERIFY(rec.events().isEmpty());

        model.ConversionTimeDown(0);
        QCOMPARE(model.Register(0x30), 0xFE);
        model.ConversionTimeUp(1);
        QCOMPARE(model.Register(0x31), 0x04);
        QCOMPARE(rec.only({"RegisterSend"}),
                 QStringList({"RegisterSend(48, 254, 0)", "RegisterSend(49, 4, 1)"}));

        model.setRegister(0x32, false, 0x82);
        rec.clear();
        model.ConversionTimeDown(2);
        model.setRegister(0x33, false, 0x7F);
        model.ConversionTimeUp(3);
        QCOMPARE(rec.only({"RegisterSend"}), QStringList());
    }

    void clockChangeRecomputesEveryChannelThenAnnounces()
    {
        QM4168 model;
        model.setEvBoard(4);
        for (int c = 0; c < 4; ++c)
            model.setRegister(0x30 + c, false, 0x91);
        SignalRecorder rec(&model);
        model.setMclk(4.9152);
        QCOMPARE(rec.names(), QStringList({"ConversionTimeChanged", "ConversionTimeChanged",
                                           "ConversionTimeChanged", "ConversionTimeChanged", "MclkChanged"}));
        QVERIFY(near(model.ConversionTime(3), 2425 / 4.9152));
        QCOMPARE(model.Mclk(), 4.9152);
        QCOMPARE(model.Register(0x30), 0x91); // the cache is untouched
    }

    void rangeTables()
    {
        QM4168 model;
        model.setEvBoard(8);
        const double spans8[] = {1.25, 1.25, 0.625, 0.625, 2.5, 2.5};
        for (int code = 0; code < 6; ++code) {
            QCOMPARE(model.Range(code), spans8[code]);
            QCOMPARE(model.Polarity(code), code % 2 == 0);
        }
        QCOMPARE(model.Range(6), 0.0);
        QVERIFY(!model.Polarity(6));
        model.setEvBoard(2);
        QCOMPARE(model.RangeCount(), 4);
        QCOMPARE(model.Range(0), 10.0);
        QCOMPARE(model.Range(3), 5.0);
        QCOMPARE(model.Range(4), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestModelTiming)
#include "tst_model_timing.moc"
