#include "CliCaptures.h"

#include "CliStats.h"
#include "data/CaptureSet.h"
#include "data/ShowStatistics.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString textOf(const CaptureSet &captures, int channel, const QM4168 &adc)
{
    const QString point = QStringLiteral(".");
    QString text = QStringLiteral("Channel %1\nCaptures\t%2\n").arg(channel).arg(captures.count());
    const QList<CaptureSet::Figure> &figures = CaptureSet::figures();
    for (const StatisticsCell &cell :
         ShowStatistics(captures.capture(captures.count() - 1), channel, adc, QLocale::c())) {
        text += cell.label + QLatin1Char('\t') + cell.value;
        for (int f = 0; f < figures.size(); ++f)
            if (figures.at(f).label == cell.label)
                text += QLatin1Char('\t') + captures.spreadText(channel, f, point) + QStringLiteral(" (") +
                        captures.rangeText(channel, f, point) + QLatin1Char(')');
        text += QLatin1Char('\n');
    }
    return text;
}

QJsonObject jsonOf(const CaptureSet &captures, int channel)
{
    const int last = captures.count() - 1;
    QJsonObject object = figuresObject(captures.figuresOf(last, channel));
    object.insert(QStringLiteral("captures"), captures.count());
    QJsonObject series;
    const QList<CaptureSet::Figure> &figures = CaptureSet::figures();
    for (int f = 0; f < figures.size(); ++f) {
        const std::vector<double> values = captures.values(channel, f);
        const CaptureSet::Spread s = CaptureSet::spreadOf(values);
        QJsonArray array;
        for (double v : values)
            array.append(v);
        series.insert(
            figures.at(f).key,
            QJsonObject{{"mean", s.mean}, {"sd", s.sd}, {"min", s.min}, {"max", s.max}, {"values", array}});
    }
    object.insert(QStringLiteral("series"), series);
    return object;
}

} // namespace

QString seriesText(const CaptureSet &captures, const QList<int> &channels, const QM4168 &adc,
                   CliFormat::Kind format)
{
    QString text;
    if (format == CliFormat::Csv)
        text += CliFormat::csvRow(QStringList{QStringLiteral("capture")} + figureKeys());
    for (int channel : channels) {
        if (format == CliFormat::Json) {
            text += CliFormat::jsonLine(jsonOf(captures, channel));
        } else if (format == CliFormat::Csv) {
            for (int i = 0; i < captures.count(); ++i)
                text += CliFormat::csvRow(QStringList{QString::number(i + 1)} +
                                          figureCsvCells(figuresObject(captures.figuresOf(i, channel))));
        } else {
            if (!text.isEmpty())
                text += QLatin1Char('\n');
            text += textOf(captures, channel, adc);
        }
    }
    return text;
}
