#include "SimFirmware.h"

#include "SimConverter.h"

namespace {
// A field of one to maxDigits hexadecimal digits; -1 when it is anything else.
int hexField(const QByteArray &field, int maxDigits)
{
    if (field.isEmpty() || field.size() > maxDigits)
        return -1;
    int value = 0;
    for (char c : field) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return -1;
        value = value * 16 + d;
    }
    return value;
}

QByteArray hex(int value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}
} // namespace

SimFirmware::SimFirmware(SimConverter &converter)
    : m_converter(converter)
{
}

QByteArray SimFirmware::streamHeader(int bytes)
{
    return "[C " + hex(bytes, 4) + '\r';
}

QByteArray SimFirmware::execute(const QByteArray &text, bool overflowed)
{
    m_streamRequest = 0;
    if (overflowed)
        return line("E LENGTH");
    const QList<QByteArray> fields = text.simplified().split(' ');
    const QByteArray command = fields.value(0);

    if (command == "X" && fields.size() == 1) {
        ++m_boardResets;
        m_converter.reset();
        m_dac = 0;
        m_led = 0xFF;
        return line("X QM416x-EB ready");
    }
    if (command == "R" && fields.size() == 1)
        return line("R SRAM 32K OK");
    if ((command == "D" || command == "L") && fields.size() == 2) {
        const int value = hexField(fields.at(1), 4);
        if (value < 0)
            return line("E SYNTAX");
        if (command == "D") {
            m_dac = qMin(value, 0x0FFF);
            return line("D " + hex(m_dac, 4));
        }
        m_led = value;
        return line("L " + hex(m_led, 4));
    }
    if (command == "S" && fields.size() >= 2)
        return spi(fields);
    if (command == "C")
        return continuousRead(fields);
    if (command.isEmpty())
        return line("E EMPTY");
    return line("E UNKNOWN");
}

QByteArray SimFirmware::spi(const QList<QByteArray> &fields)
{
    QByteArray frame;
    for (int i = 1; i < fields.size(); ++i) {
        const int value = hexField(fields.at(i), 2);
        if (value < 0)
            return line("E SYNTAX");
        frame.append(static_cast<char>(value));
    }
    QByteArray reply = "S";
    for (char byte : frame)
        reply += ' ' + hex(m_converter.transfer(static_cast<quint8>(byte)), 2);
    m_converter.endFrame();
    return line(reply);
}

QByteArray SimFirmware::continuousRead(const QList<QByteArray> &fields)
{
    // C 38 mm 48 uu nnnn: the mode register and its value, the data register to read after
    // each conversion, bytes per transfer unit and the number of units. A request the board
    // cannot serve is answered with a byte count of 0.
    if (fields.size() != 6)
        return streamHeader(0) + "\r\n";
    const int modeAddress = hexField(fields.at(1), 2);
    const int mode = hexField(fields.at(2), 2);
    const int readByte = hexField(fields.at(3), 2);
    const int unit = hexField(fields.at(4), 2);
    const int units = hexField(fields.at(5), 4);
    const bool valid = modeAddress >= 0x38 && modeAddress <= 0x3F && mode >= 0 && readByte >= 0x48 &&
                       readByte <= 0x4F && unit >= 0 && units >= 0;
    const int bytes = valid ? unit * units : 0;
    if (bytes <= 0 || bytes > MaxStreamBytes)
        return streamHeader(0) + "\r\n";

    m_converter.writeRegister(modeAddress, mode);
    m_streamRequest = bytes;
    return streamHeader(bytes);
}
