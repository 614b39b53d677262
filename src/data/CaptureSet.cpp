#include "CaptureSet.h"

#include "ClassData.h"
#include "FigureText.h"

#include <algorithm>
#include <cmath>

namespace {

// The decimals and unit of a figure of the given kind whose mean is mean.
struct Format
{
    int decimals = 2;
    double divisor = 1;
    QString unit;
};

Format formatOf(CaptureSet::Kind kind, double mean)
{
    switch (kind) {
    case CaptureSet::Kind::Code:
        return {2, 1, QStringLiteral("Dec")};
    case CaptureSet::Kind::Bits:
        return {2, 1, QStringLiteral("Bits")};
    case CaptureSet::Kind::RmsVolts:
    case CaptureSet::Kind::PkPkVolts:
    case CaptureSet::Kind::AvgVolts:
        break;
    }
    const FigureText::VoltUnit unit = FigureText::voltUnit(std::fabs(mean) * 1e9);
    return {kind == CaptureSet::Kind::RmsVolts ? 2 : 3, unit.nanovolts() * 1e-9, unit.name};
}

} // namespace

const QList<CaptureSet::Figure> &CaptureSet::figures()
{
    using F = StatisticsFigures;
    static const QList<Figure> list = {
        {"avg_code", "Avg.Code", Kind::Code, [](const F &f) { return f.avgCode; }},
        {"code_dev", "Code Dev.", Kind::Code, [](const F &f) { return f.codeDev; }},
        {"code_span", "Code Span", Kind::Code, [](const F &f) { return double(f.codeSpan); }},
        {"min_code", "Min Code", Kind::Code, [](const F &f) { return double(f.minCode); }},
        {"max_code", "Max Code", Kind::Code, [](const F &f) { return double(f.maxCode); }},
        {"avg_voltage_v", "Avg.Voltage", Kind::AvgVolts, [](const F &f) { return f.avgVoltageV; }},
        {"rms_noise_v", "RMS Noise", Kind::RmsVolts, [](const F &f) { return f.rmsNoiseV; }},
        {"pkpk_noise_v", "Pk-Pk Noise", Kind::PkPkVolts, [](const F &f) { return f.pkPkNoiseV; }},
        {"rms_resolution_bits", "RMS Res.", Kind::Bits, [](const F &f) { return f.rmsResolutionBits; }},
        {"pkpk_resolution_bits", "Pk-Pk Res.", Kind::Bits, [](const F &f) { return f.pkPkResolutionBits; }}};
    return list;
}

CaptureSet::Spread CaptureSet::spreadOf(const std::vector<double> &values)
{
    Spread s;
    if (values.empty())
        return s;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    s.min = *low;
    s.max = *high;
    double sum = 0;
    for (double v : values)
        sum += v;
    s.mean = sum / double(values.size());
    if (values.size() > 1) {
        double squares = 0;
        for (double v : values)
            squares += (v - s.mean) * (v - s.mean);
        s.sd = std::sqrt(squares / double(values.size() - 1));
    }
    return s;
}

CaptureSet::CaptureSet() = default;
CaptureSet::~CaptureSet() = default;

void CaptureSet::clear()
{
    m_captures.clear();
    m_figures.clear();
}

void CaptureSet::add(const ClassData &capture, const QM4168 &adc)
{
    auto copy = std::make_unique<ClassData>();
    copy->replaceContents(capture);
    copy->Process();
    std::array<StatisticsFigures, 8> figures{};
    for (int c = 0; c < ClassData::Channels; ++c)
        if (capture.Valid(c))
            figures[static_cast<size_t>(c)] = statisticsFigures(capture, c, adc);
    m_captures.push_back(std::move(copy));
    m_figures.push_back(figures);
}

bool CaptureSet::holds(const ClassData &store) const
{
    if (m_captures.empty())
        return false;
    const ClassData &last = *m_captures.back();
    if (last.DataWidth() != store.DataWidth())
        return false;
    for (int c = 0; c < ClassData::Channels; ++c)
        if (last.Rng(c) != store.Rng(c) || last.ChannelTime(c) != store.ChannelTime(c) ||
            last.DataCount(c) != store.DataCount(c) || last.codes(c) != store.codes(c))
            return false;
    return true;
}

QList<int> CaptureSet::channels() const
{
    QList<int> list;
    for (int c = 0; c < ClassData::Channels && !m_captures.empty(); ++c)
        if (std::all_of(m_captures.begin(), m_captures.end(), [c](const auto &d) { return d->Valid(c); }))
            list << c;
    return list;
}

const StatisticsFigures &CaptureSet::figuresOf(int index, int channel) const
{
    return m_figures.at(static_cast<size_t>(index)).at(static_cast<size_t>(channel));
}

std::vector<double> CaptureSet::values(int channel, int figure) const
{
    std::vector<double> list;
    const Figure &f = figures().at(figure);
    for (int i = 0; i < count(); ++i)
        list.push_back(f.value(figuresOf(i, channel)));
    return list;
}

CaptureSet::Spread CaptureSet::spread(int channel, int figure) const
{
    return spreadOf(values(channel, figure));
}

QString CaptureSet::spreadText(const Spread &s, Kind kind, const QString &point)
{
    const Format f = formatOf(kind, s.mean);
    return FigureText::fixedDecimals(s.mean / f.divisor, f.decimals, point) + QStringLiteral(" \u00B1 ") +
           FigureText::fixedDecimals(s.sd / f.divisor, f.decimals, point) + QLatin1Char(' ') + f.unit;
}

QString CaptureSet::rangeText(const Spread &s, Kind kind, const QString &point)
{
    const Format f = formatOf(kind, s.mean);
    return FigureText::fixedDecimals(s.min / f.divisor, f.decimals, point) + QStringLiteral(" / ") +
           FigureText::fixedDecimals(s.max / f.divisor, f.decimals, point) + QLatin1Char(' ') + f.unit;
}

QString CaptureSet::spreadText(int channel, int figure, const QString &point) const
{
    return spreadText(spread(channel, figure), figures().at(figure).kind, point);
}

QString CaptureSet::rangeText(int channel, int figure, const QString &point) const
{
    return rangeText(spread(channel, figure), figures().at(figure).kind, point);
}
