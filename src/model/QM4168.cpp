#include "QM4168.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr bool bit(qint32 value, int n)
{
    return (value >> n) & 1;
}

constexpr qint32 bitValue(bool on, int n)
{
    return on ? (qint32(1) << n) : 0;
}

// Range tables by variant: even codes bipolar, odd codes unipolar.
const QVector<QM4168::RangeEntry> eightChannelRanges = {{true, 1.25},   {false, 1.25}, {true, 0.625},
                                                        {false, 0.625}, {true, 2.5},   {false, 2.5}};
const QVector<QM4168::RangeEntry> fourChannelRanges = {{true, 10}, {false, 10}, {true, 5}, {false, 5}};

} // namespace

QM4168::QM4168(QObject *parent)
    : QObject(parent)
{
    runVariantSetup();
}

// ---------------------------------------------------------------------------------------
// Register cache

int QM4168::IAddress(int address) const
{
    if (address > 63 || address < 0)
        throw RegisterAddressError(address);
    return address < ModeCell ? address : ModeCell;
}

qint32 QM4168::Register(int address, bool) const
{
    return m_cache[IAddress(address)];
}

int QM4168::RegBytes(int address) const
{
    return m_regBytes[IAddress(address)];
}

void QM4168::setRegBytes(int address, int bytes)
{
    m_regBytes[IAddress(address)] = bytes;
}

void QM4168::setRegister(int address, bool send, qint32 value)
{
    const int cell = IAddress(address); // throws before any decode for a bad address
    const int channel = address <= 7 ? -1 : address % 8;

    if (address == 0x01)
        decodeIOPort(value);
    else if (address == 0x02)
        decodeRevision(value);
    else if (address >= 0x08 && address <= 0x0F)
        decodeData(channel, value);
    else if (address >= 0x20 && address <= 0x27)
        decodeStatus(channel, value);
    else if (address >= 0x28 && address <= 0x2F)
        decodeSetup(channel, value);
    else if (address >= 0x30 && address <= 0x37)
        decodeConversionTime(channel, value);
    else if (address >= 0x38)
        decodeMode(address - 56, value);

    m_cache[cell] = value;
    Q_EMIT RegisterChanged(address, value, channel);
    if (send)
        Q_EMIT RegisterSend(address, value, channel);
    announcePending(cell); // a write sent at once has already made it even again
}

qint32 QM4168::ModeRegister(int) const
{
    return m_cache[ModeCell];
}

void QM4168::setModeRegister(int channel, qint32 value)
{
    setRegister(0x38 + modeChannel(channel), true, value);
}

int QM4168::modeChannel(int channel) const
{
    return channel < 0 ? m_channel : channel;
}

// ---------------------------------------------------------------------------------------
// Variant, channel, reference and clock

void QM4168::setEvBoard(int code)
{
    m_evBoard = code;
    runVariantSetup();
}

void QM4168::runVariantSetup()
{
    m_vref = 2.5;
    m_mclk = 6.144;
    m_fullScale = 0xFFFF;
    m_midScale = 0x8000;
    m_dataWidth = 2;
    m_multChop = 128;
    m_offsetChop = 249;
    m_multNoChop = 64;
    m_offsetNoChop = 207;
    m_minWordChop = 2;
    m_minWordNoChop = 3;
    m_maxWord = 127;
    switch (m_evBoard) {
    case 2:
        m_maxChannel = 2;
        m_ranges = fourChannelRanges;
        break;
    case 4:
        m_maxChannel = 3;
        m_ranges = fourChannelRanges;
        break;
    case 8:
        m_maxChannel = 7;
        m_ranges = eightChannelRanges;
        break;
    case 9:
        m_maxChannel = 7;
        m_ranges = eightChannelRanges;
        m_offsetChop = 263;
        m_offsetNoChop = 214;
        break;
    default:
        break;
    }
    if (m_testEnable)
        m_maxChannel = 7;
}

int QM4168::ChannelCount() const
{
    int count = 0;
    for (int c = 0; c <= m_maxChannel && c < Channels; ++c)
        count += m_enable[c] ? 1 : 0;
    return count;
}

void QM4168::setChannel(int channel)
{
    m_channel = channel;
    Q_EMIT ChannelChanged(channel);
}

void QM4168::setVref(double volts)
{
    m_vref = volts;
    Q_EMIT VrefChanged(volts);
}

void QM4168::setMclk(double megahertz)
{
    m_mclk = megahertz;
    for (int c = 0; c <= m_maxChannel && c < Channels; ++c) {
        qint32 copy = m_cache[0x30 + c];
        decodeConversionTime(c, copy);
    }
    Q_EMIT MclkChanged(megahertz);
}

double QM4168::Range(int code) const
{
    return code >= 0 && code < m_ranges.size() ? m_ranges[code].span : 0.0;
}

bool QM4168::Polarity(int code) const
{
    return code >= 0 && code < m_ranges.size() && m_ranges[code].bipolar;
}

// ---------------------------------------------------------------------------------------
// Conversion time arithmetic

double QM4168::TimeOfFilterWord(int filterWord, bool chop, int enabledChannels) const
{
    const int low = chop ? m_minWordChop : m_minWordNoChop;
    const int fw = qBound(low, filterWord, m_maxWord);
    const int n = (chop ? m_multChop : m_multNoChop) * fw + (chop ? m_offsetChop : m_offsetNoChop) +
                  (enabledChannels >= 2 ? 1 : 0);
    return n / m_mclk;
}

int QM4168::FilterWordForTime(double microseconds, bool chop, int enabledChannels) const
{
    const double x =
        (m_mclk * microseconds - (chop ? m_offsetChop : m_offsetNoChop) - (enabledChannels >= 2 ? 1 : 0)) /
        (chop ? m_multChop : m_multNoChop);
    const int low = chop ? m_minWordChop : m_minWordNoChop;
    if (!(x >= low)) // also catches NaN
        return low;
    if (x >= m_maxWord)
        return m_maxWord;
    return static_cast<int>(std::floor(x));
}

void QM4168::setConversionTime(int channel, double microseconds)
{
    if (microseconds == m_convTime.at(channel))
        return;
    const bool chop = m_chop.at(channel);
    const int fw = FilterWordForTime(microseconds, chop, ChannelCount());
    setRegister(0x30 + channel, true, (chop ? 128 : 0) + fw);
}

void QM4168::ConversionTimeUp(int channel)
{
    const bool chop = m_chop.at(channel);
    const qint32 r = m_cache[0x30 + channel];
    if ((chop ? (r & 0x7F) : r) >= 127)
        return;
    setRegister(0x30 + channel, true, r + 1);
}

void QM4168::ConversionTimeDown(int channel)
{
    const bool chop = m_chop.at(channel);
    const qint32 r = m_cache[0x30 + channel];
    if (chop ? (r & 0x7F) <= 2 : r <= 3)
        return;
    setRegister(0x30 + channel, true, r - 1);
}

// ---------------------------------------------------------------------------------------
// Decoders, run by the write sequence before the value is stored

void QM4168::decodeIOPort(qint32 value)
{
    auto update = [](bool &field, bool v, auto signal, QM4168 *self) {
        if (field != v) {
            field = v;
            Q_EMIT(self->*signal)(v);
        }
    };
    update(m_p0, bit(value, 7), &QM4168::P0Changed, this);
    update(m_p1, bit(value, 6), &QM4168::P1Changed, this);
    update(m_p0Dir, bit(value, 5), &QM4168::P0DirChanged, this);
    update(m_p1Dir, bit(value, 4), &QM4168::P1DirChanged, this);
    update(m_rdyFn, bit(value, 3), &QM4168::RdyFnChanged, this);
    update(m_sync, bit(value, 0), &QM4168::SyncChanged, this);
    update(m_redPWR, bit(value, 2), &QM4168::RedPWRChanged, this);
}

void QM4168::decodeRevision(qint32 value)
{
    switch (value & 0x0F) {
    case 1:
    case 4:
        m_generic = QStringLiteral("QM4168");
        break;
    case 2:
        m_generic = QStringLiteral("QM4164");
        break;
    default:
        m_generic = QStringLiteral("None");
        break;
    }
    Q_EMIT GenericChanged(m_generic);
    m_version = (value & 0xF0) / 16;
    Q_EMIT VersionChanged(m_version);
}

void QM4168::decodeData(int channel, qint32 value)
{
    const int rng = m_rng[channel];
    const qint64 bip = (rng == 0 || rng == 2 || rng == 4) ? 1 : 0;
    // In 64 bits: a register entry may hold any 32-bit value, and the range steering moves
    // it by a whole span, which can leave the 32-bit range; such a code is held at its end.
    const qint64 word = value;
    const qint64 span = qint64(m_fullScale) + 1;
    qint64 data;
    if (m_clamp)
        data = word - m_midScale * bip;
    else if (m_ovrRange[channel])
        data = word + span - m_midScale * bip;
    else if (!m_undRange[channel])
        data = word - m_midScale * bip;
    else if (bip == 0)
        data = 0;
    else
        data = -((span - word) + m_midScale);
    Q_EMIT DataChanged(channel, static_cast<qint32>(std::clamp<qint64>(data, INT32_MIN, INT32_MAX)));
}

void QM4168::decodeStatus(int channel, qint32 value)
{
    auto update = [this, channel](std::array<bool, Channels> &field, bool v, auto signal) {
        if (field[channel] != v) {
            field[channel] = v;
            Q_EMIT(this->*signal)(channel, v);
        }
    };
    update(m_rdy, bit(value, 3), &QM4168::RdyChanged);
    update(m_noRef, bit(value, 2), &QM4168::NoRefChanged);
    update(m_undRange, bit(value, 0) && bit(value, 1), &QM4168::UndRangeChanged);
    update(m_ovrRange, bit(value, 0) && !bit(value, 1), &QM4168::OvrRangeChanged);
}

void QM4168::decodeSetup(int channel, qint32 value)
{
    auto update = [this, channel](std::array<bool, Channels> &field, bool v, auto signal) {
        if (field[channel] != v) {
            field[channel] = v;
            Q_EMIT(this->*signal)(channel, v);
        }
    };
    update(m_buf, bit(value, 7), &QM4168::BufChanged);

    const int com = 2 * bit(value, 6) + bit(value, 5);
    if (com != m_com[channel]) {
        // The four- and two-channel chips have no input selection: a word whose COM bits
        // differ from the model is not taken over beyond the buffer bit.
        if (m_evBoard == 2 || m_evBoard == 4)
            return;
        m_com[channel] = com;
        Q_EMIT ComChanged(channel, com);
    }

    update(m_statOpt, bit(value, 4), &QM4168::StatOptChanged);
    const bool several = ChannelCount() >= 2;
    update(m_enable, bit(value, 3), &QM4168::EnableChanged);
    // The converter's cycle is one clock longer with two or more channels enabled.
    if ((ChannelCount() >= 2) != several)
        recomputeTimes();

    if (m_evBoard == 8 || m_evBoard == 9) {
        const int raw = value & 0x07;
        if (raw != m_rng[channel]) {
            m_rng[channel] = raw > 5 ? raw - 6 : raw;
            Q_EMIT RngChanged(channel, m_rng[channel]);
        }
    } else {
        const int code = value & 0x03;
        if (code != m_rng[channel]) {
            m_rng[channel] = code;
            Q_EMIT RngChanged(channel, code);
        }
    }
}

void QM4168::decodeConversionTime(int channel, qint32 &value)
{
    const bool chop = bit(value, 7);
    if (chop != m_chop[channel]) {
        m_chop[channel] = chop;
        m_convTime[channel] = TimeOfFilterWord(value & 0x7F, chop, ChannelCount());
        Q_EMIT ChopChanged(channel, chop);
    }

    if (value > 127) {
        if (value - 128 < 2)
            value = 128 + 2;
        else if (value - 127 > 127)
            value = 128 + 127;
    } else {
        value = qBound(3, value, 127);
    }

    m_convTime[channel] = TimeOfFilterWord(value & 0x7F, m_chop[channel], ChannelCount());
    Q_EMIT ConversionTimeChanged(channel, m_convTime[channel]);
}

void QM4168::recomputeTimes()
{
    for (int c = 0; c <= m_maxChannel && c < Channels; ++c) {
        if (m_convTime[c] == 0.0)
            continue; // not computed yet: its register has never been written
        const double time = TimeOfFilterWord(m_cache[0x30 + c] & 0x7F, m_chop[c], ChannelCount());
        if (time != m_convTime[c]) {
            m_convTime[c] = time;
            Q_EMIT ConversionTimeChanged(c, time);
        }
    }
}

void QM4168::decodeMode(int channel, qint32 value)
{
    const int md = (value >> 5) & 0x07;
    if (md != m_md || channel != m_channel) {
        m_md = md;
        Q_EMIT MdChanged(channel, md);
    }

    auto update = [this](bool &field, bool v, auto signal) {
        if (field != v) {
            field = v;
            Q_EMIT(this->*signal)(v);
        }
    };
    update(m_clkDis, bit(value, 4), &QM4168::ClkDisChanged);
    update(m_dump, bit(value, 3), &QM4168::DumpChanged);
    update(m_contRd, bit(value, 2), &QM4168::ContRdChanged);

    const int width = bit(value, 1) ? 3 : 2;
    if (width != m_dataWidth) {
        m_dataWidth = width;
        m_fullScale = width == 2 ? 0xFFFF : 0xFFFFFF;
        m_midScale = width == 2 ? 0x8000 : 0x800000;
        for (int a = 0x08; a <= 0x0F; ++a)
            m_regBytes[a] = width;
        Q_EMIT DataWidthChanged(width);
    }

    update(m_clamp, bit(value, 0), &QM4168::ClampChanged);
}

// ---------------------------------------------------------------------------------------
// Field setters: compare, then rewrite the register with the field's bits and send it

void QM4168::writeBits(int address, qint32 mask, qint32 bits)
{
    setRegister(address, true, (Register(address) & ~mask) | bits);
}

void QM4168::setIOPortBit(bool current, bool value, int n)
{
    if (current != value)
        writeBits(0x01, bitValue(true, n), bitValue(value, n));
}

void QM4168::setP0(bool value)
{
    setIOPortBit(m_p0, value, 7);
}

void QM4168::setP1(bool value)
{
    setIOPortBit(m_p1, value, 6);
}

void QM4168::setP0Dir(bool value)
{
    setIOPortBit(m_p0Dir, value, 5);
}

void QM4168::setP1Dir(bool value)
{
    setIOPortBit(m_p1Dir, value, 4);
}

void QM4168::setRdyFn(bool value)
{
    setIOPortBit(m_rdyFn, value, 3);
}

void QM4168::setSync(bool value)
{
    setIOPortBit(m_sync, value, 0);
}

void QM4168::setRedPWR(bool value)
{
    setIOPortBit(m_redPWR, value, 2);
}

void QM4168::setSetupBits(int channel, qint32 mask, qint32 bits)
{
    writeBits(0x28 + channel, mask, bits);
}

void QM4168::setBuf(int channel, bool value)
{
    if (m_buf.at(channel) != value)
        setSetupBits(channel, 0x80, bitValue(value, 7));
}

void QM4168::setCom(int channel, int value)
{
    if (m_com.at(channel) != value)
        setSetupBits(channel, 0x60, ((value & 2) << 5) | ((value & 1) << 5));
}

void QM4168::setStatOpt(int channel, bool value)
{
    if (m_statOpt.at(channel) != value)
        setSetupBits(channel, 0x10, bitValue(value, 4));
}

void QM4168::setEnable(int channel, bool value)
{
    if (m_enable.at(channel) != value)
        setSetupBits(channel, 0x08, bitValue(value, 3));
}

void QM4168::setRng(int channel, int value)
{
    if (m_rng.at(channel) == value)
        return;
    if (m_evBoard == 8 || m_evBoard == 9)
        setSetupBits(channel, 0x07, value & 0x07);
    else
        setSetupBits(channel, 0x07, value & 0x03);
}

void QM4168::setChop(int channel, bool value)
{
    if (m_chop.at(channel) != value)
        writeBits(0x30 + channel, 0x80, bitValue(value, 7));
}

int QM4168::Md(int) const
{
    return m_md;
}

bool QM4168::ClkDis(int) const
{
    return m_clkDis;
}

bool QM4168::Dump(int) const
{
    return m_dump;
}

bool QM4168::ContRd(int) const
{
    return m_contRd;
}

int QM4168::DataWidth(int) const
{
    return m_dataWidth;
}

bool QM4168::Clamp(int) const
{
    return m_clamp;
}

void QM4168::setModeBits(int channel, qint32 mask, qint32 bits)
{
    setRegister(0x38 + channel, true, (m_cache[ModeCell] & ~mask) | bits);
}

void QM4168::setMd(int channel, int value)
{
    const int c = modeChannel(channel);
    if (m_md != value || c != m_channel)
        setModeBits(c, 0xE0, (value & 0x07) << 5);
}

void QM4168::setClkDis(int channel, bool value)
{
    if (m_clkDis != value)
        setModeBits(modeChannel(channel), 0x10, bitValue(value, 4));
}

void QM4168::setDump(int channel, bool value)
{
    if (m_dump != value)
        setModeBits(modeChannel(channel), 0x08, bitValue(value, 3));
}

void QM4168::setContRd(int channel, bool value)
{
    if (m_contRd != value)
        setModeBits(modeChannel(channel), 0x04, bitValue(value, 2));
}

void QM4168::setDataWidth(int channel, int value)
{
    if (m_dataWidth != value)
        setModeBits(modeChannel(channel), 0x02, ((value - 2) & 1) << 1);
}

void QM4168::setClamp(int channel, bool value)
{
    if (m_clamp != value)
        setModeBits(modeChannel(channel), 0x01, bitValue(value, 0));
}
