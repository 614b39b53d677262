#include "CliFormat.h"

#include "CliArguments.h"

#include <QJsonDocument>

namespace CliFormat {

bool read(const CliArguments &arguments, Kind &kind, QString &error)
{
    const QStringList names = {QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("json")};
    kind = Text;
    if (!arguments.has(option()))
        return true;
    const QString text = arguments.value(option());
    const qsizetype index = names.indexOf(text);
    if (index < 0) {
        error = QStringLiteral("--format must be text, csv or json, not '%1'").arg(text);
        return false;
    }
    kind = static_cast<Kind>(index);
    return true;
}

QString helpLine()
{
    return QStringLiteral(
        "  --format text|csv|json  text as the windows show it (default); CSV with a header\n"
        "                         row; JSON Lines, numbers in SI units beside the texts\n");
}

QString jsonLine(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
}

QString csvRow(const QStringList &cells)
{
    QStringList quoted;
    for (const QString &cell : cells) {
        const bool plain = !cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
                           !cell.contains(QLatin1Char('\n'));
        quoted << (plain ? cell
                         : QLatin1Char('"') +
                               QString(cell).replace(QLatin1String("\""), QLatin1String("\"\"")) +
                               QLatin1Char('"'));
    }
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

} // namespace CliFormat
