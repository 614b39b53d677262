#include "ProcessRun.h"
#include "TestServices.h"
#include "analysis/ChannelPlot.h"
#include "analysis/FftMetrics.h"
#include "analysis/LogTicks.h"
#include "analysis/NoisePlot.h"
#include "analysis/PlotView.h"
#include "app/AppContext.h"
#include "app/FormMain.h"
#include "app/SettingsFile.h"
#include "app/StartupOptions.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "editors/SetupWords.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "report/ReportFile.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QtTest>

#include <cmath>

namespace {

using Run = ProcessRun;

// Channel 0: a sine of 1024 samples with a little noise; channel 3: 300 noisy codes.
void fillStore(ClassData &d)
{
    d.setDataWidth(3);
    d.setClamp(true);
    d.setRefVoltage(2.5);
    d.setRng(0, 4);
    d.setChannelTime(0, 1000);
    d.setRng(3, 1);
    d.setChannelTime(3, 2425 / 6.144);
    for (int i = 0; i < 1024; ++i)
        d.AddExtData(0, static_cast<qint32>(std::lround(80000 * std::sin(i * 0.21) + (i * 7919) % 41)));
    for (int i = 0; i < 300; ++i)
        d.AddExtData(3, -12000 + (i * 31) % 17);
    d.Process();
}

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QM4168 m_adc;
    ClassData m_data;
    const QDateTime m_when = QDateTime(QDate(2026, 1, 2), QTime(3, 4));

    Run run(const QString &program, const QStringList &arguments)
    {
        return runProcess(program, arguments, m_dir.path());
    }
    Run cli(const QStringList &arguments) { return run(QStringLiteral(QM_CLI_PATH), arguments); }

    // What a report must say of a channel: every figure the data window shows and the
    // spectrum's figures.
    QStringList channelTexts(int channel, int window = 2)
    {
        QStringList texts = {QStringLiteral("Channel %1").arg(channel)};
        for (const StatisticsCell &cell : ShowStatistics(m_data, channel, m_adc))
            texts << cell.label << cell.value.trimmed();
        const FftMetrics metrics = fftMetrics(m_data, channel, window);
        texts << (metrics.valid ? metricsLines(metrics) : QStringList{metrics.message});
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_adc.setEvBoard(8);
        ClassData acquired;
        fillStore(acquired);
        QVERIFY(!WriteDataFile(m_dir.filePath("a.dat"), acquired, m_adc).isError());
        QVERIFY(!ReadDataFile(m_dir.filePath("a.dat"), m_data, m_adc).isError());
    }

    void pdfReport()
    {
        const Run report = cli({"report", "a.dat", "-o", "r.pdf"});
        QCOMPARE(report.exitCode, 0);
        QCOMPARE(report.err, QString());
        const Run info = run(QStringLiteral("pdfinfo"), {"r.pdf"});
        const Run text = run(QStringLiteral("pdftotext"), {"r.pdf", "-"});
        QCOMPARE((QList<int>{info.exitCode, text.exitCode}), (QList<int>{0, 0}));
        // A page of title and set-up, then three pages for each channel and its four plots.
        QVERIFY2(info.out.contains(QRegularExpression("Pages: +7\n")), qPrintable(info.out));
        QVERIFY(info.out.contains(QRegularExpression("Page size: +595 x 842 pts \\(A4\\)")));
        QStringList expected = {QStringLiteral("QM4168 measurement report"), QStringLiteral("Data: a.dat"),
                                QStringLiteral("Allan deviation"), QStringLiteral("SNR = 10 log10(Ps / Pn)")};
        for (int page = 1; page <= 7; ++page)
            expected << QStringLiteral("Page %1 of 7").arg(page);
        expected << channelTexts(0) << channelTexts(3);
        for (const QString &t : std::as_const(expected))
            QVERIFY2(text.out.contains(t), qPrintable(t));
        // The plots are drawn as text and lines, not as pictures: their titles are text.
        const QString range = ShowStatistics(m_data, 0, m_adc, QLocale::c()).at(1).value.trimmed();
        QVERIFY(text.out.contains("FFT — Channel 0, " + range + ", 1000 us, 1024 samples, Hanning window, "));
        QCOMPARE(run(QStringLiteral("pdfimages"), {"-list", "r.pdf"}).out.count(QLatin1Char('\n')), 2);
    }

    void htmlReport()
    {
        // A set-up of the variant: channel 0 enabled with chop, the others off.
        QM4168 setup;
        setup.setEvBoard(8);
        RegisterDesign::applyTo(setup);
        LoadRegisterDefaults(setup, 8);
        for (int c = 1; c < 8; ++c)
            setup.setEnable(c, false);
        setup.setEnable(0, true);
        setup.setChop(0, true);
        setup.setP1(true);
        QVERIFY(!WriteSettingsFile(m_dir.filePath("s.adc"), setup).isError());

        const Run report = cli({"report", "a.dat", "--channels", "0", "--settings", "s.adc", "--window",
                                "blackman", "-o", "r.html"});
        QCOMPARE(report.exitCode, 0);
        const QString html = fileText(m_dir.filePath("r.html"));
        QStringList expected = channelTexts(0, 4);
        expected << SetupWords::channelLines(setup) << SetupWords::ioPortLine(setup)
                 << SetupWords::modeLine(setup) << QStringLiteral("FFT (Blackman window)");
        for (const QStringList &row : SetupWords::registerTable(setup))
            expected << row.value(2);
        for (const QString &t : std::as_const(expected))
            QVERIFY2(html.contains(t.toHtmlEscaped()), qPrintable(t));
        QVERIFY(!html.contains(QStringLiteral("Channel 3")));
        // One file: an embedded picture per plot and nothing fetched from elsewhere.
        const QRegularExpression image("<img [^>]*src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\"");
        int images = 0;
        for (auto match = image.globalMatch(html); match.hasNext(); ++images)
            QCOMPARE(
                QImage::fromData(QByteArray::fromBase64(match.next().captured(1).toLatin1()), "PNG").size(),
                QSize(760, 440));
        QCOMPARE(images, 4);
        QCOMPARE(html.count(QStringLiteral("src=")), 4);
        QVERIFY(!html.contains(QStringLiteral("<link")));
        QCOMPARE(QDir(m_dir.path()).entryList({"r.*"}, QDir::Files), (QStringList{"r.html", "r.pdf"}));
    }

    // "Report…" in the File menu: the current data with the model's set-up, to the file the
    // save dialog names; a failed write is reported.
    void reportMenu()
    {
        AppContext context;
        TestServices t;
        AppServices services = t.services();
        services.writeReport = [](const QString &path, const ClassData &data, const QM4168 &model,
                                  int window) {
            return ReportFile::write(path, data, model, &model, {}, window, QString());
        };
        FormMain window(context, StartupOptions::parse({"68"}), services);
        window.Load();
        QVERIFY(!window.MnuReport->isEnabled());
        QVERIFY(!ReadDataFile(m_dir.filePath("a.dat"), context.IData, context.IADC).isError());
        context.IData.Update();
        QVERIFY(window.MnuReport->isEnabled());
        t.dialogs.fileAnswers << m_dir.filePath("m.html") << m_dir.filePath("missing/m.pdf");
        window.MnuReport->trigger();
        window.MnuReport->trigger();
        const QString html = fileText(m_dir.filePath("m.html"));
        const QStringList setup = SetupWords::channelLines(context.IADC)
                                  << SetupWords::modeLine(context.IADC);
        for (const QString &line : setup)
            QVERIFY2(html.contains(line.toHtmlEscaped()), qPrintable(line));
        QCOMPARE(t.dialogs.texts(), QStringList{"Cannot write " + m_dir.filePath("missing/m.pdf") +
                                                ": error 76 : Path not found"});
    }

    void badReportArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("channel list") << QStringList{"--channels", "0,9", "-o", "x.pdf"} << 2
                                      << "--channels takes channels 0..7 separated by commas, not '0,9'";
        QTest::newRow("format") << QStringList{"-o", "x.txt"} << 2
                                << "the report must end in .pdf or .html, not 'x.txt'";
        QTest::newRow("no output") << QStringList{} << 2 << "report needs -o REPORT.pdf|REPORT.html";
        QTest::newRow("empty channel") << QStringList{"--channels", "5", "-o", "x.pdf"} << 1
                                       << "channel 5 of a.dat holds no data (more than 3 samples are needed)";
        QTest::newRow("settings") << QStringList{"--settings", "none.adc", "-o", "x.html"} << 1 << "none.adc";
    }

    void badReportArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run report = cli(QStringList{"report", "a.dat"} + arguments);
        QCOMPARE(report.exitCode, exitCode);
        QVERIFY2(report.err.contains(message), qPrintable(report.err));
        QVERIFY(!QFile::exists(m_dir.filePath("x.pdf")) && !QFile::exists(m_dir.filePath("x.html")));
    }

    void exportsSayWhatTheyShow_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("comments");
        const QString range = ShowStatistics(m_data, 0, m_adc).at(1).value.trimmed();
        const QStringList facts = {"# Channel: 0", "# Input Range: " + range, "# Conv.Time: 1000 us",
                                   "# Samples: 1024"};
        const QString about = "Channel 0, " + range + ", 1000 us, 1024 samples, ";
        QTest::newRow("time") << int(PlotKind::Time) << "Graph — " + about + "2026-01-02 03:04"
                              << (QStringList{"# Plot: Graph"} + facts +
                                  QStringList{"# Date: 2026-01-02 03:04", "sample,code"});
        QTest::newRow("hist") << int(PlotKind::Histogram) << "Histogram — " + about + "2026-01-02 03:04"
                              << (QStringList{"# Plot: Histogram"} + facts +
                                  QStringList{"# Date: 2026-01-02 03:04", "code,count"});
        QTest::newRow("fft") << int(PlotKind::Spectrum)
                             << "FFT — " + about + "Hamming window, 2026-01-02 03:04"
                             << (QStringList{"# Plot: FFT"} + facts +
                                 QStringList{"# Window: Hamming", "# Date: 2026-01-02 03:04",
                                             "frequency_hz,level_db"});
    }

    void exportsSayWhatTheyShow()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, comments);
        ScriptedDialogs dialogs;
        PlotView view(dialogs);
        QList<AnalysisMessage> messages;
        QVERIFY(ChannelPlot::load(view, PlotKind(kind), m_data, m_adc, 0, 3, m_when, messages));
        QCOMPARE(view.exportTitle(), title);
        const QStringList lines = QString::fromUtf8(view.csvText()).split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, comments.size()), comments);
        QCOMPARE(lines.size(), comments.size() + view.table().rows() + 1);
        view.setCsvComments(false);
        QCOMPARE(QString::fromUtf8(view.csvText()).section(QLatin1Char('\n'), 0, 0), comments.last());
        // The crosshair stays out of exports; the title goes in.
        const QImage plain = view.exportImage(600, 400);
        view.moveCursor(view.table().x.at(view.table().rows() / 2));
        QCOMPARE(view.exportImage(600, 400), plain);
        view.setExportFacts(QString(), {});
        QVERIFY(view.exportImage(600, 400) != plain);
        // Codes, samples and counts are whole numbers on their axes.
        for (const Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical})
            for (const QString &label : view.tickLabels(axis))
                QVERIFY2(kind == int(PlotKind::Spectrum) || !label.contains(QLatin1Char('.')),
                         qPrintable(label));
    }

    void logAxisTicks_data()
    {
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QStringList>("labels");
        // The noise table's spans: output data rates in Hz, noise in µV.
        QTest::newRow("rates") << 66.7 << 18750.0 << QStringList{"100", "1000", "10000"};
        QTest::newRow("noise") << 0.05 << 150.0 << QStringList{"0.1", "1", "10", "100"};
        QTest::newRow("below 5 uV") << 0.3 << 4.0 << QStringList{"0.5", "1", "2"};
        QTest::newRow("tiny") << 1e-7 << 2e-5 << QStringList{"1e-07", "1e-06", "1e-05"};
        QTest::newRow("wide") << 0.001 << 1e6 << QStringList{"0.001", "0.01", "0.1",   "1",      "10",
                                                             "100",   "1000", "10000", "100000", "1e+06"};
    }

    void logAxisTicks()
    {
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QStringList, labels);
        QStringList texts;
        for (const double tick : LogTicks::ticks(lower, upper))
            texts << LogTicks::label(tick);
        QCOMPARE(texts, labels);
        // The noise table's plot draws them.
        NoisePlot plot;
        plot.resize(800, 560);
        plot.setVisibleRange(lower, upper, lower, upper);
        QCOMPARE(plot.tickLabels(Qt::Horizontal), labels);
        QCOMPARE(plot.tickLabels(Qt::Vertical), labels);
        // Its exports carry their title, and the plot is as before afterwards.
        QVERIFY(!plot.savePng(m_dir.filePath("n1.png")).isError());
        plot.setExportTitle(NoisePlot::exportTitle(2, 1000, m_when));
        QVERIFY(!plot.savePng(m_dir.filePath("n2.png")).isError());
        QVERIFY(QImage(m_dir.filePath("n1.png")) != QImage(m_dir.filePath("n2.png")));
        plot.setExportTitle(QString());
        QVERIFY(!plot.savePng(m_dir.filePath("n3.png")).isError());
        QCOMPARE(QImage(m_dir.filePath("n3.png")), QImage(m_dir.filePath("n1.png")));
        QCOMPARE(NoisePlot::exportTitle(2, 1000, m_when),
                 QStringLiteral("Noise table — Channel 2, 1000 samples a row, 2026-01-02 03:04"));
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
