#include "HistoryComparison.h"

#include "HistoryCapture.h"
#include "data/DecimalText.h"
#include "model/HexText.h"
#include "model/QM4168.h"

#include <QSet>

#include <algorithm>

namespace {

const HistoryChannel *channelOf(const HistoryCapture &capture, int channel)
{
    for (const HistoryChannel &c : capture.channels)
        if (c.channel == channel)
            return &c;
    return nullptr;
}

// The figures of a channel as text, in the order of the rows; empty texts when the capture
// does not hold the channel.
QStringList figureTexts(const HistoryChannel *c)
{
    if (!c)
        return QStringList(9);
    const StatisticsFigures &f = c->figures;
    return {(f.bipolar ? QStringLiteral("±") : QStringLiteral("+")) + plainDecimal(f.inputRangeV) +
                QStringLiteral(" V"),
            plainDecimal(f.convTimeS * 1e6) + QStringLiteral(" us"),
            QString::number(f.dataWidthBits),
            QString::number(f.samples),
            QString::number(f.avgCode, 'f', 2),
            QString::number(f.avgVoltageV * 1e3, 'f', 6) + QStringLiteral(" mV"),
            QString::number(f.rmsNoiseV * 1e6, 'f', 3) + QStringLiteral(" uV"),
            QString::number(f.pkPkNoiseV * 1e6, 'f', 3) + QStringLiteral(" uV"),
            QString::number(f.rmsResolutionBits, 'f', 2)};
}

} // namespace

QList<HistoryComparisonRow> compareCaptures(const HistoryCapture &first, const HistoryCapture &second)
{
    QList<HistoryComparisonRow> rows;
    rows << HistoryComparisonRow{QStringLiteral("Capture"), QString::number(first.id),
                                 QString::number(second.id)};
    rows << HistoryComparisonRow{QStringLiteral("Recorded (UTC)"),
                                 first.recordedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                 second.recordedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
    rows << HistoryComparisonRow{QStringLiteral("Variant"), QStringLiteral("QM416%1").arg(first.variant),
                                 QStringLiteral("QM416%1").arg(second.variant)};
    rows << HistoryComparisonRow{QStringLiteral("Note"), first.note, second.note};
    if (!first.completed() || !second.completed())
        rows << HistoryComparisonRow{QStringLiteral("Failure"), first.failure, second.failure};

    QList<int> channels;
    for (const HistoryCapture *capture : {&first, &second})
        for (const HistoryChannel &c : capture->channels)
            if (!channels.contains(c.channel))
                channels << c.channel;
    std::sort(channels.begin(), channels.end());
    const QStringList labels = {
        QStringLiteral("Input Range"), QStringLiteral("Conv.Time"),   QStringLiteral("Data Width"),
        QStringLiteral("Samples"),     QStringLiteral("Avg.Code"),    QStringLiteral("Avg.Voltage"),
        QStringLiteral("RMS Noise"),   QStringLiteral("Pk-Pk Noise"), QStringLiteral("RMS Res.")};
    for (int channel : channels) {
        const QStringList a = figureTexts(channelOf(first, channel));
        const QStringList b = figureTexts(channelOf(second, channel));
        for (int i = 0; i < labels.size(); ++i)
            rows << HistoryComparisonRow{QStringLiteral("Channel %1 %2").arg(channel).arg(labels.at(i)),
                                         a.at(i), b.at(i)};
    }
    // Cells 0..55 by address; the last is the mode register every channel shares.
    for (int cell = 0; cell < QM4168::CacheCells; ++cell) {
        const int address = cell == QM4168::ModeCell ? 0x38 : cell;
        rows << HistoryComparisonRow{QStringLiteral("Register %1h").arg(HexPad(address, 2)),
                                     HexPad(first.registers.value(cell), 0),
                                     HexPad(second.registers.value(cell), 0)};
    }
    return rows;
}
