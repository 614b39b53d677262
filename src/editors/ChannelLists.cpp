#include "ChannelLists.h"

#include "model/QM4168.h"

#include <QLocale>

namespace ChannelLists {

namespace {

bool eightChannel(int variant)
{
    return variant == 8 || variant == 9;
}

bool fewChannel(int variant)
{
    return variant == 2 || variant == 4;
}

} // namespace

QVector<int> rangeCodes(int variant)
{
    if (eightChannel(variant))
        return {4, 5, 0, 1, 2, 3};
    if (fewChannel(variant))
        return {0, 1, 2, 3};
    return {};
}

QStringList rangeTexts(const QM4168 &model, int variant)
{
    QStringList texts;
    const QLocale locale;
    for (int code : rangeCodes(variant))
        texts << (model.Polarity(code) ? QStringLiteral("± ") : QStringLiteral("+ ")) +
                     locale.toString(model.Range(code)) + QStringLiteral(" V");
    return texts;
}

int rangeEntry(int variant, int code)
{
    return rangeCodes(variant).indexOf(code);
}

int rangeCode(int variant, int entry)
{
    return rangeCodes(variant).value(entry, -1);
}

QStringList inputTexts(int variant, int channel)
{
    if (eightChannel(variant)) {
        const int k = channel % 4;
        return {QStringLiteral("Ain%1- AinCOM").arg(channel),
                QStringLiteral("Ain%1- Ain%2").arg(2 * k).arg(2 * k + 1)};
    }
    if (variant == 4)
        return {QStringLiteral("Ain%1").arg(channel)};
    if (variant == 2) {
        if (channel == 0 || channel == 2)
            return {QStringLiteral("Ain%1(+) - Ain%1(-)").arg(channel / 2)};
        return {QStringLiteral("Ain%1(-) - Bias").arg((channel - 1) / 2)};
    }
    return {};
}

bool inputsLocked(int variant)
{
    return fewChannel(variant);
}

bool hasBuffer(int variant)
{
    return eightChannel(variant);
}

int comOfEntry(int entry)
{
    return entry == 1 ? 3 : 0;
}

int entryOfCom(int com)
{
    return com == 0 ? 0 : com == 3 ? 1 : -1;
}

} // namespace ChannelLists
