#pragma once

#include <QList>
#include <QString>

struct HistoryCapture;

// Two captures side by side, as the History window compares them: the heading (time,
// variant, note), the figures of every channel either holds, then every register cell. A
// row differs when its two texts do.
struct HistoryComparisonRow
{
    QString item;
    QString first;
    QString second;
    bool differs() const { return first != second; }
};

QList<HistoryComparisonRow> compareCaptures(const HistoryCapture &first, const HistoryCapture &second);
