#pragma once

#include <QString>

// Hexadecimal text as the board protocol and the register editors use it.

// Upper-case hexadecimal digits of value, left-padded with "0" up to width characters.
// Never truncated: a value wider than width keeps all its digits. Negative values are
// written as their 32-bit two's complement.
QString HexPad(qint64 value, int width);

// Value of the leading hexadecimal digits of text (reading stops at the first character
// that is not a hexadecimal digit; an empty or unreadable text gives 0). Up to four digits
// read as an unsigned 16-bit number (8000..FFFF give 32768..65535); longer texts read as a
// 32-bit number, and one that comes out negative is lifted by 65536 like a short one.
// More than MaxHexDigits digits do not fit: the text is refused, with 0 and ok false
// (ok is true otherwise); HexTextError says why, for the message where it was typed or read.
constexpr int MaxHexDigits = 8;
qint32 HexToLong(const QString &text, bool *ok = nullptr);
// "" when HexToLong takes text, else the reason it refuses it.
QString HexTextError(const QString &text);
