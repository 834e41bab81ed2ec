#include "cli/ReadWords.h"

#include "cli/Exit.h"
#include "engine/PlainWordList.h"
#include "engine/PlatformError.h"
#include "engine/SqliteWordStore.h"
#include "engine/WordList.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void cannotRead(const QByteArray& path, const QString& reason)
{
    fail(Failure, QStringLiteral("cannot read %1: %2").arg(shown(path), reason));
}

std::unique_ptr<WordSet> readPlainList(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        cannotRead(path, systemReason(errno));
    QFile file;
    if (S_ISDIR(status.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        cannotRead(path, systemReason(EISDIR));
    }
    try {
        return std::make_unique<WordList>(readPlainWordList(file));
    } catch (const PlatformError& error) {
        cannotRead(path, error.description());
    }
}

std::unique_ptr<WordSet> readDatabase(const QByteArray& path, std::map<QString, QString>* about)
{
    // Without waiting: only its kind is asked, and a named pipe must not hang the run.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status = {};
    const int error = fd < 0 || ::fstat(fd, &status) != 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    if (error != 0)
        cannotRead(path, systemReason(error));
    if (S_ISDIR(status.st_mode))
        cannotRead(path, systemReason(EISDIR));
    if (!S_ISREG(status.st_mode))
        cannotRead(path, QStringLiteral("not a regular file"));
    try {
        SqliteWordStore store;
        const std::unique_ptr<WordConnection> connection = store.openLocal(path);
        if (about)
            *about = connection->about();
        return connection->allWords();
    } catch (const PlatformError& error) {
        cannotRead(path, error.description());
    }
}
