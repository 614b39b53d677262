#pragma once

#include "StatisticsGrid.h"

#include <QLocale>
#include <QTableWidget>

class CaptureSet;

// The data window's table of a series of captures: a heading row ("K captures",
// "Mean ± SD", "Min / Max"), then for each noise figure its label, its mean ± standard
// deviation and its minimum / maximum over the captures, in the look of the other tables.
class SeriesGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int LabelWidth = 80;
    static constexpr int ValueWidth = 150;
    static constexpr int RowHeight = StatisticsGrid::RowHeight;

    explicit SeriesGrid(QWidget *parent = nullptr);

    // The figures of channel over the captures, numbers with the locale's separator.
    void fill(const CaptureSet &captures, int channel, const QLocale &locale = QLocale());
    QString text(int row, int column) const;
    int fullWidth() const { return LabelWidth + 2 * ValueWidth + 3; }
    int fullHeight() const { return rowCount() * RowHeight + 3; }
    // Shares the width beyond the label column between the two value columns.
    void setGridWidth(int width);
};
