#include "HistoryCommand.h"

#include "CliArguments.h"
#include "CliCsv.h"
#include "CliFormat.h"
#include "CliHistory.h"
#include "CliOutput.h"
#include "CliStats.h"
#include "data/ClassData.h"
#include "data/DecimalText.h"
#include "data/NoiseTable.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryExport.h"
#include "model/HexText.h"
#include "model/QM4168.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

const char *const Help =
    "Usage: qm416x-cli history list [--run ID] [--db FILE] [--format text|csv|json]\n"
    "       qm416x-cli history show ID [--db FILE] [--format text|csv|json]\n"
    "       qm416x-cli history export ID -o FILE.dat|FILE.adc [--db FILE]\n"
    "       qm416x-cli history delete ID [--db FILE]\n\n"
    "The measurement history: every completed acquisition of 'acquire', 'log' and the\n"
    "program, with its time, variant, register set-up, the conditions and noise figures of\n"
    "each channel, its codes and a note.\n\n"
    "list    every capture, newest first: one line per channel (range, conversion time,\n"
    "        samples, RMS noise); a failed capture of a logger run shows its reason\n"
    "show    the capture's set-up and the noise figures of each channel, as 'stats' prints\n"
    "        them (CSV and JSON: the figures only)\n"
    "export  the capture's samples as the data file the data window saves (.dat), or its\n"
    "        register set-up as the settings file 'settings save' writes (.adc)\n"
    "delete  removes the capture\n\n"
    "Options:\n"
    "  --db FILE           the history database (default ~/.local/share/QM416x/history.sqlite)\n"
    "  --run ID            only the captures of one logger run\n"
    "  -o, --output FILE   the file export writes; its extension chooses the kind\n";

QString variantName(int code)
{
    return QStringLiteral("QM416%1").arg(code);
}

QString timeText(const QDateTime &utc)
{
    return utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

// The RMS noise in microvolts, as the noise tables give it.
QString noiseText(double volts)
{
    return QString::number(volts * 1e6, 'f', 3) + QStringLiteral(" uV");
}

} // namespace

QString historyListText(const QList<HistoryEntry> &entries, CliFormat::Kind format, bool heading)
{
    QString text;
    if (heading && format == CliFormat::Text)
        text = QStringLiteral(
            "ID\tRecorded (UTC)\tRun\tVariant\tChannel\tRange\tConv.Time\tSamples\tRMS Noise\tNote\n");
    else if (heading && format == CliFormat::Csv)
        text = CliFormat::csvRow({"id", "recorded_utc", "run", "variant", "channel", "input_range_v",
                                  "bipolar", "conv_time_s", "samples", "avg_code", "avg_voltage_v",
                                  "rms_noise_v", "note", "failure"});
    for (const HistoryEntry &e : entries) {
        const QString run = e.runId != 0 ? QString::number(e.runId) : QString();
        if (format == CliFormat::Json) {
            QJsonArray channels;
            for (const HistoryChannelSummary &c : e.channels)
                channels.append(QJsonObject{{"channel", c.channel},
                                            {"input_range_v", c.rangeV},
                                            {"bipolar", c.bipolar},
                                            {"conv_time_s", c.convTimeS},
                                            {"samples", c.samples},
                                            {"avg_code", c.meanCode},
                                            {"avg_voltage_v", c.avgVoltageV},
                                            {"rms_noise_v", c.rmsNoiseV}});
            QJsonObject object{{"id", e.id},
                               {"recorded_utc", e.recordedAt.toString(Qt::ISODateWithMs)},
                               {"variant", variantName(e.variant)},
                               {"note", e.note},
                               {"channels", channels}};
            if (e.runId != 0)
                object.insert(QStringLiteral("run"), e.runId);
            if (!e.failure.isEmpty())
                object.insert(QStringLiteral("failure"), e.failure);
            text += CliFormat::jsonLine(object);
            continue;
        }
        const QStringList head = {QString::number(e.id), timeText(e.recordedAt), run, variantName(e.variant)};
        if (e.channels.isEmpty()) {
            // A recorded failure (or a capture without a valid channel).
            if (format == CliFormat::Text)
                text += (head + QStringList{QStringLiteral("failed: ") + e.failure, {}, {}, {}, {}, e.note})
                            .join(QLatin1Char('\t')) +
                        QLatin1Char('\n');
            else
                text +=
                    CliFormat::csvRow(head + QStringList{{}, {}, {}, {}, {}, {}, {}, {}, e.note, e.failure});
            continue;
        }
        for (const HistoryChannelSummary &c : e.channels) {
            if (format == CliFormat::Text)
                text += (head + QStringList{QString::number(c.channel),
                                            NoiseTable::rangeText(c.rangeV, c.bipolar),
                                            plainDecimal(c.convTimeS * 1e6) + QStringLiteral(" us"),
                                            QString::number(c.samples), noiseText(c.rmsNoiseV), e.note})
                            .join(QLatin1Char('\t')) +
                        QLatin1Char('\n');
            else
                text += CliFormat::csvRow(
                    head + QStringList{QString::number(c.channel), CliCsv::number(c.rangeV),
                                       QString::number(c.bipolar ? 1 : 0), CliCsv::number(c.convTimeS),
                                       QString::number(c.samples), CliCsv::number(c.meanCode),
                                       CliCsv::number(c.avgVoltageV), CliCsv::number(c.rmsNoiseV), e.note,
                                       e.failure});
        }
    }
    return text;
}

namespace {

// The capture's heading and register image, then the figures of each channel.
QString showText(const HistoryCapture &capture, CliFormat::Kind format)
{
    QM4168 model;
    capture.fillModel(model);
    ClassData store;
    capture.fillStore(store);
    QList<int> channels;
    for (const HistoryChannel &c : capture.channels)
        channels << c.channel;
    const QString figures = statisticsText(store, channels, model, format);
    if (format != CliFormat::Text)
        return figures;
    QString text = QStringLiteral("Capture\t%1\nRecorded (UTC)\t%2\nVariant\t%3\n")
                       .arg(capture.id)
                       .arg(timeText(capture.recordedAt), variantName(capture.variant));
    if (capture.runId != 0)
        text += QStringLiteral("Run\t%1\n").arg(capture.runId);
    text += QStringLiteral("Note\t%1\n").arg(capture.note);
    if (!capture.completed())
        text += QStringLiteral("Failure\t%1\n").arg(capture.failure);
    // The cache cells by address, eight to a line; the last cell is the shared mode register.
    for (int first = 0; first < QM4168::ModeCell; first += 8) {
        QStringList values;
        for (int cell = first; cell < first + 8; ++cell)
            values << HexPad(capture.registers.at(cell), 0);
        text += QStringLiteral("Registers %1h\t%2\n").arg(HexPad(first, 2), values.join(QLatin1Char(' ')));
    }
    text += QStringLiteral("Registers 38h\t%1\n").arg(HexPad(capture.registers.at(QM4168::ModeCell), 0));
    return figures.isEmpty() ? text : text + QLatin1Char('\n') + figures;
}

int run(const QStringList &arguments)
{
    const CliArguments args(
        arguments,
        {QStringLiteral("--db"), QStringLiteral("--run"), QStringLiteral("-o|--output"), CliFormat::option()},
        {});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help)))
        return *done;
    const QStringList words = args.positional();
    const QString action = words.value(0);
    const bool list = action == QLatin1String("list") && words.size() == 1;
    const bool withId = (action == QLatin1String("show") || action == QLatin1String("export") ||
                         action == QLatin1String("delete")) &&
                        words.size() == 2;
    if (!list && !withId)
        return CliOutput::usageError(
            QStringLiteral("history needs list, show ID, export ID -o FILE or delete ID (see --help)"));
    bool ok = true;
    const qint64 id = withId ? words.at(1).toLongLong(&ok) : 0;
    if (!ok || (withId && id < 1))
        return CliOutput::usageError(QStringLiteral("'%1' is not a capture number").arg(words.at(1)));
    const qint64 runId =
        args.has(QStringLiteral("--run")) ? args.value(QStringLiteral("--run")).toLongLong(&ok) : 0;
    if (!ok || runId < 0 || (args.has(QStringLiteral("--run")) && !list))
        return CliOutput::usageError(QStringLiteral("--run needs a run number and applies to list"));
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (!CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    if (args.has(CliFormat::option()) && !list && action != QLatin1String("show"))
        return CliOutput::usageError(QStringLiteral("--format applies to list and show"));
    const QString output = args.value(QStringLiteral("-o"));
    HistoryExport::Kind kind = HistoryExport::Kind::DataFile;
    if (action == QLatin1String("export") && !HistoryExport::kindOf(output, kind))
        return CliOutput::usageError(QStringLiteral("export needs -o FILE.dat or -o FILE.adc"));
    if (action != QLatin1String("export") && args.has(QStringLiteral("-o")))
        return CliOutput::usageError(QStringLiteral("-o applies to export"));

    // Reading never creates a database.
    const QString path = CliHistory::path(args);
    if (!QFileInfo::exists(path))
        return CliOutput::failure(QStringLiteral("there is no history database %1").arg(path));
    HistoryDatabase db;
    if (!db.open(path))
        return CliOutput::failure(db.error());
    if (list) {
        const std::optional<QList<HistoryEntry>> entries = db.list(runId);
        if (!entries)
            return CliOutput::failure(db.error());
        CliOutput::out(historyListText(*entries, format));
        return 0;
    }
    if (action == QLatin1String("delete")) {
        if (!db.remove(id))
            return CliOutput::failure(db.error());
        CliOutput::out(QStringLiteral("deleted capture %1\n").arg(id));
        return 0;
    }
    const std::optional<HistoryCapture> capture = db.load(id);
    if (!capture)
        return CliOutput::failure(db.error());
    if (action == QLatin1String("show")) {
        CliOutput::out(showText(*capture, format));
        return 0;
    }
    if (!capture->completed())
        return CliOutput::failure(QStringLiteral("capture %1 is a recorded failure (%2): it holds no data")
                                      .arg(id)
                                      .arg(capture->failure));
    const DataFileError written = HistoryExport::write(*capture, output, kind);
    if (written.isError())
        return CliOutput::failure(QStringLiteral("%1: %2").arg(output, written.boxText()));
    return 0;
}

} // namespace

CliCommand historyCommand()
{
    return {QStringLiteral("history"), QStringLiteral("list, show, export or delete the recorded captures"),
            run};
}
