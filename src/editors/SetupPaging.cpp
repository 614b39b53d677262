#include "SetupPaging.h"

#include <QtGlobal>

SetupPaging::SetupPaging(int base, int firstTop, int rowHeight, int maxChannel, int variant)
    : m_base(base)
    , m_firstTop(firstTop)
    , m_rowHeight(qMax(1, rowHeight))
    , m_rows(qBound(1, maxChannel + 1, 8))
    , m_variant(variant)
{
}

int SetupPaging::fitRows(int height) const
{
    if (fixedLayout())
        return 3;
    return qBound(1, (height - m_base) / m_rowHeight, m_rows);
}

int SetupPaging::snappedHeight(int height) const
{
    return m_base + fitRows(height) * m_rowHeight;
}

int SetupPaging::hiddenRows(int height) const
{
    if (fixedLayout())
        return 0;
    return m_rows - fitRows(height);
}

bool SetupPaging::rowShown(int channel, int height, int scroll) const
{
    if (channel < 0 || channel >= m_rows)
        return false;
    if (fixedLayout())
        return channel == 0 || channel == 2;
    scroll = qBound(0, scroll, hiddenRows(height));
    return channel >= scroll && channel < scroll + fitRows(height);
}

int SetupPaging::rowTop(int channel, int scroll) const
{
    if (fixedLayout())
        scroll = 0;
    return m_firstTop + (channel - scroll) * m_rowHeight;
}

QVector<int> SetupPaging::shownRows(int height, int scroll) const
{
    QVector<int> shown;
    for (int channel = 0; channel < m_rows; ++channel)
        if (rowShown(channel, height, scroll))
            shown << channel;
    return shown;
}
