#include "RegisterDesign.h"

#include "QM4168.h"

const QVector<RegisterDesign::Row> &RegisterDesign::rows()
{
    // clang-format off
    static const QVector<Row> table = {
        {0x00, "Communications", Bits, false, false, 0,
         {"-", "R/W", "ADR5", "ADR4", "ADR3", "ADR2", "ADR1", "ADR0"}},
        {0x01, "I/O Port", Bits, true, true, 0x30,
         {"-", "P1", "-", "P1 DIR", "RDY FN", "RedPwr", "-", "SYNC"}},
        {0x02, "Revision", Bits, true, false, 1, {"", "", "", "", "", "", "", ""}},
        {0x03, "Test", Wide, false, false, 0, {}},
        {0x04, "ADC Status", Bits, true, false, 0,
         {"RDY7", "RDY6", "RDY5", "RDY4", "RDY3", "RDY2", "RDY1", "RDY0"}},
        {0x05, "Checksum", Word, true, true, 0, {}},
        {0x06, "ADC ZS Calibr.", Wide, true, true, 0x800000, {}},
        {0x07, "ADC FS Calibr.", Wide, true, true, 0x800000, {}},
        {0x08, "Channel Data", Word, true, false, 0x8000, {}},
        {0x10, "ZS Calibration", Wide, true, true, 0x800000, {}},
        {0x18, "FS Calibration", Wide, true, true, 0x200000, {}},
        {0x20, "Channel Status", Bits, true, false, 0,
         {"CH2", "CH1", "CH0", "-", "RDY", "NOREF", "SIGN", "OVR"}},
        {0x28, "Channel Setup", Bits, true, true, 0,
         {"BUF OFF", "COM1", "COM0", "StatOpt", "ENABLE", "RNG2", "RNG1", "RNG0"}},
        {0x30, "Conversion Time", Bits, true, true, 0x91,
         {"CHOP", "Con.Time", "", "", "", "", "", ""}},
        {0x38, "Mode", Bits, true, true, 0,
         {"MD2", "MD1", "MD0", "CLKDIS", "DUMP", "Cont.RD", "24/16 bit", "CLAMP"}},
    };
    // clang-format on
    return table;
}

const RegisterDesign::Row *RegisterDesign::row(int index)
{
    for (const Row &r : rows())
        if (r.index == index)
            return &r;
    return nullptr;
}

int RegisterDesign::rowIndexOf(int address)
{
    return address < 8 ? address : (address & 0x38);
}

int RegisterDesign::bytesOf(int type)
{
    return type == Word ? 2 : type == Wide ? 3 : 1;
}

void RegisterDesign::applyTo(QM4168 &model)
{
    for (int a = 0; a <= 0x38; ++a) {
        const Row *r = row(rowIndexOf(a));
        model.setRegBytes(a, bytesOf(r->type));
        qint32 value = r->value;
        if (a >= 0x20 && a <= 0x27)
            value |= (a & 7) * 32;
        model.setRegister(a, false, value);
    }
}
