#pragma once

#include "ClassChData.h"
#include "DataRangeError.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <vector>

// The sample store: for each of the eight channel slots the samples read from the
// converter (status byte and raw data word), the conditions needed to interpret them
// (data width, clamp, reference voltage, input range and conversion time per channel)
// and, after Process, the statistics of every valid channel. Windows follow its events.
//
// A channel is valid when it holds more than MinCount (3) samples. A channel argument
// outside 0..7 (-1 only where stated) or a sample index outside 1..count throws
// DataRangeError before anything changes.
//
// Codes: ExtData turns a raw word into the signed, range-corrected code that every
// statistic, plot and file uses. Words are kept within +-2^30 (the converter delivers at
// most 24 bits; extended overrange words reach about 2^25), so every code fits in 32 bits.
class ClassData : public QObject
{
    Q_OBJECT

public:
    static constexpr int Channels = 8;
    static constexpr qint32 WordLimit = 1 << 30;

    explicit ClassData(QObject *parent = nullptr);

    // Fixed limits.
    int MaxChannel() const { return Channels - 1; }
    int MaxBytes() const { return 32768; }
    // Most samples per channel the board memory holds: 32768 / (DataWidth + 1) rounded,
    // ties to even (10923 for 16-bit data, 8192 for 24-bit data).
    int MaxCount() const;
    int MinCount() const { return 3; }

    // The current channel. Setting a different value raises ChannelChanged.
    int Channel() const { return m_channel; }
    void setChannel(int channel);

    int ChannelCount() const;
    // channel -1: some channel is valid; 0..7: that channel holds more than 3 samples.
    bool Valid(int channel) const;
    int DataCount(int channel) const;

    quint8 StatusByte(int channel, int index) const;
    qint32 DataWord(int channel, int index) const;
    void setDataWord(int channel, int index, qint32 word);
    qint32 ExtData(int channel, int index) const;
    // ExtData of samples 1..DataCount(channel), in order.
    std::vector<qint32> codes(int channel) const;

    bool Clamp() const { return m_clamp; }
    void setClamp(bool clamp) { m_clamp = clamp; }
    // The range code, stored as given and read back rounded to a 16-bit integer.
    int Rng(int channel) const;
    void setRng(int channel, double code);
    double RefVoltage() const { return m_refVoltage; }
    void setRefVoltage(double volts) { m_refVoltage = volts; }
    // Bytes per data word, 0..3 (2 or 3 for real data, 0 after Clear). Setting it also
    // sets HalfScale and FullScale.
    int DataWidth() const { return m_dataWidth; }
    void setDataWidth(int bytes);
    qint32 HalfScale() const { return m_halfScale; }
    qint32 FullScale() const { return m_fullScale; }
    double ChannelTime(int channel) const;
    void setChannelTime(int channel, double microseconds);

    qint32 MaxCode(int channel) const;
    qint32 MinCode(int channel) const;
    double MeanCode(int channel) const;
    double StdDev(int channel) const;

    int PeaksLimit() const { return m_peaksLimit; }
    void setPeaksLimit(int limit) { m_peaksLimit = static_cast<qint16>(qBound(-32768, limit, 32767)); }
    bool PeaksAutoRemove() const { return m_peaksAutoRemove; }
    void setPeaksAutoRemove(bool on) { m_peaksAutoRemove = on; }

    // Empties every channel; resets statistics, Rng, DataWidth (0), RefVoltage (0) and
    // Clamp (false); raises DataCleared. Channel, ChannelTime and the peak settings stay.
    void Clear();
    // Empties one channel and resets its statistics and Rng; no event.
    void ClearChannel(int channel);

    // Appends one record as the board delivers it: status byte, then DataWidth data bytes
    // (two when DataWidth is not 3), most significant first. The channel is bits 7..5 of
    // the status byte. Returns false when the channel is full (the record is dropped).
    bool Add(const QByteArray &record);
    // Appends one sample; false when the channel is full.
    bool AddData(int channel, qint32 word, quint8 status = 0);
    // Appends the sample whose code (with status bits 1..0 clear) is the given one.
    bool AddExtData(int channel, qint32 code, quint8 status = 0);

    // Statistics of every valid channel, automatic peak removal when switched on, and a
    // valid current channel when there is one (set without ChannelChanged).
    void Process();
    // Replaces isolated peaks of every valid channel by the average of two neighbours and
    // recomputes its statistics.
    void PeaksRemove();
    // Raises DataChanged(Channel).
    void Update();

    // Empties this store, without DataCleared, and takes over the samples and conditions
    // of source: columns, counts, DataWidth, Clamp, RefVoltage, Rng and ChannelTime. The
    // statistics are left to Process. Used to put a completely read file or acquisition in
    // place: the windows keep showing and redraw on the DataChanged that Update raises.
    void replaceContents(const ClassData &source);

Q_SIGNALS:
    void ChannelChanged(int channel);
    void DataChanged(int channel);
    void DataCleared();

private:
    void resetAll();
    void checkChannel(int channel) const;
    void checkSample(int channel, int index) const;
    static void checkWord(qint32 word);
    bool bipolar(int channel) const;
    qint32 extData(int channel, int index, bool bip) const;
    void append(int channel, qint32 word, quint8 status);
    void processChannel(int channel);
    void peaksRemoveChannel(int channel);
    void resetChannel(int channel);

    std::array<ClassChData, Channels> m_columns;
    std::array<int, Channels> m_count{};
    int m_channel = 0;
    std::array<double, Channels> m_rng{};
    int m_dataWidth = 2;
    double m_refVoltage = 0.0;
    bool m_clamp = false;
    std::array<double, Channels> m_channelTime{};
    qint32 m_halfScale = 0;
    qint32 m_fullScale = 0;
    std::array<qint32, Channels> m_maxCode{};
    std::array<qint32, Channels> m_minCode{};
    std::array<double, Channels> m_meanCode{};
    std::array<double, Channels> m_stdDev{};
    qint16 m_peaksLimit = 10;
    bool m_peaksAutoRemove = false;
};
