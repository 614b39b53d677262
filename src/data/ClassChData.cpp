#include "ClassChData.h"

ClassChData::ClassChData()
    : m_stat(1, 0)
    , m_data(1, 0)
{
}

void ClassChData::Resize(int n)
{
    const size_t size = static_cast<size_t>(n < 0 ? 0 : n) + 1;
    m_stat.resize(size, 0);
    m_data.resize(size, 0);
}
