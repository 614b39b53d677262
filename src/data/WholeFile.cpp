#include "WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace {

qint64 simulatedFreeSpace = -1;

// Bytes per write: small enough to meet a full disk early, large enough to cost nothing.
constexpr qint64 Chunk = 64 * 1024;

bool lackOfSpace(int savedErrno)
{
#ifdef EDQUOT
    if (savedErrno == EDQUOT)
        return true;
#endif
    return savedErrno == ENOSPC;
}

// Writes all bytes to the open file; errno tells why when it cannot.
bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        qint64 chunk = qMin(Chunk, bytes.size() - done);
        const bool full = simulatedFreeSpace >= 0 && done + chunk > simulatedFreeSpace;
        if (full)
            chunk = qMax<qint64>(0, simulatedFreeSpace - done);
        errno = 0;
        const qint64 written = chunk > 0 ? file.write(bytes.constData() + done, chunk) : 0;
        if (full || written != chunk) {
            if (full)
                errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

DataFileError WriteFailure(int savedErrno)
{
    return DataFileError::platform(lackOfSpace(savedErrno) ? DataFileError::DiskFull
                                                           : DataFileError::DeviceIOError);
}

DataFileError WriteWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that the write that meets a full disk fails: a buffered save file takes
    // the bytes into memory, fails in its final flush, and its commit does not see it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (!QFileInfo(path).absoluteDir().exists())
            return DataFileError::platform(DataFileError::PathNotFound);
        return DataFileError::platform(DataFileError::PathFileAccessError);
    }
    // A file system may report lack of space only when the data reach the disk.
    if (!writeAll(file, bytes) || (::fsync(file.handle()) != 0 && errno != EINVAL)) {
        const int savedErrno = errno;
        file.cancelWriting();
        return WriteFailure(savedErrno);
    }
    errno = 0;
    if (!file.commit()) {
        if (file.error() == QFileDevice::RenameError)
            return DataFileError::platform(DataFileError::PathFileAccessError);
        return WriteFailure(errno);
    }
    return {};
}

void SimulateFreeSpace(qint64 bytes)
{
    simulatedFreeSpace = bytes;
}
