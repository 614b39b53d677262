#include "StatisticsGrid.h"

#include <QHeaderView>

StatisticsGrid::StatisticsGrid(const QStringList &labels, QWidget *parent)
    : QTableWidget(static_cast<int>(labels.size()), 2, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
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
