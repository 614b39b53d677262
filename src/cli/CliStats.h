#pragma once

#include "CliCommand.h"
#include "CliFormat.h"

#include <QList>
#include <QString>

class ClassData;
class QJsonObject;
class QM4168;
struct StatisticsFigures;

// qm416x-cli stats FILE.dat [--variant 62|64|68|69] [--channel N] [--format text|csv|json]
CliCommand statsCommand();

// The conditions and noise figures of the given channels. Text: "Channel N" and one label
// and value per line, separated by a tab; a blank line between channels. CSV: a header row
// and one row per channel. JSON Lines: one object per channel, the figures in SI units
// beside the texts of the table.
QString statisticsText(const ClassData &data, const QList<int> &channels, const QM4168 &adc,
                       CliFormat::Kind format = CliFormat::Text);

// The figures in SI units as the JSON and CSV outputs name them, and those names in their
// CSV order.
QJsonObject figuresObject(const StatisticsFigures &figures);
QStringList figureKeys();
// The CSV cells of such an object, in figureKeys() order.
QStringList figureCsvCells(const QJsonObject &object);
