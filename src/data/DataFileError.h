#pragma once

#include <QString>

// The outcome of reading or writing a data file. Two kinds of failure:
//  - a bad file: the header failed validation; message() is one of "Error in number of
//    Channels enabled", "No Vref", "Vref is not Valid in line 1", "DataWidth is not Valid",
//    "Clamp is not Valid", or for a channel line "Channel 3 is given twice in line 4", "No
//    Channel 5 on the QM4164 in line 3", "Channel Time is not Valid in line 2", "Input
//    range "±2.5" of Channel 0 is not a range of the QM4162 in line 2" (a range error: see
//    badRange); the window shows "Bad File : " + message();
//  - a platform error: the file could not be opened, read or written, or its data rows
//    are damaged; message() is "error " + number + " : " + description, for example
//    "error 62 : Input past end of file" or "error 13 : Type mismatch in line 7".
// Error numbers follow the traditional numbering of the platform's file errors:
//    6 Overflow                 a number too large for a code or count
//    9 Subscript out of range   a channel number outside 0..7
//   13 Type mismatch            a field that is not a number, or a row of the wrong shape
//   53 File not found           opening a file that does not exist
//   57 Device I/O error         reading or writing failed
//   61 Disk full                writing failed for lack of space
//   62 Input past end of file   the file ends before its data do
//   63 Bad record number        a sample count below 0 or beyond what a channel holds
//   75 Path/File access error   the file cannot be opened or put in place
//   76 Path not found           the folder of the file does not exist
class DataFileError
{
public:
    enum Number
    {
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        FileNotFound = 53,
        DeviceIOError = 57,
        DiskFull = 61,
        InputPastEndOfFile = 62,
        BadRecordNumber = 63,
        PathFileAccessError = 75,
        PathNotFound = 76
    };

    // No error.
    DataFileError() = default;

    static DataFileError badFile(const QString &message);
    // A bad file whose channel line names a range (text, as "±2.5") that the range table
    // of the variant (code 2, 4, 8 or 9) does not hold.
    static DataFileError badRange(int channel, const QString &text, int variant, int line);
    // A platform error; detail, when given, follows the description after a blank
    // ("in line 7").
    static DataFileError platform(int number, const QString &detail = QString());
    // The description of an error number ("Disk full").
    static QString description(int number);

    bool isError() const { return m_kind != Kind::None; }
    bool isBadFile() const { return m_kind == Kind::BadFile; }
    // The platform error number; 0 for no error and for a bad file.
    int number() const { return m_number; }
    QString message() const { return m_message; }
    // For a range error: its line (0 for any other outcome), channel and range text.
    int rangeLine() const { return m_rangeLine; }
    int rangeChannel() const { return m_rangeChannel; }
    QString rangeText() const { return m_rangeText; }
    // What the message box shows: "Bad File : " + message() for a bad file, else message().
    QString boxText() const;

private:
    enum class Kind
    {
        None,
        BadFile,
        Platform
    };

    Kind m_kind = Kind::None;
    int m_number = 0;
    QString m_message;
    int m_rangeLine = 0;
    int m_rangeChannel = 0;
    QString m_rangeText;
};
