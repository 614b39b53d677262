#pragma once

#include <QIcon>
#include <QString>

// The toolbar pictures, drawn rather than loaded so that the program carries no image
// files. Keys are the toolbar button keys ("OpenSettings", "Reset", "Graph", ...).
class ToolIcons
{
public:
    static QIcon icon(const QString &key);
};
