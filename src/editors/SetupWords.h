#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QM4168;

// The converter's set-up as sentences, with the texts the setup window shows: one line per
// enabled channel, the I/O port and the mode. Read from the model now.
namespace SetupWords {

// The captions of the "Mode - Operation" options with their Md codes, in the window's order:
// 0 "Idle", 1 "Continuous Conv.", 3 "Standby", 4 "ZS Calibration", 5 "FS Calibration".
QList<QPair<int, QString>> operations();
// The caption of Md code, or "Md n" for a code without an option.
QString operationName(int md);

// "Channel 0: ± 2.5 V, buffer on, Ain0- AinCOM, chop on, conversion time  1000 us, output
// rate  250 Hz" for every enabled channel of the variant; the output rate is that of one
// pass over every enabled channel, as the setup window's "Output Rate" box shows it.
QStringList channelLines(const QM4168 &model);
// "I/O port: P0 0 Output, P1 1 Input, Sync off, RDY pin after any ch, Reduced Power Mode off".
QString ioPortLine(const QM4168 &model);
// "Mode: Idle, 24 Bits Data, Clamp on, Dump (Status+Data) off, MCLK Disable off,
// Continuous Read off".
QString modeLine(const QM4168 &model);

// The register image as a table: a heading row ("Address", "Register", then "Value" for a
// global register or "Ch n" per channel of the variant), then one row per register row
// of the register editor with the values in upper-case hexadecimal.
QList<QStringList> registerTable(const QM4168 &model);

} // namespace SetupWords
