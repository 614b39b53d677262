#pragma once

#include <QList>
#include <QString>

class QM4168;

// The inputs of the "Noise Table" window as the setup window writes them.
namespace NoiseInputs {

// Ranges by their names in the setup window's range list ("± 2.5 V; + 1.25 V", blanks
// and case not counted, separated by semicolons), or range codes ("0,4"). Empty, with
// error set, when an entry is neither.
QList<int> ranges(const QString &text, const QM4168 &model, QString &error);
// The range names of codes, joined as ranges() reads them.
QString rangeNames(const QList<int> &codes, const QM4168 &model);

// Filter words 2..127 ("3,8,17") or conversion times in microseconds each ending in "us",
// as the setup window shows them ("1000 us, 394.69 us"; 1..1000000). Exactly one of the
// two lists is filled; both are empty, with error set, when the text is neither.
void timing(const QString &text, QList<int> &filterWords, QList<double> &conversionTimesUs, QString &error);

} // namespace NoiseInputs
