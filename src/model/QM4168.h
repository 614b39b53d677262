#pragma once

#include "ChipImage.h"
#include "RegisterAddressError.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <array>

// The device model: the program's picture of the converter. It holds the register cache,
// decodes every written register into its bit fields, raises one event per changed field,
// then RegisterChanged and (when sending) RegisterSend. It never talks to the hardware.
//
// Addresses are the converter's 6-bit register addresses 00h..3Fh. Addresses above 3Fh
// (and negative ones) throw RegisterAddressError before anything is decoded or stored.
class QM4168 : public QObject
{
    Q_OBJECT

public:
    static constexpr int CacheCells = 57;
    static constexpr int ModeCell = 56;
    static constexpr int Channels = 8;

    struct RangeEntry
    {
        bool bipolar;
        double span; // volts
    };

    explicit QM4168(QObject *parent = nullptr);

    // Register cache and generic accessors.
    qint32 Register(int address, bool send = false) const;
    void setRegister(int address, bool send, qint32 value);
    int RegBytes(int address) const;
    void setRegBytes(int address, int bytes);
    int IAddress(int address) const;
    int MaxAddress() const { return ModeCell; }

    // The chip's side of each register: what it was last given or returned. A register is
    // pending while the model holds a value the chip has not been given since; only the
    // registers Write All writes can be. Until setInStep, or a value given to or read from
    // the chip, the chip's side of a register is unknown and it is not pending.
    // PendingChanged follows RegisterChanged and RegisterSend of the write that changed it.
    bool Pending(int address) const;
    bool AnyPending() const;
    // The chip's value as far as known, the model's otherwise.
    qint32 ChipValue(int address) const;
    // The chip holds what the model holds (the power-on image after start-up), or what
    // picture holds (a converter just reset holds its power-on image).
    void setInStep() { setChipValues(*this); }
    void setChipValues(const QM4168 &picture);
    // The chip was given value, or returned it without the model taking it over.
    void setChipValue(int address, qint32 value);
    // A value read from the chip: taken as the chip's, then written with send false.
    void setRegisterFromChip(int address, qint32 value);
    // Fills picture, a model of its own, with the chip's side: the variant, clock and
    // reference of this model and every register as the chip holds it, so that its fields
    // (ranges, data width, conversion times) are the ones the chip converts with.
    void chipPicture(QM4168 &picture) const;

    // Variant and channels.
    int EvBoard() const { return m_evBoard; }
    void setEvBoard(int code);
    bool TestEnable() const { return m_testEnable; }
    void setTestEnable(bool on) { m_testEnable = on; }
    int MaxChannel() const { return m_maxChannel; }
    int ChannelCount() const;
    int Channel() const { return m_channel; }
    void setChannel(int channel);
    double Vref() const { return m_vref; }
    void setVref(double volts);
    double Mclk() const { return m_mclk; }
    void setMclk(double megahertz);

    // Whole-register shortcuts; every set writes with send true. A mode channel of -1
    // means the current Channel.
    qint32 IOPortRegister() const { return Register(0x01); }
    void setIOPortRegister(qint32 value) { setRegister(0x01, true, value); }
    qint32 RevisionRegister() const { return Register(0x02); }
    void setRevisionRegister(qint32 value) { setRegister(0x02, true, value); }
    qint32 ADCStatusRegister() const { return Register(0x04); }
    void setADCStatusRegister(qint32 value) { setRegister(0x04, true, value); }
    qint32 DataRegister(int channel) const { return Register(0x08 + channel); }
    void setDataRegister(int channel, qint32 value) { setRegister(0x08 + channel, true, value); }
    qint32 StatusRegister(int channel) const { return Register(0x20 + channel); }
    void setStatusRegister(int channel, qint32 value) { setRegister(0x20 + channel, true, value); }
    qint32 SetupRegister(int channel) const { return Register(0x28 + channel); }
    void setSetupRegister(int channel, qint32 value) { setRegister(0x28 + channel, true, value); }
    qint32 ConvTimeRegister(int channel) const { return Register(0x30 + channel); }
    void setConvTimeRegister(int channel, qint32 value) { setRegister(0x30 + channel, true, value); }
    qint32 ModeRegister(int channel = -1) const;
    void setModeRegister(qint32 value) { setModeRegister(-1, value); }
    void setModeRegister(int channel, qint32 value);

    // I/O port fields (register 01h).
    bool P0() const { return m_p0; }
    void setP0(bool value);
    bool P1() const { return m_p1; }
    void setP1(bool value);
    bool P0Dir() const { return m_p0Dir; }
    void setP0Dir(bool value);
    bool P1Dir() const { return m_p1Dir; }
    void setP1Dir(bool value);
    bool RdyFn() const { return m_rdyFn; }
    void setRdyFn(bool value);
    bool Sync() const { return m_sync; }
    void setSync(bool value);
    bool RedPWR() const { return m_redPWR; }
    void setRedPWR(bool value);

    // Revision fields (register 02h); the setters store without an event.
    QString Generic() const { return m_generic; }
    void setGeneric(const QString &text) { m_generic = text; }
    int Version() const { return m_version; }
    void setVersion(int value) { m_version = value & 0xFF; }

    // Channel status fields (20h + c), read only.
    bool Rdy(int channel) const { return m_rdy.at(channel); }
    bool NoRef(int channel) const { return m_noRef.at(channel); }
    bool UndRange(int channel) const { return m_undRange.at(channel); }
    bool OvrRange(int channel) const { return m_ovrRange.at(channel); }

    // Channel setup fields (28h + c).
    bool Buf(int channel) const { return m_buf.at(channel); }
    void setBuf(int channel, bool value);
    int Com(int channel) const { return m_com.at(channel); }
    void setCom(int channel, int value);
    bool StatOpt(int channel) const { return m_statOpt.at(channel); }
    void setStatOpt(int channel, bool value);
    bool Enable(int channel) const { return m_enable.at(channel); }
    void setEnable(int channel, bool value);
    int Rng(int channel) const { return m_rng.at(channel); }
    void setRng(int channel, int value);

    // Conversion time (30h + c).
    bool Chop(int channel) const { return m_chop.at(channel); }
    void setChop(int channel, bool value);
    double ConversionTime(int channel) const { return m_convTime.at(channel); }
    void setConversionTime(int channel, double microseconds);
    void ConversionTimeUp(int channel);
    void ConversionTimeDown(int channel);

    // Mode fields (38h..3Fh, one shared cell). Getters ignore the channel; setters write
    // address 38h + channel, -1 meaning the current Channel.
    int Md(int channel = -1) const;
    void setMd(int value) { setMd(-1, value); }
    void setMd(int channel, int value);
    bool ClkDis(int channel = -1) const;
    void setClkDis(bool value) { setClkDis(-1, value); }
    void setClkDis(int channel, bool value);
    bool Dump(int channel = -1) const;
    void setDump(bool value) { setDump(-1, value); }
    void setDump(int channel, bool value);
    bool ContRd(int channel = -1) const;
    void setContRd(bool value) { setContRd(-1, value); }
    void setContRd(int channel, bool value);
    int DataWidth(int channel = -1) const;
    void setDataWidth(int value) { setDataWidth(-1, value); }
    void setDataWidth(int channel, int value);
    bool Clamp(int channel = -1) const;
    void setClamp(bool value) { setClamp(-1, value); }
    void setClamp(int channel, bool value);

    qint32 FullScale() const { return m_fullScale; }
    qint32 MidScale() const { return m_midScale; }

    // Input ranges of the selected variant. Codes outside the table give 0 V, unipolar.
    double Range(int code) const;
    bool Polarity(int code) const;
    int RangeCount() const { return m_ranges.size(); }

    // Conversion time arithmetic for the current Mclk and timing constants.
    double TimeOfFilterWord(int filterWord, bool chop, int enabledChannels) const;
    int FilterWordForTime(double microseconds, bool chop, int enabledChannels) const;

Q_SIGNALS:
    void ChannelChanged(int channel);
    void VrefChanged(double vref);
    void MclkChanged(double mclk);
    void RegisterChanged(int address, qint32 value, int channel);
    void RegisterSend(int address, qint32 value, int channel);
    void P0Changed(bool value);
    void P1Changed(bool value);
    void P0DirChanged(bool value);
    void P1DirChanged(bool value);
    void RdyFnChanged(bool value);
    void SyncChanged(bool value);
    void RedPWRChanged(bool value);
    void GenericChanged(const QString &generic);
    void VersionChanged(int version);
    void DataChanged(int channel, qint32 data);
    void RdyChanged(int channel, bool value);
    void NoRefChanged(int channel, bool value);
    void UndRangeChanged(int channel, bool value);
    void OvrRangeChanged(int channel, bool value);
    void BufChanged(int channel, bool value);
    void ComChanged(int channel, int com);
    void StatOptChanged(int channel, bool value);
    void EnableChanged(int channel, bool value);
    void RngChanged(int channel, int rng);
    void ConversionTimeChanged(int channel, double time);
    void ChopChanged(int channel, bool value);
    void MdChanged(int channel, int md);
    void ClkDisChanged(bool value);
    void DumpChanged(bool value);
    void ContRdChanged(bool value);
    void DataWidthChanged(int width);
    void ClampChanged(bool value);
    void PendingChanged(int address, bool pending);

private:
    int modeChannel(int channel) const;
    void announcePending(int cell);
    // Every channel's time again for the number of enabled channels; raises
    // ConversionTimeChanged for each time that changed.
    void recomputeTimes();
    void runVariantSetup();

    void decodeIOPort(qint32 value);
    void decodeRevision(qint32 value);
    void decodeData(int channel, qint32 value);
    void decodeStatus(int channel, qint32 value);
    void decodeSetup(int channel, qint32 value);
    void decodeConversionTime(int channel, qint32 &value);
    void decodeMode(int channel, qint32 value);

    // Writes a field of a register: clear mask in the cached value, OR in bits, send.
    void writeBits(int address, qint32 mask, qint32 bits);
    void setIOPortBit(bool current, bool value, int bit);
    void setSetupBits(int channel, qint32 mask, qint32 bits);
    void setModeBits(int channel, qint32 mask, qint32 bits);

    int m_evBoard = 0;
    bool m_testEnable = false;
    int m_maxChannel = 0;
    int m_channel = 0;
    double m_vref = 0.0;
    double m_mclk = 0.0;

    std::array<qint32, CacheCells> m_cache{};
    std::array<int, CacheCells> m_regBytes{};

    bool m_p0 = false, m_p1 = false, m_p0Dir = false, m_p1Dir = false;
    bool m_rdyFn = false, m_sync = false, m_redPWR = false;
    QString m_generic;
    int m_version = 0;

    int m_md = 0;
    bool m_clkDis = false, m_dump = false, m_contRd = false, m_clamp = false;
    int m_dataWidth = 2;
    qint32 m_fullScale = 0;
    qint32 m_midScale = 0;

    std::array<bool, Channels> m_rdy{}, m_noRef{}, m_undRange{}, m_ovrRange{};
    std::array<bool, Channels> m_buf{}, m_statOpt{}, m_enable{}, m_chop{};
    std::array<int, Channels> m_com{}, m_rng{};
    std::array<double, Channels> m_convTime{};

    // Timing constants of the variant: multiplier A, offset B, filter word limits.
    int m_multChop = 128, m_multNoChop = 64;
    int m_offsetChop = 249, m_offsetNoChop = 207;
    int m_minWordChop = 2, m_minWordNoChop = 3, m_maxWord = 127;

    QVector<RangeEntry> m_ranges;
    ChipImage m_chip;
};
