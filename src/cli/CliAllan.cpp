#include "CliAllan.h"

#include "CliCsv.h"
#include "CliDataSession.h"
#include "CliDialogs.h"
#include "CliFormat.h"
#include "CliOutput.h"
#include "analysis/AllanDeviation.h"
#include "analysis/AllanPlot.h"
#include "analysis/PlotView.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString help()
{
    return QStringLiteral(
               "Usage: qm416x-cli allan FILE.dat --channel N [--variant 62|64|68|69]\n"
               "                       [--format text|csv|json] [--plot OUT.png|OUT.pdf]\n\n"
               "The overlapping Allan deviation of channel N against the averaging time\n"
               "tau = m * T (m = 1, 2, 4, ... up to a third of the samples; T the channel's\n"
               "time between samples), in codes and in volts, with the number of\n"
               "differences behind each point.\n"
               "text: one tab-separated row per tau, the lowest marked '*', then the minimum.\n"
               "csv: tau_s,adev_code,adev_v,count, one row per tau.\n"
               "json: one object with the channel, the points and the minimum.\n"
               "--plot also draws the curve in volts, log-log, with the minimum in its corner.\n\n") +
           CliDataSession::optionHelp() +
           QStringLiteral(
               "  --channel N            the channel (0..7), required\n"
               "  --plot FILE            the picture; its extension (.png or .pdf) chooses the format\n") +
           CliFormat::helpLine();
}

QStringList cells(const AllanPoint &p)
{
    return {CliCsv::number(p.tauS), CliCsv::number(p.adevCode), CliCsv::number(p.adevV),
            CliCsv::number(static_cast<qint64>(p.count))};
}

QJsonObject pointObject(const AllanPoint &p)
{
    return {{"tau_s", p.tauS}, {"adev_code", p.adevCode}, {"adev_v", p.adevV}, {"count", p.count}};
}

// The curve in volts on log-log axes, 800 x 500 as the plot command draws.
DataFileError drawCurve(const AllanCurve &curve, const QString &output)
{
    const PlotTable table = AllanPlot::table(curve);
    CliDialogs dialogs;
    PlotView view(dialogs);
    view.setLogLog(true);
    view.setCaptions(AllanPlot::xCaption(), AllanPlot::yCaption());
    view.setNote(AllanPlot::minimumLabel(curve));
    view.load(table, table.count);
    return output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? view.savePdf(output, 800, 500)
                                                                       : view.savePng(output, 800, 500);
}

QString curveText(const AllanCurve &curve, CliFormat::Kind format, int channel, int samples)
{
    if (format == CliFormat::Json) {
        QJsonArray points;
        for (const AllanPoint &p : curve.points)
            points.append(pointObject(p));
        return CliFormat::jsonLine({{"channel", channel},
                                    {"samples", samples},
                                    {"points", points},
                                    {"minimum", pointObject(curve.points.at(curve.minimum))}});
    }
    const QStringList header = {"tau_s", "adev_code", "adev_v", "count"};
    if (format == CliFormat::Csv) {
        QString text = CliFormat::csvRow(header);
        for (const AllanPoint &p : curve.points)
            text += CliFormat::csvRow(cells(p));
        return text;
    }
    QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (size_t i = 0; i < curve.points.size(); ++i)
        text += cells(curve.points[i]).join(QLatin1Char('\t')) +
                (static_cast<int>(i) == curve.minimum ? QStringLiteral("\t*\n") : QStringLiteral("\n"));
    return text + AllanPlot::minimumText(curve) + QLatin1Char('\n');
}

int run(const QStringList &arguments)
{
    const CliArguments args(
        arguments, CliDataSession::valueOptions() << CliFormat::option() << QStringLiteral("--plot"), {});
    if (args.help()) {
        CliOutput::out(help());
        return 0;
    }
    if (args.error().isEmpty() && !args.has(QStringLiteral("--channel")))
        return CliOutput::usageError(QStringLiteral("allan needs --channel N"));
    CliFormat::Kind format = CliFormat::Text;
    QString error;
    if (args.error().isEmpty() && !CliFormat::read(args, format, error))
        return CliOutput::usageError(error);
    const QString output = args.value(QStringLiteral("--plot"));
    if (args.error().isEmpty() && args.has(QStringLiteral("--plot")) &&
        !output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) &&
        !output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return CliOutput::usageError(
            QStringLiteral("the output must end in .png or .pdf, not '%1'").arg(output));
    CliDataSession session;
    if (const int code = session.open(args))
        return code;
    // The session refuses a channel of 3 samples or fewer, so the curve has a point.
    const AllanCurve curve = allanDeviation(session.data(), session.channel(), session.adc());
    if (!output.isEmpty()) {
        const DataFileError written = drawCurve(curve, output);
        if (written.isError())
            return CliOutput::failure(QStringLiteral("cannot write %1: %2").arg(output, written.message()));
    }
    CliOutput::out(curveText(curve, format, session.channel(), session.data().DataCount(session.channel())));
    return 0;
}

} // namespace

CliCommand allanCommand()
{
    return {QStringLiteral("allan"), QStringLiteral("Allan deviation of a channel of a data file"), run};
}
