#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads a data file field by field: a field runs to the next comma or line end (CR LF, LF
// or CR), leading blanks and tabs dropped, bytes taken as ISO 8859-1 (so 0xB1 is "±").
// A comma always opens one more field, even at the end of the file; a line end closes the
// line. Keeps count of lines so errors can name them.
class DataFileFieldReader
{
public:
    enum class Status
    {
        Ok,
        End,      // nothing left to read
        TooLong,  // a field or line longer than MaxLength bytes
        ReadError // the device failed
    };

    static constexpr int MaxLength = 4096;

    explicit DataFileFieldReader(QIODevice &device);

    Status readField(QString &field);
    // The same field as its bytes (ISO 8859-1), without the conversion to text.
    Status readField(QByteArray &field);
    // The rest of the current line, line end consumed.
    Status readLine(QString &line);
    // The 1-based line on which the last field or line read started.
    int line() const { return m_startLine; }

private:
    bool fill();
    int peek();
    void consumeLineEnd(char first);
    // Takes bytes from c on up to a line end (or a comma), leaving c at the stop byte.
    Status collect(QByteArray &bytes, int &c, bool stopAtComma);

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_readError = false;
    bool m_afterComma = false;
    int m_line = 1;
    int m_startLine = 1;
};
