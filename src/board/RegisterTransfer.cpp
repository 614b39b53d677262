#include "RegisterTransfer.h"

#include "BoardHooks.h"
#include "SerialLink.h"
#include "model/QM4168.h"

#include <QByteArray>

namespace {
constexpr int ModeAddress = 56;
constexpr qint32 WidthBit = 0x02, ContRdBit = 0x04, DumpBit = 0x08;

qint32 bigEndian(const QByteArray &frame, int first, int last)
{
    qint32 value = 0;
    for (int i = first; i <= last; ++i)
        value = value * 256 + static_cast<quint8>(frame.at(i));
    return value;
}
} // namespace

RegisterTransfer::RegisterTransfer(QM4168 &model, SerialLink &link, BoardHooks &hooks)
    : m_model(model)
    , m_link(link)
    , m_hooks(hooks)
{
}

bool RegisterTransfer::isDataOrStatus(int address)
{
    return (address >= 8 && address <= 15) || (address >= 32 && address <= 39);
}

bool RegisterTransfer::RegWriteOne(int address)
{
    const int n = m_model.RegBytes(address) + 1;
    const qint64 value = static_cast<quint32>(m_model.Register(address));
    QByteArray frame(n, '\0');
    frame[0] = static_cast<char>(address);
    for (int i = 1; i < n; ++i)
        frame[i] = static_cast<char>((value >> (8 * (n - 1 - i))) & 0xFF);
    if (address == 5 && n > 2)
        frame[2] = 0; // the second data byte of the checksum register always goes as zero
    if (!m_link.BrdSPI(frame, n))
        return false;
    m_model.setChipValue(address, static_cast<qint32>(value));
    return true;
}

bool RegisterTransfer::RegReadOne(int address)
{
    const qint32 mode = modeForReads();
    if ((mode & ContRdBit) && isDataOrStatus(address)) {
        Q_EMIT m_hooks.RunContReadDialog();
        return false;
    }
    // With Dump set the converter sends the channel's status byte in front of the data.
    const bool dump = isDataOrStatus(address) && (mode & DumpBit);
    const int n = dump ? ((mode & WidthBit) ? 3 : 2) + 2 : m_model.RegBytes(address) + 1;
    QByteArray frame(n, '\0');
    frame[0] = static_cast<char>(m_model.IAddress(address) | 0x40);
    if (!m_link.BrdSPI(frame, n))
        return false;

    if (dump) {
        const int channel = address & 7;
        m_model.setRegisterFromChip(32 + channel, static_cast<quint8>(frame.at(1)));
        m_model.setRegisterFromChip(8 + channel, bigEndian(frame, 2, n - 1));
    } else if (m_automatic && m_model.Pending(address)) {
        // An automatic read leaves a user's edit that has not reached the chip in place.
        m_model.setChipValue(address, bigEndian(frame, 1, n - 1));
    } else {
        m_model.setRegisterFromChip(address, bigEndian(frame, 1, n - 1));
    }
    return true;
}

qint32 RegisterTransfer::modeForReads() const
{
    // The chip's mode, where an automatic read has kept an edit of it in the model.
    return m_automatic && m_model.Pending(ModeAddress) ? m_model.ChipValue(ModeAddress)
                                                       : m_model.Register(ModeAddress);
}

void RegisterTransfer::beginBulk()
{
    m_answered = 0;
    m_missesInRow = 0;
    m_stop = Stop::None;
}

bool RegisterTransfer::bulkStep(int address, bool write)
{
    m_answered += write ? RegWriteOne(address) : RegReadOne(address);
    switch (m_link.lastOutcome()) {
    case SerialLink::Outcome::Answered:
        m_missesInRow = 0;
        return true;
    case SerialLink::Outcome::NoAnswer:
        if (++m_missesInRow < MissesThatStop)
            return true;
        m_stop = Stop::NoAnswer;
        return false;
    case SerialLink::Outcome::NotReady:
    case SerialLink::Outcome::Closed:
        break;
    }
    m_stop = Stop::LinkNotReady;
    return false;
}

bool RegisterTransfer::bulkSteps(const QList<int> &addresses, bool write)
{
    for (int address : addresses)
        if (!bulkStep(address, write))
            return false;
    return true;
}

int RegisterTransfer::RegWriteAll()
{
    beginBulk();
    QList<int> addresses{1, 6, 7};
    for (int ch = 0; ch <= m_model.MaxChannel(); ++ch)
        for (int base : {16, 24, 40, 48})
            addresses << base + ch;
    addresses << ModeAddress;
    bulkSteps(addresses, true);
    return m_answered;
}

bool RegisterTransfer::readModeAllowsMore()
{
    const bool read = RegReadOne(ModeAddress);
    m_answered += read;
    if (!read) {
        // Whether the converter is in continuous-read mode, and whether it dumps its status
        // with the data, is unknown: the model's value may be stale, so nothing is decided.
        const SerialLink::Outcome outcome = m_link.lastOutcome();
        m_stop = outcome == SerialLink::Outcome::Answered || outcome == SerialLink::Outcome::NoAnswer
                     ? Stop::NoModeValue
                     : Stop::LinkNotReady;
        return false;
    }
    if (!(modeForReads() & ContRdBit))
        return true;
    Q_EMIT m_hooks.RunContReadDialog();
    return false;
}

int RegisterTransfer::RegReadAll()
{
    beginBulk();
    if (!readModeAllowsMore())
        return m_answered;
    QList<int> addresses{4};
    for (int base : {48, 40, 32, 24, 16, 8})
        for (int ch = 0; ch <= m_model.MaxChannel(); ++ch)
            addresses << base + ch;
    addresses << 5 << 7 << 6 << 3 << 2 << 1;
    bulkSteps(addresses, false);
    return m_answered;
}

int RegisterTransfer::RegReadChAll(int channel)
{
    beginBulk();
    if (!readModeAllowsMore())
        return m_answered;
    QList<int> addresses{1, 2, 3, 4, 5, 6, 7};
    for (int base : {8, 16, 24, 32, 40, 48})
        addresses << channel + base;
    bulkSteps(addresses, false);
    return m_answered;
}

int RegisterTransfer::RegReadChState(int channel)
{
    return readStates(channel, channel);
}

int RegisterTransfer::RegReadState()
{
    return readStates(0, m_model.MaxChannel());
}

int RegisterTransfer::readStates(int first, int last)
{
    beginBulk();
    if (!readModeAllowsMore())
        return m_answered;
    QList<int> addresses{1, 4};
    // With dump set, reading the data brings the status byte with it.
    if (!(modeForReads() & DumpBit))
        for (int ch = first; ch <= last; ++ch)
            addresses << 32 + ch;
    for (int ch = first; ch <= last; ++ch)
        addresses << 8 + ch;
    bulkSteps(addresses, false);
    return m_answered;
}
