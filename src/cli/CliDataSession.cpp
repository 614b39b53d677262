#include "CliDataSession.h"

#include "CliOutput.h"
#include "data/DataFile.h"

QString CliDataSession::optionHelp()
{
    return QStringLiteral(
        "  --variant 62|64|68|69  chip variant: range table and channel limit (default: the\n"
        "                         variant whose range table the file's ranges belong to)\n");
}

int CliDataSession::open(const CliArguments &arguments)
{
    if (!arguments.error().isEmpty())
        return CliOutput::usageError(arguments.error());
    if (arguments.positional().size() != 1)
        return CliOutput::usageError(
            arguments.positional().isEmpty()
                ? QStringLiteral("no data file given")
                : QStringLiteral("one data file only, not '%1'").arg(arguments.positional().join(' ')));
    return openFile(arguments, arguments.positional().first());
}

int CliDataSession::openFile(const CliArguments &arguments, const QString &path)
{
    if (!arguments.error().isEmpty())
        return CliOutput::usageError(arguments.error());
    m_path = path;

    const bool given = arguments.has(QStringLiteral("--variant"));
    const int variant = arguments.variantOption(8);
    if (variant == 0)
        return CliOutput::usageError(arguments.variantError());

    if (arguments.has(QStringLiteral("--channel"))) {
        const QString text = arguments.value(QStringLiteral("--channel"));
        bool ok = false;
        m_channel = text.toInt(&ok);
        if (!ok || m_channel < 0 || m_channel > m_data.MaxChannel())
            return CliOutput::usageError(
                QStringLiteral("--channel must be a channel number 0..7, not '%1'").arg(text));
    }

    const DataFileError error = given ? read(variant) : readInferred();
    if (error.isError())
        return CliOutput::failure(QStringLiteral("%1: %2").arg(m_path, error.boxText()));
    // A file may be read without any channel holding enough samples: nothing to show.
    if (!m_data.Valid(-1))
        return CliOutput::failure(QStringLiteral("%1: no channel holds data").arg(m_path));
    if (m_channel >= 0 && !m_data.Valid(m_channel))
        return CliOutput::failure(QStringLiteral("%1: channel %2 holds no data").arg(m_path).arg(m_channel));
    return 0;
}

DataFileError CliDataSession::read(int variant)
{
    m_adc.setEvBoard(variant);
    return ReadDataFile(m_path, m_data, m_adc);
}

DataFileError CliDataSession::readInferred()
{
    return ReadDataFileOfAnyVariant(m_path, m_data, m_adc);
}

QList<int> CliDataSession::channels() const
{
    if (m_channel >= 0)
        return {m_channel};
    QList<int> list;
    for (int c = 0; c <= m_data.MaxChannel(); ++c)
        if (m_data.Valid(c))
            list << c;
    return list;
}
