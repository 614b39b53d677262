#include "ChipImage.h"

bool ChipImage::isWritable(int cell)
{
    return cell == 0x01 || cell == 0x06 || cell == 0x07 || (cell >= 0x10 && cell <= 0x1F) ||
           (cell >= 0x28 && cell <= 0x38);
}

bool ChipImage::announce(int cell, bool pending)
{
    if (m_announced[cell] == pending)
        return false;
    m_announced[cell] = pending;
    return true;
}
