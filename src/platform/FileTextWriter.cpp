#include "platform/FileTextWriter.h"

#include "engine/PlatformError.h"
#include "platform/LocalFilePath.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(int error)
{
    throw PlatformError(QString::fromLocal8Bit(std::strerror(error)));
}

// Closes the file however the write ends.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

[[noreturn]] void notRegular()
{
    throw notRegularFile();
}

} // namespace

void FileTextWriter::WriteTextPiece(const QString& text, const QString& path, int pieceNumber)
{
    const std::optional<QString> local = localFilePath(path);
    if (!local)
        fail(ENOENT);
    const QByteArray name = QFile::encodeName(*local);
    // Only regular files are written. A named pipe or a device would block the window or swallow
    // the words: the first piece does not even open one, and no open blocks.
    struct stat status
    { };
    if (pieceNumber <= 1 && ::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode))
        notRegular();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY
        | (pieceNumber <= 1 ? 0 : O_APPEND);
    Descriptor file { ::open(name.constData(), flags, 0666) };
    if (file.fd < 0)
        fail(errno);
    // Every piece checks what it opened: a pipe or a device put in the file's place between
    // pieces (a link to /dev/null) would swallow the words. The status gives the file's end as
    // well, in the one call a later piece needs anyway.
    if (::fstat(file.fd, &status) != 0)
        fail(errno);
    if (!S_ISREG(status.st_mode))
        notRegular();
    off_t before = status.st_size;
    if (pieceNumber <= 1) {
        // Emptied only once it is known to be a regular file.
        if (::ftruncate(file.fd, 0) != 0)
            fail(errno);
        before = 0;
    }

    const QByteArray bytes = text.toLocal8Bit();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            // A piece is whole or absent: a torn word would read as a word of its own.
            if (::ftruncate(file.fd, before) != 0) { }
            fail(error);
        }
        data += written;
        left -= written;
    }
    const int fd = file.fd;
    file.fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        // Cut back like any failed write; the descriptor is gone, so by name.
        if (::truncate(name.constData(), before) != 0) { }
        fail(error);
    }
}
