// The chip model: the register cache and its addresses, the field decoders and setters with
// their event orders, conversion-time arithmetic, and what each variant sets up.

#include "SignalRecorder.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<QM4168> variantModel(int variant)
{
    auto model = std::make_unique<QM4168>();
    model->setEvBoard(variant);
    return model;
}

// Writes address/value pairs, not sent, and returns the events they raised: all of them or
// only those named.
QStringList writeAll(QM4168 &model, const QList<int> &pairs, const QStringList &names = {})
{
    SignalRecorder rec(&model);
    for (int i = 0; i + 1 < pairs.size(); i += 2)
        model.setRegister(pairs.at(i), false, pairs.at(i + 1));
    return names.isEmpty() ? rec.events() : rec.only(names);
}

QStringList namesOf(QStringList events)
{
    for (QString &e : events)
        e = e.section('(', 0, 0);
    return events;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

QString time3(const QM4168 &model, int channel)
{
    return QString::number(model.ConversionTime(channel), 'f', 3);
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // ---- register cache ----------------------------------------------------------------

    void modeAddressesShareOneCell()
    {
        auto model = variantModel(8);
        // Md is announced for channel 2 because it differs from the current channel 0.
        QCOMPARE(writeAll(*model, {0x3A, 5}),
                 QStringList({"MdChanged(2, 0)", "ContRdChanged(true)", "ClampChanged(true)",
                              "RegisterChanged(58, 5, 2)"}));
        QCOMPARE(model->Register(0x38), 5);
        QCOMPARE(model->Register(0x3F), 5);
        QCOMPARE(model->ModeRegister(6), 5);
        QCOMPARE(model->IAddress(55), 55);
        QCOMPARE(model->IAddress(63), 56);
        model->setRegBytes(0x3C, 1);
        QCOMPARE(model->RegBytes(0x38), 1);
        // Values are stored as written, not masked to the register's width.
        model->setRegister(0x06, false, 0x12345678);
        QCOMPARE(model->Register(0x06), 0x12345678);
    }

    void badAddressesAreRefusedWithoutAnyChange()
    {
        auto model = variantModel(8);
        model->setRegister(0x01, false, 0xF0);
        SignalRecorder rec(model.get());
        for (const auto &bad : QList<QPair<int, quint32>>{{0x40, 0x80040000u}, {-1, 9u}}) {
            try {
                model->setRegister(bad.first, true, 0x12);
                QFAIL("a bad address was accepted");
            } catch (const RegisterAddressError &e) {
                QCOMPARE(e.number(), bad.second);
                QCOMPARE(e.address(), bad.first);
            }
        }
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model->Register(64));
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model->RegBytes(100));
        QVERIFY(rec.events().isEmpty());
        QCOMPARE(model->Register(0x01), 0xF0);
        QVERIFY(model->P0());
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model->Rdy(8));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model->setBuf(-1, true));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model->ConversionTimeUp(9));
    }

    void channelAndVrefAlwaysAnnounce()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setChannel(0);
        model.setChannel(0);
        model.setChannel(3);
        model.setVref(1.25);
        QCOMPARE(rec.events(), QStringList({"ChannelChanged(0)", "ChannelChanged(0)", "ChannelChanged(3)",
                                            "VrefChanged(1.25)"}));
        QCOMPARE(model.Channel(), 3);
        QCOMPARE(model.Vref(), 1.25);
    }

    void channelCountIgnoresChannelsAboveMaxChannel()
    {
        auto model = variantModel(4);               // MaxChannel 3
        writeAll(*model, {0x2D, 0x08, 0x2F, 0x08}); // enable channels 5 and 7
        QVERIFY(model->Enable(5));
        QCOMPARE(model->ChannelCount(), 0);
        writeAll(*model, {0x29, 0x08, 0x2B, 0x08});
        QCOMPARE(model->ChannelCount(), 2);
        model->setTestEnable(true);
        model->setEvBoard(4); // test mode takes effect with the next variant set-up
        QCOMPARE(model->MaxChannel(), 7);
        QCOMPARE(model->ChannelCount(), 4);
    }

    void shortcutsSendAndModeGetIgnoresChannel()
    {
        auto model = variantModel(8);
        model->setChannel(4);
        SignalRecorder rec(model.get());
        model->setSetupRegister(2, 0x08);
        model->setConvTimeRegister(1, 0x91);
        model->setIOPortRegister(0x30);
        model->setModeRegister(0x01);    // current channel 4: address 3Ch
        model->setModeRegister(1, 0x00); // explicit channel: address 39h
        QCOMPARE(rec.only({"RegisterSend"}),
                 QStringList({"RegisterSend(42, 8, 2)", "RegisterSend(49, 145, 1)", "RegisterSend(1, 48, -1)",
                              "RegisterSend(60, 1, 4)", "RegisterSend(57, 0, 1)"}));
    }

    void nestedWritesRunToCompletionInsideTheOuterOne()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        connect(&model, &QM4168::RegisterChanged, &model, [&model](int address) {
            if (address == 0x06)
                model.setRegister(0x07, false, 0x22);
        });
        model.setRegister(0x06, true, 0x11);
        QCOMPARE(rec.events(), QStringList({"RegisterChanged(6, 17, -1)", "RegisterChanged(7, 34, -1)",
                                            "RegisterSend(6, 17, -1)"}));
    }

    // ---- field decoders and setters ----------------------------------------------------

    void fieldSetterWritesFieldEventThenRegisterEvents()
    {
        QM4168 model;
        model.setRegister(0x01, false, 0x30);
        SignalRecorder rec(&model);
        model.setP0(true);
        QCOMPARE(rec.events(),
                 QStringList({"P0Changed(true)", "RegisterChanged(1, 176, -1)", "RegisterSend(1, 176, -1)"}));
        QCOMPARE(model.Register(0x01), 0xB0);
        // A field set to the value it has writes nothing.
        rec.clear();
        model.setEvBoard(8);
        model.setP1(false);
        model.setBuf(3, false);
        model.setCom(3, 0);
        model.setEnable(3, false);
        model.setRng(3, 0);
        model.setChop(3, false);
        model.setClamp(false);
        model.setDataWidth(2);
        model.setMd(0); // current channel 0, same value
        QVERIFY(rec.events().isEmpty());
    }

    void mdWritesForAnotherChannelEvenWhenEqual()
    {
        auto model = variantModel(8);
        SignalRecorder rec(model.get());
        model->setMd(3, 0);
        QCOMPARE(rec.events(),
                 QStringList({"MdChanged(3, 0)", "RegisterChanged(59, 0, 3)", "RegisterSend(59, 0, 3)"}));
        // A mode write to 3Bh while Channel is 0 announces Md even though it did not change.
        QCOMPARE(writeAll(*model, {0x3B, 0, 0x38, 0}),
                 QStringList({"MdChanged(3, 0)", "RegisterChanged(59, 0, 3)", "RegisterChanged(56, 0, 0)"}));
    }

    void modeSettersUseTheCurrentChannel()
    {
        auto model = variantModel(8);
        model->setChannel(5);
        SignalRecorder rec(model.get());
        model->setClamp(true);
        model->setDataWidth(3);
        model->setMd(2);
        model->setDump(6, true);
        QCOMPARE(rec.only({"RegisterSend"}),
                 QStringList({"RegisterSend(61, 1, 5)", "RegisterSend(61, 3, 5)", "RegisterSend(61, 67, 5)",
                              "RegisterSend(62, 75, 6)"}));
        QCOMPARE(model->Md(), 2);
        QVERIFY(model->Dump(0));
    }

    void revisionDecodesGenericAndVersionEveryTime()
    {
        QM4168 model;
        QCOMPARE(writeAll(model, {2, 0x0A, 2, 0x21, 2, 0x14, 2, 0x14, 2, 0x32},
                          {"GenericChanged", "VersionChanged"}),
                 QStringList({"GenericChanged(\"None\")", "VersionChanged(0)", "GenericChanged(\"QM4168\")",
                              "VersionChanged(2)", "GenericChanged(\"QM4168\")", "VersionChanged(1)",
                              "GenericChanged(\"QM4168\")", "VersionChanged(1)", "GenericChanged(\"QM4164\")",
                              "VersionChanged(3)"}));
        QCOMPARE(model.Generic(), QStringLiteral("QM4164"));
        QCOMPARE(model.Version(), 3);
    }

    void ioPortAndModeDecodeInTheirOrder()
    {
        QM4168 model;
        QCOMPARE(namesOf(writeAll(model, {1, 0xFF})),
                 QStringList({"P0Changed", "P1Changed", "P0DirChanged", "P1DirChanged", "RdyFnChanged",
                              "SyncChanged", "RedPWRChanged", "RegisterChanged"}));
        // Only bit 2 (RedPWR) changes; bit 1 is not decoded.
        QCOMPARE(writeAll(model, {1, 0xFB, 1, 0xF9}),
                 QStringList(
                     {"RedPWRChanged(false)", "RegisterChanged(1, 251, -1)", "RegisterChanged(1, 249, -1)"}));
        QCOMPARE(namesOf(writeAll(model, {0x38, 0xFF})),
                 QStringList({"MdChanged", "ClkDisChanged", "DumpChanged", "ContRdChanged",
                              "DataWidthChanged", "ClampChanged", "RegisterChanged"}));
        QCOMPARE(model.Md(), 7);
    }

    void ioPortSettersTouchOnlyTheirBit()
    {
        QM4168 model;
        model.setRegister(0x01, false, 0x02); // bit 1 is no field and stays
        model.setRedPWR(true);
        model.setP1Dir(true);
        model.setP1(true);
        QCOMPARE(model.Register(0x01), 0x56);
    }

    void statusDecodesFlags()
    {
        QM4168 model;
        QCOMPARE(
            writeAll(model, {0x22, 1, 0x22, 3}),
            QStringList({"OvrRangeChanged(2, true)", "RegisterChanged(34, 1, 2)", "UndRangeChanged(2, true)",
                         "OvrRangeChanged(2, false)", "RegisterChanged(34, 3, 2)"}));
        QVERIFY(model.UndRange(2) && !model.OvrRange(2));
        QCOMPARE(writeAll(model, {0x22, 2, 0x22, 0x0C}),
                 QStringList({"UndRangeChanged(2, false)", "RegisterChanged(34, 2, 2)", "RdyChanged(2, true)",
                              "NoRefChanged(2, true)", "RegisterChanged(34, 12, 2)"}));
        QVERIFY(model.Rdy(2) && model.NoRef(2));
    }

    void setupDecodeOrderAndRangeFold()
    {
        auto model = variantModel(8);
        // Buf, Com 3, StatOpt, Enable, range code 4.
        QCOMPARE(writeAll(*model, {0x2C, 0xFC}),
                 QStringList({"BufChanged(4, true)", "ComChanged(4, 3)", "StatOptChanged(4, true)",
                              "EnableChanged(4, true)", "RngChanged(4, 4)", "RegisterChanged(44, 252, 4)"}));
        // Codes 7 and 6 fold to 1 and 0, 7 announced again each time; a raw 1 equal to the stored
        // 1 announces nothing.
        QCOMPARE(writeAll(*model, {0x28, 7, 0x28, 7, 0x28, 1, 0x28, 6}, {"RngChanged"}),
                 QStringList({"RngChanged(0, 1)", "RngChanged(0, 1)", "RngChanged(0, 0)"}));
        QCOMPARE(model->Rng(0), 0);
    }

    void fourChannelChipIgnoresSetupWithOtherCom()
    {
        auto model = variantModel(4);
        QCOMPARE(writeAll(*model, {0x29, 0xFF}),
                 QStringList({"BufChanged(1, true)", "RegisterChanged(41, 255, 1)"}));
        QVERIFY(!model->Enable(1) && model->Rng(1) == 0 && model->Com(1) == 0);
        // With the COM bits matching, the rest is taken; bit 2 of the range is ignored.
        QCOMPARE(writeAll(*model, {0x29, 0x1F}),
                 QStringList({"BufChanged(1, false)", "StatOptChanged(1, true)", "EnableChanged(1, true)",
                              "RngChanged(1, 3)", "RegisterChanged(41, 31, 1)"}));
    }

    void setupSettersBuildTheRegister()
    {
        auto model = variantModel(8);
        model->setCom(2, 3);
        QCOMPARE(model->Register(0x2A), 0x60);
        model->setCom(2, 2);
        QCOMPARE(model->Register(0x2A), 0x40);
        model->setRng(2, 5);
        QCOMPARE(model->Register(0x2A), 0x45);
        model->setEnable(2, true);
        model->setStatOpt(2, true);
        model->setBuf(2, true);
        QCOMPARE(model->Register(0x2A), 0xDD);

        auto four = variantModel(4);
        four->setRegister(0x28, false, 0x04);
        four->setRng(0, 5); // bits 1..0 from the value, bit 2 cleared
        QCOMPARE(four->Register(0x28), 0x01);
        QCOMPARE(four->Rng(0), 1);
    }

    void dataWidthFollowsTheModeRegister()
    {
        QM4168 model;
        for (int a = 8; a < 16; ++a)
            model.setRegBytes(a, 2);
        QCOMPARE(writeAll(model, {0x38, 0x02}),
                 QStringList({"DataWidthChanged(3)", "RegisterChanged(56, 2, 0)"}));
        QCOMPARE(model.DataWidth(), 3);
        QCOMPARE(model.FullScale(), 0xFFFFFF);
        QCOMPARE(model.MidScale(), 0x800000);
        for (int a = 8; a < 16; ++a)
            QCOMPARE(model.RegBytes(a), 3);
        QCOMPARE(model.RegBytes(0x10), 0);
        model.setRegister(0x38, false, 0x1D); // back to 16 bits
        QCOMPARE(model.RegBytes(9), 2);
        QCOMPARE(model.FullScale(), 0xFFFF);
    }

    void dataDecodeCases()
    {
        auto model = variantModel(8);
        const QStringList data{"DataChanged"};
        // Bipolar range 0, 16-bit, clamp off: in range, then over range (1), then under range (3).
        QCOMPARE(writeAll(*model, {0x09, 0x8000, 0x09, 0, 0x21, 1, 0x09, 0x10, 0x21, 3, 0x09, 0xFFF0}, data),
                 QStringList({"DataChanged(1, 0)", "DataChanged(1, -32768)", "DataChanged(1, 32784)",
                              "DataChanged(1, -32784)"}));
        // Unipolar under range gives 0; unipolar over range adds the full span; with clamp on
        // the flags are not looked at.
        QCOMPARE(writeAll(*model, {0x29, 1, 0x09, 0x1234, 0x21, 1, 0x09, 2, 0x38, 1, 0x09, 2}, data),
                 QStringList({"DataChanged(1, 0)", "DataChanged(1, 65538)", "DataChanged(1, 2)"}));
        // 24-bit bipolar, under range.
        QCOMPARE(writeAll(*model, {0x38, 2, 0x2A, 4, 0x22, 3, 0x0A, 0xFFFFF0}, data),
                 QStringList({"DataChanged(2, -8388624)"}));
        // Entries at the ends of 32 bits, moved a span beyond: held at the ends, not wrapped.
        QCOMPARE(writeAll(*model, {0x22, 1, 0x0A, 0x7FFFFFFF, 0x22, 3, 0x0A, INT32_MIN}, data),
                 QStringList({"DataChanged(2, 2147483647)", "DataChanged(2, -2147483648)"}));
    }

    void chopSetterKeepsTheFilterWord()
    {
        auto model = variantModel(8);
        model->setRegister(0x33, false, 0x11);
        QVERIFY(!model->Chop(3));
        SignalRecorder rec(model.get());
        model->setChop(3, true);
        QCOMPARE(model->Register(0x33), 0x91);
        QCOMPARE(rec.names(),
                 QStringList({"ChopChanged", "ConversionTimeChanged", "RegisterChanged", "RegisterSend"}));
    }

    // ---- conversion times --------------------------------------------------------------

    void powerOnWordGivesTheDocumentedTimes()
    {
        auto model = variantModel(8);
        model->setRegister(0x30, false, 0x91);
        QCOMPARE(time3(*model, 0), QStringLiteral("394.694")); // 2425 clocks

        // A second enabled channel lengthens every channel's cycle by one clock: both times
        // follow the enable, in the decode of the setup write.
        model->setRegister(0x31, false, 0x91);
        model->setRegister(0x28, false, 0x08);
        SignalRecorder rec(model.get());
        model->setRegister(0x29, true, 0x08);
        QCOMPARE(rec.names(), QStringList({"EnableChanged", "ConversionTimeChanged", "ConversionTimeChanged",
                                           "RegisterChanged", "RegisterSend"}));
        QCOMPARE(model->ConversionTime(0), model->TimeOfFilterWord(17, true, 2));
        QCOMPARE(model->ConversionTime(1), model->ConversionTime(0));
        QCOMPARE(time3(*model, 1), QStringLiteral("394.857")); // 2426 clocks
        model->setRegister(0x29, false, 0x00);
        QCOMPARE(time3(*model, 0), QStringLiteral("394.694"));

        auto nine = variantModel(9);
        nine->setRegister(0x30, false, 0x91);
        QCOMPARE(time3(*nine, 0), QStringLiteral("396.973"));
        nine->setRegister(0x30, false, 0x03);
        QVERIFY(near(nine->ConversionTime(0), (64 * 3 + 214) / 6.144));
    }

    void filterWordLimits()
    {
        auto model = variantModel(8);
        model->setRegister(0x31, false, 0x03);
        QCOMPARE(time3(*model, 1), QStringLiteral("64.941"));
        model->setRegister(0x31, false, 0xFF);
        QCOMPARE(time3(*model, 1), QStringLiteral("2686.361"));
        QCOMPARE(model->TimeOfFilterWord(200, true, 0), model->TimeOfFilterWord(127, true, 0));
        QCOMPARE(model->TimeOfFilterWord(0, false, 0), model->TimeOfFilterWord(3, false, 0));
        // Written words are limited the same way, and the limited word is stored and sent.
        SignalRecorder rec(model.get());
        const QList<QPair<int, int>> cases = {{0x81, 0x82}, {0x01, 0x03}, {0x00, 0x03},  {0x80, 0x82},
                                              {0xFF, 0xFF}, {0x7F, 0x7F}, {0x100, 0xFF}, {-4, 0x03}};
        for (const auto &c : cases) {
            rec.clear();
            model->setRegister(0x32, true, c.first);
            QCOMPARE(model->Register(0x32), c.second);
            QCOMPARE(rec.only({"RegisterChanged", "RegisterSend"}),
                     QStringList({QStringLiteral("RegisterChanged(50, %1, 2)").arg(c.second),
                                  QStringLiteral("RegisterSend(50, %1, 2)").arg(c.second)}));
        }
    }

    void settingATimePicksTheLongestWordNotAbove()
    {
        auto model = variantModel(8);
        model->setRegister(0x30, false, 0x91);
        SignalRecorder rec(model.get());
        model->setConversionTime(0, 400);
        QCOMPARE(rec.only({"RegisterSend"}), QStringList({"RegisterSend(48, 145, 0)"}));

        rec.clear();
        model->setConversionTime(0, model->ConversionTime(0)); // equal: nothing happens
        QVERIFY(rec.events().isEmpty());

        model->setConversionTime(0, 1e9); // beyond reach: the highest word
        QCOMPARE(model->Register(0x30), 0x80 + 127);
        model->setConversionTime(0, 1);
        QCOMPARE(model->Register(0x30), 0x80 + 2);
        model->setRegister(0x30, false, 0x11);
        model->setConversionTime(0, 100); // no chop: x = (614.4 - 207) / 64 = 6.37
        QCOMPARE(model->Register(0x30), 6);
    }

    void stepsStopAtTheLimits()
    {
        auto model = variantModel(8);
        writeAll(*model, {0x30, 0xFF, 0x31, 0x03});
        SignalRecorder rec(model.get());
        model->ConversionTimeUp(0);
        model->ConversionTimeDown(1);
        QVERIFY(rec.events().isEmpty());

        model->ConversionTimeDown(0);
        model->ConversionTimeUp(1);
        QCOMPARE(rec.only({"RegisterSend"}),
                 QStringList({"RegisterSend(48, 254, 0)", "RegisterSend(49, 4, 1)"}));

        model->setRegister(0x32, false, 0x82);
        rec.clear();
        model->ConversionTimeDown(2);
        model->setRegister(0x33, false, 0x7F);
        model->ConversionTimeUp(3);
        QCOMPARE(rec.only({"RegisterSend"}), QStringList());
    }

    void clockChangeRecomputesEveryChannelThenAnnounces()
    {
        auto model = variantModel(4);
        for (int c = 0; c < 4; ++c)
            model->setRegister(0x30 + c, false, 0x91);
        SignalRecorder rec(model.get());
        model->setMclk(4.9152);
        QCOMPARE(rec.names(), QStringList({"ConversionTimeChanged", "ConversionTimeChanged",
                                           "ConversionTimeChanged", "ConversionTimeChanged", "MclkChanged"}));
        QVERIFY(near(model->ConversionTime(3), 2425 / 4.9152));
        QCOMPARE(model->Mclk(), 4.9152);
        QCOMPARE(model->Register(0x30), 0x91); // the cache is untouched
    }

    // ---- variants and start-up images --------------------------------------------------

    void variantSetUp()
    {
        QM4168 model;
        QCOMPARE(model.MaxChannel(), 0);
        QCOMPARE(model.RangeCount(), 0);
        const QList<QPair<int, int>> maxChannel = {{2, 2}, {4, 3}, {8, 7}, {9, 7}};
        for (const auto &v : maxChannel) {
            model.setEvBoard(v.first);
            QCOMPARE(model.MaxChannel(), v.second);
        }
        // Even codes are bipolar; codes past the range table give no span and no polarity.
        QCOMPARE(model.Range(4), 2.5);
        QVERIFY(model.Polarity(4) && !model.Polarity(5));
        QCOMPARE(model.Range(6), 0.0);
        QVERIFY(!model.Polarity(6));
        // An unknown code keeps the channel count and range table of the last variant.
        model.setEvBoard(5);
        QCOMPARE(model.MaxChannel(), 7);
        QCOMPARE(model.RangeCount(), 6);

        QM4168 test;
        test.setTestEnable(true);
        test.setEvBoard(2);
        QCOMPARE(test.MaxChannel(), 7);
        QCOMPARE(test.RangeCount(), 4);
        QCOMPARE(test.Range(4), 0.0);
    }

    void settingTheVariantAgainResetsQuietly()
    {
        auto model = variantModel(8);
        model->setVref(1.0);
        model->setMclk(4.9152);
        model->setRegister(0x38, false, 0x02);
        SignalRecorder rec(model.get());
        model->setEvBoard(8);
        QCOMPARE(model->Vref(), 2.5);
        QCOMPARE(model->Mclk(), 6.144);
        QCOMPARE(model->DataWidth(), 2);
        QCOMPARE(model->FullScale(), 0xFFFF);
        QCOMPARE(model->Register(0x38), 0x02); // the cache is not touched
        QVERIFY(rec.events().isEmpty());
    }

    void powerOnImages()
    {
        auto two = variantModel(2);
        SignalRecorder rec(two.get());
        LoadRegisterDefaults(*two, 2);
        QVERIFY(rec.only({"RegisterSend"}).isEmpty());
        // The two-channel chip uses channels 0 and 2.
        QCOMPARE(rec.only({"RegisterChanged"}),
                 QStringList({"RegisterChanged(1, 240, -1)", "RegisterChanged(6, 8388608, -1)",
                              "RegisterChanged(7, 8388608, -1)", "RegisterChanged(16, 8388608, 0)",
                              "RegisterChanged(24, 2097152, 0)", "RegisterChanged(40, 0, 0)",
                              "RegisterChanged(48, 145, 0)", "RegisterChanged(56, 0, 0)",
                              "RegisterChanged(18, 8388608, 2)", "RegisterChanged(26, 2097152, 2)",
                              "RegisterChanged(42, 0, 2)", "RegisterChanged(50, 145, 2)",
                              "RegisterChanged(58, 0, 2)"}));
        // Without a variant only the global registers are written.
        QM4168 none;
        SignalRecorder noneRec(&none);
        LoadRegisterDefaults(none, 0);
        QCOMPARE(noneRec.only({"RegisterChanged"}), rec.only({"RegisterChanged"}).mid(0, 3));
    }

    void registerDesignGivesWidthsAndImage()
    {
        auto model = variantModel(8);
        SignalRecorder rec(model.get());
        RegisterDesign::applyTo(*model);
        QVERIFY(rec.only({"RegisterSend"}).isEmpty());
        // Each status register carries its channel number in bits 7..5.
        QCOMPARE(model->Register(0x25), 0xA0);
        QCOMPARE(model->Register(0x27), 0xE0);
        const QList<QPair<int, int>> widths = {{3, 3}, {5, 2}, {8, 2}, {0x1F, 3}, {0x2F, 1}, {0x38, 1}};
        for (const auto &w : widths)
            QCOMPARE(model->RegBytes(w.first), w.second);
        // Addresses above 38h are not visited: their mode writes did not happen.
        QCOMPARE(rec.only({"RegisterChanged"}).size(), 57);

        LoadRegisterDefaults(*model, 8);
        QCOMPARE(model->Register(0x01), 0xF0);
        QCOMPARE(model->Register(0x02), 0x01); // keeps the design value
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
