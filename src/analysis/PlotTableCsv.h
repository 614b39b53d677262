#pragma once

#include "PlotTable.h"

#include <QByteArray>
#include <QString>

// A plot table as CSV text: a heading row with the two axis captions, then one row per
// point, x first. Numbers have a point as separator whatever the locale and 17
// significant digits, so that they read back to the same doubles. Lines end with LF.
QByteArray plotTableCsv(const PlotTable &table, const QString &xCaption, const QString &yCaption);
