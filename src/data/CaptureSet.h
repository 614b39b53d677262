#pragma once

#include "StatisticsFigures.h"

#include <QList>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class ClassData;
class QM4168;

// Repeated captures with one set-up: a copy of each capture's samples and conditions (for
// the averaged spectrum) and the noise figures of each of its valid channels, and over the
// captures each figure's mean, standard deviation, minimum and maximum.
//
// The standard deviation is the sample one, with K - 1 in the denominator (0 for a single
// capture), the usual estimate of the spread from capture to capture.
class CaptureSet
{
public:
    // How a figure is written: in codes, as a noise voltage (2 or 3 decimals in the unit of
    // the noise figures), as an average voltage (3 decimals) or in bits.
    enum class Kind
    {
        Code,
        RmsVolts,
        PkPkVolts,
        AvgVolts,
        Bits
    };
    struct Figure
    {
        QString key;   // the JSON and CSV name of the single-capture figure ("rms_noise_v")
        QString label; // its row in the data window ("RMS Noise")
        Kind kind;
        double (*value)(const StatisticsFigures &);
    };
    // Mean, standard deviation, minimum and maximum of one figure over the captures.
    struct Spread
    {
        double mean = 0;
        double sd = 0;
        double min = 0;
        double max = 0;
    };

    // The noise figures a series summarises, in the data window's order.
    static const QList<Figure> &figures();
    static Spread spreadOf(const std::vector<double> &values);
    // "2.97 ± 0.02 uV" and "2.95 / 3.00 uV": mean ± standard deviation, and minimum / maximum,
    // of a figure of the kind; voltages in the unit its mean is shown in, point the decimal
    // separator.
    static QString spreadText(const Spread &spread, Kind kind, const QString &point);
    static QString rangeText(const Spread &spread, Kind kind, const QString &point);

    CaptureSet();
    ~CaptureSet();
    CaptureSet(const CaptureSet &) = delete;
    CaptureSet &operator=(const CaptureSet &) = delete;

    void clear();
    // Adds a copy of the capture (as its Process left it) and the figures of its valid channels.
    void add(const ClassData &capture, const QM4168 &adc);

    int count() const { return static_cast<int>(m_captures.size()); }
    // Whether store holds the samples and conditions of the last capture: the series still
    // describes what the windows show (a file opened since, a clear or a peak removal ends that).
    bool holds(const ClassData &store) const;
    const ClassData &capture(int index) const { return *m_captures.at(static_cast<size_t>(index)); }
    // The channels valid in every capture (none without captures).
    QList<int> channels() const;
    const StatisticsFigures &figuresOf(int index, int channel) const;

    // The per-capture values of figure (an index into figures()) of a channel, in capture order.
    std::vector<double> values(int channel, int figure) const;
    Spread spread(int channel, int figure) const;
    // The texts of figure of a channel over the captures.
    QString spreadText(int channel, int figure, const QString &point) const;
    QString rangeText(int channel, int figure, const QString &point) const;

private:
    std::vector<std::unique_ptr<ClassData>> m_captures;
    std::vector<std::array<StatisticsFigures, 8>> m_figures;
};
