#pragma once

#include "NoiseRow.h"

#include <QList>
#include <QString>

class ClassData;
class QM4168;

// The rows of a noise sweep and their renderings: a plain text table, CSV (every figure),
// JSON, and markdown laid out as a converter datasheet prints it (a row per output data
// rate, a column per input range, cells "µV rms (bits)"). CSV and markdown read back.
class NoiseTable
{
public:
    enum class Format
    {
        Text,
        Csv,
        Json,
        Markdown
    };

    // The format of "text", "csv", "json" or "markdown"; false when it names none.
    static bool formatOf(const QString &name, Format &format);

    // The noise figures of channel in the store (processed), as the data window computes
    // them: RMS noise from the standard deviation of the codes, peak-to-peak from the code
    // span, resolutions as data bits minus log2 of either.
    static NoiseRow figures(const ClassData &data, int channel, const QM4168 &adc);

    // "±1.25 V" or "+1.25 V".
    static QString rangeText(double volts, bool bipolar);

    static QString render(const QList<NoiseRow> &rows, Format format);
    static QString text(const QList<NoiseRow> &rows);
    static QString csv(const QList<NoiseRow> &rows);
    static QString json(const QList<NoiseRow> &rows);
    static QString markdown(const QList<NoiseRow> &rows);

    // The rows of csv() output; empty with error set when the text is not one.
    static QList<NoiseRow> fromCsv(const QString &text, QString &error);
    // The rows of markdown() output, with the figures the markdown carries (no peak-to-peak
    // figures or sample counts); empty with error set when the text is not one.
    static QList<NoiseRow> fromMarkdown(const QString &text, QString &error);
};
