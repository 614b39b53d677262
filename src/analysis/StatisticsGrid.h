#pragma once

#include "data/StatisticsCell.h"

#include <QTableWidget>

// One table of the data window: labels in the first column, values in blue in the second,
// every second row (from the first) on light grey, 80 + 93 pixels wide and 20 pixels a row
// (1200, 1400 and 300 twips), without headers or scroll bars.
class StatisticsGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int LabelWidth = 80;
    static constexpr int ValueWidth = 93;
    static constexpr int RowHeight = 20;
    static constexpr int Width = 177; // 2650 twips

    StatisticsGrid(const QStringList &labels, QWidget *parent = nullptr);

    // The look the data window's tables share: no headers, no scroll bars, fixed rows of
    // RowHeight, nothing to edit, select or focus.
    static void setTableLook(QTableWidget &table);

    // Writes each cell's value into the row of its label; "Samples" also goes to
    // "Codes Read". Rows without a cell keep their value.
    void fill(const QList<StatisticsCell> &cells);
    QString text(int row, int column) const;
    // Height for all rows plus 50 twips.
    int fullHeight() const { return rowCount() * RowHeight + 3; }
    // Stretches the value column over a grid of the given width.
    void setGridWidth(int width);
};
