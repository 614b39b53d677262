#pragma once

#include <QSize>

class QWidget;

// Asks the frame around a child window's form (its parent widget) to take the size that
// gives the form the size wanted. The change is posted, so a form may call this from its
// own resize handler; nothing happens when the form already has that size or the frame is
// maximised or minimised.
void fitFrameTo(QWidget *form, QSize wanted);
