#include "SignalRecorder.h"
#include "model/QM4168.h"

#include <QtTest>

class TestModelRegisters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modeAddressesShareOneCell()
    {
        QM4168 model;
        model.setEvBoard(8);
        SignalRecorder rec(&model);
        model.setRegister(0x3A, false, 5);
        QCOMPARE(model.Register(0x38), 5);
        QCOMPARE(model.Register(0x3F), 5);
        QCOMPARE(model.ModeRegister(6), 5);
        // Md is announced for channel 2 because it differs from the current channel 0.
        QCOMPARE(rec.events(), QStringList({"MdChanged(2, 0)", "ContRdChanged(true)", "ClampChanged(true)",
                                            "RegisterChanged(58, 5, 2)"}));
    }

    void sendRaisesRegisterSendAfterRegisterChanged()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setRegister(0x05, true, 0x1234);
        QCOMPARE(rec.events(), QStringList({"RegisterChanged(5, 4660, -1)", "RegisterSend(5, 4660, -1)"}));
        QCOMPARE(model.Register(0x05), 0x1234);
        // The second argument of the getter is ignored.
        QCOMPARE(model.Register(0x05, true), 0x1234);
    }

    void eventChannelFollowsTheAddress()
    {
        QM4168 model;
        SignalRecorder rec(&model);
        model.setRegister(0x07, false, 1);
        model.setRegister(0x13, false, 2);
        model.setRegister(0x1F, false, 3);
        QCOMPARE(rec.only({"RegisterChanged"}),
                 QStringList({"RegisterChanged(7, 1, -1)", "RegisterChanged(19, 2, 3)",
                              "RegisterChanged(31, 3, 7)"}));
    }

    void badAddressesAreRefusedWithoutAnyChange()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setRegister(0x01, false, 0xF0);
        SignalRecorder rec(&model);

        try {
            model.setRegister(0x40, false, 0);
            QFAIL("address 40h was accepted");
        } catch (const RegisterAddressError &e) {
            QCOMPARE(e.number(), 0x80040000u);
            QCOMPARE(e.address(), 0x40);
        }
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model.Register(64));
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model.RegBytes(100));
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model.setRegBytes(64, 1));
        QVERIFY_THROWS_EXCEPTION(RegisterAddressError, model.IAddress(64));
        try {
            model.setRegister(-1, true, 0x12);
            QFAIL("a negative address was accepted");
        } catch (const RegisterAddressError &e) {
            QCOMPARE(e.number(), 9u);
        }
        QVERIFY(rec.events().isEmpty());
        QCOMPARE(model.Register(0x01), 0xF0);
        QVERIFY(model.P0());
    }

    void iaddressMapsTheModeAddresses()
    {
        QM4168 model;
        QCOMPARE(model.IAddress(0), 0);
        QCOMPARE(model.IAddress(55), 55);
        QCOMPARE(model.IAddress(56), 56);
        QCOMPARE(model.IAddress(63), 56);
        for (int variant : {0, 2, 4, 8, 9}) {
            model.setEvBoard(variant);
            QCOMPARE(model.MaxAddress(), 56);
        }
        model.setRegBytes(0x3C, 1);
        QCOMPARE(model.RegBytes(0x38), 1);
    }

    void valuesAreStoredUnmasked()
    {
        QM4168 model;
        model.setRegister(0x06, false, 0x12345678);
        QCOMPARE(model.Register(0x06), 0x12345678);
        model.setRegister(0x03, false, -5);
        QCOMPARE(model.Register(0x03), -5);
    }

    void channelAlwaysAnnouncesItself()
    {
        QM4168 model;
        QSignalSpy spy(&model, &QM4168::ChannelChanged);
        model.setChannel(0);
        model.setChannel(0);
        model.setChannel(3);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(2).at(0).toInt(), 3);
        QCOMPARE(model.Channel(), 3);
    }

    void vrefIsStoredAndAnnounced()
    {
        QM4168 model;
        QSignalSpy spy(&model, &QM4168::VrefChanged);
        model.setVref(1.25);
        QCOMPARE(model.Vref(), 1.25);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 1.25);
    }

    void channelCountIgnoresChannelsAboveMaxChannel()
    {
        QM4168 model;
        model.setEvBoard(4);                  // MaxChannel 3
        model.setRegister(0x2D, false, 0x08); // enable channel 5
        model.setRegister(0x2F, false, 0x08); // enable channel 7
        QVERIFY(model.Enable(5));
        QCOMPARE(model.ChannelCount(), 0);
        model.setRegister(0x29, false, 0x08);
        model.setRegister(0x2B, false, 0x08);
        QCOMPARE(model.ChannelCount(), 2);
        model.setTestEnable(true);
        model.setEvBoard(4); // test mode takes effect with the next variant set-up
        QCOMPARE(model.MaxChannel(), 7);
        QCOMPARE(model.ChannelCount(), 4);
    }

    void shortcutsSendAndModeGetIgnoresChannel()
    {
        QM4168 model;
        model.setEvBoard(8);
        model.setChannel(4);
        SignalRecorder rec(&model);
        model.setSetupRegister(2, 0x08);
        model.setConvTimeRegister(1, 0x91);
        model.setIOPortRegister(0x30);
        model.setModeRegister(0x01);    // current channel 4: address 3Ch
        model.setModeRegister(1, 0x00); // explicit channel: address 39h
        QCOMPARE(rec.only({"RegisterSend"}),
                 QStringList({"RegisterSend(42, 8, 2)", "RegisterSend(49, 145, 1)", "RegisterSend(1, 48, -1)",
                              "RegisterSend(60, 1, 4)", "RegisterSend(57, 0, 1)"}));
        QCOMPARE(model.SetupRegister(2), 0x08);
        QCOMPARE(model.ModeRegister(7), 0);
        QCOMPARE(model.IOPortRegister(), 0x30);
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
};

QTEST_GUILESS_MAIN(TestModelRegisters)
#include "tst_model_registers.moc"
