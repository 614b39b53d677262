#include "ModalDriver.h"
#include "ReceiveSplit.h"
#include "SignalRecorder.h"
#include "TestServices.h"
#include "analysis/PlotTableCsv.h"
#include "analysis/PlotView.h"
#include "app/AppContext.h"
#include "app/ChildWindow.h"
#include "app/FormHistory.h"
#include "app/FormLogger.h"
#include "app/FormMain.h"
#include "board/BoardLink.h"
#include "board/ComPortList.h"
#include "board/FormContRead.h"
#include "board/FormEvalBoard.h"
#include "board/LiveTimePlot.h"
#include "controls/CommitLineEdit.h"
#include "data/DataFile.h"
#include "history/HistoryRecorder.h"
#include "history/LoggerRun.h"
#include "tools/FormCodeGene.h"
#include "tools/FormComMonitor.h"
#include "tools/FormReset.h"
#include "tools/FormTest.h"
#include <QDoubleSpinBox>
#include <QTableWidget>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

// The command frames the link sent, as their texts without "[" and CR ("D 0FFF").
QStringList sentCommands(const SignalRecorder &hooks)
{
    QStringList commands;
    for (const QString &e : hooks.only({"Display"})) {
        const QString text = e.mid(9, e.size() - 11); // Display("...")
        if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char('\r')))
            commands << text.mid(1, text.size() - 2);
    }
    return commands;
}

// The user's entry: the text, marked as edited, then Enter.
void type(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setModified(true);
    QTest::keyClick(box, Qt::Key_Return);
}

void leave(QLineEdit *box)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &in);
    QApplication::sendEvent(box, &out);
}

// A main window on the simulated board, started as the program starts.
struct Program
{
    TestServices t;
    AppContext context;
    std::unique_ptr<FormMain> window;

    explicit Program(const QStringList &arguments = {"68"}) { start(arguments); }

    void start(const QStringList &arguments)
    {
        window = std::make_unique<FormMain>(context, StartupOptions::parse(arguments), t.services());
        window->Load();
    }
    FormEvalBoard *board() { return window->formEvalBoard(); }
    BoardLink &link() { return window->boardLink(); }
    void openSimulatedBoard()
    {
        board()->selectPort(board()->ComboComPort->findText(QString::fromLatin1(ComPortList::Simulated)));
    }
};

} // namespace

class TestBoardWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addReceiveSplitRows(); }
    void init() { useReceiveSplitRow(); }

    void windowLayoutAndPorts()
    {
        Program p;
        FormEvalBoard *board = p.board();
        QStringList ports;
        for (int i = 0; i < board->ComboComPort->count(); ++i)
            ports << board->ComboComPort->itemText(i);
        QCOMPARE(ports, QStringList(
                            {"Disabled", "Com1", "Com2", "Com3", "Com4", "/dev/ttyUSB0", "Simulated board"}));
        QCOMPARE((QList<bool>{board->CheckAutoWriteReg->isChecked(), board->CheckAutoWriteADC->isChecked(),
                              board->CheckAutoUpdate->isChecked(), board->CheckRegularUpdate->isChecked()}),
                 (QList<bool>{false, true, true, false}));
        QCOMPARE(board->TextDACVoltage->text() + '/' + board->TextDAC->text(), QStringLiteral("0.000/0"));

        // The switches drive the link.
        board->CheckAutoWriteADC->click();
        QVERIFY(!p.link().CheckAutoWriteADC());
        board->CheckRegularUpdate->click();
        QVERIFY(p.link().CheckRegularUpdate());
        board->CheckAutoWriteReg->click();
        QVERIFY(p.link().CheckAutoWriteReg());
        board->CheckAutoUpdate->click();
        QVERIFY(!p.link().CheckAutoUpdate());

        // A port that cannot be opened: back to Disabled.
        board->ComboComPort->setCurrentIndex(3);
        QCOMPARE(p.t.dialogs.texts(), QStringList({"Com 3 Can't be opend - No such file or directory"}));
        QCOMPARE(board->ComboComPort->currentIndex(), 0);
        QCOMPARE(p.window->BrdStatus()->text(), QStringLiteral("Board Disabled"));

        // A board lost while open: back to Disabled.
        p.openSimulatedBoard();
        qobject_cast<SimulatedSerialPort *>(p.link().port())->unplug();
        QTRY_COMPARE(board->ComboComPort->currentIndex(), 0);
        QCOMPARE(p.t.dialogs.boxes.size(), 2);
    }

    void dacBoxesAndCommands()
    {
        Program p;
        p.openSimulatedBoard();
        SignalRecorder hooks(&p.link().hooks());
        FormEvalBoard *board = p.board();

        board->UpDownDAC->setValue(4095);
        QCOMPARE(board->TextDACVoltage->text() + '/' + board->TextDAC->text(), QStringLiteral("5.000/4095"));
        board->UpDownDAC->setValue(0);
        type(board->TextDAC, QStringLiteral("100"));
        QCOMPARE(board->UpDownDAC->value(), 100);
        const auto typed = [&](const char *volts) {
            type(board->TextDACVoltage, QString::fromLatin1(volts));
            return board->UpDownDAC->value();
        };
        QCOMPARE(typed("7"), 4095);
        QCOMPARE(typed("-1"), 0);
        QCOMPARE(typed("4.999"), 4095); // 4095.18 in steps of 5 V / 4096
        QCOMPARE(typed("2.5"), 2048);
        QCOMPARE(board->TextDACVoltage->text(), QStringLiteral("2.501"));
        // Typing the value the DAC already has sends nothing and shows the code's voltage.
        type(board->TextDACVoltage, QStringLiteral("2.5"));
        QCOMPARE(board->TextDACVoltage->text(), QStringLiteral("2.501"));
        QCOMPARE(sentCommands(hooks),
                 QStringList({"D 0FFF", "D 0000", "D 0064", "D 0FFF", "D 0000", "D 0FFF", "D 0800"}));

        // The main window's DAC control mirrors the board window's.
        QCOMPARE(p.window->TxtDacValue->text(), QStringLiteral("2.501"));
        hooks.clear();
        p.window->UpDownDAC->setValue(100);
        QCOMPARE(board->UpDownDAC->value(), 100);
        QCOMPARE(p.window->TxtDacValue->text(), QStringLiteral("0.122"));
        QCOMPARE(sentCommands(hooks), QStringList({"D 0064"}));

        // Passing through the boxes sends nothing; an edit left by the focus sends once, and
        // leaving again sends nothing more.
        hooks.clear();
        type(board->TextDACVoltage, QStringLiteral("2.5")); // shown back as 2.501
        QLineEdit *boxes[] = {board->TextDACVoltage, board->TextDAC, p.window->TxtDacValue};
        for (int round = 0; round < 3; ++round)
            for (QLineEdit *box : boxes)
                leave(box);
        QCOMPARE(sentCommands(hooks), QStringList({"D 0800"}));
        for (QLineEdit *box : boxes) {
            hooks.clear();
            box->selectAll();
            QTest::keyClicks(box, box == board->TextDAC ? QStringLiteral("300") : QStringLiteral("1"));
            leave(box);
            leave(box);
            QCOMPARE(sentCommands(hooks).size(), 1);
        }
        QCOMPARE(board->UpDownDAC->value(), 819);

        // With the port closed the spinner still moves but nothing is sent.
        board->selectPort(0);
        hooks.clear();
        board->UpDownDAC->setValue(7);
        QVERIFY(sentCommands(hooks).isEmpty());
        QCOMPARE(board->TextDAC->text(), QStringLiteral("7"));
    }

    void resetDialogs()
    {
        Program p;
        p.openSimulatedBoard();
        QStringList seen;
        whenModal([&](QWidget *modal) {
            auto *reset = qobject_cast<FormReset *>(modal);
            QVERIFY(reset);
            seen << reset->windowTitle() << reset->LabelMessage->text();
            // A second notice while the dialog is open only changes its message.
            reset->LabelMessage->setText(QStringLiteral("-"));
            p.t.board.pressReset();
            QTRY_COMPARE(reset->LabelMessage->text(), QStringLiteral("Evaluation Board has been RESET !"));
            QTest::qWait(50);
            QCOMPARE(QApplication::activeModalWidget(), reset);
            reset->CommandCancel->click();
        });
        p.window->toolButton("Reset")->trigger();
        QTRY_COMPARE(seen, QStringList({"QM416x", "Evaluation Board has been RESET !"}));
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);

        // The converter's reset offers the transfers: Write All writes the set-up the user had,
        // however long the dialog stayed open with "Read repeatedly" on.
        p.context.IADC.setDataWidth(3);
        QTRY_COMPARE(p.link().UpdateState(), 1);
        p.link().setCheckRegularUpdate(true);
        p.link().TimerRegularUpdate().setInterval(5);
        SignalRecorder hooks(&p.link().hooks());
        bool held = false;
        whenModal([&](QWidget *modal) {
            seen << qobject_cast<FormReset *>(modal)->LabelMessage->text();
            QTest::qWait(40);
            held = p.link().registerSync().automaticReadsHeld();
            qobject_cast<FormReset *>(modal)->CommandWriteAll->click();
        });
        p.board()->CommandADCReset->click();
        QCOMPARE(seen.last(), QStringLiteral("QM4168 has been RESET !"));
        const QStringList sent = sentCommands(hooks);
        QCOMPARE(sent.first(), QStringLiteral("S 00 FF FF FF FF"));
        QCOMPARE(sent.size(), 1 + 36);                    // write all: 3 + 4 x 8 + 1 registers
        QCOMPARE(sent.last(), QStringLiteral("S 38 02")); // 24-bit data, as set
        QVERIFY(held && !p.link().registerSync().automaticReadsHeld());
    }

    void continuousReadDialog()
    {
        Program p;
        QM4168 &model = p.context.IADC;
        p.openSimulatedBoard();
        SignalRecorder hooks(&p.link().hooks());

        // No channel enabled: nothing to start; Cancel closes and turns continuous read off.
        whenModal([&](QWidget *modal) {
            auto *d = qobject_cast<FormContRead *>(modal);
            QVERIFY(d);
            QVERIFY(!d->CommandStart->isEnabled());
            d->CommandCancel->click();
        });
        p.window->toolButton(QStringLiteral("Read"))->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(sentCommands(hooks), QStringList({"S 38 20"}));

        // Two 24-bit channels, on the chip as well (once the read-back after the mode write is over).
        QTRY_COMPARE(p.link().UpdateState(), 1);
        p.link().setCheckAutoWriteADC(false);
        model.setEnable(0, true);
        model.setEnable(1, true);
        model.setDataWidth(3);
        p.link().setCheckAutoWriteADC(true);
        QCOMPARE(p.link().RegWriteAll(), 36);

        // Limited to the board's memory, 4096 samples per channel, cancelled in the middle of
        // the transfer; then again, to the end. Only the completed one goes into the history.
        HistoryDatabase *history = p.window->history().database();
        QVERIFY(history);
        const qsizetype recorded = history->list()->size();
        for (const bool cancel : {true, false}) {
            // The read-back after the last mode write is over (a busy link refuses to start).
            QTRY_COMPARE(p.link().UpdateState(), 1);
            QTRY_VERIFY(p.link().BrdState() == 1 || p.link().BrdState() == 2);
            whenModal([&](QWidget *modal) {
                auto *d = qobject_cast<FormContRead *>(modal);
                QVERIFY(d);
                type(d->TextContReadAmount, QStringLiteral("20000"));
                QCOMPARE(d->Label1->text() + '|' + d->Label2->text() + '|' + d->Label3->text() + '|' +
                             d->TextContReadAmount->text() + '|' + d->LabelStatus->text(),
                         QStringLiteral("2 channels enabled|Samples 8192|Bytes 32768|4096|4096 samples per "
                                        "channel, as many as the board's memory holds"));
                connect(&p.link().contRead(), &ContinuousRead::progress, d,
                        [d, cancel](int received, int total) {
                            if (cancel && received > 0 && received < total) {
                                d->CommandCancel->click();
                                QCOMPARE(d->LabelStatus->text(), QStringLiteral("Cancelling\u2026"));
                            }
                        });
                // The completed read is a series of two captures.
                d->SpinCaptures->setValue(cancel ? 1 : 2);
                QElapsedTimer clock;
                clock.start();
                d->CommandStart->click();
                // The time plots grew beside the progress bar, at most 25 redraws a second.
                QCOMPARE(d->PlotLive->points(0) == 4096 && d->PlotLive->points(1) == 4096, !cancel);
                QVERIFY(d->PlotLive->points(0) > 0);
                QVERIFY(d->PlotLive->redraws() >= 1 && d->PlotLive->redraws() <= 2 + clock.elapsed() / 40);
                if (!cancel) {
                    QCOMPARE(d->LabelCapture->text(), QStringLiteral("Capture 2 of 2"));
                    QCOMPARE(d->ProgressTransfer->value(), 32768);
                    QCOMPARE(d->ProgressTransfer->maximum(), 32768);
                    QVERIFY(d->LabelProgress->text().startsWith(QStringLiteral("32768 of 32768 bytes, ")));
                }
            });
            p.window->toolButton(QStringLiteral("Read"))->trigger();
            QVERIFY(QApplication::activeModalWidget() == nullptr);
            QCOMPARE(p.context.IData.DataCount(1), cancel ? 0 : 4096);
        }
        QCOMPARE(p.context.ContReadAmount, 4096);
        QCOMPARE(p.context.CaptureCount, 2);
        QVERIFY(p.context.Captures.count() == 2 && p.context.Captures.holds(p.context.IData));
        const std::optional<QList<HistoryEntry>> entries = history->list();
        QCOMPARE(entries->size(), recorded + 1);
        QCOMPARE(entries->first().channels.size(), 2);
        QCOMPARE(entries->first().channels.at(1).samples, 4096);

        // The History window opens it into the store again, writes it as the data window
        // would, and deletes it after asking.
        QTemporaryDir dir;
        QVERIFY(!WriteDataFile(dir.filePath("read.dat"), p.context.IData, model).isError());
        p.window->MnuViewHistory->trigger();
        auto *form = p.window->findChild<FormHistory *>();
        QVERIFY(form && form->isVisible() && p.window->MnuViewHistory->isChecked());
        form->ListCaptures->selectRow(1); // the newest capture's second channel
        QCOMPARE(form->selectedIds(), QList<qint64>{entries->first().id});
        p.context.IData.Clear();
        form->CommandOpen->click();
        QCOMPARE(p.context.IData.DataCount(1), 4096);
        p.t.dialogs.fileAnswers << dir.filePath("history.dat");
        form->CommandExport->click();
        QCOMPARE(contentsOf(dir.filePath("history.dat")), contentsOf(dir.filePath("read.dat")));
        p.t.dialogs.answers << true;
        form->CommandDelete->click();
        QCOMPARE(p.t.dialogs.boxes.last().text,
                 QStringLiteral("Delete capture(s) %1 from the history ?").arg(entries->first().id));
        QCOMPARE(history->list()->size(), recorded);
        p.t.dialogs.boxes.removeLast();

        // The Logger window: two captures back to back, one run, the trend of channel 0.
        p.window->MnuViewLogger->trigger();
        auto *logger = p.window->findChild<FormLogger *>();
        QVERIFY(logger && logger->isVisible());
        logger->SpinInterval->setValue(0);
        logger->SpinSamples->setValue(50);
        logger->SpinCount->setValue(2);
        QTRY_COMPARE(p.link().UpdateState(), 1);
        logger->CommandStart->click();
        QSignalSpy ended(logger->run(), &LoggerRun::finished);
        QVERIFY(ended.wait(20000));
        QCOMPARE(logger->LabelStatus->text(),
                 QStringLiteral("Run %1: 2 captures, 0 failed (ended)").arg(logger->run()->runId()));
        QCOMPARE(p.context.IData.DataCount(1), 50);
        QCOMPARE(logger->Plot->table().rows(), 2);
        QVERIFY(!logger->Plot->saveCsv(dir.filePath("trend.csv")).isError());
        QCOMPARE(contentsOf(dir.filePath("trend.csv")),
                 plotTableCsv(LoggerRun::trend(logger->run()->entries(), 0, LoggerRun::Quantity::MeanCode),
                              "Time (s)", "Mean Code (Dec)"));
        QCOMPARE(history->list(logger->run()->runId())->size(), 2);
        QCOMPARE(p.t.dialogs.boxes.size(), 1);
        QVERIFY(p.t.dialogs.boxes.first().text.startsWith(
            QStringLiteral("The continuous read was cancelled after ")));
    }

    void boardTestWindow()
    {
        Program p({"68", "TEST"});
        FormTest *test = p.window->formTest();

        // With the port closed the SRAM box leaves the label empty and clears itself.
        test->chkSram->click();
        QCOMPARE(test->lblSram->text(), QString());
        QVERIFY(!test->chkSram->isChecked());

        p.openSimulatedBoard();
        SignalRecorder hooks(&p.link().hooks());
        test->optON->click();
        test->optOFF->click();
        test->chkSram->click();
        QVERIFY(!test->chkSram->isChecked());
        QVERIFY(!test->lblSram->text().isEmpty());
        QCOMPARE(sentCommands(hooks), QStringList({"L 0000", "L 00FF", "R"}));
    }

    void userAccessesAreRecorded()
    {
        Program p;
        p.openSimulatedBoard();
        FormCodeGene *code = p.window->formCodeGene();
        code->ChkRecord->click();
        p.link().setCheckAutoUpdate(false);
        p.context.IADC.setSync(true);
        QStringList lines;
        for (int i = 0; i < code->LstCodeGene->count(); ++i)
            lines << code->LstCodeGene->item(i)->text();
        QCOMPARE(lines,
                 QStringList({"Write SPI (0x1, 8); Communication", "Write SPI (0xF1, 8); I/O Port", ""}));
        // The traffic went to the monitor as lines.
        const QListWidget *monitor = p.window->formComMonitor()->List1;
        QCOMPARE(monitor->item(monitor->count() - 3)->text(), QStringLiteral("[S 01 F1"));
    }

    void clockAndPortAcrossAStart()
    {
        {
            Program first;
            FormEvalBoard *board = first.board();
            QCOMPARE(board->ComboComPort->currentIndex(), 0);
            // Entries that are no clock are refused, saying so, and leave it as it was.
            for (const char *entry : {"abc", "0", "-5"})
                type(board->ComboMCLK->lineEdit(), QString::fromLatin1(entry));
            QCOMPARE(board->clockText(), QStringLiteral("6.144"));
            QCOMPARE(first.context.IADC.Mclk(), 6.144);
            const QString refused =
                QStringLiteral("The MCLK frequency must be a number of MHz above 0, not \"%1\".");
            QCOMPARE(first.t.dialogs.texts(),
                     (QStringList{refused.arg("abc"), refused.arg("0"), refused.arg("-5")}));
            first.openSimulatedBoard();
            QSignalSpy clock(&first.context.IADC, &QM4168::MclkChanged);
            type(board->ComboMCLK->lineEdit(), QStringLiteral("4.9152"));
            QCOMPARE(clock.count(), 1);
            first.window->close();
            QCOMPARE(first.t.settings.values.value("FormMain/ComPort"), QStringLiteral("6"));
            QCOMPARE(first.t.settings.values.value("FormMain/ComPortName"),
                     QStringLiteral("Simulated board"));
            QCOMPARE(first.t.settings.values.value("FormMain/MCLK"), QStringLiteral("4.9152"));
            QCOMPARE(first.link().BrdState(), 0); // closing the program closed the port

            // The next start opens the same port and takes the clock back.
            first.start({"68"});
            QCOMPARE(first.board()->portName(), QStringLiteral("Simulated board"));
            QCOMPARE(first.link().BrdState(), 1);
            QCOMPARE(first.context.IADC.Mclk(), 4.9152);
            QCOMPARE(first.board()->clockText(), QStringLiteral("4.9152"));
            // A clock chosen from the list.
            first.board()->ComboMCLK->setCurrentIndex(0);
            Q_EMIT first.board()->ComboMCLK->activated(0);
            QCOMPARE(first.context.IADC.Mclk(), 6.144);
        }
        {
            // A port that is gone is not replaced by whatever has its index now.
            Program p;
            p.t.settings.save("FormMain", "ComPortName", "/dev/ttyACM7");
            p.t.settings.save("FormMain", "ComPort", "6");
            p.t.settings.save("FormMain", "MCLK", "garbage");
            p.start({"68"});
            QCOMPARE(p.board()->ComboComPort->currentIndex(), 0);
            QCOMPARE(p.context.IADC.Mclk(), 6.144);
            // --simulate chooses the simulated board whatever was stored.
            p.start({"68", "--simulate"});
            QCOMPARE(p.window->BrdStatus()->text(), QStringLiteral("Board Idle"));
        }
    }
};

QTEST_MAIN(TestBoardWindow)
#include "tst_board_window.moc"
