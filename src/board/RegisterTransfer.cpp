#include "RegisterTransfer.h"

#include "BoardHooks.h"
#include "SerialLink.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

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
    const QByteArray sent = frame;
    // The chip echoes what it is sent.
    const bool ok = m_link.BrdSPI(frame, n) && frame == sent;
    if (ok)
        m_model.setChipValue(address, static_cast<qint32>(value));
    noteWrite(address, ok);
    return ok;
}

void RegisterTransfer::noteWrite(int address, bool ok)
{
    if (!m_watched.contains(address)) {
        m_watched << address;
        m_watchedValues << m_model.Register(address);
    } else {
        m_watchedValues[m_watched.indexOf(address)] = m_model.Register(address);
    }
    if (m_writeFailure.isEmpty() && !ok)
        m_writeFailure = QStringLiteral("register %1 %2").arg(registerName(address), exchangeFailure(false));
}

QString RegisterTransfer::registerName(int address)
{
    const RegisterDesign::Row *row = RegisterDesign::row(RegisterDesign::rowIndexOf(address));
    return row ? QStringLiteral("%1h (%2)").arg(HexPad(address, 2), row->name)
               : QStringLiteral("%1h").arg(HexPad(address, 2));
}

QString RegisterTransfer::exchangeFailure(bool ok) const
{
    if (ok)
        return {};
    switch (m_link.lastOutcome()) {
    case SerialLink::Outcome::Answered:
        return m_link.lastReply().startsWith(QLatin1String("S "))
                   ? QStringLiteral("was answered wrongly (answer \"%1\")").arg(m_link.lastReply())
                   : QStringLiteral("was refused (answer \"%1\")").arg(m_link.lastReply());
    case SerialLink::Outcome::NoAnswer:
        return QStringLiteral("was not answered");
    case SerialLink::Outcome::NotReady:
        return QStringLiteral("could not be sent: the link was busy");
    case SerialLink::Outcome::Closed:
        break;
    }
    return QStringLiteral("could not be sent: the port is closed");
}

void RegisterTransfer::watchWrites()
{
    m_watched.clear();
    m_watchedValues.clear();
    m_writeFailure.clear();
    m_noticesAtWatch = m_link.resetNotices();
}

QString RegisterTransfer::writeFailure() const
{
    if (!m_writeFailure.isEmpty())
        return m_writeFailure;
    if (m_link.resetNotices() != m_noticesAtWatch)
        return QStringLiteral("the board was reset, which undid the registers written before");
    return {};
}

QString RegisterTransfer::verifyWrites()
{
    constexpr int ModeField = 0xE0;
    for (int i = 0; i < m_watched.size(); ++i) {
        const int address = m_watched.at(i);
        const qint32 written = m_watchedValues.at(i);
        // Only registers that hold what they are given: not the checksum (its second byte
        // always goes as zero), the data and status, or the rows that cannot be read or written.
        const RegisterDesign::Row *row = RegisterDesign::row(RegisterDesign::rowIndexOf(address));
        if (address == 5 || isDataOrStatus(address) || !row || !row->read || !row->write)
            continue;
        if (!RegReadOne(address))
            return QStringLiteral("register %1 could not be read back: it %2")
                .arg(registerName(address), exchangeFailure(false));
        const qint32 mask = address >= ModeAddress ? ~ModeField : ~0;
        const qint32 read = m_model.ChipValue(address);
        if ((read & mask) != (written & mask))
            return QStringLiteral("register %1 reads back as %2, not %3 as written")
                .arg(registerName(address), HexPad(read, 2), HexPad(written, 2));
    }
    return {};
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
    const char comm = static_cast<char>(m_model.IAddress(address) | 0x40);
    frame[0] = comm;
    // The communications byte comes back as it was sent.
    if (!m_link.BrdSPI(frame, n) || frame.at(0) != comm)
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
    m_recent.clear();
    m_noticesAtStart = m_link.resetNotices();
    m_stop = Stop::None;
    m_stopText.clear();
}

bool RegisterTransfer::bulkStep(int address, bool write)
{
    const bool ok = write ? RegWriteOne(address) : RegReadOne(address);
    m_answered += ok;
    const SerialLink::Outcome outcome = m_link.lastOutcome();
    const auto stop = [&](Stop why, const QString &text) {
        m_stop = why;
        m_stopText = text;
        return false;
    };
    const QString failed = QStringLiteral("register %1 %2").arg(registerName(address), exchangeFailure(ok));
    if (outcome == SerialLink::Outcome::NotReady || outcome == SerialLink::Outcome::Closed)
        return stop(Stop::LinkNotReady, failed);
    if (m_link.resetNotices() != m_noticesAtStart)
        return stop(Stop::BoardReset,
                    QStringLiteral("the board was reset during the transfer (at register %1), which undid "
                                   "every register written before")
                        .arg(registerName(address)));
    m_recent << !ok;
    if (m_recent.size() > FailureWindow)
        m_recent.removeFirst();
    if (ok) {
        m_missesInRow = 0;
        return true;
    }
    if (write)
        return stop(Stop::WriteFailed, failed);
    if (++m_missesInRow >= MissesThatStop)
        return stop(Stop::NoAnswer, QStringLiteral("two registers in a row failed, the last %1").arg(failed));
    if (m_recent.count(true) >= FailuresThatStop)
        return stop(Stop::Unreliable, QStringLiteral("%1 of the last %2 exchanges failed, the last %3")
                                          .arg(FailuresThatStop)
                                          .arg(m_recent.size())
                                          .arg(failed));
    return true;
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
        m_stopText = QStringLiteral("register %1 %2").arg(registerName(ModeAddress), exchangeFailure(false));
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
