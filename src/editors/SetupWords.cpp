#include "SetupWords.h"

#include "ChannelLists.h"
#include "SetupTotals.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

namespace {

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString pinText(const char *name, bool level, bool input)
{
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(name), level ? QStringLiteral("1") : QStringLiteral("0"),
             input ? QStringLiteral("Input") : QStringLiteral("Output"));
}

// The channels of the variant that per-channel registers are shown for: 0 and 2 of the
// two-channel chip, else 0 .. MaxChannel.
QList<int> channelsOf(const QM4168 &model)
{
    QList<int> channels;
    for (int c = 0; c <= model.MaxChannel(); ++c)
        if (model.EvBoard() != 2 || model.TestEnable() || c % 2 == 0)
            channels << c;
    return channels;
}

} // namespace

namespace SetupWords {

QList<QPair<int, QString>> operations()
{
    return {{0, QStringLiteral("Idle")},
            {1, QStringLiteral("Continuous Conv.")},
            {3, QStringLiteral("Standby")},
            {4, QStringLiteral("ZS Calibration")},
            {5, QStringLiteral("FS Calibration")}};
}

QString operationName(int md)
{
    for (const auto &op : operations())
        if (op.first == md)
            return op.second;
    return QStringLiteral("Md %1").arg(md);
}

QStringList channelLines(const QM4168 &model)
{
    const int variant = model.EvBoard();
    const QVector<int> codes = ChannelLists::rangeCodes(variant);
    const QStringList ranges = ChannelLists::rangeTexts(model, variant);
    const QString rate = SetupTotals::rateText(SetupTotals::totalTime(model)).trimmed();
    QStringList lines;
    for (const int c : channelsOf(model)) {
        if (!model.Enable(c))
            continue;
        const QStringList inputs = ChannelLists::inputTexts(variant, c);
        const int entry = ChannelLists::inputsLocked(variant) ? 0 : ChannelLists::entryOfCom(model.Com(c));
        QStringList parts;
        parts << ranges.value(static_cast<int>(codes.indexOf(model.Rng(c))),
                              QStringLiteral("range code %1").arg(model.Rng(c)));
        if (ChannelLists::hasBuffer(variant))
            parts << QStringLiteral("buffer ") + onOff(model.Buf(c));
        parts << inputs.value(entry, QStringLiteral("input code %1").arg(model.Com(c)));
        parts << QStringLiteral("chop ") + onOff(model.Chop(c));
        parts << QStringLiteral("conversion time %1 us")
                     .arg(SetupTotals::boxText(model.ConversionTime(c)).trimmed());
        parts << QStringLiteral("output rate %1 Hz").arg(rate);
        lines << QStringLiteral("Channel %1: %2").arg(c).arg(parts.join(QStringLiteral(", ")));
    }
    return lines;
}

QString ioPortLine(const QM4168 &model)
{
    return QStringLiteral("I/O port: %1, %2, Sync %3, %4, Reduced Power Mode %5")
        .arg(pinText("P0", model.P0(), model.P0Dir()), pinText("P1", model.P1(), model.P1Dir()),
             onOff(model.Sync()),
             model.RdyFn() ? QStringLiteral("RDY pin after all chs") : QStringLiteral("RDY pin after any ch"),
             onOff(model.RedPWR()));
}

QString modeLine(const QM4168 &model)
{
    return QStringLiteral(
               "Mode: %1, %2, Clamp %3, Dump (Status+Data) %4, MCLK Disable %5, Continuous Read %6")
        .arg(operationName(model.Md()),
             model.DataWidth() == 2 ? QStringLiteral("16 Bits Data") : QStringLiteral("24 Bits Data"),
             onOff(model.Clamp()), onOff(model.Dump()), onOff(model.ClkDis()), onOff(model.ContRd()));
}

QList<QStringList> registerTable(const QM4168 &model)
{
    const QList<int> channels = channelsOf(model);
    QStringList heading = {QStringLiteral("Address"), QStringLiteral("Register"), QStringLiteral("Value")};
    for (int i = 1; i < channels.size(); ++i)
        heading << QString();
    QList<QStringList> table = {heading};
    const auto value = [&model](int address) {
        return HexPad(model.Register(address), 2 * model.RegBytes(address));
    };
    QStringList channelHeading = {QString(), QString()};
    for (const int c : channels)
        channelHeading << QStringLiteral("Ch %1").arg(c);
    bool headed = false;
    for (const RegisterDesign::Row &row : RegisterDesign::rows()) {
        QStringList cells = {HexPad(row.index, 2) + QLatin1Char('h'), row.name};
        if (row.index < 8) {
            cells << value(row.index);
        } else {
            if (!headed)
                table << channelHeading;
            headed = true;
            for (const int c : channels)
                cells << value(row.index + c);
        }
        while (cells.size() < heading.size())
            cells << QString();
        table << cells;
    }
    return table;
}

} // namespace SetupWords
