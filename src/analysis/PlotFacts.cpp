#include "PlotFacts.h"

#include "FftWindow.h"
#include "data/ShowStatistics.h"

namespace {

QString cellValue(const QList<StatisticsCell> &cells, const QString &label)
{
    for (const StatisticsCell &cell : cells)
        if (cell.label == label)
            return cell.value.trimmed();
    return QString();
}

QString valueOf(const QList<PlotFact> &facts, const char *label)
{
    for (const PlotFact &fact : facts)
        if (fact.label == QLatin1String(label))
            return fact.value;
    return QString();
}

} // namespace

QList<PlotFact> plotFacts(PlotKind kind, const ClassData &data, int channel, const QM4168 &adc, int window,
                          const QDateTime &when)
{
    const QList<StatisticsCell> cells = ShowStatistics(data, channel, adc, QLocale::c());
    QList<PlotFact> facts = {
        {QStringLiteral("Channel"), QString::number(channel)},
        {QStringLiteral("Input Range"), cellValue(cells, QStringLiteral("Input Range"))},
        {QStringLiteral("Conv.Time"), cellValue(cells, QStringLiteral("Conv.Time"))},
        {QStringLiteral("Samples"), cellValue(cells, QStringLiteral("Samples")).section(' ', 0, 0)}};
    if (kind == PlotKind::Spectrum)
        facts << PlotFact{QStringLiteral("Window"), FftWindow::names().value(window, QStringLiteral("none"))};
    facts << PlotFact{QStringLiteral("Date"), when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))};
    return facts;
}

QString plotTitle(const QString &plotName, const QList<PlotFact> &facts)
{
    QStringList parts = {QStringLiteral("Channel ") + valueOf(facts, "Channel"),
                         valueOf(facts, "Input Range"), valueOf(facts, "Conv.Time"),
                         valueOf(facts, "Samples") + QStringLiteral(" samples")};
    const QString window = valueOf(facts, "Window");
    if (!window.isEmpty())
        parts << window + QStringLiteral(" window");
    parts << valueOf(facts, "Date");
    return plotName + QStringLiteral(" — ") + parts.join(QStringLiteral(", "));
}

QStringList plotComments(const QString &plotName, const QList<PlotFact> &facts)
{
    QStringList lines = {QStringLiteral("# Plot: ") + plotName};
    for (const PlotFact &fact : facts)
        lines << QStringLiteral("# %1: %2").arg(fact.label, fact.value);
    return lines;
}
