#pragma once

#include "platform/ArrivingBytes.h"

#include <optional>

// The board suites run whole with each way a line may split received bytes: a global data
// column. initTestCase_data() calls addReceiveSplitRows(), init() calls useReceiveSplitRow(),
// and every port the suite's rigs create afterwards takes that split.
struct ReceiveSplit
{
    ArrivingBytes::Split split = ArrivingBytes::Split::OneByte;
    quint32 seed = 1;
};

// The split of the running row; none outside suites that run the column.
std::optional<ReceiveSplit> &suiteSplit();
void addReceiveSplitRows();
void useReceiveSplitRow();
// Gives line the suite's split (one byte at a time when the suite chose none).
void applySuiteSplit(ArrivingBytes &line);
