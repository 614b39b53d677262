#pragma once

#include <QVector>

// Row arithmetic of the setup window's channel rows. Lengths are in any one unit: base is
// the window height without rows (title bar and border included), firstTop the top of the
// first row shown, rowHeight the height of one row. The window holds one row at least and
// every channel row at most, snapped to whole rows; the rows that do not fit are paged
// through with a scroll value. The two-channel variant (2) does not page: channels 0 and 2
// keep their places under a fixed height of three rows.
class SetupPaging
{
public:
    SetupPaging(int base, int firstTop, int rowHeight, int maxChannel, int variant);

    int rows() const { return m_rows; }
    // height clamped to one .. all rows and snapped down to a whole number of rows.
    int snappedHeight(int height) const;
    int fitRows(int height) const;
    // Rows that do not fit: the scroll bar's maximum (0: no scroll bar).
    int hiddenRows(int height) const;
    // Whether the row of channel shows at scroll value, and its top when it does.
    bool rowShown(int channel, int height, int scroll) const;
    int rowTop(int channel, int scroll) const;
    // The channels shown at scroll value, top to bottom.
    QVector<int> shownRows(int height, int scroll) const;

private:
    bool fixedLayout() const { return m_variant == 2; }

    int m_base;
    int m_firstTop;
    int m_rowHeight;
    int m_rows;
    int m_variant;
};
