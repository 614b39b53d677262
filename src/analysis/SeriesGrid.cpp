#include "SeriesGrid.h"

#include "data/CaptureSet.h"

SeriesGrid::SeriesGrid(QWidget *parent)
    : QTableWidget(static_cast<int>(CaptureSet::figures().size()) + 1, 3, parent)
{
    StatisticsGrid::setTableLook(*this);
    setColumnWidth(0, LabelWidth);
    setColumnWidth(1, ValueWidth);
    setColumnWidth(2, ValueWidth);
    for (int row = 0; row < rowCount(); ++row) {
        setRowHeight(row, RowHeight);
        for (int column = 0; column < 3; ++column) {
            auto *cell = new QTableWidgetItem;
            if (row > 0 && column > 0)
                cell->setForeground(QColor(0, 0, 255));
            if (row % 2 == 0)
                cell->setBackground(QColor(0xE0, 0xE0, 0xE0));
            setItem(row, column, cell);
        }
        if (row > 0)
            item(row, 0)->setText(CaptureSet::figures().at(row - 1).label);
    }
    item(0, 1)->setText(QStringLiteral("Mean \u00B1 SD"));
    item(0, 2)->setText(QStringLiteral("Min / Max"));
    resize(fullWidth(), fullHeight());
}

void SeriesGrid::fill(const CaptureSet &captures, int channel, const QLocale &locale)
{
    item(0, 0)->setText(QStringLiteral("%1 captures").arg(captures.count()));
    const QString point = locale.decimalPoint();
    for (int f = 0; f < CaptureSet::figures().size(); ++f) {
        item(f + 1, 1)->setText(captures.spreadText(channel, f, point));
        item(f + 1, 2)->setText(captures.rangeText(channel, f, point));
    }
}

QString SeriesGrid::text(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void SeriesGrid::setGridWidth(int width)
{
    resize(width, fullHeight());
    const int values = qMax(2 * 60, width - LabelWidth - 2 * frameWidth());
    setColumnWidth(1, values / 2);
    setColumnWidth(2, values - values / 2);
}
