#pragma once

#include <array>

#include <QtGlobal>

// The register image a converter of one variant holds after power-on, as the program sets
// up its model at start: the register table's design values with the power-on image
// written over them. The register window marks the registers that differ from it.
class PowerOnValues
{
public:
    explicit PowerOnValues(int variant);

    // The power-on value of a register address (38h .. 3Fh share the mode register).
    qint32 value(int address) const;
    bool differs(int address, qint32 value) const { return value != this->value(address); }

private:
    std::array<qint32, 57> m_values{};
};
