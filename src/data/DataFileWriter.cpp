#include "ClassData.h"
#include "DataFile.h"
#include "DecimalText.h"
#include "model/QM4168.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

// A failed write: for lack of space, or anything else the device reports.
DataFileError writeFailure(int savedErrno)
{
#ifdef EDQUOT
    if (savedErrno == EDQUOT)
        return DataFileError::platform(DataFileError::DiskFull);
#endif
    if (savedErrno == ENOSPC)
        return DataFileError::platform(DataFileError::DiskFull);
    return DataFileError::platform(DataFileError::DeviceIOError);
}

} // namespace

DataFileError WriteDataFile(QIODevice &device, const ClassData &data, const QM4168 &adc)
{
    const QByteArray text = fileText(data, adc);
    errno = 0;
    if (device.write(text) != text.size())
        return writeFailure(errno);
    return {};
}

DataFileError WriteDataFile(const QString &path, const ClassData &data, const QM4168 &adc)
{
    return WriteTextFile(path, fileText(data, adc));
}

DataFileError WriteTextFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(path).absoluteDir().exists())
            return DataFileError::platform(DataFileError::PathNotFound);
        return DataFileError::platform(DataFileError::PathFileAccessError);
    }
    errno = 0;
    if (file.write(text) != text.size()) {
        const DataFileError failed = writeFailure(errno);
        file.cancelWriting();
        return failed;
    }
    errno = 0;
    if (!file.commit()) {
        if (file.error() == QFileDevice::RenameError)
            return DataFileError::platform(DataFileError::PathFileAccessError);
        return writeFailure(errno);
    }
    return {};
}
