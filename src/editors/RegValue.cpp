#include "RegValue.h"

#include "model/HexText.h"
#include "model/NumericText.h"
#include "model/Rounding.h"

#include <algorithm>
#include <cmath>

void RegValue::setValue(qint64 value)
{
    m_value = static_cast<qint32>(std::clamp<qint64>(value, 0, m_mask));
}

void RegValue::setType(int code)
{
    if (code < 0 || code > 2)
        code = 3;
    if (code == m_type && m_mask != 0)
        return;
    const double fraction = m_mask == 0 ? 0.0 : double(m_value) / (double(m_mask) + 1.0);
    m_type = code;
    switch (code) {
    case 1:
        m_mask = 0xFFFF;
        m_hexLength = 4;
        m_decLength = 5;
        break;
    case 2:
        m_mask = 0xFFFFFF;
        m_hexLength = 6;
        m_decLength = 8;
        break;
    case 0:
        m_mask = 0xFF;
        m_hexLength = 2;
        m_decLength = 3;
        break;
    default: // bits shown one by one: the decimal box keeps its length
        m_mask = 0xFF;
        m_hexLength = 2;
        break;
    }
    setValue(static_cast<qint64>(roundHalfEven((double(m_mask) + 1.0) * fraction)));
}

QString RegValue::hexText() const
{
    return HexPad(m_value, m_hexLength);
}

qint64 RegValue::readHex(const QString &text)
{
    return HexToLong(text);
}

bool RegValue::isHex(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return false;
    for (QChar c : digits)
        if (!c.isDigit() && !(c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')))
            return false;
    return true;
}

qint64 RegValue::readDec(const QString &text)
{
    const double number = numericValue(text);
    if (!std::isfinite(number))
        return 0;
    return static_cast<qint64>(roundHalfEven(qBound(-1e12, number, 1e12)));
}
