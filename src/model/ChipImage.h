#pragma once

#include <QtGlobal>

#include <array>

// What the converter was last given or returned, cell by cell of the register cache (the
// mode registers share one cell), and which of those values the views have been told differ
// from the model. A cell is unknown until the first value is taken: the model's picture is
// then all there is, and nothing is pending.
class ChipImage
{
public:
    static constexpr int Cells = 57;

    // The cells a user's edit can hold back from the chip: the registers Write All writes
    // (I/O port, ADC calibrations, channel calibrations, setup, conversion time, mode).
    static bool isWritable(int cell);

    bool known(int cell) const { return m_known[cell]; }
    qint32 value(int cell) const { return m_value[cell]; }
    void take(int cell, qint32 value)
    {
        m_known[cell] = true;
        m_value[cell] = value;
    }

    // True when the model's value of a writable cell differs from the chip's known value.
    bool pending(int cell, qint32 modelValue) const
    {
        return isWritable(cell) && m_known[cell] && m_value[cell] != modelValue;
    }

    // Records what the views were last told; true when that changed.
    bool announce(int cell, bool pending);

private:
    std::array<bool, Cells> m_known{};
    std::array<qint32, Cells> m_value{};
    std::array<bool, Cells> m_announced{};
};
