#include "ChannelEdits.h"

#include "ChannelLists.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

namespace {

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

} // namespace

namespace ChannelEdits {

void setEnable(QM4168 &model, int channel, bool on)
{
    if (on != model.Enable(channel)) {
        model.setEnable(channel, on);
        model.setChannel(channel);
    }
}

void setRange(QM4168 &model, int channel, int rangeCode)
{
    if (rangeCode != model.Rng(channel)) {
        model.setRng(channel, rangeCode);
        model.setChannel(channel);
    }
}

void setChop(QM4168 &model, int channel, bool on)
{
    if (on != model.Chop(channel)) {
        model.setChop(channel, on);
        model.setChannel(channel);
    }
}

void setFilterWord(QM4168 &model, int channel, int filterWord)
{
    const qint32 value = (model.ConvTimeRegister(channel) & 0x80) | (filterWord & 0x7F);
    if (value != model.ConvTimeRegister(channel)) {
        model.setConvTimeRegister(channel, value);
        model.setChannel(channel);
    }
}

bool setConversionTime(QM4168 &model, int channel, double microseconds)
{
    const bool chop = model.Chop(channel);
    const int word = model.FilterWordForTime(microseconds, chop, model.ChannelCount());
    const bool held = roundHalfEven(model.ConversionTime(channel), 2) == microseconds ||
                      (chop ? 128 : 0) + word == model.ConvTimeRegister(channel);
    if (!held)
        model.setConversionTime(channel, microseconds);
    model.setChannel(channel);
    return !held;
}

QString rangeText(const QM4168 &model, int rangeCode)
{
    const int entry = ChannelLists::rangeEntry(model.EvBoard(), rangeCode);
    if (entry < 0)
        return {};
    QString text = ChannelLists::rangeTexts(model, model.EvBoard()).value(entry);
    return text.remove(1, 1); // the blank after the sign
}

int rangeCodeOfText(const QM4168 &model, const QString &text)
{
    const QStringList texts = ChannelLists::rangeTexts(model, model.EvBoard());
    for (qsizetype entry = 0; entry < texts.size(); ++entry)
        if (withoutBlanks(texts.at(entry)) == withoutBlanks(text))
            return ChannelLists::rangeCode(model.EvBoard(), static_cast<int>(entry));
    return -1;
}

} // namespace ChannelEdits
