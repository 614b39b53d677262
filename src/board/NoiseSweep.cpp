#include "NoiseSweep.h"

#include "Acquisition.h"
#include "BoardLink.h"
#include "ContReadCounts.h"
#include "EventWait.h"
#include "data/ClassData.h"
#include "data/NoiseTable.h"
#include "model/QM4168.h"

#include <QTimer>

#include <cmath>

NoiseSweep::NoiseSweep(QM4168 &model, BoardLink &link, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_link(link)
{
}

QList<NoiseRow> NoiseSweep::plan(const NoiseSweepSettings &settings, const QM4168 &model)
{
    QList<NoiseRow> rows;
    for (int range : settings.ranges)
        for (bool chop : settings.chops) {
            QList<int> words;
            if (settings.conversionTimesUs.isEmpty())
                words = settings.filterWords;
            else
                for (double t : settings.conversionTimesUs)
                    words << model.FilterWordForTime(t, chop, 1);
            for (int word : std::as_const(words)) {
                NoiseRow row;
                row.filterWord = word;
                row.chop = chop;
                row.rangeCode = range;
                row.rangeVolts = model.Range(range);
                row.bipolar = model.Polarity(range);
                row.conversionTimeUs = model.TimeOfFilterWord(word, chop, 1);
                row.dataRateHz = 1e6 / row.conversionTimeUs;
                row.samples = settings.samples;
                rows << row;
            }
        }
    return rows;
}

QString NoiseSweep::rowName(const NoiseRow &row)
{
    return QStringLiteral("fw %1, chop %2, %3")
        .arg(row.filterWord)
        .arg(row.chop ? QStringLiteral("on") : QStringLiteral("off"),
             NoiseTable::rangeText(row.rangeVolts, row.bipolar));
}

void NoiseSweep::cancel()
{
    m_cancelled = true;
    const int state = m_link.BrdState();
    if (state == LinkState::BoardRequest || state == LinkState::BoardAnswer)
        m_link.setBrdState(LinkState::BoardEscape);
}

void NoiseSweep::applySettings(int channel, const NoiseRow &row)
{
    // As the setup window does: each field through the model, sent to the chip, with the
    // channel selected. Register writes go straight to the chip while the sweep runs.
    m_link.setUpdateState(RegisterSync::UpdContRead);
    for (int c = 0; c <= m_model.MaxChannel(); ++c)
        if (c != channel && m_model.Enable(c))
            m_model.setEnable(c, false);
    if (!m_model.Enable(channel))
        m_model.setEnable(channel, true);
    if (m_model.DataWidth(-1) != 3)
        m_model.setDataWidth(3);
    if (m_model.Rng(channel) != row.rangeCode)
        m_model.setRng(channel, row.rangeCode);
    if (m_model.Chop(channel) != row.chop)
        m_model.setChop(channel, row.chop);
    const qint32 word = (row.chop ? 128 : 0) + row.filterWord;
    if (m_model.ConvTimeRegister(channel) != word)
        m_model.setConvTimeRegister(channel, word);
    m_model.setChannel(channel);
}

void NoiseSweep::settle(int channel)
{
    // One whole conversion cycle (and a millisecond) after the last change before data count.
    const int ms = static_cast<int>(std::ceil(m_model.ConversionTime(channel) / 1000.0)) + 1;
    bool waiting = true;
    QTimer::singleShot(ms, this, [&waiting] { waiting = false; });
    waitWhile([&] { return waiting; });
}

QList<int> NoiseSweep::touchedRegisters() const
{
    // Every channel's setup (enable, range, chop) and conversion time, and the mode (data width).
    QList<int> addresses;
    for (int c = 0; c <= m_model.MaxChannel(); ++c)
        addresses << 0x28 + c << 0x30 + c;
    addresses << 0x38;
    return addresses;
}

bool NoiseSweep::run(const NoiseSweepSettings &settings)
{
    m_rows.clear();
    m_stopMessage.clear();
    m_cancelled = false;
    // What the chip holds before the sweep, read from it (as an automatic read does: an edit
    // the chip has not been given stays), so that it can be put back.
    QList<QPair<int, qint32>> before;
    RegisterTransfer &transfer = m_link.transfer();
    transfer.setAutomatic(true);
    for (int address : touchedRegisters()) {
        if (!m_link.RegReadOne(address)) {
            transfer.setAutomatic(false);
            m_stopMessage = QStringLiteral("the sweep did not start: %1").arg(transfer.failureOf(address));
            return false;
        }
        before << qMakePair(address, m_model.ChipValue(address));
    }
    transfer.setAutomatic(false);
    const bool completed = runRows(settings);
    // Put back as it was, register by register, each write answered and read back.
    m_link.setUpdateState(RegisterSync::UpdContRead);
    transfer.watchWrites();
    for (const auto &[address, value] : std::as_const(before))
        if (m_link.isPortOpen() && m_model.ChipValue(address) != value) {
            m_model.setRegister(address, false, value);
            m_link.RegWriteOne(address);
        }
    QString restore =
        m_link.isPortOpen() ? transfer.writeFailure() : QStringLiteral("the board is not connected");
    if (restore.isEmpty())
        restore = transfer.verifyWrites();
    m_link.setUpdateState(m_link.isPortOpen() ? RegisterSync::UpdIdle : RegisterSync::UpdClosed);
    if (restore.isEmpty())
        return completed;
    const QString note =
        QStringLiteral("the settings before the sweep could not be restored (%1)").arg(restore);
    m_stopMessage = m_stopMessage.isEmpty() ? note : m_stopMessage + QStringLiteral("; ") + note;
    return false;
}

bool NoiseSweep::runRows(const NoiseSweepSettings &settings)
{
    const QList<NoiseRow> planned = plan(settings, m_model);
    const int channel = settings.channel;
    for (const NoiseRow &wanted : planned) {
        Q_EMIT progress(m_rows.size(), planned.size(), rowName(wanted));
        auto stopped = [&](const QString &reason) {
            m_stopMessage = QStringLiteral("the sweep stopped at row %1 of %2 (%3): %4")
                                .arg(m_rows.size() + 1)
                                .arg(planned.size())
                                .arg(rowName(wanted), reason);
            return false;
        };
        if (m_cancelled)
            return stopped(QStringLiteral("cancelled"));
        if (!m_link.isPortOpen())
            return stopped(QStringLiteral("the board is not connected"));
        m_link.transfer().watchWrites();
        applySettings(channel, wanted);
        QString setUp = m_link.transfer().writeFailure();
        if (setUp.isEmpty())
            setUp = m_link.transfer().verifyWrites();
        if (!setUp.isEmpty())
            return stopped(QStringLiteral("the set-up was not made: %1").arg(setUp));
        settle(channel);
        if (m_cancelled)
            return stopped(QStringLiteral("cancelled"));
        ClassData store;
        // No more than the board's memory holds (the row says how many were taken).
        const int amount = ContReadCounts::refresh(m_model.ChannelCount(), m_model.DataWidth(-1),
                                                   settings.samples, store.MaxBytes(), store.MinCount())
                               .amount;
        Acquisition acquisition(m_model, store, m_link, nullptr, [&] {
            return std::optional<ContReadResult>(m_link.BrdContRead(amount, store));
        });
        const std::optional<ContReadResult> result = acquisition.ReadData();
        if (!result || !result->clean())
            return stopped(m_cancelled ? QStringLiteral("cancelled")
                           : result    ? result->message()
                                       : QStringLiteral("no acquisition ran"));
        if (!store.Valid(channel))
            return stopped(QStringLiteral("the board delivered too few samples of channel %1").arg(channel));
        NoiseRow row = NoiseTable::figures(store, channel, m_model);
        row.filterWord = wanted.filterWord;
        row.chop = wanted.chop;
        // The store keeps the time rounded to hundredths; the row has the model's own.
        row.conversionTimeUs = m_model.ConversionTime(channel);
        row.dataRateHz = 1e6 / row.conversionTimeUs;
        m_rows << row;
        Q_EMIT rowAdded(row);
    }
    Q_EMIT progress(m_rows.size(), planned.size(), QString());
    return true;
}
