#pragma once

#include "PlotTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A plot table as CSV text: the comment lines (each written as given, "# ..."), a heading
// row with the two column names, then one row per point, x first. Numbers have a point as
// separator whatever the locale and 17 significant digits, so that they read back to the
// same doubles. Lines end with LF.
QByteArray plotTableCsv(const PlotTable &table, const QString &xColumn, const QString &yColumn,
                        const QStringList &comments = {});
