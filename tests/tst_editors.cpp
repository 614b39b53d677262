#include "FirmwareRig.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "editors/BitCell.h"
#include "editors/ChannelView.h"
#include "editors/FormADCSetup.h"
#include "editors/FormRegisters.h"
#include "editors/RegPanel.h"
#include "editors/SetupPaging.h"
#include "editors/SetupTotals.h"
#include "model/HexText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

// The model and link as start-up leaves them, on a fake port answered by the simulated
// board's firmware. Only the automatic write of changed registers talks to the board.
struct EditorRig : FirmwareRig
{
    SignalRecorder sends{&model};

    explicit EditorRig(int variant = 8)
        : FirmwareRig(variant)
    {
        link.setCheckAutoUpdate(false);
        port.written.clear();
        sends.clear();
    }
    QStringList sent() const { return sends.only({"RegisterSend"}); }
    // Start-up writes the power-on image once the windows exist.
    void powerOn()
    {
        LoadRegisterDefaults(model, model.EvBoard());
        port.written.clear();
        sends.clear();
    }
};

RegPanel *makePanel(int type, bool writable, qint32 value)
{
    auto *p = new RegPanel;
    p->setRegType(type);
    p->setButtonWrite(writable);
    p->setRegValue(value);
    return p;
}

// Names of the widgets that the Tab key reaches inside w, in focus-chain order.
QStringList tabOrder(QWidget *w)
{
    QStringList names;
    for (QWidget *next = w->nextInFocusChain(); next != w; next = next->nextInFocusChain())
        if (w->isAncestorOf(next) && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus))
            names << next->objectName();
    return names;
}

void showActive(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panelEntries_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<qint32>("start");
        QTest::addColumn<QString>("box"); // "hex", "dec", "value" (set RegValue), "type" (set RegType)
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("edits");
        // clang-format off
        QTest::newRow("8-bit 300 clamps")   << 3 << 0 << "value" << "300" << "FF" << 255 << 0;
        QTest::newRow("8-bit -5 clamps")    << 3 << 7 << "value" << "-5" << "00" << 0 << 0;
        QTest::newRow("hex ffff")           << 1 << 0 << "hex" << "ffff" << "FFFF" << 65535 << 1;
        QTest::newRow("hex box length")     << 3 << 0 << "hex" << "1FF" << "1F" << 31 << 1;
        QTest::newRow("dec 2.5")            << 2 << 0 << "dec" << "2.5" << "000002" << 2 << 1;
        QTest::newRow("dec 3.5")            << 2 << 0 << "dec" << "3.5" << "000004" << 4 << 1;
        QTest::newRow("dec negative")       << 1 << 9 << "dec" << "-7" << "0000" << 0 << 1;
        QTest::newRow("dec above width")    << 1 << 0 << "dec" << "99999" << "FFFF" << 65535 << 1;
        QTest::newRow("type 16 to 24")      << 1 << 0x8000 << "type" << "2" << "800000" << 0x800000 << 0;
        QTest::newRow("type 24 to 16")      << 2 << 0x800000 << "type" << "1" << "8000" << 0x8000 << 0;
        QTest::newRow("type 24 to 8 bits")  << 2 << 0x7FFFFF << "type" << "3" << "80" << 128 << 0;
        // clang-format on
    }

    void panelEntries()
    {
        QFETCH(int, type);
        QFETCH(qint32, start);
        QFETCH(QString, box);
        QFETCH(QString, entry);
        std::unique_ptr<RegPanel> p(makePanel(type, true, start));
        QSignalSpy edited(p.get(), &RegPanel::RegEdited);
        if (box == "value" || box == "type") {
            box == "value" ? p->setRegValue(entry.toInt()) : p->setRegType(entry.toInt());
        } else {
            QLineEdit *edit = box == "hex" ? p->TextValueHex : p->TextValueDec;
            edit->setText(entry);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QTEST(p->TextValueHex->text(), "hex");
        QTEST(p->RegValue(), "value");
        QCOMPARE(p->TextValueDec->text(), QString::number(p->RegValue()));
        QTEST(int(edited.count()), "edits");
    }

    void panelBits_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("bySpace");
        QTest::addColumn<qint32>("value");
        QTest::newRow("click writable") << true << false << 0x81;
        QTest::newRow("space writable") << true << true << 0x81;
        QTest::newRow("click read-only") << false << false << 0x01;
        QTest::newRow("space read-only") << false << true << 0x01;
    }

    void panelBits()
    {
        QFETCH(bool, writable);
        QFETCH(bool, bySpace);
        std::unique_ptr<RegPanel> p(makePanel(3, writable, 0x01));
        QSignalSpy edited(p.get(), &RegPanel::RegEdited);
        BitCell *bit7 = p->LabelBit[7];
        bySpace ? QTest::keyClick(bit7, Qt::Key_Space) : QTest::mouseClick(bit7, Qt::LeftButton);
        QTEST(p->RegValue(), "value");
        QCOMPARE(bit7->isSet(), writable);
        QCOMPARE(int(edited.count()), writable ? 1 : 0);
        QCOMPARE(bit7->focusPolicy(), writable ? Qt::StrongFocus : Qt::NoFocus);
        QCOMPARE(p->TextValueHex->focusPolicy(), writable ? Qt::StrongFocus : Qt::NoFocus);
    }

    void panelFocusRules()
    {
        std::unique_ptr<RegPanel> p(makePanel(3, true, 0x12));
        // The same value again rewrites nothing, so a half-typed entry stays.
        p->TextValueHex->setText("AB");
        p->setRegValue(0x12);
        QCOMPARE(p->TextValueHex->text(), QStringLiteral("AB"));

        showActive(p.get());
        SignalRecorder events(p.get());
        p->TextValueHex->setFocus();
        QTest::keyClick(p->TextValueHex, Qt::Key_Tab); // unchanged text: one commit
        QCOMPARE(events.names(), QStringList({"RegEdited"}));
        events.clear();
        p->TextValueHex->setFocus();
        p->TextValueHex->setText("7F");
        p->CommandWr->click(); // the entry is committed before the write
        QCOMPARE(events.names(), QStringList({"RegEdited", "RegWrite"}));
        QCOMPARE(p->RegValue(), 0x7F);
        QCOMPARE(tabOrder(p.get()), QStringList({"CommandRd", "CommandWr", "TextValueHex", "LabelBit7",
                                                 "LabelBit6", "LabelBit5", "LabelBit4", "LabelBit3",
                                                 "LabelBit2", "LabelBit1", "LabelBit0", "TextValueDec"}));
    }

    void registerWindowLoads_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<QString>("ioBit5");
        QTest::addColumn<QString>("ioBit1");
        // clang-format off
        QTest::newRow("QM4162") << 2 << false << QList<int>{0, 2} << "P0 DIR" << "-";
        QTest::newRow("QM4162 test") << 2 << true << QList<int>{0, 2, 3, 4, 5, 6, 7} << "P0 DIR" << "TestEn";
        QTest::newRow("QM4164") << 4 << false << QList<int>{0, 1, 2, 3} << "P0 DIR" << "-";
        QTest::newRow("QM4168") << 8 << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7} << "-" << "-";
        // clang-format on
    }

    void registerWindowLoads()
    {
        QFETCH(int, variant);
        QFETCH(bool, testMode);
        QM4168 model;
        model.setTestEnable(testMode);
        model.setEvBoard(variant);
        FakePorts ports;
        BoardLink link(model, nullptr, ports.factory());
        FormRegisters window(model, link);
        QList<int> shown;
        for (int i = 0; i < 8; ++i)
            if (!window.ButtonChannel[i]->isHidden())
                shown << i;
        QTEST(shown, "buttons");
        QTEST(window.panel(0x01)->BitName(5), "ioBit5");
        QTEST(window.panel(0x01)->BitName(1), "ioBit1");
        QCOMPARE(window.panel(0x03)->ButtonWrite(), testMode);
        // The window gives the model the rows' widths and design values.
        QCOMPARE(model.Register(0x25), 0xA0);
    }

    void registerWindowFollowsModelAndWrites()
    {
        EditorRig r;
        FormRegisters window(r.model, r.link, &r.dialogs);
        r.powerOn();
        RegPanel *zs = window.panel(0x10);
        r.model.setRegister(0x12, false, 0x123456);
        QCOMPARE(zs->RegValue(), 0x800000); // channel 2 is not selected
        window.ButtonChannel[2]->click();
        QCOMPARE(r.model.Channel(), 2);
        QCOMPARE(zs->RegAddress(), 0x12);
        QCOMPARE(zs->RegValue(), 0x123456);
        QVERIFY(zs->isMarked()); // differs from the power-on value
        r.model.setRegister(0x12, false, 0x800000);
        QVERIFY(!zs->isMarked());

        r.model.setRegister(0x38, false, 0x02); // channel 0's mode register always reaches its row
        QCOMPARE(window.panel(0x38)->RegValue(), 0x02);
        QCOMPARE(window.panel(0x08)->TextValueHex->text(), QStringLiteral("800000"));
        r.model.setRegister(0x2A, false, 0x10); // status option of channel 2
        QCOMPARE(window.panel(0x20)->BitName(3), QStringLiteral("P1"));
        QVERIFY(r.port.commands().isEmpty()); // model events never write back

        // Entries and bits change the model; only the Write button, or the automatic write, sends.
        r.model.setChannel(3);
        RegPanel *mode = window.panel(0x38);
        mode->TextValueHex->setText("05");
        QTest::keyClick(mode->TextValueHex, Qt::Key_Return);
        QCOMPARE(r.model.Register(0x3B), 0x05);
        QVERIFY(r.sent().isEmpty()); // "Auto Write Registers" is off
        mode->LabelBit[3]->clicked();
        QCOMPARE(r.model.Register(0x38), 0x0D);
        QVERIFY(r.port.commands().isEmpty());
        QVERIFY(mode->isPending() && !window.panel(0x30)->isPending()); // not yet on the chip
        // Text that is not hexadecimal is refused and changes nothing.
        mode->TextValueHex->setText("0x");
        QTest::keyClick(mode->TextValueHex, Qt::Key_Return);
        QCOMPARE(r.dialogs.texts(),
                 QStringList({"\"0x\" is not a hexadecimal number: register 3Bh keeps 0Dh."}));
        QCOMPARE(mode->TextValueHex->text(), QStringLiteral("0D"));
        mode->CommandWr->click();
        QCOMPARE(r.port.commands(), QStringList({"S 3B 0D"}));
        QVERIFY(!mode->isPending());
        r.port.written.clear();
        window.panel(0x10)->CommandRd->click(); // channel 3's zero-scale register, 3 bytes
        QCOMPARE(r.port.commands(), QStringList({"S 53 00 00 00"}));
        QCOMPARE(window.panel(0x10)->RegValue(), r.model.Register(0x13));

        r.port.written.clear();
        r.link.setCheckAutoWriteReg(true);
        window.panel(0x28)->LabelBit[3]->clicked();
        QCOMPARE(r.sent(), QStringList({"RegisterSend(43, 8, 3)"}));
        QCOMPARE(r.port.commands(), QStringList({"S 2B 08"}));
    }

    // Steps "row widget [list index]", row "-" for the window's own boxes, ";" between steps.
    void setupActions_data()
    {
        QTest::addColumn<int>("channel"); // current channel before the steps
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("enable ch2") << 0 << "2 ChkEnable" << QStringList{"S 2A 08"};
        QTest::newRow("buffer ch1") << 0 << "1 ChkBuffered" << QStringList{"S 29 80"};
        QTest::newRow("input ch6") << 0 << "6 CmbInput 1" << QStringList{"S 2E 60"};
        QTest::newRow("same input") << 0 << "6 CmbInput 0" << QStringList{};
        QTest::newRow("range ch0") << 0 << "0 CmbRanges 0" << QStringList{"S 28 04"};
        QTest::newRow("chop ch0") << 0 << "0 ChkChop" << QStringList{"S 30 11"};
        QTest::newRow("time up ch3") << 0 << "3 updConvTime" << QStringList{"S 33 92"};
        QTest::newRow("single ch4") << 0 << "4 optSingleConv" << QStringList{"S 3C 40"};
        QTest::newRow("sync") << 0 << "- chkSync" << QStringList{"S 01 F1"};
        QTest::newRow("P0 level of an input") << 0 << "- lblP0" << QStringList{};
        QTest::newRow("P0 direction, level")
            << 0 << "- lblP0Dir;- lblP0" << QStringList{"S 01 D0", "S 01 50"};
        QTest::newRow("RDY after all") << 0 << "- OptRdyFn1" << QStringList{"S 01 F8"};
        QTest::newRow("clamp ch5") << 5 << "- chkClamp" << QStringList{"S 3D 01"};
        QTest::newRow("continuous read ch5") << 5 << "- chkContRd" << QStringList{"S 38 04"};
        QTest::newRow("24 bits ch2") << 2 << "- Opt24" << QStringList{"S 3A 02"};
        QTest::newRow("16 bits again") << 2 << "- Opt16" << QStringList{};
        QTest::newRow("standby ch1") << 1 << "- optStandby" << QStringList{"S 39 60"};
    }

    void setupActions()
    {
        QFETCH(int, channel);
        QFETCH(QString, steps);
        EditorRig r;
        FormRegisters registers(r.model, r.link); // both windows listen, as in the program
        FormADCSetup window(r.model);
        r.powerOn();
        r.model.setChannel(channel);
        for (const QString &step : steps.split(';')) {
            const QStringList p = step.split(' ');
            QWidget *owner = p[0] == "-" ? static_cast<QWidget *>(&window) : window.row(p[0].toInt());
            QWidget *w = owner->findChild<QWidget *>(p[1]);
            QVERIFY2(w, qPrintable(step));
            if (auto *list = qobject_cast<QComboBox *>(w))
                Q_EMIT list->activated(p[2].toInt());
            else if (auto *spinner = qobject_cast<QSpinBox *>(w))
                spinner->stepUp();
            else
                qobject_cast<QAbstractButton *>(w)->click();
        }
        QTEST(r.port.commands(), "frames");
        QCOMPARE(r.sent().size(), r.port.commands().size()); // one write per change, no echo
    }

    void setupConversionTimeEntry()
    {
        EditorRig r;
        {
            ChannelView view(r.model, 8);
            showActive(&view);
            SignalRecorder events(&view);
            view.TxtConvTime->setFocus();
            view.TxtConvTime->selectAll();
            QTest::keyClicks(view.TxtConvTime, "700");
            QTest::keyClick(view.TxtConvTime, Qt::Key_Return);
            QCOMPARE(events.events(), QStringList({"ConvTimeEdited(700)"})); // Enter, not the focus move too
            QVERIFY(view.ChkChop->hasFocus());
            QCOMPARE(tabOrder(&view),
                     QStringList({"ChkEnable", "CmbRanges", "ChkBuffered", "CmbInput", "optZsCalibration",
                                  "optFsCalibration", "optSingleConv", "ChkChop", "TxtConvTime"}));
            events.clear();
            QTest::keyClick(view.TxtConvTime, Qt::Key_Up);
            QTest::keyClick(view.TxtConvTime, Qt::Key_Down);
            QCOMPARE(events.names(), QStringList({"ConvTimeUp", "ConvTimeDown"}));
        }
        FormADCSetup window(r.model);
        showActive(&window);
        ChannelView *row1 = window.row(1);
        row1->TxtConvTime->setFocus();
        row1->TxtConvTime->selectAll();
        QTest::keyClicks(row1->TxtConvTime, "700");
        QTest::keyClick(row1->TxtConvTime, Qt::Key_Return);
        const int word = r.model.FilterWordForTime(700, true, 0);
        QCOMPARE(r.port.commands(), QStringList({"S 31 " + HexPad(128 + word, 2)})); // once
        QCOMPARE(r.model.Channel(), 1);
        QCOMPARE(row1->TxtConvTime->text(), SetupTotals::boxText(r.model.ConversionTime(1)));

        // A time at the word already held writes nothing, yet shows the box and the totals
        // again and selects the channel.
        r.model.setEnable(1, true);
        r.model.setChannel(0);
        r.port.written.clear();
        window.TxtOutputRate->clear();
        row1->TxtConvTime->selectAll();
        QTest::keyClicks(row1->TxtConvTime, "701");
        QTest::keyClick(row1->TxtConvTime, Qt::Key_Return);
        QVERIFY(r.port.commands().isEmpty());
        QCOMPARE(r.model.Channel(), 1);
        QCOMPARE(row1->TxtConvTime->text() + window.TxtOutputRate->text(),
                 SetupTotals::boxText(r.model.ConversionTime(1)) +
                     SetupTotals::boxText(r.model.ConversionTime(1)));
    }

    void setupFollowsModel()
    {
        EditorRig r;
        FormADCSetup window(r.model);
        r.model.setMd(0, 3);
        r.port.written.clear();
        r.model.setRegister(0x3C, false, 0xC0); // channel 4, zero-scale system calibration
        QCOMPARE(r.model.Channel(), 4);
        for (int c = 0; c < 8; ++c)
            QCOMPARE(window.row(c)->optZsCalibration->isChecked(), c == 4);
        for (QRadioButton *option :
             {window.optIdle, window.optContConv, window.optStandby, window.OptZSCal, window.optFSCal})
            QVERIFY(!option->isChecked());
        r.model.setRegister(0x38, false, 0x02); // 24-bit data shown, not written back
        QVERIFY(window.Opt24->isChecked());
        QVERIFY(r.port.commands().isEmpty());

        r.model.setRegister(0x20, false, 0x01); // over range, then under range cleared
        r.model.setRegister(0x20, false, 0x00);
        QVERIFY(!window.row(0)->LblOverRange->isHidden());
        QVERIFY(window.row(0)->lblUnderRange->isHidden());
        QCOMPARE(window.row(0)->LblOverRange->property("flagSet").toBool(), false);

        QCOMPARE(window.txtOutUpdateHz->text(), QStringLiteral("0"));
        r.model.setEnable(0, true);
        r.model.setEnable(1, true);
        QCOMPARE(window.TxtOutputRate->text(),
                 SetupTotals::boxText(r.model.ConversionTime(0) + r.model.ConversionTime(1)));
    }

    void setupTotals()
    {
        QCOMPARE(SetupTotals::boxText(750.0), QStringLiteral(" 750"));
        QCOMPARE(SetupTotals::rateText(750.0), QStringLiteral(" 1333.33"));
        QCOMPARE(SetupTotals::boxText(0.0), QStringLiteral(" 0")); // none enabled
        QCOMPARE(SetupTotals::rateText(0.0), QStringLiteral("0"));
        QCOMPARE(SetupTotals::boxText(394.685), QStringLiteral(" 394.68")); // halves to even
        QCOMPARE(SetupTotals::rateText(394.685), QStringLiteral(" 2533.67"));
    }

    void setupPaging_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("maxChannel");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<int>("hidden");
        QTest::addColumn<int>("snapped");
        QTest::addColumn<QVector<int>>("shown");
        // Twips: 2725 without rows, first row at 2295, rows of 375.
        QTest::newRow("3 of 8, scrolled 2")
            << 8 << 7 << 2725 + 3 * 375 + 100 << 2 << 5 << 3850 << QVector<int>{2, 3, 4};
        QTest::newRow("too low: one row") << 8 << 7 << 1000 << 9 << 7 << 3100 << QVector<int>{7};
        QTest::newRow("all of 4") << 4 << 3 << 99999 << 0 << 0 << 4225 << QVector<int>{0, 1, 2, 3};
        QTest::newRow("QM4162 fixed") << 2 << 2 << 3000 << 1 << 0 << 3850 << QVector<int>{0, 2};
    }

    void setupPaging()
    {
        QFETCH(int, variant);
        QFETCH(int, maxChannel);
        QFETCH(int, height);
        QFETCH(int, scroll);
        const SetupPaging paging(2725, 2295, 375, maxChannel, variant);
        QTEST(paging.hiddenRows(height), "hidden");
        QTEST(paging.snappedHeight(height), "snapped");
        QTEST(paging.shownRows(height, scroll), "shown");
        QCOMPARE(paging.rowTop(3, 2), variant == 2 ? 2295 + 3 * 375 : 2295 + 375);
    }

    void channelLists_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("ranges");
        const QStringList four{"± 10 V", "+ 10 V", "± 5 V", "+ 5 V"};
        QTest::newRow("QM4168 ch6") << 8 << 6 << QStringList{"Ain6- AinCOM", "Ain4- Ain5"}
                                    << QStringList{"± 2.5 V",  "+ 2.5 V",   "± 1.25 V",
                                                   "+ 1.25 V", "± 0.625 V", "+ 0.625 V"};
        QTest::newRow("QM4164 ch2") << 4 << 2 << QStringList{"Ain2"} << four;
        QTest::newRow("QM4162 ch2") << 2 << 2 << QStringList{"Ain1(+) - Ain1(-)"} << four;
        QTest::newRow("QM4162 ch3") << 2 << 3 << QStringList{"Ain1(-) - Bias"} << four;
    }

    void channelLists()
    {
        QFETCH(int, variant);
        QFETCH(int, channel);
        QM4168 model;
        model.setEvBoard(variant);
        ChannelView view(model, variant);
        view.setChannelNumber(channel);
        auto texts = [](QComboBox *list) {
            QStringList t;
            for (int i = 0; i < list->count(); ++i)
                t << list->itemText(i);
            return t;
        };
        QTEST(texts(view.CmbInput), "inputs");
        QTEST(texts(view.CmbRanges), "ranges");
        QCOMPARE(view.CmbInput->currentIndex(), 0);
        QCOMPARE(view.ChkBuffered->isHidden(), variant < 8);
        QCOMPARE(view.LblChannelName->text(), QStringLiteral("Ch %1").arg(channel));

        SignalRecorder events(&view);
        view.setCom(3);
        view.setRng(4);
        Q_EMIT view.CmbInput->activated(0);
        Q_EMIT view.CmbRanges->activated(2);
        QTest::mouseDClick(view.LblChannelName, Qt::LeftButton); // toggles the enable box
        QCOMPARE(view.CmbInput->currentIndex(), variant >= 8 ? 1 : 0);
        QCOMPARE(view.CmbRanges->currentIndex(), 0);
        QCOMPARE(events.events(), variant >= 8
                                      ? QStringList({"ComEdited(0)", "RngEdited(0)", "EnableEdited(true)"})
                                      : QStringList({"RngEdited(2)", "EnableEdited(true)"}));
    }
};

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
