#pragma once

#include "DataFileError.h"

#include <QByteArray>
#include <QString>

class ClassData;
class QIODevice;
class QM4168;

// Data files (.dat): the acquisition conditions and the codes of every valid channel, as
// 8-bit text (ISO 8859-1, "±" is the byte B1h) with CR LF line ends:
//
//   Parameters:, Channel(s) enabled = 2,Vref = 2.5,DataWidth = 24Bits, Clamp = True, Data format = dec
//   Channel 0 : , Input Ranges = ±2.5, Channel Time = 1000 us, Nb of Data = 5
//   Channel 3 : , Input Ranges = +1.25, Channel Time = 312.5 us, Nb of Data = 7
//   Channel 0,Channel 3,
//   -1234,56,            one row per sample index; a channel that has run out of samples
//   ...                  leaves the row, and the others move one column to the left
//
// The valid channels are those among 0..adc.MaxChannel(); their range sign and span come
// from the device model's range table, the other conditions from the store.

// Writes the store to an open device. Errors: 61 or 57 when a write fails.
DataFileError WriteDataFile(QIODevice &device, const ClassData &data, const QM4168 &adc);

// Creates or replaces the file at path, whole or not at all (WriteWholeFile): a failed
// write leaves any earlier file as it was. Errors: 76 or 75 when the file cannot be
// created, 61 or 57 when writing fails, 75 when the finished file cannot be put in place.
DataFileError WriteDataFile(const QString &path, const ClassData &data, const QM4168 &adc);

// Reads a data file into the store. The file is read and checked completely into a fresh
// store first; only then does the store take its contents (without DataCleared): the
// conditions and samples, Process, Update (DataChanged). On any error the store is left
// untouched and raises nothing. The channel count must be 1 .. adc.EvBoard(), each channel
// named once and within 0 .. adc.MaxChannel() (what the writer saves), each channel time
// from 0.1 us to 10 s and Vref above 0 and at most 10 V (what a board can have written);
// each channel's range must be one of the device model's range table
// (DataFileError::badRange names the channel and the text when it is not).
// A file whose channels all hold 3 samples or fewer reads, but leaves no valid channel.
DataFileError ReadDataFile(QIODevice &device, ClassData &data, const QM4168 &adc);

// The range code a channel line's range text ("±2.5", "+1.25": the sign picks bipolar or
// unipolar codes) stands for in the device model's range table: the last candidate whose
// span matches; -1 when the table has no such range.
int RangeCodeOfText(const QString &text, const QM4168 &adc);

// Opens the file at path and reads it. Errors: 53 when there is no such file, 75 when it
// cannot be opened.
DataFileError ReadDataFile(const QString &path, ClassData &data, const QM4168 &adc);

// Reads the file with the variant its range texts belong to: QM4168 for ranges of its
// table, QM4164 for those of the other (the variant of each family with the most
// channels); adc is left set to that variant. A file whose ranges belong to neither table,
// or to both in different lines, is a bad file.
DataFileError ReadDataFileOfAnyVariant(const QString &path, ClassData &data, QM4168 &adc);
