#include "CodeGenerator.h"

#include "model/HexText.h"
#include "model/QM4168.h"

namespace {

QString hex(qint64 value)
{
    return HexPad(value, 0);
}

int bitsOf(const QM4168 &model, int address)
{
    return model.RegBytes(address) * 8;
}

} // namespace

QString CodeGenerator::registerName(int address)
{
    switch (address) {
    case 1:
        return QStringLiteral("I/O Port");
    case 2:
        return QStringLiteral("Revision");
    case 3:
        return QStringLiteral("Test");
    case 4:
        return QStringLiteral("ADC Status");
    case 5:
        return QStringLiteral("CheckSum");
    case 6:
        return QStringLiteral("ADC ZS Calibration");
    case 7:
        return QStringLiteral("ADC FS Calibration");
    default:
        break;
    }
    if (address >= 8 && address <= 63) {
        static const char *const blocks[] = {"Channel Data",
                                             "Channel ZS Calibration",
                                             "Channel FS Calibration",
                                             "Channel Status",
                                             "Channel Setup",
                                             "Channel Conv. Time",
                                             "Mode"};
        return QString::fromLatin1(blocks[address / 8 - 1]);
    }
    return QString();
}

QStringList CodeGenerator::writeOperation(const QM4168 &model, int address)
{
    return {QStringLiteral("Write SPI (0x%1, 8); Communication").arg(hex(address)),
            QStringLiteral("Write SPI (0x%1, %2); %3")
                .arg(hex(model.Register(address)))
                .arg(bitsOf(model, address))
                .arg(registerName(address)),
            QString()};
}

QStringList CodeGenerator::readOperation(const QM4168 &model, int address)
{
    return {QStringLiteral("Write SPI (0x%1, 8); Communications").arg(hex(address | 0x40)),
            QStringLiteral("Value= Read SPI (%1);").arg(bitsOf(model, address)), QString()};
}

QString CodeGenerator::copyText(const QStringList &lines, const QVector<bool> &selected)
{
    QString text;
    for (int i = 0; i < lines.size(); ++i)
        if (i < selected.size() && selected[i])
            text += lines[i] + QStringLiteral("\r\n");
    return text;
}

void CodeGenerator::paste(QStringList &lines, QVector<bool> &selected, const QString &text)
{
    selected.resize(lines.size());
    const int count = lines.size();
    for (int i = 0; i < count; ++i) {
        if (selected[i]) {
            lines.insert(i, text);
            selected.insert(i, false);
        }
    }
}
