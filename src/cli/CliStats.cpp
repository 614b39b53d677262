#include "CliStats.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliOutput.h"
#include "data/ShowStatistics.h"
#include "data/StatisticsFigures.h"

#include <QJsonObject>

namespace {

QString help()
{
    return QStringLiteral("Usage: qm416x-cli stats FILE.dat [--variant 62|64|68|69] [--channel N]\n"
                          "                       [--format text|csv|json]\n\n"
                          "The conditions and noise figures of each valid channel of a data file (or of\n"
                          "channel N), one label and value per line, separated by a tab, as the data\n"
                          "window shows them (numbers with a point).\n\n") +
           CliDataSession::optionHelp() + QStringLiteral("  --channel N            only channel N (0..7)\n") +
           CliFormat::helpLine();
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, CliDataSession::valueOptions() << CliFormat::option(), {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (args.error().isEmpty() && !CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    CliDataSession session;
    if (const int code = session.open(args))
        return code;
    CliOutput::out(statisticsText(session.data(), session.channels(), session.adc(), format));
    return 0;
}

} // namespace

QJsonObject figuresObject(const StatisticsFigures &f)
{
    return {{"channel", f.channel},
            {"samples", f.samples},
            {"conv_time_s", f.convTimeS},
            {"input_range_v", f.inputRangeV},
            {"bipolar", f.bipolar},
            {"data_width_bits", f.dataWidthBits},
            {"lsb_v", f.lsbV},
            {"rms_noise_v", f.rmsNoiseV},
            {"pkpk_noise_v", f.pkPkNoiseV},
            {"avg_voltage_v", f.avgVoltageV},
            {"code_dev", f.codeDev},
            {"avg_code", f.avgCode},
            {"code_span", f.codeSpan},
            {"max_code", f.maxCode},
            {"min_code", f.minCode},
            {"rms_resolution_bits", f.rmsResolutionBits},
            {"pkpk_resolution_bits", f.pkPkResolutionBits},
            {"pkpk_measured_v", f.pkPkNoiseV},
            {"pkpk_measured_samples", f.samples},
            {"pkpk_estimated_v", f.pkPkEstimatedV},
            {"noise_free_bits_measured", f.noiseFreeBitsMeasured},
            {"noise_free_bits_estimated", f.noiseFreeBitsEstimated}};
}

QStringList figureKeys()
{
    return {"channel",
            "samples",
            "conv_time_s",
            "input_range_v",
            "bipolar",
            "data_width_bits",
            "lsb_v",
            "rms_noise_v",
            "pkpk_noise_v",
            "avg_voltage_v",
            "code_dev",
            "avg_code",
            "code_span",
            "max_code",
            "min_code",
            "rms_resolution_bits",
            "pkpk_resolution_bits",
            "pkpk_measured_v",
            "pkpk_measured_samples",
            "pkpk_estimated_v",
            "noise_free_bits_measured",
            "noise_free_bits_estimated"};
}

QStringList figureCsvCells(const QJsonObject &object)
{
    QStringList row;
    for (const QString &key : figureKeys()) {
        const QJsonValue v = object.value(key);
        row << (v.isBool() ? QString::number(v.toBool() ? 1 : 0) : CliCsv::number(v.toDouble()));
    }
    return row;
}

QString statisticsText(const ClassData &data, const QList<int> &channels, const QM4168 &adc,
                       CliFormat::Kind format)
{
    QString text;
    for (int c : channels) {
        const QList<StatisticsCell> cells =
            ShowStatistics(data, c, adc, QLocale::c()) + NoiseFreeStatistics(data, c, adc, QLocale::c());
        if (format == CliFormat::Text) {
            if (!text.isEmpty())
                text += QLatin1Char('\n');
            text += QStringLiteral("Channel %1\n").arg(c);
            for (const StatisticsCell &cell : cells)
                text += cell.label + QLatin1Char('\t') + cell.value + QLatin1Char('\n');
            continue;
        }
        QJsonObject object = figuresObject(statisticsFigures(data, c, adc));
        if (format == CliFormat::Json) {
            QJsonObject texts;
            for (const StatisticsCell &cell : cells)
                texts.insert(cell.label, cell.value.trimmed());
            object.insert(QStringLiteral("texts"), texts);
            text += CliFormat::jsonLine(object);
            continue;
        }
        const QStringList keys = figureKeys();
        if (text.isEmpty())
            text += CliFormat::csvRow(keys);
        text += CliFormat::csvRow(figureCsvCells(object));
    }
    return text;
}

CliCommand statsCommand()
{
    return {QStringLiteral("stats"), QStringLiteral("noise figures of the channels of a data file"), run};
}
