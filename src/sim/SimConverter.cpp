#include "SimConverter.h"

#include <cmath>

namespace {
// Spans in volts by range code; even codes bipolar, odd codes unipolar.
constexpr double SpansWide[] = {1.25, 1.25, 0.625, 0.625, 2.5, 2.5};
constexpr double SpansHigh[] = {10.0, 10.0, 5.0, 5.0};
} // namespace

SimConverter::SimConverter(int variant, quint32 seed)
    : m_variant(variant)
    , m_noise(seed)
{
    for (int c = 0; c < Channels; ++c)
        m_signals[c] = defaultSignal(c);
    reset();
    m_resets = 0;
}

SimSignal SimConverter::defaultSignal(int channel)
{
    SimSignal s;
    s.dc = 0.125 * channel;
    s.noiseRms = 5e-6;
    return s;
}

void SimConverter::reset()
{
    ++m_resets;
    m_ioPort = 0xF0;
    m_test = 0;
    m_checksum = 0;
    m_adcZero = SimCoder::NominalAdcZero;
    m_adcGain = SimCoder::NominalAdcGain;
    for (int c = 0; c < Channels; ++c) {
        m_data[c] = 0x800000;
        m_chZero[c] = SimCoder::NominalChannelZero;
        m_chGain[c] = SimCoder::NominalChannelGain;
        m_setup[c] = 0x00;
        m_convTime[c] = 0x91;
        m_ready[c] = m_sign[c] = m_overRange[c] = false;
    }
    m_mode = 0;
    m_modeChannel = 0;
    m_operationLeft = 0.0;
    m_sequenceChannel = -1;
    m_sequenceLeft = 0.0;
    m_phase = Phase::Communications;
    m_onesInRow = 0;
}

int SimConverter::widthOf(int address) const
{
    if (address >= 0x08 && address <= 0x0F)
        return dataWidth();
    if (address == 0x03 || address == 0x06 || address == 0x07 || (address >= 0x10 && address <= 0x1F))
        return 3;
    if (address == 0x05)
        return 2;
    if (address == 0x00)
        return 0;
    return 1;
}

double SimConverter::rangeSpan(int channel) const
{
    const int code = m_setup.at(channel) & 7;
    if (m_variant == 2 || m_variant == 4)
        return SpansHigh[code & 3];
    return SpansWide[code > 5 ? code - 6 : code];
}

bool SimConverter::rangeBipolar(int channel) const
{
    return (m_setup.at(channel) & 1) == 0;
}

double SimConverter::conversionTime(int channel) const
{
    const bool chop = m_convTime.at(channel) & 0x80;
    const int filterWord = qBound(chop ? 2 : 3, m_convTime.at(channel) & 0x7F, 127);
    const int offset = m_variant == 9 ? (chop ? 263 : 214) : (chop ? 249 : 207);
    int enabledCount = 0;
    for (int c = 0; c < Channels; ++c)
        enabledCount += enabled(c);
    const int cycles = (chop ? 128 : 64) * filterWord + offset + (enabledCount >= 2 ? 1 : 0);
    return cycles / m_mclk;
}

double SimConverter::noiseScale(int channel) const
{
    // Relative to the power-on settings (chop on, filter word 17, range code 0), which give
    // the signal's noise as it is: averaging over a longer conversion lowers white noise as
    // 1/sqrt(t); without chop the low-frequency noise is not modulated away (x 1.4 at the
    // same conversion time); a wider range keeps a fixed input part (0.4) and scales the
    // rest with the span.
    const bool chop = m_convTime.at(channel) & 0x80;
    const int filterWord = qBound(chop ? 2 : 3, m_convTime.at(channel) & 0x7F, 127);
    const int offset = m_variant == 9 ? (chop ? 263 : 214) : (chop ? 249 : 207);
    const double cycles = (chop ? 128 : 64) * filterWord + offset;
    const double referenceCycles = 128 * 17 + (m_variant == 9 ? 263 : 249);
    const double referenceSpan = (m_variant == 2 || m_variant == 4) ? SpansHigh[0] : SpansWide[0];
    return std::sqrt(referenceCycles / cycles) * (chop ? 1.0 : 1.4) *
           (0.4 + 0.6 * rangeSpan(channel) / referenceSpan);
}

quint8 SimConverter::statusByte(int channel) const
{
    const bool outOfRange = m_overRange.at(channel);
    return static_cast<quint8>((channel << 5) | (m_ready.at(channel) ? 0x08 : 0) |
                               (m_sign.at(channel) ? 0x02 : 0) | (outOfRange ? 0x01 : 0));
}

qint32 SimConverter::registerValue(int address) const
{
    const int c = address & 7;
    switch (address & 0x38) {
    case 0x00:
        switch (address) {
        case 0x01:
            return m_ioPort;
        case 0x02:
            return (m_variant == 2 || m_variant == 4) ? 0x12 : 0x14;
        case 0x03:
            return m_test;
        case 0x04: {
            qint32 bits = 0;
            for (int ch = 0; ch < Channels; ++ch)
                bits |= m_ready.at(ch) ? (1 << ch) : 0;
            return bits;
        }
        case 0x05:
            return m_checksum;
        case 0x06:
            return m_adcZero;
        case 0x07:
            return m_adcGain;
        default:
            return 0;
        }
    case 0x08:
        return dataWidth() == 3 ? static_cast<qint32>(m_data.at(c)) : static_cast<qint32>(m_data.at(c) >> 8);
    case 0x10:
        return static_cast<qint32>(m_chZero.at(c));
    case 0x18:
        return static_cast<qint32>(m_chGain.at(c));
    case 0x20:
        return statusByte(c);
    case 0x28:
        return m_setup.at(c);
    case 0x30:
        return m_convTime.at(c);
    default:
        return m_mode;
    }
}

qint32 SimConverter::readRegister(int address)
{
    const qint32 value = registerValue(address);
    if (address >= 0x08 && address <= 0x0F)
        m_ready[address & 7] = false; // reading the result clears its ready flag
    return value;
}

void SimConverter::writeRegister(int address, qint32 value)
{
    const int c = address & 7;
    switch (address & 0x38) {
    case 0x00:
        if (address == 0x01)
            m_ioPort = value & 0xFF;
        else if (address == 0x03)
            m_test = value & 0xFFFFFF;
        else if (address == 0x05)
            m_checksum = value & 0xFFFF;
        else if (address == 0x06)
            m_adcZero = value & 0xFFFFFF;
        else if (address == 0x07)
            m_adcGain = value & 0xFFFFFF;
        return; // revision and ADC status are read only
    case 0x10:
        m_chZero[c] = static_cast<quint32>(value) & 0xFFFFFF;
        return;
    case 0x18:
        m_chGain[c] = static_cast<quint32>(value) & 0xFFFFFF;
        return;
    case 0x28:
        m_setup[c] = value & 0xFF;
        return;
    case 0x30:
        m_convTime[c] = value & 0xFF;
        return;
    case 0x38:
        m_mode = value & 0xFF;
        startMode(c);
        return;
    default:
        return; // data and status registers are read only
    }
}

void SimConverter::startMode(int channel)
{
    m_modeChannel = channel;
    m_operationLeft = 0.0;
    m_sequenceChannel = -1;
    switch (md()) {
    case ContinuousConversion:
        m_sequenceChannel = nextEnabled(-1);
        m_sequenceLeft = m_sequenceChannel >= 0 ? conversionTime(m_sequenceChannel) : 0.0;
        break;
    case SingleConversion:
    case AdcZeroCalibration:
    case AdcFullCalibration:
    case ChannelZeroCalibration:
    case ChannelFullCalibration:
        m_operationLeft = conversionTime(channel);
        break;
    default:
        break; // idle and standby do nothing
    }
}

int SimConverter::nextEnabled(int after) const
{
    for (int i = 1; i <= Channels; ++i) {
        const int c = (after + i + Channels) % Channels;
        if (enabled(c))
            return c;
    }
    return -1;
}

SimCoder::Calibration SimConverter::calibration(int channel) const
{
    SimCoder::Calibration cal;
    cal.adcZero = m_adcZero;
    cal.adcGain = m_adcGain;
    cal.channelZero = static_cast<qint32>(m_chZero.at(channel));
    cal.channelGain = static_cast<qint32>(m_chGain.at(channel));
    return cal;
}

double SimConverter::inputVolts(int channel)
{
    const SimSignal &s = m_signals.at(channel);
    double v = s.dc;
    if (s.sineAmplitude != 0.0)
        v += s.sineAmplitude * std::sin(2.0 * M_PI * s.sineFrequency * m_time * 1e-6);
    if (s.noiseRms != 0.0)
        v += s.noiseRms * noiseScale(channel) * m_noise.next();
    return v;
}

void SimConverter::convert(int channel)
{
    const SimCoder::Result r =
        SimCoder::convert(inputVolts(channel), rangeSpan(channel), rangeBipolar(channel), clamp(), m_adcError,
                          calibration(channel));
    m_data[channel] = r.code24;
    m_sign[channel] = r.sign;
    m_overRange[channel] = r.outOfRange;
    m_ready[channel] = true;
}

void SimConverter::completeOperation()
{
    const int c = m_modeChannel;
    const bool bipolar = rangeBipolar(c);
    switch (md()) {
    case SingleConversion:
        convert(c);
        break;
    case AdcZeroCalibration:
        m_adcZero = SimCoder::adcZeroCalibration(m_adcError);
        break;
    case AdcFullCalibration:
        m_adcGain = SimCoder::adcGainCalibration(m_adcError);
        break;
    case ChannelZeroCalibration:
        m_chZero[c] = static_cast<quint32>(SimCoder::zeroCalibration(
            SimCoder::measured(inputVolts(c), rangeSpan(c), bipolar, m_adcError, calibration(c))));
        break;
    case ChannelFullCalibration:
        m_chGain[c] = static_cast<quint32>(SimCoder::gainCalibration(
            SimCoder::measured(inputVolts(c), rangeSpan(c), bipolar, m_adcError, calibration(c)), bipolar,
            static_cast<qint32>(m_chZero.at(c)), static_cast<qint32>(m_chGain.at(c))));
        break;
    default:
        return;
    }
    // Single conversions and calibrations end in idle mode.
    m_mode &= 0x1F;
    m_operationLeft = 0.0;
}

void SimConverter::advance(double microseconds)
{
    // The chip holds only the latest result of each channel, so after a long idle time
    // (hours between two commands on a paced board) every round of the conversion sequence
    // but the last is skipped in time without converting. What stays visible is the same
    // as after converting them all.
    if (md() == ContinuousConversion && m_sequenceChannel >= 0 && m_operationLeft <= 0.0) {
        double round = 0.0;
        for (int c = 0; c < Channels; ++c)
            round += enabled(c) ? conversionTime(c) : 0.0;
        const double afterPending = microseconds - m_sequenceLeft;
        if (round > 0.0 && afterPending >= 2.0 * round) {
            const double skipped = (std::floor(afterPending / round) - 1.0) * round;
            m_time += skipped;
            microseconds -= skipped;
        }
    }
    advanceConversions(microseconds);
}

void SimConverter::advanceConversions(double microseconds, const std::function<void(int channel)> &converted)
{
    if (microseconds <= 0.0)
        return;
    if (m_operationLeft > 0.0) {
        const double step = std::fmin(m_operationLeft, microseconds);
        m_time += step;
        m_operationLeft -= step;
        microseconds -= step;
        if (m_operationLeft <= 0.0)
            completeOperation();
    }
    while (md() == ContinuousConversion && m_sequenceChannel >= 0 && microseconds >= m_sequenceLeft) {
        microseconds -= m_sequenceLeft;
        m_time += m_sequenceLeft;
        const int channel = convertNext();
        if (converted && channel >= 0)
            converted(channel);
    }
    if (md() == ContinuousConversion && m_sequenceChannel >= 0)
        m_sequenceLeft -= microseconds;
    m_time += microseconds;
}

int SimConverter::convertNext()
{
    if (md() != ContinuousConversion)
        return -1;
    if (m_sequenceChannel < 0 || !enabled(m_sequenceChannel))
        m_sequenceChannel = nextEnabled(m_sequenceChannel);
    if (m_sequenceChannel < 0)
        return -1;
    const int channel = m_sequenceChannel;
    convert(channel);
    m_sequenceChannel = nextEnabled(channel);
    m_sequenceLeft = m_sequenceChannel >= 0 ? conversionTime(m_sequenceChannel) : 0.0;
    return channel;
}

void SimConverter::settle()
{
    if (m_operationLeft > 0.0) {
        m_time += m_operationLeft;
        completeOperation();
    }
    if (md() != ContinuousConversion)
        return;
    int enabledCount = 0;
    for (int c = 0; c < Channels; ++c)
        enabledCount += enabled(c);
    for (int i = 0; i < enabledCount; ++i) {
        m_time += m_sequenceLeft;
        convertNext();
    }
}

QByteArray SimConverter::takeRecord(int channel)
{
    QByteArray record;
    record.append(static_cast<char>(statusByte(channel)));
    const qint32 value = readRegister(0x08 + channel);
    for (int i = dataWidth() - 1; i >= 0; --i)
        record.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return record;
}

quint8 SimConverter::transfer(quint8 in)
{
    m_onesInRow = in == 0xFF ? m_onesInRow + 8 : 0;
    if (m_onesInRow >= 32) {
        reset();
        return in;
    }

    switch (m_phase) {
    case Phase::Reading: {
        const quint8 out = static_cast<quint8>(m_outBytes.at(m_outBytes.size() - m_bytesLeft));
        if (--m_bytesLeft == 0)
            m_phase = Phase::Communications;
        return out;
    }
    case Phase::Writing:
        m_writeValue = (m_writeValue << 8) | in;
        if (--m_bytesLeft == 0) {
            m_phase = Phase::Communications;
            writeRegister(m_address, static_cast<qint32>(m_writeValue));
        }
        return in;
    case Phase::Communications:
        break;
    }

    if (in & 0x80) {
        // Not a communications byte. In continuous-read mode this is how the chip is told to
        // leave it.
        if (in == 0x80 && continuousRead())
            m_mode &= ~0x04;
        return in;
    }
    m_address = in & 0x3F;
    const int width = widthOf(m_address);
    if (width == 0)
        return in; // the communications register itself: nothing follows
    if (in & 0x40) {
        const bool isData = m_address >= 0x08 && m_address <= 0x0F;
        m_outBytes.clear();
        if (isData && dump())
            m_outBytes.append(static_cast<char>(statusByte(m_address & 7)));
        const qint32 value = readRegister(m_address);
        for (int i = width - 1; i >= 0; --i)
            m_outBytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
        m_bytesLeft = static_cast<int>(m_outBytes.size());
        m_phase = Phase::Reading;
    } else {
        m_writeValue = 0;
        m_bytesLeft = width;
        m_phase = Phase::Writing;
    }
    return in;
}

void SimConverter::endFrame()
{
    m_phase = Phase::Communications;
}
