#pragma once

#include "platform/UserDialogs.h"

#include <QString>

// A message box that an analysis routine asks for. The routines only collect them; the
// window that called the routine shows them, in order, through UserDialogs.
struct AnalysisMessage
{
    QString text;
    QString title;
    UserDialogs::Icon icon = UserDialogs::Icon::None;

    bool operator==(const AnalysisMessage &other) const
    {
        return text == other.text && title == other.title && icon == other.icon;
    }
};
