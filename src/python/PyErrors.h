#pragma once

#include <QString>

class DataFileError;

// The module's exceptions: qm416x.FileError and qm416x.BoardError, both carrying the
// program's own message.
namespace PyErrors {

// Registers the exception types in the module (once, when it is imported).
void registerTypes(void *module);

// Raises FileError with the message the program shows for the error ("Bad File : ..."),
// after the file's path.
[[noreturn]] void throwFileError(const QString &path, const DataFileError &error);
[[noreturn]] void throwFileError(const QString &message);
// Raises BoardError with the message.
[[noreturn]] void throwBoardError(const QString &message);

} // namespace PyErrors
