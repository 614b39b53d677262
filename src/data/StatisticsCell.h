#pragma once

#include <QString>

// One row of the noise-figure table: the label ("Conv.Time") and the value text
// ("394.69 us "), trailing blanks included.
struct StatisticsCell
{
    QString label;
    QString value;

    bool operator==(const StatisticsCell &other) const
    {
        return label == other.label && value == other.value;
    }
};
