#include "HistoryCapture.h"

#include "data/ClassData.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

HistoryCapture HistoryCapture::fromStore(const ClassData &store, const QM4168 &model, const QString &note)
{
    HistoryCapture capture;
    capture.recordedAt = QDateTime::currentDateTimeUtc();
    capture.variant = model.EvBoard();
    capture.registers.reserve(QM4168::CacheCells);
    for (int cell = 0; cell < QM4168::CacheCells; ++cell)
        capture.registers << model.Register(cell);
    capture.dataWidth = store.DataWidth();
    capture.clamp = store.Clamp();
    capture.refVoltage = store.RefVoltage();
    capture.note = note;
    // The channels a data file of this store would hold.
    const int last = qMin(model.MaxChannel(), store.MaxChannel());
    for (int c = 0; c <= last; ++c) {
        if (!store.Valid(c))
            continue;
        HistoryChannel channel;
        channel.channel = c;
        channel.rangeCode = store.Rng(c);
        channel.channelTimeUs = store.ChannelTime(c);
        const int count = store.DataCount(c);
        channel.words.reserve(static_cast<size_t>(count));
        channel.statuses.reserve(count);
        for (int i = 1; i <= count; ++i) {
            channel.words.push_back(store.DataWord(c, i));
            channel.statuses.append(static_cast<char>(store.StatusByte(c, i)));
        }
        channel.figures = statisticsFigures(store, c, model);
        capture.channels << channel;
    }
    return capture;
}

HistoryEntry HistoryCapture::entry() const
{
    HistoryEntry e;
    e.id = id;
    e.recordedAt = recordedAt;
    e.runId = runId;
    e.variant = variant;
    e.note = note;
    e.failure = failure;
    for (const HistoryChannel &c : channels)
        e.channels << HistoryChannelSummary{
            c.channel,         c.figures.inputRangeV, c.figures.bipolar,     c.figures.convTimeS,
            c.figures.samples, c.figures.avgCode,     c.figures.avgVoltageV, c.figures.rmsNoiseV};
    return e;
}

void HistoryCapture::fillStore(ClassData &store) const
{
    ClassData fresh;
    fresh.setDataWidth(dataWidth);
    fresh.setClamp(clamp);
    fresh.setRefVoltage(refVoltage);
    for (const HistoryChannel &channel : channels) {
        fresh.setRng(channel.channel, channel.rangeCode);
        fresh.setChannelTime(channel.channel, channel.channelTimeUs);
        for (size_t i = 0; i < channel.words.size(); ++i)
            fresh.AddData(channel.channel, channel.words[i],
                          i < static_cast<size_t>(channel.statuses.size())
                              ? static_cast<quint8>(channel.statuses.at(static_cast<qsizetype>(i)))
                              : quint8(0));
    }
    store.replaceContents(fresh);
    store.Process();
    store.Update();
}

void HistoryCapture::fillModel(QM4168 &model) const
{
    model.setEvBoard(variant);
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, variant);
    // Cells 0..55 are the registers of the same address; the last cell is the mode register
    // that every channel shares.
    for (int cell = 0; cell < registers.size() && cell < QM4168::CacheCells; ++cell)
        model.setRegister(cell == QM4168::ModeCell ? 0x38 : cell, false, registers.at(cell));
}
