#include "analysis/AllanDeviation.h"
#include "analysis/BitHelpers.h"
#include "analysis/BuildHistogram.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "analysis/Fourier.h"
#include "analysis/NoiseDensity.h"
#include "data/ClassData.h"
#include "data/StatisticsFigures.h"
#include "model/QM4168.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <functional>
#include <random>

namespace {

const double Pi = std::acos(-1.0);

// Codes f(0), f(1), ... f(n - 1), rounded.
std::vector<qint32> samples(int n, const std::function<double(int)> &f)
{
    std::vector<qint32> codes;
    for (int i = 0; i < n; ++i)
        codes.push_back(static_cast<qint32>(std::lround(f(i))));
    return codes;
}

// A store whose channel holds the given codes, 24-bit bipolar.
void fill(ClassData &d, const std::vector<qint32> &codes, double time = 1000, int channel = 0)
{
    d.setDataWidth(3);
    d.setRng(channel, 0);
    d.setChannelTime(channel, time);
    for (qint32 code : codes)
        d.AddExtData(channel, code);
    d.Process();
}

// The reference: a plain DFT with the positive exponent, unscaled.
std::vector<std::complex<double>> dft(const std::vector<std::complex<double>> &x)
{
    const size_t n = x.size();
    std::vector<std::complex<double>> twiddle(n), result(n);
    for (size_t j = 0; j < n; ++j)
        twiddle[j] = std::polar(1.0, 2 * Pi * static_cast<double>(j) / static_cast<double>(n));
    for (size_t k = 0; k < n; ++k)
        for (size_t m = 0; m < n; ++m)
            result[k] += x[m] * twiddle[(m * k) % n];
    return result;
}

// Rows, count (the index of the last row of a histogram, the rows of a spectrum), the x span
// and the top of the y axis.
QList<double> limits(const PlotTable &t)
{
    return {double(t.rows()), double(t.count), t.xmin, t.xmax, t.ymax};
}

// The textbook overlapping Allan deviation: means of every window of m codes, then half the
// mean square of the differences of windows m apart.
double textbookAdev(const std::vector<qint32> &y, size_t m)
{
    std::vector<double> mean;
    for (size_t j = 0; j + m <= y.size(); ++j) {
        double s = 0;
        for (size_t i = j; i < j + m; ++i)
            s += y[i];
        mean.push_back(s / double(m));
    }
    double s = 0;
    for (size_t j = 0; j + m < mean.size(); ++j)
        s += (mean[j + m] - mean[j]) * (mean[j + m] - mean[j]);
    return std::sqrt(s / (2.0 * double(mean.size() - m)));
}

} // namespace

class TestAnalysisFft : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fourierMatchesADirectDft()
    {
        // The helpers of a radix-2 transform (the benchmark's): the lowest set bit, the lowest bits
        // reversed.
        QCOMPARE((QList<int>{BitWidth(1), BitWidth(8), BitWidth(65536), BitWidth(12), BitWidth(0)}),
                 (QList<int>{0, 3, 16, 2, 0}));
        QCOMPARE((QList<int>{BitReverse(1, 3), BitReverse(6, 3), BitReverse(1, 13), BitReverse(0b1011, 3)}),
                 (QList<int>{4, 3, 4096, 0b110}));
        // Random points through the real and the complex transform (the benchmark's), to 1e-9 of the
        // strongest bin; the imaginary parts' sign is the one the levels cannot show.
        const auto deviation = [](const std::vector<double> &re, const std::vector<double> &im,
                                  const std::vector<std::complex<double>> &expected) {
            double strongest = 0, error = 0;
            for (size_t k = 0; k < re.size(); ++k) {
                strongest = std::max(strongest, std::abs(expected[k]));
                error = std::max(error, std::abs(std::complex<double>(re[k], im[k]) - expected[k]));
            }
            return error / strongest;
        };
        for (int n : {2, 8, 64, 2048}) {
            const size_t size = static_cast<size_t>(n);
            std::mt19937 random(static_cast<unsigned>(n));
            std::uniform_real_distribution<double> value(-1e6, 1e6);
            std::vector<double> re(size), im(size), reOut, imOut, cReOut, cImOut;
            std::vector<std::complex<double>> x(size), z(size);
            for (size_t i = 0; i < size; ++i) {
                x[i] = re[i] = value(random);
                z[i] = {re[i], im[i] = value(random)};
            }
            QVERIFY(FourierReal(n, re, reOut, imOut) && Fourier(n, re, im, cReOut, cImOut));
            QCOMPARE((QList<size_t>{reOut.size(), imOut.size(), cReOut.size(), cImOut.size()}),
                     (QList<size_t>{size / 2 + 1, size / 2 + 1, size, size}));
            QVERIFY2(deviation(reOut, imOut, dft(x)) <= 1e-9, qPrintable(QString::number(n)));
            QVERIFY2(deviation(cReOut, cImOut, dft(z)) <= 1e-9, qPrintable(QString::number(n)));
        }
        // Other lengths are refused with the outputs as they were.
        std::vector<double> six(6, 1.0), reKept{7, 7}, imKept{8};
        QVERIFY(!Fourier(6, six, six, reKept, imKept));
        QCOMPARE(reKept, (std::vector<double>{7, 7}));
        QCOMPARE(imKept, std::vector<double>{8});
    }

    void windowsWeighTheCodes()
    {
        // Weights of 64 points worked out by hand. The triangle uses i; the cosine windows
        // are taken at i + 1: at a quarter (i = 15), the middle (i = 31) and the end (i = 63).
        const QList<std::tuple<int, int, double>> points = {
            {0, 5, 1},  {-1, 5, 1},          {6, 5, 1},        {1, 0, 0},     {1, 16, 0.5},
            {1, 32, 1}, {1, 33, 0.96875},    {1, 63, 0.03125}, {2, 15, 0.5},  {2, 31, 1},
            {2, 63, 0}, {3, 15, 0.54},       {3, 31, 1},       {3, 63, 0.08}, {4, 15, 0.34974204},
            {4, 31, 1}, {4, 63, 0.00687876}, {5, 15, 0.34401}, {5, 31, 1},    {5, 63, 0.0049}};
        for (const auto &[selector, i, weight] : points)
            QVERIFY2(std::abs(FftWindow::weight(selector, i, 64) - weight) < 1e-12,
                     qPrintable(QStringLiteral("window %1 point %2").arg(selector).arg(i)));
        // The weights kept per window and length are these, with their sum taken in order.
        for (int selector = -1; selector <= 6; ++selector) {
            const std::shared_ptr<const FftWindow::Weights> kept = FftWindow::weights(selector, 64);
            double sum = 0;
            for (int i = 0; i < 64; ++i) {
                QCOMPARE(kept->w.at(i), FftWindow::weight(selector, i, 64));
                sum += kept->w.at(i);
            }
            QCOMPARE(kept->sum, sum);
        }

        // Every window, against a plain DFT of the weighted first N codes.
        const size_t n = 64;
        const std::vector<qint32> codes =
            samples(80, [](int i) { return 20000 * std::sin(2 * Pi * 5.3 * i / 64) + 300 * i; });
        ClassData d;
        fill(d, codes);
        for (int selector = 0; selector <= 6; ++selector) {
            std::vector<std::complex<double>> x(n);
            for (size_t i = 0; i < n; ++i)
                x[i] = codes[i] * FftWindow::weight(selector, static_cast<int>(i), n);
            const auto spectrum = dft(x);
            double largest = 0;
            for (size_t k = 0; k <= n / 2; ++k)
                largest = std::max(largest, 2 * std::abs(spectrum[k]) / n);
            const FftResult r = EditFFT(d, 0, selector);
            QVERIFY(!r.failed);
            QCOMPARE(r.table.rows(), n / 2 + 1);
            for (size_t k = 0; k <= n / 2; ++k) {
                const double level = 20 * std::log10(2 * std::abs(spectrum[k]) / n / largest);
                QVERIFY2(std::abs(r.table.y.at(k) - level) < 1e-6,
                         qPrintable(QStringLiteral("window %1 bin %2").arg(selector).arg(k)));
            }
        }
    }

    void lengthsAndAxis()
    {
        ClassData d;
        const std::vector<qint32> codes = samples(100, [](int i) { return (i * 7919) % 1000 - 500; });
        fill(d, codes, 1000, 0);
        fill(d, codes, 1000, 4);     // a second valid channel: T = 2 ms
        fill(d, {1, 2, 3}, 5000, 6); // not valid: its time does not count
        FftResult r = EditFFT(d, 0, 0);
        QVERIFY(!r.failed && r.messages.isEmpty());
        QCOMPARE(limits(r.table), (QList<double>{33, 33, 0, 251, 0}));
        QCOMPARE((QList<double>{r.table.x.at(1), r.table.x.at(32)}), (QList<double>{500.0 / 64, 250}));
        QCOMPARE(*std::max_element(r.table.y.begin(), r.table.y.end()), 0.0);
        QCOMPARE(*std::min_element(r.table.y.begin(), r.table.y.end()), r.table.ymin);

        // 128 samples: all of them. One channel at 394.69 us: Nyquist 1266.8 Hz.
        ClassData e;
        fill(e, samples(128, [](int i) { return i * i % 97; }), 394.694010416667, 2);
        QCOMPARE(limits(EditFFT(e, 2, 2).table), (QList<double>{65, 65, 0, 1267, 0}));
    }

    void zeroBinsLieBelowEveryOther()
    {
        // Only bin 0 is non-zero: the floor is 150 dB down. Bins 0 and 32 hold 2e8 and 2
        // (-160 dB): the floor goes 10 dB below the weaker.
        for (const int nyquist : {0, 1}) { // the amplitude of a tone at the last bin
            const int constant = nyquist ? 100000000 : 1000;
            const double weakest = nyquist ? -160 : 0, floor = nyquist ? -170 : -150;
            ClassData d;
            fill(d, samples(64, [&](int i) { return constant + (i % 2 ? nyquist : -nyquist); }));
            const FftResult r = EditFFT(d, 0, 0);
            QVERIFY(!r.failed && r.messages.isEmpty());
            QCOMPARE((QList<double>{r.weakestDb, r.table.ymin, r.table.y.at(0), r.table.y.at(32)}),
                     (QList<double>{weakest, floor, 0, nyquist ? weakest : floor}));
            for (int k = 1; k < 32; ++k)
                QCOMPARE(r.table.y.at(k), floor);
        }
        // In dBFS: a whole-cycle tone of a quarter of the 24-bit span at -6.02 dBFS, the
        // zero bins 150 dB below it.
        ClassData d;
        fill(d, samples(64, [](int i) { return 4194304 * std::cos(2 * Pi * 16 * i / 64); }));
        const FftResult fs = EditFFT(d, 0, 0, FftScale::FullScale);
        QVERIFY(!fs.failed);
        QCOMPARE(qRound(fs.table.y.at(16) * 100), -602);
        // Any window: the same level at the tone's bin.
        QCOMPARE(qRound(EditFFT(d, 0, 2, FftScale::FullScale).table.y.at(16) * 100), -602);
        QCOMPARE((QList<double>{fs.table.ymax, fs.table.ymin}),
                 (QList<double>{fs.table.y.at(16), fs.table.y.at(16) - 150}));
    }

    void metricsOfSynthesisedTones_data()
    {
        // Whole-cycle tones: a window spreads each over its own span and scales every tone
        // alike, so the figures are the ratios of the amplitudes squared. Tones listed as
        // harmonics must count as distortion, the others as noise.
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("dc");
        QTest::addColumn<int>("k1");
        QTest::addColumn<QList<QPointF>>("harmonics"); // (bin, amplitude)
        QTest::addColumn<QList<QPointF>>("noise");
        const auto row = [](const char *name, int n, int window, int dc, int k1,
                            const QList<QPointF> &harmonics, const QList<QPointF> &noise) {
            QTest::newRow(name) << n << window << dc << k1 << harmonics << noise;
        };
        // k1 = 20 of 64: harmonics 3 (at 60) and 2 (at 40) fold to 4 and 24.
        row("rectangular, folded", 64, 0, 0, 20, {{24, 3000}, {4, 1000}}, {{12, 500}, {30, 700}});
        // k1 = 24 of 64: harmonics 5 and 6 fold onto 3 and 2 (bins 8 and 16), counted once.
        row("rectangular, coinciding", 64, 0, 0, 24, {{16, 2000}, {8, 1500}}, {{20, 400}, {3, 300}});
        // The fundamental next to the DC span, the span cut at its edge; a DC offset.
        row("rectangular, k1 = L + 1", 64, 0, 100000, 2, {{4, 900}}, {{15, 300}});
        row("Blackman-Harris, k1 near DC", 256, 5, 2000000, 7, {{14, 1500}, {21, 800}},
            {{60, 400}, {100, 250}});
        // k1 = 37 of 256: harmonic 4 (at 148) folds to 108.
        row("Hanning, DC offset", 256, 2, 3000000, 37, {{74, 2000}, {108, 1000}}, {{50, 300}, {90, 600}});
        // k1 = 100 of 256: harmonics 2, 3, 5 fold to 56, 44, 12.
        row("Blackman, past Nyquist", 256, 4, 0, 100, {{56, 2500}, {12, 1200}}, {{30, 500}, {120, 350}});
        row("Hamming", 128, 3, 0, 10, {{30, 1000}}, {{35, 300}, {45, 400}});
    }

    void metricsOfSynthesisedTones()
    {
        QFETCH(int, n);
        QFETCH(int, window);
        QFETCH(int, dc);
        QFETCH(int, k1);
        QFETCH(QList<QPointF>, harmonics);
        QFETCH(QList<QPointF>, noise);
        const double amplitude = 1e6;
        ClassData d;
        fill(d, samples(n, [&](int i) {
                 double x = dc + amplitude * std::cos(2 * Pi * k1 * i / n + 0.3);
                 for (const QPointF &tone : harmonics + noise)
                     x += tone.y() * std::cos(2 * Pi * tone.x() * i / n + tone.x());
                 return x;
             }));
        double pd = 0, pn = 0, spur = 0; // distortion, noise, the largest spur
        for (const QPointF &tone : harmonics + noise) {
            (harmonics.contains(tone) ? pd : pn) += tone.y() * tone.y();
            spur = std::max(spur, tone.y());
        }
        const double ps = amplitude * amplitude;
        const double sinad = 10 * std::log10(ps / (pn + pd));

        const FftMetrics m = fftMetrics(d, 0, window);
        QVERIFY2(m.valid, qPrintable(m.message));
        QCOMPARE(m.fundamentalBin, k1);
        QCOMPARE(m.fundamentalHz, 1000.0 * k1 / n); // one channel at 1000 us
        const QList<QPair<double, double>> figures = {{m.snrDb, 10 * std::log10(ps / pn)},
                                                      {m.thdDb, 10 * std::log10(pd / ps)},
                                                      {m.sinadDb, sinad},
                                                      {m.sfdrDbc, 20 * std::log10(amplitude / spur)},
                                                      {m.enobBits, (sinad - 1.76) / 6.02}};
        for (const auto &[actual, expected] : figures)
            QVERIFY2(std::abs(actual - expected) < 0.01,
                     qPrintable(QStringLiteral("%1 against %2").arg(actual).arg(expected)));
    }

    void failures()
    {
        const AnalysisMessage failed{QStringLiteral("Error in VBFFT module--EditFFT"), QString(),
                                     UserDialogs::Icon::None};
        const AnalysisMessage tooFew{QStringLiteral("Not enough Data"), QString(),
                                     UserDialogs::Icon::Warning};
        const AnalysisMessage lengthOne{
            QStringLiteral("Error in procedure Fourier:\r\n NumSamples is 1, which is "
                           "not a positive integer power of two."),
            QStringLiteral("Error!"), UserDialogs::Icon::None};
        ClassData zero, timeless, one, none;
        fill(zero, std::vector<qint32>(16, 0)); // every bin zero: nothing to scale against
        fill(timeless, {1, 5, 2, 8}, 0);        // no conversion time: no frequency axis
        fill(one, {5});                         // too few; a transform of length 1 is refused
        // The spectrum's messages, and why the metrics are refused.
        const QList<std::tuple<const ClassData *, QList<AnalysisMessage>, QString>> cases = {
            {&zero, {failed}, "no tone found"},
            {&timeless, {failed}, "No conversion time for the frequency axis"},
            {&one, {tooFew, lengthOne, failed}, "Not enough data for a spectrum"},
            {&none, {tooFew, failed}, "Not enough data for a spectrum"}};
        for (const auto &[data, messages, refusal] : cases) {
            const FftResult r = EditFFT(*data, 0, 2);
            QVERIFY(r.failed);
            QCOMPARE(r.messages, messages);
            QCOMPARE(r.table.rows(), 0);
            QCOMPARE(fftMetrics(*data, 0, 2).message, refusal);
        }
        // A DC input with noise holds no tone: no figures (they would read SNR -20 dB).
        ClassData dc;
        QRandomGenerator random(11);
        fill(dc, samples(1024, [&](int) {
                 return 3000000 + random.bounded(-400, 400) + random.bounded(-400, 400);
             }));
        for (int window : {0, 2, 5}) {
            const FftMetrics m = fftMetrics(dc, 0, window);
            QVERIFY(!m.valid && m.noTone);
            QCOMPARE(metricsText(m), QStringLiteral("no tone found"));
        }
        // 4 points: bins 0..2, the fundamental's span covers everything beyond DC.
        QCOMPARE(fftMetrics(std::vector<double>{1, 0, 5}, 0, 1.0).message,
                 QStringLiteral("Too few bins for the metrics with this window"));
        QVERIFY_THROWS_EXCEPTION(DataRangeError, EditFFT(none, 8, 0));
        // An empty channel has no histogram rows.
        QCOMPARE(limits(BuildHistogram(none, 4)), (QList<double>{0, 0, 0, 0, 0}));
        QVERIFY_THROWS_EXCEPTION(DataRangeError, BuildHistogram(none, -1));
    }

    void oneBarPerOccurringCode_data()
    {
        QTest::addColumn<QList<qint32>>("codes");
        QTest::addColumn<QList<QPointF>>("bars"); // (code, occurrences) in ascending signed order
        QTest::newRow("5 3 5 5") << QList<qint32>{5, 3, 5, 5} << QList<QPointF>{{3, 1}, {5, 3}};
        QTest::newRow("all equal") << QList<qint32>{-7, -7, -7, -7, -7, -7} << QList<QPointF>{{-7, 6}};
        QTest::newRow("two digits") << QList<qint32>{70000, -3, 70000, 2047, 2048}
                                    << QList<QPointF>{{-3, 1}, {2047, 1}, {2048, 1}, {70000, 2}};
        QTest::newRow("negative first")
            << QList<qint32>{-2, 7, -100, 7, 0, -8388624, 16777232, 0, 7}
            << QList<QPointF>{{-8388624, 1}, {-100, 1}, {-2, 1}, {0, 2}, {7, 3}, {16777232, 1}};
    }

    void oneBarPerOccurringCode()
    {
        QFETCH(QList<qint32>, codes);
        QFETCH(QList<QPointF>, bars);
        ClassData d;
        fill(d, std::vector<qint32>(codes.begin(), codes.end()), 1000, 2);
        // Rows (code, 0), (code, occurrences), (code, 0) for each bar.
        QVector<double> x, y;
        double top = 0;
        for (const QPointF &bar : bars) {
            x << bar.x() << bar.x() << bar.x();
            y << 0 << bar.y() << 0;
            top = std::max(top, bar.y());
        }
        const PlotTable t = BuildHistogram(d, 2);
        QCOMPARE(t.x, x);
        QCOMPARE(t.y, y);
        QCOMPARE(t.ymin, 0.0);
        QCOMPARE(limits(t), (QList<double>{double(x.size()), x.size() - 1.0, x.first(), x.last(), top}));
    }
    void windowGains()
    {
        // Coherent gain a0 and the textbook equivalent noise bandwidths (bins).
        const QList<QPair<double, double>> expected = {{1, 1},       {0.5, 4.0 / 3},     {0.5, 1.5},
                                                       {0.54, 1.36}, {0.42659071, 1.69}, {0.42323, 1.71}};
        for (int w = 0; w < 6; ++w) {
            QVERIFY(qAbs(FftWindow::coherentGain(w, 1024) - expected[w].first) < 1e-9);
            QVERIFY2(qAbs(FftWindow::noiseBandwidthBins(w, 1024) - expected[w].second) < 0.005,
                     qPrintable(QString::number(w)));
        }
        MetricDefinition d = MetricDefinition::forWindow(5);
        d.highestHarmonic = 3;
        d.toneBins = 6;
        d.sfdrFromHz = 10;
        d.sfdrToHz = 200.5;
        d.fullScaleCodes = 65536;
        QCOMPARE(d.describe(), (QStringList{"Window: Blackman-Harris", "Harmonics: 2nd to 3rd",
                                            "Excluded bins: DC 0..4, tones \u00B16",
                                            "SFDR range: 10 Hz to 200.5 Hz", "Full scale: 65536 codes"}));
        QCOMPARE(MetricDefinition().describe().mid(1, 3),
                 (QStringList{"Harmonics: 2nd to 6th", "Excluded bins: DC 0..2, tones \u00B12",
                              "SFDR range: whole band"}));
        QCOMPARE(d.toJson().value("tone_bins").toInt(), 6);
        QVERIFY(MetricDefinition().toJson().value("sfdr_to_hz").isNull());
        d.sfdrToHz = 5;
        QCOMPARE(fftMetrics(std::vector<double>(64, 1), d, 1.0).message,
                 QStringLiteral("the SFDR range must run from 0 Hz or more up to a higher frequency"));
    }

    void bothEnobAndTheHarmonicsCounted_data()
    {
        QTest::addColumn<double>("amplitude"); // of the full-scale half range 2^23
        QTest::addColumn<int>("highest");
        QTest::newRow("full scale") << 1.0 << 6;
        QTest::newRow("-6 dBFS") << 0.5 << 6;
        QTest::newRow("-6 dBFS, 2nd only") << 0.5 << 2;
        QTest::newRow("4th") << 1.0 << 4;
        QTest::newRow("8th") << 1.0 << 8;
        QTest::newRow("none") << 1.0 << 1;
    }

    void bothEnobAndTheHarmonicsCounted()
    {
        QFETCH(double, amplitude);
        QFETCH(int, highest);
        const int n = 4096, k1 = 61; // 8 k1 < n/2: no harmonic folds
        const double a = amplitude * 8388608, sigma = 10;
        std::mt19937 random(5);
        std::normal_distribution<double> noise(0.0, sigma);
        ClassData d;
        fill(d, samples(n, [&](int i) {
                 double x = a * std::sin(2 * Pi * k1 * i / n);
                 for (int h = 2; h <= 8; ++h) // harmonic h at 200 h codes
                     x += 200.0 * h * std::cos(2 * Pi * h * k1 * i / n + h);
                 return x + noise(random);
             }));
        MetricDefinition def = MetricDefinition::forWindow(2);
        def.highestHarmonic = highest;
        const FftMetrics m = fftMetrics(d, 0, def);
        QVERIFY2(m.valid && m.fullScaleKnown, qPrintable(m.message));
        QCOMPARE(m.definition.fullScaleCodes, 16777216.0);
        double counted = 0, uncounted = 0; // harmonic power, mean square
        for (int h = 2; h <= 8; ++h)
            (h <= highest ? counted : uncounted) += 200.0 * h * 200.0 * h / 2;
        const double tone = a * a / 2, nd = sigma * sigma + 1.0 / 12 + counted + uncounted;
        QVERIFY(highest > 1 ? qAbs(m.thdDb - 10 * std::log10(counted / tone)) < 0.01 : std::isinf(m.thdDb));
        QVERIFY(qAbs(m.sinadDb - 10 * std::log10(tone / nd)) < 0.02);
        QVERIFY(qAbs(m.enobFullScaleBits - std::log2(16777216 / std::sqrt(nd * 12))) < 0.02);
        QVERIFY(qAbs(m.fundamentalDbfs - 20 * std::log10(amplitude)) < 0.001);
        // Equal at full scale; one bit apart at -6 dBFS.
        QVERIFY2(qAbs(m.enobFullScaleBits - m.enobBits + std::log2(amplitude)) < 0.01,
                 qPrintable(QStringLiteral("%1 %2").arg(m.enobFullScaleBits).arg(m.enobBits)));
    }

    void noToneAndNoiseDensity()
    {
        ClassData constant, white;
        fill(constant, std::vector<qint32>(1024, -123456));
        std::mt19937 random(9);
        std::normal_distribution<double> noise(0.0, 100.0);
        fill(white, samples(8192, [&](int) { return 5000 + noise(random); }));
        QM4168 adc;
        adc.setEvBoard(8);
        const double lsb = statisticsFigures(white, 0, adc).lsbV;
        for (int w : {0, 2, 5}) {
            for (const ClassData *d : {&constant, &white}) {
                const FftMetrics m = fftMetrics(*d, 0, w);
                QVERIFY(!m.valid && m.noTone);
                QCOMPARE(metricsText(m), QStringLiteral("no tone found"));
            }
            // White noise of 100 codes at 1 kHz: 100 sqrt(2 / 1000) codes/sqrt(Hz).
            const NoiseDensity psd = noiseDensity(white, 0, w, adc);
            QVERIFY2(psd.valid(), qPrintable(psd.error));
            QCOMPARE(psd.enbwHz, psd.enbwBins * 1000.0 / 8192);
            double sum = 0;
            for (size_t k = 10; k < psd.densityV.size(); ++k)
                sum += psd.densityV[k] * psd.densityV[k];
            const double rms = std::sqrt(sum / double(psd.densityV.size() - 10)) / lsb;
            QVERIFY2(qAbs(rms / (100 * std::sqrt(2.0 / 1000)) - 1) < 0.04, qPrintable(QString::number(rms)));
        }
        ClassData timeless;
        fill(timeless, {1, 5, 2, 8}, 0);
        QCOMPARE(noiseDensity(timeless, 0, 2, adc).error,
                 QStringLiteral("No conversion time for the frequency axis"));
    }

    void allanDeviationOfKnownNoises()
    {
        // By hand: m = 1 differences 2 -1 4 -2 4, m = 2 window means 2 2.5 4 5 6.
        AllanCurve c = allanDeviation({1, 3, 2, 6, 4, 8}, 0.5, 2.0);
        QCOMPARE(c.points.size(), size_t(2));
        QCOMPARE(c.points[0].adevCode, std::sqrt(41.0 / 10));
        QCOMPARE(c.points[1].adevCode, std::sqrt(14.25 / 6));
        QCOMPARE((QList<double>{c.points[1].tauS, c.points[1].adevV, double(c.points[1].count)}),
                 (QList<double>{1.0, 2 * std::sqrt(14.25 / 6), 3.0}));
        QCOMPARE(c.minimum, 1);
        QCOMPARE(allanDeviation({4, 4}, 1, 1).minimum, -1);
        c = allanDeviation(std::vector<qint32>(100, -77), 1, 1);
        QCOMPARE(c.points.size(), size_t(6)); // m = 1 .. 32
        for (const AllanPoint &p : c.points)
            QCOMPARE(p.adevCode, 0.0);

        std::mt19937 random(22);
        std::normal_distribution<double> noise(0.0, 50.0);
        std::vector<qint32> white, walk;
        double level = 0;
        for (int i = 0; i < 8192; ++i)
            white.push_back(static_cast<qint32>(std::lround(noise(random))));
        // A walk long enough for its slow wander to be sampled many times at 256 T.
        for (int i = 0; i < 65536; ++i) {
            level += noise(random);
            walk.push_back(static_cast<qint32>(std::lround(level)));
        }
        // White noise from tau = T to 16 T; the walk from 16 T on, where it has its +1/2 slope.
        for (const auto &[codes, slope, from] : {std::tuple{white, -0.5, 0}, std::tuple{walk, 0.5, 4}}) {
            c = allanDeviation(codes, 1e-3, 1);
            QCOMPARE(c.points.size(), size_t(from ? 15 : 12)); // m = 1 .. 2048 <= 8192 / 3
            for (size_t k = 0; k < c.points.size(); k += 5)
                QVERIFY(qAbs(c.points[k].adevCode / textbookAdev(codes, size_t(1) << k) - 1) < 1e-9);
            const double measured =
                std::log(c.points[from + 4].adevCode / c.points[from].adevCode) / std::log(16.0);
            QVERIFY2(qAbs(measured / slope - 1) < 0.1, qPrintable(QString::number(measured)));
        }
        // A channel of the store: its time between samples and the noise figures' volts per code.
        ClassData d;
        fill(d, white);
        const QM4168 adc;
        c = allanDeviation(d, 0, adc);
        QCOMPARE(c.points[3].tauS, 8e-3);
        QCOMPARE(c.points[3].adevV, c.points[3].adevCode * statisticsFigures(d, 0, adc).lsbV);
    }
};

QTEST_GUILESS_MAIN(TestAnalysisFft)
#include "tst_analysis_fft.moc"
