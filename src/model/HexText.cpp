#include "HexText.h"

QString HexPad(qint64 value, int width)
{
    const quint32 bits = static_cast<quint32>(value);
    return QString::number(bits, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

namespace {
int hexDigit(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    return -1;
}

int leadingDigits(const QString &text)
{
    int digits = 0;
    while (digits < text.size() && hexDigit(text.at(digits)) >= 0)
        ++digits;
    return digits;
}
} // namespace

QString HexTextError(const QString &text)
{
    if (leadingDigits(text) <= MaxHexDigits)
        return {};
    return QStringLiteral("\"%1\" has more than %2 hexadecimal digits: the value does not fit in 32 bits")
        .arg(text)
        .arg(MaxHexDigits);
}

qint32 HexToLong(const QString &text, bool *ok)
{
    const int digits = leadingDigits(text);
    if (ok)
        *ok = digits <= MaxHexDigits;
    if (digits > MaxHexDigits)
        return 0;
    quint32 value = 0;
    for (int i = 0; i < digits; ++i)
        value = (value << 4) | static_cast<quint32>(hexDigit(text.at(i)));
    if (digits <= 4)
        return static_cast<qint32>(value); // 0..FFFF: the 16-bit negative range lifted by 65536
    qint32 result = static_cast<qint32>(value);
    if (result < 0)
        result += 65536;
    return result;
}
