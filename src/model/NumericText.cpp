#include "NumericText.h"

#include <QByteArray>

#include <string>

double numericValue(const QString &text)
{
    // Collect the characters of the leading number, skipping blanks, then convert that
    // clean ASCII text; QByteArray::toDouble always reads a point, whatever the locale.
    std::string number;
    enum
    {
        Sign,
        Mantissa,
        Fraction,
        ExpSign,
        Exponent
    } state = Sign;
    bool mantissaDigits = false;
    bool exponentDigits = false;
    std::string pendingExponent;

    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        const bool digit = c >= u'0' && c <= u'9';
        if (state == Sign) {
            if (c == u'+' || c == u'-') {
                number += static_cast<char>(c);
                state = Mantissa;
                continue;
            }
            state = Mantissa;
        }
        if (state == Mantissa) {
            if (digit) {
                number += static_cast<char>(c);
                mantissaDigits = true;
                continue;
            }
            if (c == u'.') {
                number += '.';
                state = Fraction;
                continue;
            }
        } else if (state == Fraction) {
            if (digit) {
                number += static_cast<char>(c);
                mantissaDigits = true;
                continue;
            }
        }
        if ((state == Mantissa || state == Fraction) && mantissaDigits &&
            (c == u'e' || c == u'E' || c == u'd' || c == u'D')) {
            pendingExponent = "e";
            state = ExpSign;
            continue;
        }
        if (state == ExpSign) {
            if (c == u'+' || c == u'-') {
                pendingExponent += static_cast<char>(c);
                state = Exponent;
                continue;
            }
            state = Exponent;
        }
        if (state == Exponent && digit) {
            pendingExponent += static_cast<char>(c);
            exponentDigits = true;
            continue;
        }
        break;
    }
    if (!mantissaDigits)
        return 0.0;
    if (exponentDigits)
        number += pendingExponent;
    return QByteArray::fromStdString(number).toDouble();
}
