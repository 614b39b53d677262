#include "PlotTableCsv.h"

namespace {

QByteArray quoted(const QString &caption)
{
    QByteArray text = caption.toUtf8();
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

} // namespace

QByteArray plotTableCsv(const PlotTable &table, const QString &xCaption, const QString &yCaption)
{
    QByteArray text = quoted(xCaption) + ',' + quoted(yCaption) + '\n';
    for (int row = 0; row < table.rows(); ++row)
        text += QByteArray::number(table.x.at(row), 'g', 17) + ',' +
                QByteArray::number(table.y.at(row), 'g', 17) + '\n';
    return text;
}
