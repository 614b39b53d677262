#include "analysis/BitHelpers.h"
#include "analysis/EditFFT.h"
#include "analysis/FftWindow.h"
#include "analysis/Fourier.h"
#include "data/ClassData.h"

#include <QtTest>

#include <cmath>
#include <complex>

namespace {

const double Pi = std::acos(-1.0);

// A store whose channel 0 holds the given codes, 24-bit bipolar.
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
    std::vector<std::complex<double>> result(n);
    for (size_t k = 0; k < n; ++k) {
        std::complex<double> sum;
        for (size_t m = 0; m < n; ++m)
            sum += x[m] * std::polar(1.0, 2 * Pi * static_cast<double>((m * k) % n) / static_cast<double>(n));
        result[k] = sum;
    }
    return result;
}

// The window weights written out from their definitions.
double referenceWeight(int selector, int i, int n)
{
    const double a = 2 * Pi * (i + 1) / n;
    switch (selector) {
    case 1:
        return i <= n / 2 ? 2.0 * i / n : 2.0 - 2.0 * i / n;
    case 2:
        return 0.5 * (1 - std::cos(a));
    case 3:
        return 0.54 - 0.46 * std::cos(a);
    case 4:
        return 0.42659071 - 0.49656062 * std::cos(a) + 0.07684867 * std::cos(2 * a);
    case 5:
        return 0.42323 - 0.49755 * std::cos(a) + 0.07922 * std::cos(2 * a);
    default:
        return 1;
    }
}

} // namespace

class TestAnalysisFft : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitHelpers()
    {
        QVERIFY(!PowerOfTwoCheck(1));
        QVERIFY(PowerOfTwoCheck(2));
        QVERIFY(PowerOfTwoCheck(8192));
        QVERIFY(!PowerOfTwoCheck(0));
        QVERIFY(!PowerOfTwoCheck(6));
        QVERIFY(!PowerOfTwoCheck(-4));
        QCOMPARE(BitWidth(1), 0);
        QCOMPARE(BitWidth(8), 3);
        QCOMPARE(BitWidth(8192), 13);
        QCOMPARE(BitWidth(65536), 16);
        QCOMPARE(BitWidth(12), 2); // the lowest set bit
        QCOMPARE(BitWidth(0), 0);
        QCOMPARE(BitReverse(1, 3), 4);
        QCOMPARE(BitReverse(6, 3), 3);
        QCOMPARE(BitReverse(0, 3), 0);
        QCOMPARE(BitReverse(1, 13), 4096);
        QCOMPARE(BitReverse(0b1100101, 7), 0b1010011);
        QCOMPARE(BitReverse(0b1011, 3), 0b110); // only the lowest bits count

        QList<AnalysisMessage> messages;
        QCOMPARE(FloorLog2(100, &messages), 6);
        QCOMPARE(FloorLog2(128, &messages), 7);
        QCOMPARE(FloorLog2(2, &messages), 1);
        QCOMPARE(FloorLog2(3, &messages), 1);
        QCOMPARE(FloorLog2(10924, &messages), 13);
        QVERIFY(messages.isEmpty());
        QCOMPARE(FloorLog2(1, &messages), 0);
        QCOMPARE(FloorLog2(0, &messages), 0);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.at(0).text, QStringLiteral("Not enough Data"));
        QCOMPARE(messages.at(0).icon, UserDialogs::Icon::Warning);
    }

    void fourierIsThePositiveExponentDft()
    {
        for (int n : {2, 4, 8, 64, 256}) {
            std::vector<double> re(static_cast<size_t>(n)), im(static_cast<size_t>(n));
            std::vector<std::complex<double>> x(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) {
                re[static_cast<size_t>(i)] = std::sin(0.37 * i * i + 1) * 1000;
                im[static_cast<size_t>(i)] = std::cos(0.11 * i) * 500 - i;
                x[static_cast<size_t>(i)] = {re[static_cast<size_t>(i)], im[static_cast<size_t>(i)]};
            }
            std::vector<double> reOut, imOut;
            QVERIFY(Fourier(n, re, im, reOut, imOut));
            const auto expected = dft(x);
            for (int k = 0; k < n; ++k) {
                QVERIFY2(std::abs(reOut[static_cast<size_t>(k)] - expected[static_cast<size_t>(k)].real()) <
                             1e-7 * n,
                         qPrintable(QStringLiteral("n %1 bin %2").arg(n).arg(k)));
                QVERIFY(std::abs(imOut[static_cast<size_t>(k)] - expected[static_cast<size_t>(k)].imag()) <
                        1e-7 * n);
            }
        }
    }

    void fourierRefusesOtherLengths()
    {
        const std::vector<double> in(6, 1.0);
        std::vector<double> reOut{7, 7}, imOut{8};
        QList<AnalysisMessage> messages;
        QVERIFY(!Fourier(6, in, in, reOut, imOut, &messages));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).title, QStringLiteral("Error!"));
        QCOMPARE(messages.at(0).text, QStringLiteral("Error in procedure Fourier:\r\n NumSamples is 6, which "
                                                     "is not a positive integer power of two."));
        QCOMPARE(reOut, (std::vector<double>{7, 7}));
        QCOMPARE(imOut, std::vector<double>{8});
        QVERIFY(!Fourier(1, in, in, reOut, imOut, &messages));
        QVERIFY(messages.at(1).text.contains(QStringLiteral(" NumSamples is 1,")));
    }

    void windowWeights()
    {
        const int n = 64;
        QCOMPARE(FftWindow::names(), (QStringList{"Rectangular", "Triangular", "Hanning", "Hamming",
                                                  "Blackman", "Blackman-Harris"}));
        QCOMPARE(FftWindow::selectorOf(QStringLiteral("hanning")), 2);
        QCOMPARE(FftWindow::selectorOf(QStringLiteral("Blackman-Harris")), 5);
        QCOMPARE(FftWindow::selectorOf(QStringLiteral("Kaiser")), -1);
        for (int selector = -1; selector <= 6; ++selector)
            for (int i = 0; i < n; ++i)
                QVERIFY(std::abs(FftWindow::weight(selector, i, n) - referenceWeight(selector, i, n)) <
                        1e-12);
        // The triangle starts at 0 and peaks in the middle; the cosine windows are taken at
        // i + 1, so the last point has the end value and the middle peak is at n/2 - 1.
        QCOMPARE(FftWindow::weight(1, 0, n), 0.0);
        QCOMPARE(FftWindow::weight(1, n / 2, n), 1.0);
        QCOMPARE(FftWindow::weight(1, n - 1, n), 2.0 / n);
        QVERIFY(std::abs(FftWindow::weight(2, n - 1, n)) < 1e-20);
        QCOMPARE(FftWindow::weight(2, n / 2 - 1, n), 1.0);
        QVERIFY(std::abs(FftWindow::weight(3, n - 1, n) - 0.08) < 1e-12);
        QVERIFY(std::abs(FftWindow::weight(4, n - 1, n) - 0.00687876) < 1e-12);
        QVERIFY(std::abs(FftWindow::weight(5, n - 1, n) - 0.0049) < 1e-12);
        QCOMPARE(FftWindow::weight(0, 5, n), 1.0);
        QCOMPARE(FftWindow::weight(9, 5, n), 1.0);
    }

    void lengthsAndAxis()
    {
        ClassData d;
        std::vector<qint32> codes;
        for (int i = 0; i < 100; ++i)
            codes.push_back((i * 7919) % 1000 - 500);
        fill(d, codes, 1000, 0);
        fill(d, codes, 1000, 4);     // a second valid channel: T = 2 ms
        fill(d, {1, 2, 3}, 5000, 6); // not valid: its time does not count
        FftResult r = EditFFT(d, 0, 0);
        QVERIFY(!r.failed);
        QVERIFY(r.messages.isEmpty());
        QCOMPARE(r.table.rows(), 33);
        QCOMPARE(r.table.count, 33);
        QCOMPARE(r.table.x.at(1), 500.0 / 64);
        QCOMPARE(r.table.x.at(32), 250.0);
        QCOMPARE(r.table.xmin, 0.0);
        QCOMPARE(r.table.xmax, 251.0);
        QCOMPARE(r.table.ymax, 0.0);
        QCOMPARE(*std::max_element(r.table.y.begin(), r.table.y.end()), 0.0);
        QCOMPARE(*std::min_element(r.table.y.begin(), r.table.y.end()), r.table.ymin);

        ClassData e;
        codes.resize(128);
        for (int i = 100; i < 128; ++i)
            codes[static_cast<size_t>(i)] = i;
        fill(e, codes, 394.694010416667, 2);
        r = EditFFT(e, 2, 2);
        QCOMPARE(r.table.rows(), 65);
        QCOMPARE(r.table.count, 65);
        QCOMPARE(r.table.xmax, std::floor(1e6 / 394.694010416667 / 2) + 1);
    }

    void levelsMatchAPlainTransform()
    {
        // Every window, against a plain DFT of the weighted first N codes.
        std::vector<qint32> codes;
        for (int i = 0; i < 80; ++i)
            codes.push_back(
                static_cast<qint32>(std::lround(20000 * std::sin(2 * Pi * 5.3 * i / 64) + 300 * i)));
        ClassData d;
        fill(d, codes);
        for (int selector = 0; selector <= 6; ++selector) {
            const int n = 64;
            std::vector<std::complex<double>> x(n);
            for (int i = 0; i < n; ++i)
                x[static_cast<size_t>(i)] = codes[static_cast<size_t>(i)] * referenceWeight(selector, i, n);
            const auto spectrum = dft(x);
            double largest = 0;
            for (int k = 0; k <= n / 2; ++k)
                largest = std::max(largest, 2 * std::abs(spectrum[static_cast<size_t>(k)]) / n);
            const FftResult r = EditFFT(d, 0, selector);
            QVERIFY(!r.failed);
            QCOMPARE(r.table.rows(), n / 2 + 1);
            for (int k = 0; k <= n / 2; ++k) {
                const double level =
                    20 * std::log10(2 * std::abs(spectrum[static_cast<size_t>(k)]) / n / largest);
                QVERIFY2(std::abs(r.table.y.at(k) - level) < 1e-6,
                         qPrintable(QStringLiteral("window %1 bin %2: %3 against %4")
                                        .arg(selector)
                                        .arg(k)
                                        .arg(r.table.y.at(k))
                                        .arg(level)));
            }
        }
    }

    void sineLevelsAreAnalytic()
    {
        // Two sines exactly on bins 10 and 50 of 256, the second a tenth of the first: the
        // second is 20 dB down. With the Hanning window each line leaks half its amplitude
        // into each neighbour bin: 6.02 dB down.
        const int n = 256;
        std::vector<qint32> codes;
        for (int i = 0; i < n + 20; ++i)
            codes.push_back(static_cast<qint32>(std::lround(4000000 * std::sin(2 * Pi * 10 * i / n) +
                                                            400000 * std::sin(2 * Pi * 50 * i / n))));
        ClassData d;
        fill(d, codes, 250); // one channel at 250 us: 4000 Hz sampling
        FftResult r = EditFFT(d, 0, 0);
        QCOMPARE(r.table.y.at(10), 0.0);
        QVERIFY(std::abs(r.table.y.at(50) + 20) < 1e-4);
        QCOMPARE(r.table.x.at(10), 10 * 4000.0 / n);
        QVERIFY(r.table.y.at(30) < -100); // nothing but rounding between the lines

        r = EditFFT(d, 0, 2);
        QCOMPARE(r.table.y.at(10), 0.0);
        QVERIFY(std::abs(r.table.y.at(9) - 20 * std::log10(0.5)) < 1e-4);
        QVERIFY(std::abs(r.table.y.at(11) - 20 * std::log10(0.5)) < 1e-4);
        QVERIFY(std::abs(r.table.y.at(50) + 20) < 1e-4);
        QVERIFY(r.table.y.at(30) < -100);
    }

    void zeroBinsGetAFloor()
    {
        // A constant input through the rectangular window: only the first bin is non-zero.
        ClassData d;
        fill(d, std::vector<qint32>(64, 1000));
        FftResult r = EditFFT(d, 0, 0);
        QVERIFY(!r.failed);
        QVERIFY(r.messages.isEmpty());
        QCOMPARE(r.table.y.at(0), 0.0);
        QCOMPARE(r.table.ymin, -40.0);
        for (int k = 1; k <= 32; ++k)
            QCOMPARE(r.table.y.at(k), -40.0);

        // Through the Hanning window the first neighbour is 6.02 dB down and the floor goes
        // 40 dB below it.
        r = EditFFT(d, 0, 2);
        QVERIFY(!r.failed);
        const double neighbour = r.table.y.at(1);
        QVERIFY(std::abs(neighbour - 20 * std::log10(0.5)) < 1e-9);
        QVERIFY(std::isfinite(r.table.ymin));
        for (int k = 2; k <= 32; ++k)
            QVERIFY(std::isfinite(r.table.y.at(k)) && r.table.y.at(k) >= r.table.ymin);
    }

    void failures()
    {
        const AnalysisMessage failed{QStringLiteral("Error in VBFFT module--EditFFT"), QString(),
                                     UserDialogs::Icon::None};
        // All codes zero: nothing to scale against.
        ClassData zero;
        fill(zero, std::vector<qint32>(16, 0));
        FftResult r = EditFFT(zero, 0, 2);
        QVERIFY(r.failed);
        QCOMPARE(r.messages, QList<AnalysisMessage>{failed});
        QCOMPARE(r.table.rows(), 0);

        // No conversion time: no frequency axis.
        ClassData timeless;
        fill(timeless, {1, 5, 2, 8}, 0);
        r = EditFFT(timeless, 0, 0);
        QVERIFY(r.failed);
        QCOMPARE(r.messages, QList<AnalysisMessage>{failed});

        // One sample: too few, a transform of length 1 is refused, nothing to scale.
        ClassData one;
        fill(one, {5});
        r = EditFFT(one, 0, 0);
        QVERIFY(r.failed);
        QCOMPARE(r.messages.size(), 3);
        QCOMPARE(r.messages.at(0).text, QStringLiteral("Not enough Data"));
        QCOMPARE(r.messages.at(1).title, QStringLiteral("Error!"));
        QCOMPARE(r.messages.at(2), failed);

        // No sample at all.
        ClassData none;
        r = EditFFT(none, 3, 0);
        QVERIFY(r.failed);
        QCOMPARE(r.messages.size(), 2);
        QCOMPARE(r.messages.at(1), failed);

        QVERIFY_THROWS_EXCEPTION(DataRangeError, EditFFT(none, 8, 0));
    }
};

QTEST_GUILESS_MAIN(TestAnalysisFft)
#include "tst_analysis_fft.moc"
