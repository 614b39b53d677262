#pragma once

// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>

#include "PyQString.h"

class PyBoard;

// board.channel(n): one channel's row of the setup window. Each property reads the model;
// each assignment makes the change as the setup window does and writes it to the chip
// (BoardError when the chip does not take it).
class PyChannel
{
public:
    PyChannel(PyBoard &board, int channel);

    int number() const { return m_channel; }
    bool enabled() const;
    void setEnabled(bool on);
    QString range() const;
    void setRange(const QString &text);
    bool chop() const;
    void setChop(bool on);
    int filterWord() const;
    void setFilterWord(int word);
    double conversionTimeUs() const;
    void setConversionTimeUs(double microseconds);

private:
    PyBoard &m_board;
    int m_channel;
};
