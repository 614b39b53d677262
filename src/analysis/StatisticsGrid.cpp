#include "StatisticsGrid.h"

#include <QHeaderView>

void StatisticsGrid::setTableLook(QTableWidget &table)
{
    table.horizontalHeader()->hide();
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setMinimumSectionSize(1);
    table.verticalHeader()->setDefaultSectionSize(RowHeight);
    table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionMode(QAbstractItemView::NoSelection);
    table.setFocusPolicy(Qt::NoFocus);
}

StatisticsGrid::StatisticsGrid(const QStringList &labels, QWidget *parent)
    : QTableWidget(static_cast<int>(labels.size()), 2, parent)
{
    setTableLook(*this);
    setColumnWidth(0, LabelWidth);
    setColumnWidth(1, ValueWidth);
    for (int row = 0; row < rowCount(); ++row) {
        setRowHeight(row, RowHeight);
        auto *label = new QTableWidgetItem(labels.at(row));
        auto *value = new QTableWidgetItem;
        value->setForeground(QColor(0, 0, 255));
        if (row % 2 == 0) {
            label->setBackground(QColor(0xE0, 0xE0, 0xE0));
            value->setBackground(QColor(0xE0, 0xE0, 0xE0));
        }
        setItem(row, 0, label);
        setItem(row, 1, value);
    }
    resize(Width, fullHeight());
}

void StatisticsGrid::fill(const QList<StatisticsCell> &cells)
{
    for (int row = 0; row < rowCount(); ++row) {
        QString label = item(row, 0)->text();
        if (label == QLatin1String("Codes Read"))
            label = QStringLiteral("Samples");
        for (const StatisticsCell &cell : cells) {
            if (cell.label == label) {
                item(row, 1)->setText(cell.value);
                break;
            }
        }
    }
}

QString StatisticsGrid::text(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void StatisticsGrid::setGridWidth(int width)
{
    resize(width, fullHeight());
    setColumnWidth(1, qMax(ValueWidth, width - LabelWidth - 2 * frameWidth()));
}
