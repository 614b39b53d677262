#include "ClassData.h"
#include "DataFile.h"
#include "DataFileFieldReader.h"
#include "model/NumericText.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString ChannelCountMessage = QStringLiteral("Error in number of Channels enabled");

// What a board can have written. The model's conversion times are 399 to 16520 periods of
// the master clock; 0.1 us to 10 s holds them for every clock from 1.7 kHz to 3.9 GHz. A
// reference lies above 0 V and below the board's 5 V supply; 10 V leaves room.
constexpr double MinChannelTime = 0.1; // us
constexpr double MaxChannelTime = 1e7; // us
constexpr double MaxRefVoltage = 10.0; // V

// A whole field that is a decimal number (blanks around it allowed): sign, digits with an
// optional point, optional exponent. Files the program writes hold nothing else in rows.
bool isNumberText(const QString &field)
{
    const QString text = field.trimmed();
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&]() {
        const qsizetype start = i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128)
            ++i;
        return i - start;
    };
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && QStringLiteral("eEdD").contains(text.at(i))) {
        ++i;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

// A field of an optional sign and one to nine digits, the form every code of a row takes
// in the files the program writes: its value, read without the general number parser.
bool plainInteger(const QByteArray &field, qint32 &value)
{
    const char *at = field.constData();
    const char *end = at + field.size();
    const bool negative = at != end && *at == '-';
    if (at != end && (*at == '-' || *at == '+'))
        ++at;
    if (end - at < 1 || end - at > 9)
        return false;
    qint32 v = 0;
    for (; at != end; ++at) {
        if (*at < '0' || *at > '9')
            return false;
        v = v * 10 + (*at - '0');
    }
    value = negative ? -v : v;
    return true;
}

QString inLine(int line)
{
    return QStringLiteral("in line %1").arg(line);
}

// Reads a data file into a store, field by field, stopping at the first problem.
class DataFileReader
{
public:
    DataFileReader(QIODevice &device, ClassData &target, const QM4168 &adc)
        : m_fields(device)
        , m_data(target)
        , m_adc(adc)
    {
    }

    DataFileError run()
    {
        m_data.Clear();
        QString f;

        // Line 1: the conditions.
        if (!next(f) || !next(f))
            return m_error;
        if (!f.startsWith(QLatin1String("Channel(s) enabled = ")))
            return DataFileError::badFile(ChannelCountMessage);
        const int k = roundToInt(numericValue(f.mid(21)));
        if (k < 1 || k > m_adc.EvBoard())
            return DataFileError::badFile(ChannelCountMessage);

        if (!next(f))
            return m_error;
        if (!f.startsWith(QLatin1String("Vref =")))
            return DataFileError::badFile(QStringLiteral("No Vref"));
        const double vref = numericValue(f.mid(6));
        if (!(vref > 0 && vref <= MaxRefVoltage))
            return DataFileError::badFile(
                QStringLiteral("Vref is not Valid %1").arg(inLine(m_fields.line())));
        m_data.setRefVoltage(vref);

        if (!next(f))
            return m_error;
        const QString widthMessage = QStringLiteral("DataWidth is not Valid");
        if (!f.startsWith(QLatin1String("DataWidth = ")))
            return DataFileError::badFile(widthMessage);
        const int width = roundToInt(numericValue(f.mid(12)) / 8); // "24Bits" gives 3
        if (width != 2 && width != 3)
            return DataFileError::badFile(widthMessage);
        m_data.setDataWidth(width);

        if (!next(f))
            return m_error;
        const QString clampMessage = QStringLiteral("Clamp is not Valid");
        if (!f.startsWith(QLatin1String("Clamp = ")))
            return DataFileError::badFile(clampMessage);
        const QString clamp = f.mid(8);
        if (clamp != QLatin1String("True") && clamp != QLatin1String("False"))
            return DataFileError::badFile(clampMessage);
        m_data.setClamp(clamp == QLatin1String("True"));

        if (!next(f)) // the data format: always decimal
            return m_error;

        // One line per channel.
        std::vector<int> channels;
        std::vector<int> pending;
        for (int j = 0; j < k; ++j) {
            if (!next(f))
                return m_error;
            const int channel = roundToInt(numericValue(f.mid(8)));
            if (channel < 0 || channel > m_data.MaxChannel())
                return DataFileError::platform(DataFileError::SubscriptOutOfRange, inLine(m_fields.line()));
            // A second line of a channel would mix or drop its samples; a channel the chip
            // does not have would be lost at the next save.
            if (std::find(channels.begin(), channels.end(), channel) != channels.end())
                return DataFileError::badFile(
                    QStringLiteral("Channel %1 is given twice %2").arg(channel).arg(inLine(m_fields.line())));
            if (channel > m_adc.MaxChannel())
                return DataFileError::badFile(QStringLiteral("No Channel %1 on the QM416%2 %3")
                                                  .arg(channel)
                                                  .arg(m_adc.EvBoard())
                                                  .arg(inLine(m_fields.line())));
            channels.push_back(channel);

            if (!next(f))
                return m_error;
            // A range of another variant's table would be read as this one's first range.
            if (!readRange(channel, f))
                return DataFileError::badRange(channel, f.mid(15), m_adc.EvBoard(), m_fields.line());

            if (!next(f))
                return m_error;
            const QString timeText = f.mid(15);
            const double time = numericValue(timeText.left(qMax<qsizetype>(0, timeText.size() - 3)));
            const int timeLine = m_fields.line();

            if (!next(f))
                return m_error;
            // A count the channel cannot hold would lose samples without a word.
            const double count = numericValue(f.mid(13));
            if (!(count >= 0 && count <= m_data.MaxCount() + 1))
                return DataFileError::platform(DataFileError::BadRecordNumber, inLine(m_fields.line()));
            pending.push_back(roundToInt(count));
            if (!(time >= MinChannelTime && time <= MaxChannelTime)) // every time and frequency axis uses it
                return DataFileError::badFile(
                    QStringLiteral("Channel Time is not Valid %1").arg(inLine(timeLine)));
            m_data.setChannelTime(channel, time);
        }

        // The column headings.
        QString heading;
        if (!check(m_fields.readLine(heading)))
            return m_error;

        // The rows: one code per channel that still has samples, then the empty field
        // after the row's final comma.
        int rows = 0;
        for (int n : pending)
            rows = qMax(rows, n);
        for (int i = 1; i <= rows; ++i) {
            for (size_t j = 0; j < channels.size(); ++j) {
                if (pending[j] <= 0)
                    continue;
                if (!check(m_fields.readField(m_bytes)))
                    return m_error;
                qint32 code = 0;
                if (!plainInteger(m_bytes, code)) {
                    f = QString::fromLatin1(m_bytes);
                    if (!isNumberText(f))
                        return DataFileError::platform(DataFileError::TypeMismatch, inLine(m_fields.line()));
                    code = roundToInt(numericValue(f));
                }
                // Codes beyond the words the store holds (far beyond any converter's) are
                // refused rather than cut.
                try {
                    m_data.AddExtData(channels[j], code);
                } catch (const DataRangeError &) {
                    return DataFileError::platform(DataFileError::Overflow, inLine(m_fields.line()));
                }
                --pending[j];
            }
            if (!check(m_fields.readField(m_bytes)))
                return m_error;
            if (!m_bytes.isEmpty() && !QString::fromLatin1(m_bytes).trimmed().isEmpty())
                return DataFileError::platform(DataFileError::TypeMismatch, inLine(m_fields.line()));
        }
        return {};
    }

private:
    // "Input Ranges = ±2.5": the sign picks bipolar (even) or unipolar (odd) codes; the
    // code is the last candidate whose span in the device model's table matches. False
    // when none matches.
    bool readRange(int channel, const QString &field)
    {
        const int code = RangeCodeOfText(field.mid(15), m_adc);
        if (code >= 0)
            m_data.setRng(channel, code);
        return code >= 0;
    }

    bool check(DataFileFieldReader::Status status)
    {
        switch (status) {
        case DataFileFieldReader::Status::Ok:
            return true;
        case DataFileFieldReader::Status::End:
            m_error = DataFileError::platform(DataFileError::InputPastEndOfFile);
            return false;
        case DataFileFieldReader::Status::TooLong:
            m_error = DataFileError::platform(DataFileError::TypeMismatch, inLine(m_fields.line()));
            return false;
        case DataFileFieldReader::Status::ReadError:
            m_error = DataFileError::platform(DataFileError::DeviceIOError);
            return false;
        }
        return false;
    }

    bool next(QString &field) { return check(m_fields.readField(field)); }

    DataFileFieldReader m_fields;
    QByteArray m_bytes; // the field of a row, kept to spare an allocation per field
    ClassData &m_data;
    const QM4168 &m_adc;
    DataFileError m_error;
};

} // namespace

int RangeCodeOfText(const QString &text, const QM4168 &adc)
{
    const int unipolar = text.startsWith(QLatin1Char('+')) ? 1 : 0;
    const double span = numericValue(text.mid(1));
    const int candidates = adc.EvBoard() == 8 || adc.EvBoard() == 9 ? 3 : 2;
    int found = -1;
    for (int i = 0; i < candidates; ++i) {
        const int code = unipolar + 2 * i;
        if (adc.Range(code) == span)
            found = code;
    }
    return found;
}

DataFileError ReadDataFile(QIODevice &device, ClassData &data, const QM4168 &adc)
{
    ClassData incoming;
    for (int c = 0; c <= data.MaxChannel(); ++c) // conditions a file does not name stay
        incoming.setChannelTime(c, data.ChannelTime(c));
    const DataFileError error = DataFileReader(device, incoming, adc).run();
    if (error.isError())
        return error;
    data.replaceContents(incoming);
    data.Process();
    data.Update();
    return {};
}

DataFileError ReadDataFile(const QString &path, ClassData &data, const QM4168 &adc)
{
    QFile file(path);
    if (!file.exists())
        return DataFileError::platform(DataFileError::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        return DataFileError::platform(DataFileError::PathFileAccessError);
    return ReadDataFile(file, data, adc);
}
