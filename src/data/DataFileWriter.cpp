#include "ClassData.h"
#include "DataFile.h"
#include "DecimalText.h"
#include "WholeFile.h"
#include "model/QM4168.h"

#include <QIODevice>

#include <cerrno>
#include <vector>

namespace {

const char *const LineEnd = "\r\n";

QByteArray number(double value)
{
    return plainDecimal(value).toLatin1();
}

QByteArray fileText(const ClassData &data, const QM4168 &adc)
{
    std::vector<int> channels;
    const int last = qMin(adc.MaxChannel(), data.MaxChannel());
    for (int c = 0; c <= last; ++c)
        if (data.Valid(c))
            channels.push_back(c);

    QByteArray text;
    int rows = 0;
    for (int c : channels)
        rows = qMax(rows, data.DataCount(c));
    text.reserve(256 + 64 * static_cast<qsizetype>(channels.size()) +
                 static_cast<qsizetype>(rows) * 10 * static_cast<qsizetype>(channels.size()));

    text += "Parameters:, Channel(s) enabled = " + QByteArray::number(static_cast<int>(channels.size()));
    text += ",Vref = " + number(data.RefVoltage());
    text += ",DataWidth = " + QByteArray::number(8 * data.DataWidth()) + "Bits";
    text += QByteArray(", Clamp = ") + (data.Clamp() ? "True" : "False");
    text += ", Data format = dec";
    text += LineEnd;

    for (int c : channels) {
        const int rng = data.Rng(c);
        text += "Channel " + QByteArray::number(c) + " : ";
        text += QByteArray(", Input Ranges = ") + (adc.Polarity(rng) ? "\xB1" : "+") + number(adc.Range(rng));
        text += ", Channel Time = " + number(data.ChannelTime(c)) + " us";
        text += ", Nb of Data = " + QByteArray::number(data.DataCount(c));
        text += LineEnd;
    }

    for (int c : channels)
        text += "Channel " + QByteArray::number(c) + ",";
    text += LineEnd;

    std::vector<std::vector<qint32>> codes;
    for (int c : channels)
        codes.push_back(data.codes(c));
    for (size_t i = 0; i < static_cast<size_t>(rows); ++i) {
        for (const std::vector<qint32> &column : codes) {
            if (i < column.size()) {
                text += QByteArray::number(column[i]);
                text += ',';
            }
        }
        text += LineEnd;
    }
    return text;
}

} // namespace

DataFileError WriteDataFile(QIODevice &device, const ClassData &data, const QM4168 &adc)
{
    const QByteArray text = fileText(data, adc);
    errno = 0;
    if (device.write(text) != text.size())
        return WriteFailure(errno);
    return {};
}

DataFileError WriteDataFile(const QString &path, const ClassData &data, const QM4168 &adc)
{
    return WriteWholeFile(path, fileText(data, adc));
}
