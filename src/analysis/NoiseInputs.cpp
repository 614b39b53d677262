#include "NoiseInputs.h"

#include "editors/ChannelLists.h"
#include "model/QM4168.h"

namespace {

QString folded(QString text)
{
    text.remove(QLatin1Char(' '));
    return text.toLower();
}

} // namespace

namespace NoiseInputs {

QList<int> ranges(const QString &text, const QM4168 &model, QString &error)
{
    const int variant = model.EvBoard();
    const QVector<int> codes = ChannelLists::rangeCodes(variant);
    const QStringList names = ChannelLists::rangeTexts(model, variant);
    QList<int> result;
    const bool byCode =
        !text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('V'), Qt::CaseInsensitive);
    const QStringList entries = text.split(byCode ? QLatin1Char(',') : QLatin1Char(';'));
    for (const QString &entry : entries) {
        bool ok = false;
        int code = entry.trimmed().toInt(&ok);
        if (!ok || !byCode) {
            code = -1;
            for (int i = 0; i < names.size(); ++i)
                if (folded(names.at(i)) == folded(entry))
                    code = codes.at(i);
        }
        if (code < 0 || code >= model.RangeCount()) {
            error =
                QStringLiteral("'%1' is not a range: give the ranges as the setup window names them (%2), "
                               "separated by semicolons, or range codes 0 to %3.")
                    .arg(entry.trimmed(), names.join(QStringLiteral("; ")))
                    .arg(model.RangeCount() - 1);
            return {};
        }
        result << code;
    }
    return result;
}

QString rangeNames(const QList<int> &codes, const QM4168 &model)
{
    const int variant = model.EvBoard();
    const QStringList names = ChannelLists::rangeTexts(model, variant);
    QStringList result;
    for (const int code : codes)
        result << names.value(ChannelLists::rangeEntry(variant, code), QString::number(code));
    return result.join(QStringLiteral("; "));
}

void timing(const QString &text, QList<int> &filterWords, QList<double> &conversionTimesUs, QString &error)
{
    filterWords.clear();
    conversionTimesUs.clear();
    const bool times = text.contains(QLatin1String("us"), Qt::CaseInsensitive);
    for (QString entry : text.split(QLatin1Char(','))) {
        entry = entry.trimmed();
        bool ok = false;
        if (times) {
            const bool unit = entry.endsWith(QLatin1String("us"), Qt::CaseInsensitive);
            const double us = entry.chopped(unit ? 2 : 0).trimmed().toDouble(&ok);
            if (unit && ok && us >= 1 && us <= 1e6) {
                conversionTimesUs << us;
                continue;
            }
        } else {
            const int word = entry.toInt(&ok);
            if (ok && word >= 2 && word <= 127) {
                filterWords << word;
                continue;
            }
        }
        filterWords.clear();
        conversionTimesUs.clear();
        error =
            QStringLiteral("'%1' is not a filter word or a conversion time: give filter words from 2 to 127 "
                           "or conversion times such as 1000 us, separated by commas.")
                .arg(entry);
        return;
    }
}

} // namespace NoiseInputs
