#include "PlotTableCsv.h"

namespace {

// A name is quoted only when it holds a comma, a quote or a line end.
QByteArray cell(const QString &name)
{
    QByteArray text = name.toUtf8();
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

} // namespace

QByteArray plotTableCsv(const PlotTable &table, const QString &xColumn, const QString &yColumn,
                        const QStringList &comments)
{
    QByteArray text;
    for (const QString &line : comments)
        text += line.toUtf8() + '\n';
    text += cell(xColumn) + ',' + cell(yColumn) + '\n';
    for (int row = 0; row < table.rows(); ++row)
        text += QByteArray::number(table.x.at(row), 'g', 17) + ',' +
                QByteArray::number(table.y.at(row), 'g', 17) + '\n';
    return text;
}
