#include "cli/Output.h"

#include "cli/Exit.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

Output::Output(const QByteArray& path)
    : m_path(path)
    , m_buffer(size_t(1) << 20)
{
    // As the shell has them: the descriptors this run was given, not files of those names.
    if (path.isEmpty() || path == "/dev/stdout")
        return;
    if (path == "/dev/stderr") {
        m_fd = STDERR_FILENO;
        return;
    }
    struct stat status = {};
    if (::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1
        && status.st_uid == ::geteuid() && !isStandardStream(status) && openBeside(status))
        return;
    m_fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        cannotWrite(systemReason(errno));
    m_owned = true;
}

Output::~Output()
{
    if (m_owned)
        ::close(m_fd);
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

void Output::commit()
{
    flush();
    if (m_owned) {
        m_owned = false;
        if (::close(m_fd) != 0)
            cannotWrite(systemReason(errno));
    }
    if (!m_temporary.isEmpty()) {
        if (::rename(m_temporary.constData(), m_target.constData()) != 0)
            cannotWrite(systemReason(errno));
        m_temporary.clear();
    }
}

// FILE reached by another name for this run's own standard output or error (/dev/fd/1): it is
// written in place, as the shell may have opened it for appending.
bool Output::isStandardStream(const struct stat& file)
{
    for (const int fd : { STDOUT_FILENO, STDERR_FILENO }) {
        struct stat stream = {};
        if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev
            && stream.st_ino == file.st_ino)
            return true;
    }
    return false;
}

// A regular file of the user's with no other name gets a new file beside it, with its owner,
// group and mode, that replaces it once everything is written: a failed write leaves it as it
// was. False where that cannot be had; the file is then written in place.
bool Output::openBeside(const struct stat& status)
{
    // Refused as > would refuse it, whatever the folder allows.
    const int check = ::open(m_path.constData(), O_WRONLY | O_CLOEXEC);
    if (check < 0)
        cannotWrite(systemReason(errno));
    ::close(check);
    char* real = ::realpath(m_path.constData(), nullptr);
    if (!real)
        return false;
    m_target = real;
    std::free(real);
    QByteArray name = m_target + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::fchown(fd, status.st_uid, status.st_gid) != 0
        || ::fchmod(fd, status.st_mode & 07777) != 0) {
        ::close(fd);
        ::unlink(name.constData());
        return false;
    }
    m_fd = fd;
    m_owned = true;
    m_temporary = name;
    return true;
}

void Output::flush()
{
    send(m_buffer.data(), m_used);
    m_used = 0;
}

void Output::send(const char* data, qsizetype size)
{
    // Straight to the descriptor: the blocks are large already, another buffer only copies.
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno != EINTR)
            cannotWrite(systemReason(errno));
        data += std::max<ssize_t>(written, 0);
        size -= std::max<ssize_t>(written, 0);
    }
}

void Output::cannotWrite(const QString& reason)
{
    fail(Failure,
        QStringLiteral("cannot write %1: %2")
            .arg(m_path.isEmpty() ? QStringLiteral("standard output") : shown(m_path), reason));
}
