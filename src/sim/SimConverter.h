#pragma once

#include "GaussianNoise.h"
#include "SimCoder.h"
#include "SimSignal.h"

#include <QByteArray>
#include <QVector>

#include <array>
#include <functional>

// The simulated converter behind the board: its register file, its serial interface
// (communications byte: bit 6 read, bits 5..0 register address; then the register's bytes,
// most significant first), its operating modes and conversions.
//
// Time is simulated: advance() moves it on and runs whatever conversions or calibrations
// complete in that time (of a long continuous run only the last round, as only the latest
// result of each channel is held); settle() completes them at once (one conversion per
// enabled channel in continuous mode), for tests and unpaced use.
class SimConverter
{
public:
    static constexpr int Channels = 8;
    static constexpr int ModeAddress = 0x38;

    enum Mode
    {
        Idle = 0,
        ContinuousConversion = 1,
        SingleConversion = 2,
        Standby = 3,
        AdcZeroCalibration = 4,
        AdcFullCalibration = 5,
        ChannelZeroCalibration = 6,
        ChannelFullCalibration = 7
    };

    // variant: 2, 4, 8 or 9 (QM4162 .. QM4169): revision, input ranges, timing constants.
    explicit SimConverter(int variant = 8, quint32 seed = 1);

    int variant() const { return m_variant; }
    // Power-on state of every register; signals, clock and seed are kept.
    void reset();
    int resetCount() const { return m_resets; }

    // One byte over the serial interface: the byte sent to the chip in, the byte clocked
    // back out. endFrame() releases chip select: an access cut short is dropped. Thirty-two
    // one bits in a row reset the chip.
    quint8 transfer(quint8 in);
    void endFrame();

    // Register access as the serial interface sees it, side effects included.
    qint32 readRegister(int address);
    void writeRegister(int address, qint32 value);
    // The stored value, without side effects.
    qint32 registerValue(int address) const;
    // Bytes of the register at address (the data registers follow the mode's data width).
    int widthOf(int address) const;

    void advance(double microseconds);
    void settle();
    // Continuous conversion: converts the next enabled channel in turn and returns it, or -1
    // when the converter is not converting continuously (or no channel is enabled).
    int convertNext();
    // Completes a started conversion stream step in simulated time. converted, when given, is
    // told each channel whose conversion ends within microseconds, in order, while that
    // conversion is still the channel's latest result.
    void advanceConversions(double microseconds, const std::function<void(int channel)> &converted = nullptr);
    // The status byte and data bytes of a channel as a continuous read delivers them; reading
    // clears the channel's ready flag.
    QByteArray takeRecord(int channel);

    int md() const { return (m_mode >> 5) & 7; }
    bool continuousRead() const { return m_mode & 0x04; }
    bool dump() const { return m_mode & 0x08; }
    bool clamp() const { return m_mode & 0x01; }
    int dataWidth() const { return (m_mode & 0x02) ? 3 : 2; }
    bool ready(int channel) const { return m_ready.at(channel); }
    bool enabled(int channel) const { return m_setup.at(channel) & 0x08; }

    double mclk() const { return m_mclk; }
    void setMclk(double megahertz) { m_mclk = megahertz > 0 ? megahertz : m_mclk; }
    double conversionTime(int channel) const; // microseconds
    double time() const { return m_time; }    // simulated microseconds since start

    // Until set otherwise, channel c sees 0.125 V x c with 5 uV RMS noise (at power-on
    // settings; see noiseScale).
    static SimSignal defaultSignal(int channel);
    SimSignal signal(int channel) const { return m_signals.at(channel); }
    void setSignal(int channel, const SimSignal &signal) { m_signals.at(channel) = signal; }
    void setSeed(quint32 seed) { m_noise.reseed(seed); }
    SimCoder::AdcError adcError() const { return m_adcError; }
    void setAdcError(const SimCoder::AdcError &error) { m_adcError = error; }

    double rangeSpan(int channel) const;
    bool rangeBipolar(int channel) const;
    // Factor on the signal's noise from the channel's conversion time, chop and range.
    double noiseScale(int channel) const;

private:
    enum class Phase
    {
        Communications,
        Reading,
        Writing
    };

    void startMode(int channel);
    void completeOperation();
    void convert(int channel);
    double inputVolts(int channel);
    SimCoder::Calibration calibration(int channel) const;
    quint8 statusByte(int channel) const;
    int nextEnabled(int after) const;

    int m_variant;
    int m_resets = 0;
    double m_mclk = 6.144;
    double m_time = 0.0;

    // Register file.
    qint32 m_ioPort = 0, m_test = 0, m_checksum = 0, m_adcZero = 0, m_adcGain = 0;
    std::array<quint32, Channels> m_data{}, m_chZero{}, m_chGain{};
    std::array<qint32, Channels> m_setup{}, m_convTime{};
    std::array<bool, Channels> m_ready{}, m_sign{}, m_overRange{};
    qint32 m_mode = 0;
    int m_modeChannel = 0;

    // Operation in progress (single conversion or calibration) and the continuous sequence.
    double m_operationLeft = 0.0;
    int m_sequenceChannel = -1;
    double m_sequenceLeft = 0.0;

    // Serial interface.
    Phase m_phase = Phase::Communications;
    int m_address = 0;
    QByteArray m_outBytes;
    int m_bytesLeft = 0;
    qint64 m_writeValue = 0;
    int m_onesInRow = 0;

    std::array<SimSignal, Channels> m_signals{};
    GaussianNoise m_noise;
    SimCoder::AdcError m_adcError;
};
