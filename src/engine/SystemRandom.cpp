#include "engine/SystemRandom.h"

#include "engine/PlatformError.h"

#include <cerrno>
#include <cstring>
#include <sys/random.h>

void SystemRandom::systemBytes(unsigned char* bytes, size_t count)
{
    size_t filled = 0;
    while (filled < count) {
        const ssize_t got = ::getrandom(bytes + filled, count - filled, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw PlatformError(QStringLiteral("cannot read the system's random source: %1")
                                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
        filled += size_t(got);
    }
}
