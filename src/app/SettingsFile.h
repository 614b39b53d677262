#pragma once

#include "data/DataFileError.h"

#include <QByteArray>
#include <QString>

class QIODevice;
class QM4168;

// Settings files (.adc): the converter's configuration registers as text with CR LF line
// ends, for example
//
//   QM4168                      the variant the file was written for
//                               each section: an empty line, its title, its registers
//    I/O Port Register
//   Register: 1,F0              address and value in upper-case hexadecimal
//   ...
//   Channel Mode
//   Register: 38,0 ... Register: 3F,0
//
// Sections in order: " I/O Port Register" (01h), "ADC ZS Calibration" (06h), "ADC FS
// Calibration" (07h), then per channel of the variant "Channel ZS Calibration" (10h + c),
// "Channel FS Calibration" (18h + c), "Channel Setup" (28h + c), "Channel Conv Time"
// (30h + c) and "Channel Mode" (38h + c).

// The text of a settings file for the model's register cache and variant.
QByteArray SettingsFileText(const QM4168 &adc);

// Creates or replaces the file at path; a failed write leaves any earlier file as it was.
// Errors as for data files (76 or 75 when the file cannot be created, 61 or 57 when
// writing fails).
DataFileError WriteSettingsFile(const QString &path, const QM4168 &adc);

// What reading a settings file came to.
struct SettingsReadResult
{
    enum Outcome
    {
        Read,       // every register line went into the model
        NotValid,   // the header names another variant (or none): the model is unchanged
        CannotRead, // a register line is damaged: the lines before it are in the model
        OpenFailed  // the file could not be opened: message holds "error n : ..."
    };

    Outcome outcome = Read;
    QString message; // the box text for every outcome but Read
    int registers = 0;
    bool ok() const { return outcome == Read; }
};

// Reads a settings file into the model, register by register with send false. The file is
// read as comma-separated fields; the first must be "QM416" + the model's variant code.
// Every field that starts with "Register: " gives an address, and the next field its value,
// both hexadecimal. Other fields (empty lines, section titles) are skipped, and so are
// register lines whose address lies outside 01h..3Fh. An address or value that is not
// hexadecimal, a value wider than its register, or a register line without a value stops
// the reading with "This file cannot be read"; so does a last line without its line end
// whose value has fewer digits than its register (two per byte), as it may have been cut
// short. Lines may end with CR LF, LF or CR. A file over 1 MB is refused unread.
SettingsReadResult ReadSettingsFile(QIODevice &device, QM4168 &adc);
SettingsReadResult ReadSettingsFile(const QString &path, QM4168 &adc);
