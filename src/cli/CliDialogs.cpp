#include "CliDialogs.h"

#include "CliOutput.h"

void CliDialogs::message(const QString &text, Icon, const QString &)
{
    CliOutput::err(QStringLiteral("qm416x-cli: %1\n").arg(text));
}

bool CliDialogs::question(const QString &text, const QString &)
{
    CliOutput::notice(QStringLiteral("%1 (answered No)").arg(text));
    return false;
}

UserDialogs::Answer CliDialogs::askYesNoCancel(const QString &text, const QString &)
{
    CliOutput::notice(QStringLiteral("%1 (answered Cancel)").arg(text));
    return Answer::Cancel;
}
