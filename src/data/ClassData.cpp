#include "ClassData.h"

#include "model/Rounding.h"

#include <cmath>
#include <string>

ClassData::ClassData(QObject *parent)
    : QObject(parent)
{
}

// ---------------------------------------------------------------------------------------
// Checks

void ClassData::checkChannel(int channel) const
{
    if (channel < 0 || channel >= Channels)
        throw DataRangeError("channel " + std::to_string(channel) + " is outside 0..7");
}

void ClassData::checkSample(int channel, int index) const
{
    checkChannel(channel);
    if (index < 1 || index > m_count[channel])
        throw DataRangeError("sample " + std::to_string(index) + " of channel " + std::to_string(channel) +
                             " is outside 1.." + std::to_string(m_count[channel]));
}

void ClassData::checkWord(qint32 word)
{
    if (word < -WordLimit || word > WordLimit)
        throw DataRangeError("data word " + std::to_string(word) + " is beyond +-2^30");
}

// ---------------------------------------------------------------------------------------
// Limits and properties

int ClassData::MaxCount() const
{
    return roundToInt(static_cast<double>(MaxBytes()) / (m_dataWidth + 1));
}

void ClassData::setChannel(int channel)
{
    checkChannel(channel);
    if (channel == m_channel)
        return;
    m_channel = channel;
    Q_EMIT ChannelChanged(channel);
}

int ClassData::ChannelCount() const
{
    int count = 0;
    for (int c = 0; c < Channels; ++c)
        count += m_count[c] > MinCount() ? 1 : 0;
    return count;
}

bool ClassData::Valid(int channel) const
{
    if (channel == -1)
        return ChannelCount() > 0;
    checkChannel(channel);
    return m_count[channel] > MinCount();
}

int ClassData::DataCount(int channel) const
{
    checkChannel(channel);
    return m_count[channel];
}

quint8 ClassData::StatusByte(int channel, int index) const
{
    checkSample(channel, index);
    return m_columns[channel].StatByte(index);
}

qint32 ClassData::DataWord(int channel, int index) const
{
    checkSample(channel, index);
    return m_columns[channel].DataWord(index);
}

void ClassData::setDataWord(int channel, int index, qint32 word)
{
    checkSample(channel, index);
    checkWord(word);
    m_columns[channel].setDataWord(index, word);
}

int ClassData::Rng(int channel) const
{
    checkChannel(channel);
    return qBound(-32768, roundToInt(m_rng[channel]), 32767);
}

void ClassData::setRng(int channel, double code)
{
    checkChannel(channel);
    m_rng[channel] = code;
}

void ClassData::setDataWidth(int bytes)
{
    if (bytes < 0 || bytes > 3)
        throw DataRangeError("data width " + std::to_string(bytes) + " is outside 0..3 bytes");
    m_dataWidth = bytes;
    // 16^(2 x width) / 2 and 16^(2 x width) - 1: 32768 and 65535 for 16-bit data, 8388608
    // and 16777215 for 24-bit data; a half scale of 0.5 (width 0) rounds to 0.
    const double span = std::pow(16.0, 2 * bytes);
    m_halfScale = roundToInt(span / 2);
    m_fullScale = roundToInt(span - 1);
}

double ClassData::ChannelTime(int channel) const
{
    checkChannel(channel);
    return m_channelTime[channel];
}

void ClassData::setChannelTime(int channel, double microseconds)
{
    checkChannel(channel);
    m_channelTime[channel] = microseconds;
}

qint32 ClassData::MaxCode(int channel) const
{
    checkChannel(channel);
    return m_maxCode[channel];
}

qint32 ClassData::MinCode(int channel) const
{
    checkChannel(channel);
    return m_minCode[channel];
}

double ClassData::MeanCode(int channel) const
{
    checkChannel(channel);
    return m_meanCode[channel];
}

double ClassData::StdDev(int channel) const
{
    checkChannel(channel);
    return m_stdDev[channel];
}

// ---------------------------------------------------------------------------------------
// Decoding

bool ClassData::bipolar(int channel) const
{
    const int code = Rng(channel);
    return code == 0 || code == 2 || code == 4;
}

qint32 ClassData::ExtData(int channel, int index) const
{
    checkSample(channel, index);
    return extData(channel, index, bipolar(channel));
}

std::vector<qint32> ClassData::codes(int channel) const
{
    checkChannel(channel);
    const bool bip = bipolar(channel);
    std::vector<qint32> result(static_cast<size_t>(m_count[channel]));
    for (int i = 1; i <= m_count[channel]; ++i)
        result[static_cast<size_t>(i - 1)] = extData(channel, i, bip);
    return result;
}

qint32 ClassData::extData(int channel, int index, bool bip) const
{
    const ClassChData &column = m_columns[channel];
    const qint64 offset = bip ? m_halfScale : 0;
    const qint64 word = column.DataWord(index);
    const qint64 full = m_fullScale;
    qint64 code = word - offset;
    if (!m_clamp) {
        const int steer = column.StatByte(index) & 3;
        if (steer == 1)
            code = full + 1 + word - offset; // beyond the top: one span up
        else if (steer == 3)
            code = bip ? word - full - 1 - offset : 0; // beyond the bottom
    }
    // Words are within +-2^30 and the full scale within 2^24, so the code fits.
    return static_cast<qint32>(code);
}

// ---------------------------------------------------------------------------------------
// Filling

void ClassData::resetChannel(int channel)
{
    m_columns[channel] = ClassChData();
    m_count[channel] = 0;
    m_maxCode[channel] = 0;
    m_minCode[channel] = 0;
    m_meanCode[channel] = 0.0;
    m_stdDev[channel] = 0.0;
    m_rng[channel] = 0.0;
}

void ClassData::Clear()
{
    resetAll();
    Q_EMIT DataCleared();
}

void ClassData::resetAll()
{
    for (int c = 0; c < Channels; ++c)
        resetChannel(c);
    m_dataWidth = 0;
    m_halfScale = 0;
    m_fullScale = 0;
    m_refVoltage = 0.0;
    m_clamp = false;
}

void ClassData::ClearChannel(int channel)
{
    checkChannel(channel);
    resetChannel(channel);
}

void ClassData::append(int channel, qint32 word, quint8 status)
{
    ClassChData &column = m_columns[channel];
    const int n = ++m_count[channel];
    if (column.Upper() < n) // grow in steps rather than one element at a time
        column.Resize(qMax(n, 2 * column.Upper()));
    column.setStatByte(n, status);
    column.setDataWord(n, word);
}

bool ClassData::Add(const QByteArray &record)
{
    const int dataBytes = m_dataWidth == 3 ? 3 : 2;
    if (record.size() < 1 + dataBytes)
        throw DataRangeError("a record of " + std::to_string(record.size()) + " bytes holds no sample");
    const auto byte = [&record](int i) { return static_cast<quint8>(record.at(i)); };
    const quint8 status = byte(0);
    const int channel = (status & 0xE0) / 32;
    if (m_count[channel] > MaxCount())
        return false;
    const qint32 word = dataBytes == 3 ? byte(1) * 65536 + byte(2) * 256 + byte(3) : byte(1) * 256 + byte(2);
    append(channel, word, status);
    return true;
}

bool ClassData::AddData(int channel, qint32 word, quint8 status)
{
    checkChannel(channel);
    checkWord(word);
    if (m_count[channel] > MaxCount())
        return false;
    append(channel, word, status);
    return true;
}

bool ClassData::AddExtData(int channel, qint32 code, quint8 status)
{
    checkChannel(channel);
    const qint64 word = static_cast<qint64>(code) + (bipolar(channel) ? m_halfScale : 0);
    if (word < -WordLimit || word > WordLimit)
        throw DataRangeError("code " + std::to_string(code) + " is beyond the words the store holds");
    return AddData(channel, static_cast<qint32>(word), status);
}

void ClassData::replaceContents(const ClassData &source)
{
    resetAll();
    setDataWidth(source.m_dataWidth);
    m_clamp = source.m_clamp;
    m_refVoltage = source.m_refVoltage;
    m_columns = source.m_columns;
    m_count = source.m_count;
    m_rng = source.m_rng;
    m_channelTime = source.m_channelTime;
}

// ---------------------------------------------------------------------------------------
// Statistics and peaks

void ClassData::processChannel(int channel)
{
    const int n = m_count[channel];
    const bool bip = bipolar(channel);
    qint32 maxCode = extData(channel, 1, bip);
    qint32 minCode = maxCode;
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) {
        const qint32 x = extData(channel, i, bip);
        if (x > maxCode)
            maxCode = x;
        if (x < minCode)
            minCode = x;
        sum += x;
    }
    const double mean = sum / n;
    double squares = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double deviation = extData(channel, i, bip) - mean;
        squares += deviation * deviation;
    }
    m_maxCode[channel] = maxCode;
    m_minCode[channel] = minCode;
    m_meanCode[channel] = mean;
    m_stdDev[channel] = squares == 0.0 ? 0.0 : std::sqrt(squares / n); // population deviation
}

void ClassData::Process()
{
    int lowest = -1;
    for (int c = Channels - 1; c >= 0; --c) {
        if (Valid(c)) {
            processChannel(c);
            lowest = c;
        }
    }
    if (m_peaksAutoRemove)
        PeaksRemove();
    // The windows learn the new current channel from the DataChanged that follows.
    if (lowest >= 0 && !Valid(m_channel))
        m_channel = lowest;
}

void ClassData::PeaksRemove()
{
    for (int c = 0; c < Channels; ++c) {
        if (Valid(c)) {
            peaksRemoveChannel(c);
            processChannel(c);
        }
    }
}

void ClassData::peaksRemoveChannel(int channel)
{
    const int n = m_count[channel];
    if (m_stdDev[channel] == 0.0 || n < 3)
        return;
    // Mean and deviation stay as they were before the pass; replacements take effect at
    // once, so a later sample may average an already replaced neighbour.
    const double mean = m_meanCode[channel];
    const double limit = m_peaksLimit * m_stdDev[channel];
    const bool bip = bipolar(channel);
    ClassChData &column = m_columns[channel];
    for (int i = 1; i <= n; ++i) {
        if (std::fabs(extData(channel, i, bip) - mean) <= limit)
            continue;
        int a = i - 1, b = i + 1;
        if (i == 1) {
            a = 2;
            b = 3;
        } else if (i == n) {
            a = n - 2;
            b = n - 1;
        }
        // The neighbours are raw words, whatever their status bits say.
        const double average = (static_cast<double>(column.DataWord(a)) + column.DataWord(b)) / 2;
        column.setDataWord(i, roundToInt(average));
    }
}

void ClassData::Update()
{
    Q_EMIT DataChanged(m_channel);
}
