#include "MemorySettingsStore.h"
#include "app/ChildWindow.h"
#include "app/FormPlacement.h"
#include "platform/QSettingsStore.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripOfAChildWindow()
    {
        MemorySettingsStore settings;
        QMainWindow main;
        auto *area = new QMdiArea(&main);
        main.setCentralWidget(area);
        main.resize(900, 700);
        main.show();

        auto *form = new QLabel(QStringLiteral("x"));
        form->setObjectName(QStringLiteral("FormComMonitor"));
        auto *child = new ChildWindow(form, true);
        area->addSubWindow(child);
        child->setGeometry(40, 30, 300, 200);
        child->show();
        SaveFormPlacement(child, QStringLiteral("FormComMonitor"), true, settings);
        QCOMPARE(settings.values.value("FormComMonitor/State"), QStringLiteral("0"));
        QCOMPARE(settings.values.value("FormComMonitor/Visible"), QStringLiteral("True"));
        QCOMPARE(settings.values.value("FormComMonitor/Left"), QStringLiteral("40"));
        QCOMPARE(settings.values.value("FormComMonitor/Top"), QStringLiteral("30"));
        QCOMPARE(settings.values.value("FormComMonitor/Width"), QStringLiteral("300"));
        QCOMPARE(settings.values.value("FormComMonitor/Height"), QStringLiteral("200"));

        child->setGeometry(0, 0, 100, 100);
        RestoreFormPlacement(child, QStringLiteral("FormComMonitor"), true, settings);
        QVERIFY(!child->isHidden());
        QCOMPARE(child->geometry(), QRect(40, 30, 300, 200));

        // Hidden by the user: stays hidden at the next start.
        child->close();
        QVERIFY(child->isHidden());
        SaveFormPlacement(child, QStringLiteral("FormComMonitor"), true, settings);
        QCOMPARE(settings.values.value("FormComMonitor/Visible"), QStringLiteral("False"));
        child->show();
        RestoreFormPlacement(child, QStringLiteral("FormComMonitor"), true, settings);
        QVERIFY(child->isHidden());
    }

    void maximisedWindowReopensMaximised()
    {
        MemorySettingsStore settings;
        QWidget window;
        window.setObjectName(QStringLiteral("FormMain"));
        window.setGeometry(50, 60, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint normalPos = window.pos();
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
        QCOMPARE(next.size(), QSize(400, 300));
    }

    void fixedWindowsIgnoreSizeAndBadValuesAreSkipped()
    {
        MemorySettingsStore settings;
        settings.save("FormAbout", "Width", "999");
        settings.save("FormAbout", "Height", "999");
        settings.save("FormAbout", "Left", "12.5");
        settings.save("FormAbout", "Top", "not a number");
        settings.save("FormAbout", "State", "7");
        settings.save("FormAbout", "Visible", "maybe");
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

    void settingsStoreOnDisk()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        {
            QSettingsStore store;
            QCOMPARE(store.get("FormMain", "MCLK", "6.144"), QStringLiteral("6.144"));
            store.save("FormMain", "MCLK", "4.9152");
            store.save("FormMain", "MCLK", "5");
            QVERIFY(store.fileName().startsWith(home.path()));
        }
        {
            QSettingsStore store;
            QCOMPARE(store.get("FormMain", "MCLK", "6.144"), QStringLiteral("5"));
            QCOMPARE(store.get("FormData", "Dockable", "False"), QStringLiteral("False"));
            QVERIFY(store.movedAside().isEmpty());
        }
    }

    void damagedSettingsFileGivesDefaults()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        QString path;
        {
            QSettingsStore store;
            store.save("FormMain", "ComPort", "2");
            path = store.fileName();
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xff\xfe\x00[FormMain\x01\x02 garbage ==\n=\n[[[\x00\xff", 34));
        file.close();
        {
            QSettingsStore store;
            QCOMPARE(store.get("FormMain", "ComPort", "0"), QStringLiteral("0"));
            store.save("FormMain", "ComPort", "3");
        }
        QSettingsStore again;
        QCOMPARE(again.get("FormMain", "ComPort", "0"), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
