#include "SignalRecorder.h"
#include "model/QM4168.h"

#include <QtTest>

namespace {

QM4168 *variantModel(int variant)
{
    auto *model = new QM4168;
    model->setEvBoard(variant);
    return model;
}

} // namespace

class TestModelFields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldSetterWritesFieldEventThenRegisterEvents()
    {
        QM4168 model;
        model.setRegister(0x01, false, 0x30);
        SignalRecorder rec(&model);
        model.setP0(true);
        QCOMPARE(rec.events(),
                 QStringList({"P0Changed(true)", "RegisterChanged(1, 176, -1)", "RegisterSend(1, 176, -1)"}));
        QCOMPARE(model.Register(0x01), 0xB0);
    }

    void unchangedFieldWritesNothing()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
        SignalRecorder rec(model.get());
        model->setP1(false);
        model->setBuf(3, false);
        model->setCom(3, 0);
        model->setEnable(3, false);
        model->setRng(3, 0);
        model->setChop(3, false);
        model->setClamp(false);
        model->setDataWidth(2);
        model->setMd(0); // current channel 0, same value
        QVERIFY(rec.events().isEmpty());
    }

    void mdWritesForAnotherChannelEvenWhenEqual()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
        SignalRecorder rec(model.get());
        model->setMd(3, 0);
        QCOMPARE(rec.events(),
                 QStringList({"MdChanged(3, 0)", "RegisterChanged(59, 0, 3)", "RegisterSend(59, 0, 3)"}));
        rec.clear();
        // A mode write to 3Bh while Channel is 0 announces Md even though it did not change.
        model->setRegister(0x3B, false, 0);
        QCOMPARE(rec.events(), QStringList({"MdChanged(3, 0)", "RegisterChanged(59, 0, 3)"}));
        rec.clear();
        model->setRegister(0x38, false, 0);
        QCOMPARE(rec.events(), QStringList({"RegisterChanged(56, 0, 0)"}));
    }

    void modeSettersUseTheCurrentChannel()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
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
        SignalRecorder rec(&model);
        model.setRegister(0x02, false, 0x0A);
        QCOMPARE(model.Generic(), QStringLiteral("None"));
        QCOMPARE(model.Version(), 0);
        model.setRegister(0x02, false, 0x21);
        QCOMPARE(model.Generic(), QStringLiteral("QM4168"));
        QCOMPARE(model.Version(), 2);
        model.setRegister(0x02, false, 0x14);
        QCOMPARE(model.Generic(), QStringLiteral("QM4168"));
        QCOMPARE(model.Version(), 1);
        model.setRegister(0x02, false, 0x14);
        model.setRegister(0x02, false, 0x32);
        QCOMPARE(model.Generic(), QStringLiteral("QM4164"));
        QCOMPARE(rec.only({"GenericChanged", "VersionChanged"}),
                 QStringList({"GenericChanged(\"None\")", "VersionChanged(0)", "GenericChanged(\"QM4168\")",
                              "VersionChanged(2)", "GenericChanged(\"QM4168\")", "VersionChanged(1)",
                              "GenericChanged(\"QM4168\")", "VersionChanged(1)", "GenericChanged(\"QM4164\")",
                              "VersionChanged(3)"}));
        // The setters store without an event.
        rec.clear();
        model.setGeneric(QStringLiteral("x"));
        model.setVersion(9);
        QCOMPARE(model.Generic(), QStringLiteral("x"));
        QCOMPARE(model.Version(), 9);
        QVERIFY(rec.events().isEmpty());
    }

    void ioPortDecodesInItsOrder()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setRegister(0x01, false, 0xFF);
        QCOMPARE(rec.names(),
                 QStringList({"P0Changed", "P1Changed", "P0DirChanged", "P1DirChanged", "RdyFnChanged",
                              "SyncChanged", "RedPWRChanged", "RegisterChanged"}));
        rec.clear();
        model.setRegister(0x01, false, 0xFB); // only bit 2 (RedPWR) changes; bit 1 is not decoded
        model.setRegister(0x01, false, 0xF9);
        QCOMPARE(rec.events(), QStringList({"RedPWRChanged(false)", "RegisterChanged(1, 251, -1)",
                                            "RegisterChanged(1, 249, -1)"}));
    }

    void ioPortSettersTouchOnlyTheirBit()
    {
        QM4168 model;
        model.setRegister(0x01, false, 0x02);
        model.setSync(true);
        QCOMPARE(model.Register(0x01), 0x03);
        model.setRedPWR(true);
        model.setRdyFn(true);
        model.setP1Dir(true);
        model.setP0Dir(true);
        model.setP1(true);
        QCOMPARE(model.Register(0x01), 0x7F);
        model.setSync(false);
        QCOMPARE(model.Register(0x01), 0x7E);
    }

    void statusDecodesFlags()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setRegister(0x22, false, 0x01);
        QVERIFY(model.OvrRange(2));
        QVERIFY(!model.UndRange(2));
        model.setRegister(0x22, false, 0x03);
        QVERIFY(model.UndRange(2));
        QVERIFY(!model.OvrRange(2));
        model.setRegister(0x22, false, 0x02);
        QVERIFY(!model.UndRange(2));
        QVERIFY(!model.OvrRange(2));
        model.setRegister(0x22, false, 0x0C);
        QVERIFY(model.Rdy(2));
        QVERIFY(model.NoRef(2));
        QCOMPARE(rec.events(), QStringList({"OvrRangeChanged(2, true)", "RegisterChanged(34, 1, 2)",
                                            "UndRangeChanged(2, true)", "OvrRangeChanged(2, false)",
                                            "RegisterChanged(34, 3, 2)", "UndRangeChanged(2, false)",
                                            "RegisterChanged(34, 2, 2)", "RdyChanged(2, true)",
                                            "NoRefChanged(2, true)", "RegisterChanged(34, 12, 2)"}));
    }

    void setupDecodeOrderAndRangeFold()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
        SignalRecorder rec(model.get());
        model->setRegister(0x2C, false, 0xFC); // Buf, Com 3, StatOpt, Enable, range code 4
        QCOMPARE(rec.events(),
                 QStringList({"BufChanged(4, true)", "ComChanged(4, 3)", "StatOptChanged(4, true)",
                              "EnableChanged(4, true)", "RngChanged(4, 4)", "RegisterChanged(44, 252, 4)"}));
        rec.clear();
        model->setRegister(0x28, false, 0x07);
        QCOMPARE(model->Rng(0), 1);
        model->setRegister(0x28, false, 0x07);
        QCOMPARE(rec.only({"RngChanged"}), QStringList({"RngChanged(0, 1)", "RngChanged(0, 1)"}));
        rec.clear();
        model->setRegister(0x28, false, 0x01); // raw 1 equals the stored 1: no event
        model->setRegister(0x28, false, 0x06);
        QCOMPARE(rec.only({"RngChanged"}), QStringList({"RngChanged(0, 0)"}));
    }

    void fourChannelChipIgnoresSetupWithOtherCom()
    {
        std::unique_ptr<QM4168> model(variantModel(4));
        SignalRecorder rec(model.get());
        model->setRegister(0x29, false, 0xFF);
        QCOMPARE(rec.events(), QStringList({"BufChanged(1, true)", "RegisterChanged(41, 255, 1)"}));
        QVERIFY(!model->Enable(1));
        QCOMPARE(model->Rng(1), 0);
        QCOMPARE(model->Com(1), 0);
        QCOMPARE(model->Register(0x29), 0xFF);
        rec.clear();
        // With the COM bits matching, the rest is taken; bit 2 of the range is ignored.
        model->setRegister(0x29, false, 0x1F);
        QCOMPARE(rec.events(),
                 QStringList({"BufChanged(1, false)", "StatOptChanged(1, true)", "EnableChanged(1, true)",
                              "RngChanged(1, 3)", "RegisterChanged(41, 31, 1)"}));
    }

    void setupSettersBuildTheRegister()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
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

        std::unique_ptr<QM4168> four(variantModel(4));
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
        SignalRecorder rec(&model);
        model.setRegister(0x38, false, 0x02);
        QCOMPARE(model.DataWidth(), 3);
        QCOMPARE(model.FullScale(), 0xFFFFFF);
        QCOMPARE(model.MidScale(), 0x800000);
        for (int a = 8; a < 16; ++a)
            QCOMPARE(model.RegBytes(a), 3);
        QCOMPARE(model.RegBytes(0x10), 0);
        QCOMPARE(rec.events(), QStringList({"DataWidthChanged(3)", "RegisterChanged(56, 2, 0)"}));
        model.setRegister(0x38, false, 0xFD & 0x1D); // back to 16 bits
        QCOMPARE(model.RegBytes(9), 2);
        QCOMPARE(model.FullScale(), 0xFFFF);
    }

    void modeDecodeOrder()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setRegister(0x38, false, 0xFF);
        QCOMPARE(rec.names(), QStringList({"MdChanged", "ClkDisChanged", "DumpChanged", "ContRdChanged",
                                           "DataWidthChanged", "ClampChanged", "RegisterChanged"}));
        QCOMPARE(model.Md(), 7);
    }

    void dataDecodeCases()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
        SignalRecorder rec(model.get());
        // Bipolar range 0, 16-bit, clamp off.
        model->setRegister(0x09, false, 0x8000);
        model->setRegister(0x09, false, 0x0000);
        model->setRegister(0x21, false, 0x01); // over range
        model->setRegister(0x09, false, 0x0010);
        model->setRegister(0x21, false, 0x03); // under range
        model->setRegister(0x09, false, 0xFFF0);
        QCOMPARE(rec.only({"DataChanged"}), QStringList({"DataChanged(1, 0)", "DataChanged(1, -32768)",
                                                         "DataChanged(1, 32784)", "DataChanged(1, -32784)"}));
        rec.clear();
        // Unipolar under range gives 0; unipolar over range adds the full span.
        model->setRegister(0x29, false, 0x01);
        model->setRegister(0x09, false, 0x1234);
        model->setRegister(0x21, false, 0x01);
        model->setRegister(0x09, false, 0x0002);
        // Clamp on: the flags are not looked at.
        model->setRegister(0x38, false, 0x01);
        model->setRegister(0x09, false, 0x0002);
        QCOMPARE(rec.only({"DataChanged"}),
                 QStringList({"DataChanged(1, 0)", "DataChanged(1, 65538)", "DataChanged(1, 2)"}));
        rec.clear();
        // 24-bit bipolar, under range.
        model->setRegister(0x38, false, 0x02);
        model->setRegister(0x2A, false, 0x04);
        model->setRegister(0x22, false, 0x03);
        model->setRegister(0x0A, false, 0xFFFFF0);
        QCOMPARE(rec.only({"DataChanged"}), QStringList({"DataChanged(2, -8388624)"}));
        rec.clear();
        // Entries at the ends of 32 bits, moved a span beyond: held at the ends, not wrapped.
        model->setRegister(0x22, false, 0x01);
        model->setRegister(0x0A, false, 0x7FFFFFFF);
        model->setRegister(0x22, false, 0x03);
        model->setRegister(0x0A, false, INT32_MIN);
        QCOMPARE(rec.only({"DataChanged"}),
                 QStringList({"DataChanged(2, 2147483647)", "DataChanged(2, -2147483648)"}));
    }

    void chopSetterKeepsTheFilterWord()
    {
        std::unique_ptr<QM4168> model(variantModel(8));
        model->setRegister(0x33, false, 0x11);
        QVERIFY(!model->Chop(3));
        SignalRecorder rec(model.get());
        model->setChop(3, true);
        QCOMPARE(model->Register(0x33), 0x91);
        QCOMPARE(rec.names(),
                 QStringList({"ChopChanged", "ConversionTimeChanged", "RegisterChanged", "RegisterSend"}));
    }

    void perChannelAccessOutsideTheChannelsThrows()
    {
        QM4168 model;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.Rdy(8));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.setBuf(-1, true));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.ConversionTimeUp(9));
    }
};

QTEST_GUILESS_MAIN(TestModelFields)
#include "tst_model_fields.moc"
