#pragma once

#include <QPixmap>

// The program's picture of a converter chip, drawn rather than loaded so that the
// program carries no image files.
class ChipPicture
{
public:
    static QPixmap pixmap(int size);
};
