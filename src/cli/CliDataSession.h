#pragma once

#include "CliArguments.h"
#include "data/ClassData.h"
#include "data/DataFileError.h"
#include "model/QM4168.h"

#include <QString>

// A data file loaded for a command: the device model of the chosen variant and the store
// holding the file, as the program would hold them after opening the file. Reads the
// common arguments: FILE, --variant 62|64|68|69, --channel N. Without --variant the file's
// range texts decide: QM4168 for ranges of its table, QM4164 for those of the other; a file
// whose ranges belong to neither table, or to both in different lines, is refused.
class CliDataSession
{
public:
    // The options every data command takes, for CliArguments.
    static QStringList valueOptions() { return {QStringLiteral("--variant"), QStringLiteral("--channel")}; }
    static QString optionHelp();

    // Parses the arguments and loads the file. Returns 0 on success, else the exit code
    // after a message on standard error; a file in which no channel (or not the channel of
    // --channel) holds more than 3 samples fails as well, as there is nothing to work on.
    int open(const CliArguments &arguments);
    // The same for the file at path, whatever the positional words (commands that take
    // several files).
    int openFile(const CliArguments &arguments, const QString &path);

    const QM4168 &adc() const { return m_adc; }
    const ClassData &data() const { return m_data; }
    QString path() const { return m_path; }
    // The channel of --channel, or -1 when it was not given.
    int channel() const { return m_channel; }
    // The valid channels the command works on: --channel alone, or every valid one.
    QList<int> channels() const;

private:
    DataFileError read(int variant);
    DataFileError readInferred();

    QM4168 m_adc;
    ClassData m_data;
    QString m_path;
    int m_channel = -1;
};
