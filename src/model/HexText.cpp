#include "HexText.h"

QString HexPad(qint64 value, int width)
{
    const quint32 bits = static_cast<quint32>(value);
    return QString::number(bits, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

qint32 HexToLong(const QString &text)
{
    quint32 value = 0;
    int digits = 0;
    for (const QChar c : text) {
        int d;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            d = c.unicode() - 'A' + 10;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            d = c.unicode() - 'a' + 10;
        else
            break;
        value = (value << 4) | static_cast<quint32>(d);
        ++digits;
    }
    if (digits <= 4)
        return static_cast<qint32>(value); // 0..FFFF: the 16-bit negative range lifted by 65536
    qint32 result = static_cast<qint32>(value);
    if (result < 0)
        result += 65536;
    return result;
}
