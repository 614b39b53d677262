#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "tools/CodeGenerator.h"
#include "tools/ComMonitorText.h"
#include "tools/FormCodeGene.h"
#include "tools/FormComMonitor.h"

#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monitorLines()
    {
        ComMonitorText text;
        // A frame sent, then the reply arriving byte by byte with CR LF.
        text.Display(QStringLiteral("[X\r"));
        QCOMPARE(text.lines(), QStringList({"[X", ""}));
        for (const QChar c : QStringLiteral("[X Reset"))
            text.Display(QString(c));
        QCOMPARE(text.lines().last(), QStringLiteral("[X Reset"));
        text.Display(QStringLiteral("\r"));
        text.Display(QStringLiteral("\n")); // LF after CR adds nothing
        QCOMPARE(text.lines(), QStringList({"[X", "[X Reset", ""}));
        // Other control characters are dropped; printable ones above 127 are kept.
        text.Display(QString::fromLatin1("a\tb\x01\xB1"));
        QCOMPARE(text.lines().last(), QString::fromLatin1("ab\xB1"));
        // Only the last 21 lines are kept.
        for (int i = 0; i < 30; ++i)
            text.Display(QStringLiteral("[S %1\r").arg(i));
        QCOMPARE(text.lines().size(), 21);
        QCOMPARE(text.lines().first(), QStringLiteral("[S 10"));
        QCOMPARE(text.lines().at(19), QStringLiteral("[S 29"));
        QCOMPARE(text.lines().last(), QString());
    }

    void monitorWindowFollowsTheText()
    {
        FormComMonitor form;
        QCOMPARE(form.windowTitle(), QStringLiteral("ComMonitor"));
        form.Display(QStringLiteral("[L 0000\r"));
        form.Display(QStringLiteral("["));
        form.Display(QStringLiteral("L"));
        QCOMPARE(form.List1->count(), 2);
        QCOMPARE(form.List1->item(0)->text(), QStringLiteral("[L 0000"));
        QCOMPARE(form.List1->item(1)->text(), QStringLiteral("[L"));
    }

    void codeLinesForWritesAndReads()
    {
        QM4168 model;
        model.setEvBoard(8);
        RegisterDesign::applyTo(model);
        model.setRegister(56, false, 0x51);
        QCOMPARE(CodeGenerator::writeOperation(model, 56),
                 QStringList({"Write SPI (0x38, 8); Communication", "Write SPI (0x51, 8); Mode", ""}));
        QCOMPARE(CodeGenerator::readOperation(model, 1),
                 QStringList({"Write SPI (0x41, 8); Communications", "Value= Read SPI (8);", ""}));
        model.setRegister(5, false, 0x0A0B);
        QCOMPARE(CodeGenerator::writeOperation(model, 5).at(1),
                 QStringLiteral("Write SPI (0xA0B, 16); CheckSum"));
        QCOMPARE(CodeGenerator::readOperation(model, 0x12),
                 QStringList({"Write SPI (0x52, 8); Communications", "Value= Read SPI (24);", ""}));
        model.setRegister(0x30, false, 0x00);
        QCOMPARE(CodeGenerator::writeOperation(model, 0x30).at(1),
                 QStringLiteral("Write SPI (0x3, 8); Channel Conv. Time"));
        // Names by address block, with none outside the registers.
        QStringList names;
        for (int address : {0, 7, 15, 16, 31, 39, 47, 63, 64})
            names << CodeGenerator::registerName(address);
        QCOMPARE(names,
                 QStringList({"", "ADC FS Calibration", "Channel Data", "Channel ZS Calibration",
                              "Channel FS Calibration", "Channel Status", "Channel Setup", "Mode", ""}));
    }

    void codeGeneratorWindow()
    {
        QM4168 model;
        model.setEvBoard(8);
        RegisterDesign::applyTo(model);
        FormCodeGene form(model);
        QCOMPARE(QStringList({form.windowTitle(), form.ChkRecord->toolTip(), form.Command1->text(),
                              form.CmdPast->text()}),
                 QStringList({"Code Generator", "Record", "copy", "paste"}));
        QVERIFY(!form.Record());
        form.ChkRecord->click();
        QVERIFY(form.Record());

        form.ReadOperation(1);
        form.WriteOperation(0x30);
        QCOMPARE(form.LstCodeGene->count(), 6);
        // The last added line is selected, the lines selected before stay so.
        QList<int> rows;
        for (QListWidgetItem *item : form.LstCodeGene->selectedItems())
            rows << form.LstCodeGene->row(item);
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, (QList<int>{2, 5}));

        form.LstCodeGene->clearSelection();
        form.Command1->click();
        QCOMPARE(QApplication::clipboard()->text(), QString());

        form.LstCodeGene->item(1)->setSelected(true); // the selected lines, not a range
        form.LstCodeGene->item(3)->setSelected(true);
        form.Command1->click();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Value= Read SPI (8);\r\nWrite SPI (0x30, 8); Communication\r\n"));

        QApplication::clipboard()->setText(QStringLiteral("// init"));
        form.LstCodeGene->clearSelection();
        form.LstCodeGene->item(4)->setSelected(true);
        form.CmdPast->click();
        QCOMPARE(form.LstCodeGene->count(), 8);
        QCOMPARE(form.LstCodeGene->item(4)->text(), QStringLiteral("// init"));
        QCOMPARE(form.LstCodeGene->item(5)->text(), QStringLiteral("// init"));
        QCOMPARE(form.LstCodeGene->item(6)->text(),
                 QStringLiteral("Write SPI (0x91, 8); Channel Conv. Time"));
        QCOMPARE(form.LstCodeGene->selectedItems(), QList<QListWidgetItem *>{form.LstCodeGene->item(6)});
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
