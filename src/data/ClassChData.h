#pragma once

#include <QtGlobal>

#include <vector>

// The samples of one channel slot: two parallel columns, the converter status byte and the
// raw data word of each sample. Samples are numbered from 1; element 0 exists and holds no
// sample. Indexes are not checked here: the store checks them before it reaches a column.
class ClassChData
{
public:
    ClassChData();

    // Makes both columns hold indexes 0..n, keeping what is there: growing adds zeroed
    // elements, shrinking drops the tail.
    void Resize(int n);
    // The highest index the columns hold (0 when empty).
    int Upper() const { return static_cast<int>(m_data.size()) - 1; }

    quint8 StatByte(int i) const { return m_stat[static_cast<size_t>(i)]; }
    void setStatByte(int i, quint8 value) { m_stat[static_cast<size_t>(i)] = value; }
    qint32 DataWord(int i) const { return m_data[static_cast<size_t>(i)]; }
    void setDataWord(int i, qint32 value) { m_data[static_cast<size_t>(i)] = value; }

private:
    std::vector<quint8> m_stat;
    std::vector<qint32> m_data;
};
