#pragma once

#include <QString>

// The value of one register row and its width, as the register row control shows it:
// the row type (0 8-bit, 1 16-bit, 2 24-bit, 3 8 bits shown one by one) decides the
// largest value, the lengths of the two entry boxes and whether the bit cells show. The
// value is kept within 0 .. mask, and a type change keeps its place within the range
// (16-bit 8000h becomes 24-bit 800000h).
class RegValue
{
public:
    qint32 value() const { return m_value; }
    // Stores value clamped to 0 .. mask.
    void setValue(qint64 value);

    int type() const { return m_type; }
    // Codes outside 0 .. 2 are stored as 3. The same code again changes nothing once a width
    // is set; otherwise the value is rescaled to the new width, ties to even.
    void setType(int code);

    qint32 mask() const { return m_mask; }
    int hexLength() const { return m_hexLength; }
    int decLength() const { return m_decLength; }
    bool showsBits() const { return m_type == 3; }

    QString hexText() const;
    QString decText() const { return QString::number(m_value); }
    bool bit(int i) const { return (m_value >> i) & 1; }
    void toggleBit(int i) { setValue(m_value ^ (1 << i)); }

    // Box texts as read on Enter or when the box is left: hexadecimal by HexToLong (8000h
    // and up are not negative), decimal as a number rounded half to even; nothing readable
    // gives 0. The result is not yet clamped.
    static qint64 readHex(const QString &text);
    // True when text (blanks around it aside) is one or more hexadecimal digits.
    static bool isHex(const QString &text);
    static qint64 readDec(const QString &text);

private:
    qint32 m_value = 0;
    qint32 m_mask = 0;
    int m_type = 0;
    int m_hexLength = 2;
    int m_decLength = 3;
};
