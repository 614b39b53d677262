#include "ModalDriver.h"
#include "TestServices.h"
#include "app/AppContext.h"
#include "app/FormMain.h"
#include "app/StartupOptions.h"
#include "board/BoardLink.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("simulate");
        QTest::addColumn<QString>("error");
        // clang-format off
        QTest::newRow("test 68") << QStringList{"test", "68"} << true << 8 << false << "";
        QTest::newRow("6268: the later test wins") << QStringList{"6268"} << false << 8 << false << "";
        QTest::newRow("69TEST") << QStringList{"69TEST"} << true << 9 << false << "";
        QTest::newRow("6964: 69 is tested last") << QStringList{"6964"} << false << 9 << false << "";
        QTest::newRow("words joined with a blank") << QStringList{"6", "2"} << false << 0 << false << "";
        QTest::newRow("simulate 64") << QStringList{"--simulate", "64"} << false << 4 << true << "";
        QTest::newRow("toolkit option") << QStringList{"-platform", "offscreen", "-reverse", "69"}
                                        << false << 9 << false << "";
        QTest::newRow("after --") << QStringList{"--", "-TEST"} << true << 0 << false << "";
        QTest::newRow("unknown") << QStringList{"--frobnicate", "--other"} << false << 0 << false
                                 << "Unknown options: frobnicate, other.";
        QTest::newRow("value to a flag") << QStringList{"--simulate=yes"} << false << 0 << true
                                         << "Unexpected value after '--simulate'.";
        QTest::newRow("missing value") << QStringList{"68", "-style"} << false << 8 << false
                                       << "Missing value after '-style'.";
        // clang-format on
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, testMode);
        QFETCH(int, variant);
        QFETCH(bool, simulate);
        QFETCH(QString, error);
        const StartupOptions o = StartupOptions::parse(arguments);
        QCOMPARE(o.testMode, testMode);
        QCOMPARE(o.variantCode, variant);
        QCOMPARE(o.simulate, simulate);
        QCOMPARE(o.error, error);
        QVERIFY(!o.showHelp && !o.showVersion);
    }

    void helpAndVersion()
    {
        QVERIFY(StartupOptions::parse({"-v"}).showVersion);
        QVERIFY(StartupOptions::parse({"--version"}).showVersion);
        QVERIFY(StartupOptions::parse({"68", "-h"}).showHelp);
        QVERIFY(StartupOptions::helpText().startsWith(
            QStringLiteral("Usage: qm416x [62|64|68|69] [TEST] [--simulate] [--version] [--help]\n")));
    }

    void loadWithVariantOnTheCommandLine()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"68", "TEST"}), t.services());
        bool dialogSeen = false;
        whenModal(
            [&dialogSeen](QWidget *modal) {
                dialogSeen = true;
                modal->close();
            },
            300);
        window.Load();
        QTest::qWait(350); // long enough for a wrongly shown dialog to be noticed
        QVERIFY(!dialogSeen);
        QCOMPARE(context.VariantCode, 8);
        QCOMPARE(context.IADC.EvBoard(), 8);
        QVERIFY(context.IADC.TestEnable());
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("QM4162/64/68/69 Evaluation Software"));
        QCOMPARE(window.statusBar()->findChild<QLabel *>(QStringLiteral("BrdStatus")), window.BrdStatus());
        // The power-on image is in the model, over the register rows' design values.
        QCOMPARE(context.IADC.Register(0x01), 0xF0);
        QCOMPARE(context.IADC.Register(0x25), 0xA0);
    }

    // Each button of the selection dialog sets up its variant, and the simulated board then
    // carries that chip: its revision register tells.
    void loadAsksForTheVariant_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("revision");
        QTest::newRow("QM4162") << "QM4162-EB" << 2 << 0x12;
        QTest::newRow("QM4164") << "QM4164-EB" << 4 << 0x12;
        QTest::newRow("QM4168") << "QM4168-EB" << 8 << 0x14;
        QTest::newRow("QM4169") << "QM4169-EB" << 9 << 0x14;
    }

    void loadAsksForTheVariant()
    {
        QFETCH(QString, button);
        QFETCH(int, variant);
        QFETCH(int, revision);
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"--simulate"}), t.services());
        QString title;
        whenModal([&](QWidget *modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("FormSelectBoard"));
            title = modal->windowTitle();
            for (QPushButton *b : modal->findChildren<QPushButton *>())
                if (b->text() == button)
                    b->click();
        });
        window.Load();
        QCOMPARE(title, QStringLiteral("QM416x Evaluation Software"));
        QCOMPARE(context.VariantCode, variant);
        QCOMPARE(context.IADC.EvBoard(), variant);
        QVERIFY(!context.IADC.TestEnable());
        QVERIFY(window.boardLink().RegReadOne(0x02));
        QCOMPARE(context.IADC.Register(0x02), revision);
    }

    void loadWithTheDialogClosed()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"test"}), t.services());
        whenModal([](QWidget *modal) { modal->close(); });
        window.Load();
        QCOMPARE(context.VariantCode, 0);
        QCOMPARE(context.IADC.EvBoard(), 0);
        // Test mode takes effect with the next variant set-up, and none runs without a variant.
        QVERIFY(context.IADC.TestEnable());
        QCOMPARE(context.IADC.MaxChannel(), 0);
        QCOMPARE(context.IADC.Register(0x01), 0xF0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
