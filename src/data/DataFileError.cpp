#include "DataFileError.h"

DataFileError DataFileError::badFile(const QString &message)
{
    DataFileError e;
    e.m_kind = Kind::BadFile;
    e.m_message = message;
    return e;
}

DataFileError DataFileError::badRange(int channel, const QString &text, int variant, int line)
{
    DataFileError e =
        badFile(QStringLiteral("Input range \"%1\" of Channel %2 is not a range of the QM416%3 in line %4")
                    .arg(text)
                    .arg(channel)
                    .arg(variant)
                    .arg(line));
    e.m_rangeLine = line;
    e.m_rangeChannel = channel;
    e.m_rangeText = text;
    return e;
}

DataFileError DataFileError::platform(int number, const QString &detail)
{
    DataFileError e;
    e.m_kind = Kind::Platform;
    e.m_number = number;
    e.m_message = QStringLiteral("error %1 : %2").arg(number).arg(description(number));
    if (!detail.isEmpty())
        e.m_message += QLatin1Char(' ') + detail;
    return e;
}

QString DataFileError::description(int number)
{
    switch (number) {
    case Overflow:
        return QStringLiteral("Overflow");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case FileNotFound:
        return QStringLiteral("File not found");
    case DeviceIOError:
        return QStringLiteral("Device I/O error");
    case DiskFull:
        return QStringLiteral("Disk full");
    case InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case BadRecordNumber:
        return QStringLiteral("Bad record number");
    case PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

QString DataFileError::boxText() const
{
    return isBadFile() ? QStringLiteral("Bad File : ") + m_message : m_message;
}
