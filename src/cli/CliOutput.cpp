#include "CliOutput.h"

#include <cstdio>

namespace CliOutput {

namespace {
bool silenced = false;
}

void out(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void notice(const QString &message)
{
    if (!silenced)
        err(QStringLiteral("qm416x-cli: %1\n").arg(message));
}

void progress(const QString &text)
{
    if (!silenced)
        err(text);
}

void setQuiet(bool quiet)
{
    silenced = quiet;
}

bool quiet()
{
    return silenced;
}

int usageError(const QString &message)
{
    err(QStringLiteral("qm416x-cli: %1\n").arg(message));
    return 2;
}

int failure(const QString &message)
{
    err(QStringLiteral("qm416x-cli: %1\n").arg(message));
    return 1;
}

} // namespace CliOutput
