#include "RegisterTransfer.h"

#include "BoardHooks.h"
#include "SerialLink.h"
#include "model/QM4168.h"

#include <QByteArray>

namespace {
constexpr int ModeAddress = 56;

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
    return m_link.BrdSPI(frame, n);
}

bool RegisterTransfer::RegReadOne(int address)
{
    if (m_model.ContRd(-1) && isDataOrStatus(address)) {
        Q_EMIT m_hooks.RunContReadDialog();
        return false;
    }
    // With Dump set the converter sends the channel's status byte in front of the data.
    const bool dump = isDataOrStatus(address) && m_model.Dump(-1);
    const int n = dump ? m_model.DataWidth(-1) + 2 : m_model.RegBytes(address) + 1;
    QByteArray frame(n, '\0');
    frame[0] = static_cast<char>(m_model.IAddress(address) | 0x40);
    if (!m_link.BrdSPI(frame, n))
        return false;

    if (dump) {
        const int channel = address & 7;
        m_model.setRegister(32 + channel, false, static_cast<quint8>(frame.at(1)));
        m_model.setRegister(8 + channel, false, bigEndian(frame, 2, n - 1));
    } else {
        m_model.setRegister(address, false, bigEndian(frame, 1, n - 1));
    }
    return true;
}

int RegisterTransfer::RegWriteAll()
{
    int answered = 0;
    for (int address : {1, 6, 7})
        answered += RegWriteOne(address);
    for (int ch = 0; ch <= m_model.MaxChannel(); ++ch)
        for (int base : {16, 24, 40, 48})
            answered += RegWriteOne(base + ch);
    answered += RegWriteOne(ModeAddress);
    return answered;
}

bool RegisterTransfer::readModeFindsContRead(int &answered)
{
    answered += RegReadOne(ModeAddress);
    if (!m_model.ContRd(-1))
        return false;
    Q_EMIT m_hooks.RunContReadDialog();
    return true;
}

int RegisterTransfer::RegReadAll()
{
    int answered = 0;
    if (readModeFindsContRead(answered))
        return answered;
    answered += RegReadOne(4);
    for (int base : {48, 40, 32, 24, 16, 8})
        for (int ch = 0; ch <= m_model.MaxChannel(); ++ch)
            answered += RegReadOne(base + ch);
    for (int address : {5, 7, 6, 3, 2, 1})
        answered += RegReadOne(address);
    return answered;
}

int RegisterTransfer::RegReadChAll(int channel)
{
    int answered = 0;
    if (readModeFindsContRead(answered))
        return answered;
    for (int address = 1; address <= 7; ++address)
        answered += RegReadOne(address);
    for (int base : {8, 16, 24, 32, 40, 48})
        answered += RegReadOne(channel + base);
    return answered;
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
    int answered = 0;
    if (readModeFindsContRead(answered))
        return answered;
    answered += RegReadOne(1);
    answered += RegReadOne(4);
    // With dump set, reading the data brings the status byte with it.
    if (!m_model.Dump(-1))
        for (int ch = first; ch <= last; ++ch)
            answered += RegReadOne(32 + ch);
    for (int ch = first; ch <= last; ++ch)
        answered += RegReadOne(8 + ch);
    return answered;
}
