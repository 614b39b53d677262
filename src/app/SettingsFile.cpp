#include "SettingsFile.h"

#include "data/WholeFile.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "model/RegisterAddressError.h"

#include <QFile>
#include <QList>

namespace {

const char *const LineEnd = "\r\n";
const QLatin1String RegisterPrefix("Register: ");

// The channels a variant has: 0 and 2, 0..3, or 0..7.
QList<int> channelsOf(int evBoard)
{
    switch (evBoard) {
    case 2:
        return {0, 2};
    case 4:
        return {0, 1, 2, 3};
    case 8:
    case 9:
        return {0, 1, 2, 3, 4, 5, 6, 7};
    default:
        return {};
    }
}

// A whole field of hexadecimal digits (at most eight); -1 when it is anything else.
qint64 hexField(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 8)
        return -1;
    for (const QChar c : digits)
        if (!c.isDigit() && !(c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')))
            return -1;
    return static_cast<quint32>(HexToLong(digits));
}

// Settings files the program writes hold about a kilobyte; a file a thousand times larger
// is no settings file, and is refused before it takes up memory.
constexpr qint64 MaxFileSize = 1024 * 1024;

// The fields of a file: its lines (ended by CR LF, LF or CR) split at commas; a line
// without a comma is one field.
struct FileFields
{
    QStringList fields;
    bool lastLineEnded = true; // false when the file stops inside its last line
};

FileFields fieldsOf(const QByteArray &text)
{
    FileFields result;
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && text.at(end) != '\r' && text.at(end) != '\n')
            ++end;
        for (const QByteArray &field : text.mid(start, end - start).split(','))
            result.fields << QString::fromLatin1(field);
        if (end == n) {
            result.lastLineEnded = false;
            break;
        }
        start = end + (text.at(end) == '\r' && end + 1 < n && text.at(end + 1) == '\n' ? 2 : 1);
    }
    return result;
}

SettingsReadResult cannotRead(int registers)
{
    return {SettingsReadResult::CannotRead, QStringLiteral("This file cannot be read"), registers};
}

} // namespace

QByteArray SettingsFileText(const QM4168 &adc)
{
    const QList<int> channels = channelsOf(adc.EvBoard());
    QByteArray text = "QM416" + QByteArray::number(adc.EvBoard()) + LineEnd;
    auto section = [&](const char *title, const QList<int> &addresses) {
        text += LineEnd;
        text += title;
        text += LineEnd;
        for (int address : addresses)
            text += "Register: " + HexPad(address, 1).toLatin1() + ',' +
                    HexPad(adc.Register(address), 1).toLatin1() + LineEnd;
    };
    auto perChannel = [&](int base) {
        QList<int> addresses;
        for (int c : channels)
            addresses << base + c;
        return addresses;
    };
    section(" I/O Port Register", {0x01});
    section("ADC ZS Calibration", {0x06});
    section("ADC FS Calibration", {0x07});
    section("Channel ZS Calibration", perChannel(0x10));
    section("Channel FS Calibration", perChannel(0x18));
    section("Channel Setup", perChannel(0x28));
    section("Channel Conv Time", perChannel(0x30));
    section("Channel Mode", perChannel(0x38));
    return text;
}

DataFileError WriteSettingsFile(const QString &path, const QM4168 &adc)
{
    return WriteWholeFile(path, SettingsFileText(adc));
}

SettingsReadResult ReadSettingsFile(QIODevice &device, QM4168 &adc)
{
    const QByteArray text = device.read(MaxFileSize + 1);
    if (text.size() > MaxFileSize)
        return {SettingsReadResult::CannotRead,
                QStringLiteral("This file cannot be read: it is larger than 1 MB, which no settings file is"),
                0};
    const FileFields file = fieldsOf(text);
    const QStringList &fields = file.fields;
    if (fields.value(0) != QStringLiteral("QM416%1").arg(adc.EvBoard()))
        return {SettingsReadResult::NotValid, QStringLiteral(" The selected file is not valide"), 0};

    int registers = 0;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        if (!field.startsWith(RegisterPrefix))
            continue;
        if (i + 1 >= fields.size())
            return cannotRead(registers);
        const qint64 address = hexField(field.mid(RegisterPrefix.size()));
        const QString valueText = fields.at(++i).trimmed();
        const qint64 value = hexField(valueText);
        if (address < 0 || value < 0)
            return cannotRead(registers);
        if (address < 1 || address > 0x3F)
            continue; // no configuration register lives there
        const int bytes = adc.RegBytes(static_cast<int>(address));
        if (bytes > 0 && bytes < 4 && value >= (qint64(1) << (8 * bytes)))
            return cannotRead(registers);
        // The program ends every line, the last one too. A last value without its line end
        // and with fewer digits than its register has may have been cut short ("1A,80" of
        // "1A,800000"): damage, not a value to put into the chip.
        if (!file.lastLineEnded && i == fields.size() - 1 && valueText.size() < 2 * bytes)
            return cannotRead(registers);
        try {
            adc.setRegister(static_cast<int>(address), false, static_cast<qint32>(value));
        } catch (const RegisterAddressError &) {
            return cannotRead(registers);
        }
        ++registers;
    }
    return {SettingsReadResult::Read, QString(), registers};
}

SettingsReadResult ReadSettingsFile(const QString &path, QM4168 &adc)
{
    QFile file(path);
    if (!file.exists())
        return {SettingsReadResult::OpenFailed,
                DataFileError::platform(DataFileError::FileNotFound).message(), 0};
    if (!file.open(QIODevice::ReadOnly))
        return {SettingsReadResult::OpenFailed,
                DataFileError::platform(DataFileError::PathFileAccessError).message(), 0};
    return ReadSettingsFile(file, adc);
}
