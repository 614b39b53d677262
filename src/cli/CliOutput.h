#pragma once

#include <QString>

// Text to the terminal, the same way for every command: data on standard output, notices,
// progress and errors on standard error, so that standard output holds only data.
namespace CliOutput {
void out(const QString &text); // standard output
void err(const QString &text); // standard error
// "qm416x-cli: " + message on standard error, unless --quiet silenced notices.
void notice(const QString &message);
// Progress text on standard error, unless --quiet; nothing else is added (no line end).
void progress(const QString &text);
void setQuiet(bool quiet);
bool quiet();
// "qm416x-cli: " + message on standard error; returns the exit code for bad use (2).
int usageError(const QString &message);
// "qm416x-cli: " + message on standard error; returns the exit code for failures (1).
int failure(const QString &message);
// The end of every run: standard output is flushed, and when anything written to it was
// lost (a full disk, a closed pipe) the message "cannot write the standard output: " +
// reason goes to standard error and a successful code becomes 1. Returns the exit code.
int finish(int code);
} // namespace CliOutput
