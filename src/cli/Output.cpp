#include "cli/Output.h"

#include "cli/Exit.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

// The named temporary file of this run, for the signal handler; empty when there is none.
char leftBehind[4096];

void removeAndEnd(int signal)
{
    if (leftBehind[0] != '\0')
        ::unlink(leftBehind);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// The signals that end a run by default, each then removing the named temporary file first; one
// ignored by whoever started the run stays ignored.
void removeOnSignals()
{
    for (const int signal : { SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2,
             SIGXCPU, SIGVTALRM, SIGPROF }) {
        struct sigaction action = {};
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_DFL) {
            action.sa_handler = removeAndEnd;
            sigfillset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    }
}

// Holds every signal that can be held while it lives: what it spans is not cut in two.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        sigset_t all;
        sigfillset(&all);
        ::sigprocmask(SIG_BLOCK, &all, &m_before);
    }
    ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &m_before, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_before;
};

// A name beside FILE for a file of this run: FILE's name with suffix, cut where both together
// would pass the longest name the folder takes (a name of 250 bytes leaves no room).
QByteArray besideName(const QByteArray& target, const QByteArray& suffix)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const qsizetype room = (longest > 0 ? longest : NAME_MAX) - suffix.size();
    return folder + target.mid(slash + 1).left(std::max<qsizetype>(room, 1)) + suffix;
}

} // namespace

Output::Output(const QByteArray& path)
    : m_path(path)
    , m_buffer(new char[size_t(capacity)])
{
    // As the shell has them: the descriptors this run was given, not files of those names.
    if (path.isEmpty() || path == "/dev/stdout")
        return;
    if (path == "/dev/stderr") {
        m_fd = STDERR_FILENO;
        return;
    }
    struct stat status = {};
    const bool exists = ::stat(path.constData(), &status) == 0;
    if (const int stream = exists ? standardStream(status) : -1; stream >= 0) {
        m_fd = stream;
        return;
    }
    if (exists && S_ISREG(status.st_mode) && status.st_nlink == 1 && status.st_uid == ::geteuid()
        && openBeside(status))
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
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        leftBehind[0] = '\0';
    }
}

void Output::commit()
{
    flush();
    if (m_unnamed) {
        // Named and moved onto FILE with no signal between the two to leave the name behind.
        const int error = [this] {
            const SignalsHeld held;
            return replaceWithUnnamed();
        }();
        if (error != 0)
            cannotWrite(systemReason(error));
    }
    if (m_owned) {
        m_owned = false;
        if (::close(m_fd) != 0)
            cannotWrite(systemReason(errno));
    }
    if (!m_temporary.isEmpty()) {
        if (::rename(m_temporary.constData(), m_target.constData()) != 0)
            cannotWrite(systemReason(errno));
        m_temporary.clear();
        leftBehind[0] = '\0';
    }
}

// Gives the unnamed file a name of its own beside FILE, then moves it onto FILE; the reason of a
// failure, or 0.
int Output::replaceWithUnnamed()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = besideName(
            m_target, ".tmp" + QByteArray::number(::getpid()) + '-' + QByteArray::number(attempt));
        // Through /proc, which any user may do; without /proc, the way root may.
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0
            && (errno != ENOENT
                || ::linkat(m_fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) != 0)) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (::rename(name.constData(), m_target.constData()) == 0)
            return 0;
        const int error = errno;
        ::unlink(name.constData());
        return error;
    }
    return EEXIST;
}

// The descriptor of this run's own standard output or error when FILE is it by another name
// (/dev/fd/1), else -1: it is written through that descriptor, as /dev/stdout is, since the shell
// may have opened it for appending and opening it anew would cut it short. Not one held closed.
int Output::standardStream(const struct stat& file)
{
    for (const int fd : { STDOUT_FILENO, STDERR_FILENO }) {
        struct stat stream = {};
        if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev
            && stream.st_ino == file.st_ino && (::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDONLY)
            return fd;
    }
    return -1;
}

// A regular file of the user's with no other name gets a new file beside it, with its owner,
// group, mode and extended attributes (its ACL among them), that replaces it once everything is
// written: a failed write leaves it as it was. The new file has no name until then where the
// file system allows (O_TMPFILE), so that a run ended by any signal leaves nothing behind;
// elsewhere it is named, and removed on the signals that end a run. False where none of that
// can be had; the file is then written in place.
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
    const QByteArray folder = m_target.left(m_target.lastIndexOf('/') + 1);
    int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    m_unnamed = fd >= 0;
    QByteArray name = besideName(m_target, ".XXXXXX");
    if (!m_unnamed) {
        removeOnSignals();
        {
            // Made and noted for the handler with no signal between.
            const SignalsHeld held;
            fd = ::mkostemp(name.data(), O_CLOEXEC);
            if (fd >= 0)
                std::strncpy(leftBehind, name.constData(), sizeof leftBehind - 1);
        }
        if (fd < 0)
            return false;
        m_temporary = name;
    }
    m_fd = fd;
    m_owned = true;
    if (::fchown(fd, status.st_uid, status.st_gid) == 0 && ::fchmod(fd, status.st_mode & 07777) == 0
        && copyAttributes(fd))
        return true;
    ::close(fd);
    m_owned = false;
    m_unnamed = false;
    m_fd = STDOUT_FILENO;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    leftBehind[0] = '\0';
    return false;
}

// Copies FILE's extended attributes to fd; an ACL is one of them. False when one cannot be read
// or set (an attribute only a privileged user may set, a file system without them).
bool Output::copyAttributes(int fd) const
{
    const ssize_t size = ::listxattr(m_target.constData(), nullptr, 0);
    if (size <= 0)
        return size == 0 || errno == ENOTSUP;
    QByteArray names(size, '\0');
    const ssize_t listed = ::listxattr(m_target.constData(), names.data(), size_t(names.size()));
    if (listed < 0)
        return false;
    names.truncate(listed);
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t length = ::getxattr(m_target.constData(), name.constData(), nullptr, 0);
        QByteArray value(std::max<ssize_t>(length, 0), '\0');
        if (length < 0
            || ::getxattr(
                   m_target.constData(), name.constData(), value.data(), size_t(value.size()))
                != length
            || ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return false;
    }
    return true;
}

void Output::flush()
{
    send(m_buffer.get(), m_used);
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
