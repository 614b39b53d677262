#include "DataFileFieldReader.h"

#include <QIODevice>

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
}

DataFileFieldReader::DataFileFieldReader(QIODevice &device)
    : m_device(device)
{
}

bool DataFileFieldReader::fill()
{
    if (m_eof || m_readError)
        return false;
    m_buffer.resize(ChunkSize);
    m_pos = 0;
    const qint64 got = m_device.read(m_buffer.data(), ChunkSize);
    if (got <= 0) {
        m_buffer.clear();
        (got < 0 ? m_readError : m_eof) = true;
        return false;
    }
    m_buffer.resize(got);
    return true;
}

int DataFileFieldReader::peek()
{
    if (m_pos >= m_buffer.size() && !fill())
        return -1;
    return static_cast<quint8>(m_buffer.at(m_pos));
}

void DataFileFieldReader::consumeLineEnd(char first)
{
    ++m_pos;
    if (first == '\r' && peek() == '\n')
        ++m_pos;
    ++m_line;
}

DataFileFieldReader::Status DataFileFieldReader::collect(QByteArray &bytes, int &c, bool stopAtComma)
{
    while (c >= 0 && c != '\r' && c != '\n' && !(stopAtComma && c == ',')) {
        // The run of field bytes the buffer holds from here on, taken at once.
        const char *begin = m_buffer.constData() + m_pos;
        const char *end = m_buffer.constData() + m_buffer.size();
        const char *stop = begin;
        while (stop != end && *stop != '\r' && *stop != '\n' && !(stopAtComma && *stop == ','))
            ++stop;
        const qsizetype run = stop - begin;
        if (bytes.size() + run > MaxLength)
            return Status::TooLong;
        bytes.append(begin, run);
        m_pos += run;
        c = peek();
    }
    return m_readError ? Status::ReadError : Status::Ok;
}

DataFileFieldReader::Status DataFileFieldReader::readField(QString &field)
{
    field.clear();
    QByteArray bytes;
    const Status status = readField(bytes);
    if (status == Status::Ok)
        field = QString::fromLatin1(bytes);
    return status;
}

DataFileFieldReader::Status DataFileFieldReader::readField(QByteArray &bytes)
{
    bytes.resize(0);
    int c = peek();
    while (c == ' ' || c == '\t') {
        ++m_pos;
        c = peek();
    }
    m_startLine = m_line;
    if (m_readError)
        return Status::ReadError;
    if (c < 0) {
        if (!m_afterComma)
            return Status::End;
        m_afterComma = false; // the empty field after a final comma
        return Status::Ok;
    }
    if (const Status s = collect(bytes, c, true); s != Status::Ok)
        return s;
    if (c == ',') {
        ++m_pos;
        m_afterComma = true;
    } else {
        if (c >= 0)
            consumeLineEnd(static_cast<char>(c));
        m_afterComma = false;
    }
    return Status::Ok;
}

DataFileFieldReader::Status DataFileFieldReader::readLine(QString &line)
{
    line.clear();
    m_startLine = m_line;
    int c = peek();
    if (m_readError)
        return Status::ReadError;
    if (c < 0)
        return Status::End;
    QByteArray bytes;
    if (const Status s = collect(bytes, c, false); s != Status::Ok)
        return s;
    if (c >= 0)
        consumeLineEnd(static_cast<char>(c));
    m_afterComma = false;
    line = QString::fromLatin1(bytes);
    return Status::Ok;
}
