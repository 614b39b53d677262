#pragma once

#include <QString>

// Plain text to the terminal, the same way for every command.
namespace CliOutput {
void out(const QString &text); // standard output
void err(const QString &text); // standard error
// "qm416x-cli: " + message on standard error; returns the exit code for bad use (2).
int usageError(const QString &message);
// "qm416x-cli: " + message on standard error; returns the exit code for failures (1).
int failure(const QString &message);
} // namespace CliOutput
