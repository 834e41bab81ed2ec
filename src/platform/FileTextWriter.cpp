#include "platform/FileTextWriter.h"

#include "engine/PlatformError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(int error)
{
    throw PlatformError(QString::fromLocal8Bit(std::strerror(error)));
}

// A path that starts with two separators names a network share, which needs a server and a share
// before the file name. "//Words.txt", what an empty folder field gives, has neither; the system
// would take it for a file at the top of the file system.
bool isIncompleteSharePath(const QString& path)
{
    if (!path.startsWith(QLatin1String("//")))
        return false;
    const qsizetype server = 2;
    const qsizetype share = path.indexOf(QLatin1Char('/'), server);
    return share < 0 || path.indexOf(QLatin1Char('/'), share + 1) < 0;
}

} // namespace

void FileTextWriter::WriteTextPiece(const QString& text, const QString& path, int pieceNumber)
{
    if (path.isEmpty() || isIncompleteSharePath(path))
        fail(ENOENT);
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (pieceNumber <= 1 ? O_TRUNC : O_APPEND);
    const int fd = ::open(name.constData(), flags, 0666);
    if (fd < 0)
        fail(errno);
    const QByteArray bytes = text.toLocal8Bit();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            fail(error);
        }
        data += written;
        left -= written;
    }
    if (::close(fd) != 0)
        fail(errno);
}
