#include "CliOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace CliOutput {

namespace {
bool silenced = false;
int outputErrno = 0; // why standard output first failed; 0 while it works
} // namespace

void out(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if ((std::fflush(stdout) != 0 || written != static_cast<size_t>(bytes.size())) && outputErrno == 0)
        outputErrno = errno != 0 ? errno : EIO;
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

int finish(int code)
{
    errno = 0;
    if (std::fflush(stdout) != 0 && outputErrno == 0)
        outputErrno = errno != 0 ? errno : EIO;
    if (outputErrno == 0 && std::ferror(stdout))
        outputErrno = EIO;
    if (outputErrno == 0)
        return code;
    err(QStringLiteral("qm416x-cli: cannot write the standard output: %1\n")
            .arg(QString::fromLocal8Bit(std::strerror(outputErrno))));
    return code == 0 ? 1 : code;
}

} // namespace CliOutput
