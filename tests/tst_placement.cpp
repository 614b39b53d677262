#include "MemorySettingsStore.h"
#include "app/FormPlacement.h"
#include "app/PlacementFit.h"
#include "app/SettingsKeys.h"
#include "app/StoredPlacement.h"
#include "platform/QSettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void maximisedWindowReopensMaximised()
    {
        MemorySettingsStore settings;
        QWidget window;
        window.setObjectName(QStringLiteral("FormMain"));
        window.setGeometry(50, 60, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint normalPos = window.geometry().topLeft();
        window.showMaximized();
        QVERIFY(window.isMaximized());
        SaveFormPlacement(&window, QStringLiteral("FormMain"), true, settings);
        QCOMPARE(settings.values.value("FormMain/State"), QStringLiteral("2"));
        QCOMPARE(settings.values.value("FormMain/Width"), QStringLiteral("400"));
        QCOMPARE(settings.values.value("FormMain/Left"), QString::number(normalPos.x()));

        QWidget next;
        next.resize(200, 100);
        RestoreFormPlacement(&next, QStringLiteral("FormMain"), true, settings);
        QVERIFY(next.isVisible());
        QVERIFY(next.windowState() & Qt::WindowMaximized);
        next.showNormal();
        QCOMPARE(next.geometry(), QRect(normalPos, QSize(400, 300)));
    }

    // Stored texts (Left, Top, Width, Height) on the screens there are now, with a window
    // manager's frame (title bar 20, borders 1) around the inside.
    void storedPlacementOnTheScreens_data()
    {
        QTest::addColumn<QString>("stored"); // Left Top Width Height
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QList<QRect> one{{0, 0, 1600, 1000}};
        const QList<QRect> two{{0, 0, 1600, 1000}, {1600, 0, 1280, 1024}};
        // clang-format off
        QTest::newRow("on the screen") << "99 40 700 500" << one << QRect(99, 40, 700, 500);
        QTest::newRow("monitor gone") << "2500 1400 1100 760" << one << QRect(499, 239, 1100, 760);
        QTest::newRow("monitor gone, 900 x 600") << "2500 1400 900 600" << one << QRect(699, 399, 900, 600);
        QTest::newRow("nonsense") << "0 1e30 800 99999999" << one << QRect(1, 20, 800, 979);
        QTest::newRow("title bar above the screen") << "300 -10 400 300" << one << QRect(300, 20, 400, 300);
        QTest::newRow("on the second screen") << "2000 100 600 400" << two << QRect(2000, 100, 600, 400);
        QTest::newRow("scaled screen smaller than the window")
            << "1 20 1100 760" << QList<QRect>{{0, 0, 1066, 666}} << QRect(1, 20, 1064, 645);
        // clang-format on
    }

    void storedPlacementOnTheScreens()
    {
        QFETCH(QString, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        const QMargins frame(1, 20, 1, 1);
        MemorySettingsStore settings;
        const char *keys[] = {"Left", "Top", "Width", "Height"};
        for (int i = 0; i < 4; ++i)
            settings.save("FormMain", keys[i], stored.split(' ').at(i));
        const QRect designed(10, 10, 1100, 760);
        QRect geometry = StoredPlacement::read(settings, "FormMain", true, designed, 0).normal;
        geometry = PlacementFit::fit(geometry, frame, screens);
        QCOMPARE(geometry, expected);

        // Every later start finds the window where the last one left it, to the pixel.
        for (int restart = 0; restart < 5; ++restart) {
            StoredPlacement{0, true, geometry, true}.write(settings, "FormMain", true);
            geometry = PlacementFit::fit(
                StoredPlacement::read(settings, "FormMain", true, designed, 0).normal, frame, screens);
            QCOMPARE(geometry, expected);
        }
    }

    void firstPlaceOfAChildWindow()
    {
        auto place = [](const QList<QRect> &taken) {
            return PlacementFit::freePlace(QSize(300, 250), taken, QRect(0, 0, 800, 600));
        };
        QCOMPARE(place({}), QPoint(0, 0));
        QCOMPARE(place({{0, 0, 400, 300}}), QPoint(400, 0));                     // beside the board
        QCOMPARE(place({{0, 0, 400, 300}, {400, 0, 400, 300}}), QPoint(0, 300)); // row full: below
        QCOMPARE(place({{0, 0, 800, 600}, {30, 40, 100, 100}}), QPoint(54, 64)); // no room: a step on
    }

    void fixedWindowsIgnoreSizeAndBadValuesAreSkipped()
    {
        MemorySettingsStore settings;
        const QStringList stored{"Width=999",        "Height=999", "Left=12.5",
                                 "Top=not a number", "State=7",    "Visible=maybe"};
        for (const QString &entry : stored)
            settings.save("FormAbout", entry.section('=', 0, 0), entry.section('=', 1));
        QWidget window;
        window.setGeometry(5, 6, 120, 80);
        RestoreFormPlacement(&window, QStringLiteral("FormAbout"), false, settings);
        QCOMPARE(window.size(), QSize(120, 80));
        QCOMPARE(window.pos(), QPoint(12, 6));
        QVERIFY(window.isHidden());
        QCOMPARE(window.windowState(), Qt::WindowNoState);

        SaveFormPlacement(&window, QStringLiteral("FormFixed"), false, settings);
        QVERIFY(!settings.values.contains("FormFixed/Width"));
        QVERIFY(settings.values.contains("FormFixed/Left"));
    }

    void damagedSettingsFileGivesDefaults()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        QString path;
        {
            QSettingsStore store;
            QCOMPARE(store.get("FormMain", "ComPort", "0"), QStringLiteral("0"));
            store.save("FormMain", "ComPort", "2");
            path = store.fileName();
        }
        QVERIFY(path.startsWith(home.path())); // never the user's own file
        QCOMPARE(QSettingsStore().get("FormMain", "ComPort", "0"), QStringLiteral("2"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xff\xfe\x00[FormMain\x01\x02 garbage ==\n=\n[[[\x00\xff", 34));
        file.close();
        {
            QSettingsStore store;
            QCOMPARE(store.get("FormMain", "ComPort", "0"), QStringLiteral("0"));
            QCOMPARE(
                store.damageReport(),
                QStringLiteral("The settings file %1 could not be read. The program starts with its default "
                               "settings.\nThe damaged file has been kept as %1.damaged.")
                    .arg(path));
            store.save("FormMain", "ComPort", "3");
        }
        QSettingsStore again;
        QCOMPARE(again.get("FormMain", "ComPort", "0"), QStringLiteral("3"));
        QVERIFY(again.damageReport().isEmpty()); // told once
    }

    void entriesThatNoWindowUsesAreDropped()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        QString path;
        {
            QSettingsStore store;
            path = store.fileName();
            store.save("FormMain", "MCLK", "4.9152");
            store.save("FormRegisters", "Left", "12");
            store.save("FormMain", "Junk", "1");
            store.save("Garbage", "Left", "2");
        }
        {
            QSettingsStore store;
            QCOMPARE(store.keepOnly(SettingsKeys::isKnown), 2);
            QCOMPARE(store.get("FormMain", "MCLK", ""), QStringLiteral("4.9152"));
            QCOMPARE(store.get("FormRegisters", "Left", ""), QStringLiteral("12"));
            QCOMPARE(store.get("FormMain", "Junk", "none"), QStringLiteral("none"));
            QCOMPARE(store.damageReport(),
                     QStringLiteral(
                         "The settings file %1 held 2 entries that this program does not use; they have "
                         "been removed.\nThe file as it was has been kept as %1.damaged.")
                         .arg(path));
            QSettings copy(path + ".damaged", QSettings::IniFormat);
            QCOMPARE(copy.value("Garbage/Left").toString(), QStringLiteral("2"));
        }
        QSettingsStore again;
        QCOMPARE(again.keepOnly(SettingsKeys::isKnown), 0);
        QVERIFY(again.damageReport().isEmpty());
    }

    // Told at every start, with the path and the reason; nothing claimed that did not happen.
    void settingsThatCannotBeSaved()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        const QString path = QSettingsStore().fileName();
        QSettingsStore().save("FormMain", "Junk", "1");
        const QString report = QStringLiteral("The settings file %1 cannot be written (%2). Settings changed "
                                              "in this run will not be kept.");
        // A read-only file; root writes any file, so for root an immutable one.
        const bool root = ::geteuid() == 0;
        const bool readOnly = root ? QProcess::execute("chattr", {"+i", path}) == 0
                                   : QFile::setPermissions(path, QFileDevice::ReadOwner);
        if (readOnly) {
            QSettingsStore store;
            const int dropped = store.keepOnly(SettingsKeys::isKnown);
            const QString text = store.damageReport();
            QProcess::execute("chattr", {"-i", path});
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QCOMPARE(dropped, 0);
            QCOMPARE(text, report.arg(path, root ? "Operation not permitted" : "Permission denied"));
        }
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        const QString folderReport = QSettingsStore().damageReport();
        QDir().rmdir(path);
        QCOMPARE(folderReport, report.arg(path, "it is a folder"));
        if (!readOnly)
            QSKIP("no read-only file here: chattr +i is refused");
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
