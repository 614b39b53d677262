#include "NoiseTable.h"

#include "ClassData.h"
#include "StatisticsFigures.h"
#include "model/QM4168.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

const QStringList CsvColumns = {QStringLiteral("filter_word"),
                                QStringLiteral("chop"),
                                QStringLiteral("conversion_time_us"),
                                QStringLiteral("data_rate_hz"),
                                QStringLiteral("range_code"),
                                QStringLiteral("range_v"),
                                QStringLiteral("bipolar"),
                                QStringLiteral("samples"),
                                QStringLiteral("rms_noise_uv"),
                                QStringLiteral("pp_noise_uv"),
                                QStringLiteral("rms_resolution_bits"),
                                QStringLiteral("pp_resolution_bits"),
                                QStringLiteral("pp_estimated_uv"),
                                QStringLiteral("pp_estimated_resolution_bits")};
// Tables written before the estimated peak-to-peak columns read back as well.
constexpr int EarlierCsvColumns = 12;

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString cellText(const NoiseRow &row)
{
    return QStringLiteral("%1 µV rms (%2 bits)")
        .arg(QString::number(row.rmsNoiseUv, 'g', 4), QString::number(row.rmsBits, 'f', 2));
}

QStringList markdownCells(const QString &line)
{
    QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('|')) || !t.endsWith(QLatin1Char('|')) || t.size() < 2)
        return {};
    QStringList cells = t.mid(1, t.size() - 2).split(QLatin1Char('|'));
    for (QString &c : cells)
        c = c.trimmed();
    return cells;
}

constexpr int MarkdownKeyColumns = 4; // filter word, chop, conversion time, data rate

} // namespace

bool NoiseTable::formatOf(const QString &name, Format &format)
{
    static const QStringList names = {QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("json"),
                                      QStringLiteral("markdown")};
    const int index = names.indexOf(name);
    if (index < 0)
        return false;
    format = static_cast<Format>(index);
    return true;
}

NoiseRow NoiseTable::figures(const ClassData &data, int channel, const QM4168 &adc)
{
    NoiseRow row;
    row.rangeCode = data.Rng(channel);
    row.bipolar = adc.Polarity(row.rangeCode);
    row.rangeVolts = adc.Range(row.rangeCode);
    row.conversionTimeUs = data.ChannelTime(channel);
    row.dataRateHz = row.conversionTimeUs > 0 ? 1e6 / row.conversionTimeUs : 0.0;
    row.samples = data.DataCount(channel);
    const int bits = 8 * data.DataWidth();
    const double sigma = data.StdDev(channel);
    const double span = static_cast<double>(data.MaxCode(channel)) - data.MinCode(channel);
    const double lsb = (row.bipolar ? 2.0 : 1.0) * row.rangeVolts / std::pow(2.0, bits);
    row.rmsNoiseUv = sigma * lsb * 1e6;
    row.peakNoiseUv = span * lsb * 1e6;
    row.rmsBits = sigma > 0 ? bits - std::log2(sigma) : bits;
    row.peakBits = span > 0 ? bits - std::log2(span) : bits;
    const StatisticsFigures f = statisticsFigures(data, channel, adc);
    row.peakEstimatedUv = f.pkPkEstimatedV * 1e6;
    row.peakEstimatedBits = f.noiseFreeBitsEstimated;
    return row;
}

QString NoiseTable::rangeText(double volts, bool bipolar)
{
    return (bipolar ? QStringLiteral("±") : QStringLiteral("+")) + QString::number(volts) +
           QStringLiteral(" V");
}

QString NoiseTable::render(const QList<NoiseRow> &rows, Format format)
{
    switch (format) {
    case Format::Csv:
        return csv(rows);
    case Format::Json:
        return json(rows);
    case Format::Markdown:
        return markdown(rows);
    case Format::Text:
        break;
    }
    return text(rows);
}

QString NoiseTable::text(const QList<NoiseRow> &rows)
{
    QString out =
        QStringLiteral("  FW Chop  Conv.Time    Rate       Range  Samples   RMS Noise  Pk-Pk Noise  "
                       "RMS Res.  Pk-Pk Res.  Pk-Pk Est.  Est. Res.\n");
    for (const NoiseRow &r : rows)
        out += QStringLiteral("%1 %2 %3 us %4 Hz %5 %6 %7 uV %8 uV %9 bits %10 bits %11 uV %12 bits\n")
                   .arg(r.filterWord, 4)
                   .arg(onOff(r.chop), 4)
                   .arg(r.conversionTimeUs, 8, 'f', 2)
                   .arg(r.dataRateHz, 7, 'f', 2)
                   .arg(rangeText(r.rangeVolts, r.bipolar), 10)
                   .arg(r.samples, 8)
                   .arg(r.rmsNoiseUv, 8, 'f', 3)
                   .arg(r.peakNoiseUv, 9, 'f', 3)
                   .arg(r.rmsBits, 6, 'f', 2)
                   .arg(r.peakBits, 6, 'f', 2)
                   .arg(r.peakEstimatedUv, 8, 'f', 3)
                   .arg(r.peakEstimatedBits, 6, 'f', 2);
    return out;
}

QString NoiseTable::csv(const QList<NoiseRow> &rows)
{
    QString out = CsvColumns.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const NoiseRow &r : rows)
        out += QStringList{QString::number(r.filterWord),
                           onOff(r.chop),
                           number(r.conversionTimeUs),
                           number(r.dataRateHz),
                           QString::number(r.rangeCode),
                           number(r.rangeVolts),
                           r.bipolar ? QStringLiteral("1") : QStringLiteral("0"),
                           QString::number(r.samples),
                           number(r.rmsNoiseUv),
                           number(r.peakNoiseUv),
                           number(r.rmsBits),
                           number(r.peakBits),
                           number(r.peakEstimatedUv),
                           number(r.peakEstimatedBits)}
                   .join(QLatin1Char(',')) +
               QLatin1Char('\n');
    return out;
}

QString NoiseTable::json(const QList<NoiseRow> &rows)
{
    QJsonArray array;
    for (const NoiseRow &r : rows)
        array.append(QJsonObject{{QStringLiteral("filter_word"), r.filterWord},
                                 {QStringLiteral("chop"), r.chop},
                                 {QStringLiteral("conversion_time_us"), r.conversionTimeUs},
                                 {QStringLiteral("data_rate_hz"), r.dataRateHz},
                                 {QStringLiteral("range_code"), r.rangeCode},
                                 {QStringLiteral("range_v"), r.rangeVolts},
                                 {QStringLiteral("bipolar"), r.bipolar},
                                 {QStringLiteral("samples"), r.samples},
                                 {QStringLiteral("rms_noise_uv"), r.rmsNoiseUv},
                                 {QStringLiteral("pp_noise_uv"), r.peakNoiseUv},
                                 {QStringLiteral("rms_resolution_bits"), r.rmsBits},
                                 {QStringLiteral("pp_resolution_bits"), r.peakBits},
                                 {QStringLiteral("pp_estimated_uv"), r.peakEstimatedUv},
                                 {QStringLiteral("pp_estimated_resolution_bits"), r.peakEstimatedBits}});
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("rows"), array}}).toJson());
}

QString NoiseTable::markdown(const QList<NoiseRow> &rows)
{
    // Columns: the ranges in order of first appearance; rows: the (filter word, chop) pairs.
    QList<int> ranges;
    QList<QPair<int, bool>> settings;
    for (const NoiseRow &r : rows) {
        if (!ranges.contains(r.rangeCode))
            ranges << r.rangeCode;
        if (!settings.contains(qMakePair(r.filterWord, r.chop)))
            settings << qMakePair(r.filterWord, r.chop);
    }
    QStringList header = {QStringLiteral("Filter word"), QStringLiteral("Chop"),
                          QStringLiteral("Conv. time (µs)"), QStringLiteral("Data rate (Hz)")};
    for (int code : std::as_const(ranges))
        for (const NoiseRow &r : rows)
            if (r.rangeCode == code) {
                header << QStringLiteral("%1 (code %2)").arg(rangeText(r.rangeVolts, r.bipolar)).arg(code);
                break;
            }
    QString out = QStringLiteral("| ") + header.join(QStringLiteral(" | ")) + QStringLiteral(" |\n|") +
                  QStringLiteral("---:|").repeated(header.size()) + QLatin1Char('\n');
    for (const auto &[word, chop] : std::as_const(settings)) {
        QStringList line;
        for (int code : std::as_const(ranges)) {
            QString cell = QStringLiteral("–");
            for (const NoiseRow &r : rows)
                if (r.filterWord == word && r.chop == chop && r.rangeCode == code) {
                    if (line.isEmpty())
                        line << QString::number(word) << onOff(chop)
                             << QString::number(r.conversionTimeUs, 'f', 2)
                             << QString::number(r.dataRateHz, 'f', 2);
                    cell = cellText(r);
                }
            line << cell;
        }
        out += QStringLiteral("| ") + line.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
    }
    return out;
}

QList<NoiseRow> NoiseTable::fromCsv(const QString &text, QString &error)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString heading = lines.isEmpty() ? QString() : lines.first().trimmed();
    const bool earlier = heading == CsvColumns.mid(0, EarlierCsvColumns).join(QLatin1Char(','));
    const qsizetype columns = earlier ? EarlierCsvColumns : CsvColumns.size();
    if (!earlier && heading != CsvColumns.join(QLatin1Char(','))) {
        error = QStringLiteral("not a noise table: the first line must name the columns %1")
                    .arg(CsvColumns.join(QLatin1Char(',')));
        return {};
    }
    QList<NoiseRow> rows;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).trimmed().split(QLatin1Char(','));
        bool ok = f.size() == columns && (f.at(1) == QLatin1String("on") || f.at(1) == QLatin1String("off"));
        auto real = [&](int column) {
            bool good = false;
            const double v = ok ? f.at(column).toDouble(&good) : 0.0;
            ok = ok && good;
            return v;
        };
        auto whole = [&](int column) {
            bool good = false;
            const int v = ok ? f.at(column).toInt(&good) : 0;
            ok = ok && good;
            return v;
        };
        NoiseRow r;
        r.filterWord = whole(0);
        r.chop = ok && f.at(1) == QLatin1String("on");
        r.conversionTimeUs = real(2);
        r.dataRateHz = real(3);
        r.rangeCode = whole(4);
        r.rangeVolts = real(5);
        r.bipolar = whole(6) != 0;
        r.samples = whole(7);
        r.rmsNoiseUv = real(8);
        r.peakNoiseUv = real(9);
        r.rmsBits = real(10);
        r.peakBits = real(11);
        if (!earlier) {
            r.peakEstimatedUv = real(12);
            r.peakEstimatedBits = real(13);
        }
        if (!ok) {
            error =
                QStringLiteral("line %1 is not a row of the noise table: '%2'").arg(i + 1).arg(lines.at(i));
            return {};
        }
        rows << r;
    }
    return rows;
}

QList<NoiseRow> NoiseTable::fromMarkdown(const QString &text, QString &error)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList header = lines.isEmpty() ? QStringList() : markdownCells(lines.first());
    static const QRegularExpression rangeHead(QStringLiteral("^([±+])([0-9.]+) V \\(code ([0-9]+)\\)$"));
    static const QRegularExpression cellPattern(
        QStringLiteral("^([-0-9.eE+]+) µV rms \\(([-0-9.]+) bits\\)$"));
    struct Column
    {
        int code;
        double volts;
        bool bipolar;
    };
    QList<Column> columns;
    for (int i = MarkdownKeyColumns; i < header.size(); ++i) {
        const QRegularExpressionMatch m = rangeHead.match(header.at(i));
        if (!m.hasMatch())
            break;
        columns << Column{m.captured(3).toInt(), m.captured(2).toDouble(),
                          m.captured(1) == QStringLiteral("±")};
    }
    if (header.size() < MarkdownKeyColumns + 1 || columns.size() != header.size() - MarkdownKeyColumns ||
        lines.size() < 2) {
        error = QStringLiteral("not a noise table: the header needs the settings and one column per range");
        return {};
    }
    // The table's rows come out range by range, as a sweep yields them.
    QList<QList<NoiseRow>> byRange(columns.size());
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList cells = markdownCells(lines.at(i));
        bool ok = cells.size() == header.size();
        NoiseRow key;
        if (ok) {
            bool a = false, b = false, c = false;
            key.filterWord = cells.at(0).toInt(&a);
            key.chop = cells.at(1) == QLatin1String("on");
            key.conversionTimeUs = cells.at(2).toDouble(&b);
            key.dataRateHz = cells.at(3).toDouble(&c);
            ok = a && b && c && (key.chop || cells.at(1) == QLatin1String("off"));
        }
        for (int k = 0; ok && k < columns.size(); ++k) {
            const QString &cell = cells.at(MarkdownKeyColumns + k);
            if (cell == QStringLiteral("–"))
                continue;
            const QRegularExpressionMatch m = cellPattern.match(cell);
            ok = m.hasMatch();
            NoiseRow r = key;
            r.rangeCode = columns.at(k).code;
            r.rangeVolts = columns.at(k).volts;
            r.bipolar = columns.at(k).bipolar;
            r.rmsNoiseUv = m.captured(1).toDouble();
            r.rmsBits = m.captured(2).toDouble();
            byRange[k] << r;
        }
        if (!ok) {
            error =
                QStringLiteral("line %1 is not a row of the noise table: '%2'").arg(i + 1).arg(lines.at(i));
            return {};
        }
    }
    QList<NoiseRow> rows;
    for (const QList<NoiseRow> &list : std::as_const(byRange))
        rows += list;
    return rows;
}
