// Preloaded into tessavine-cli by the tests: a file system without unnamed temporary files
// (O_TMPFILE), so that the named temporary file and its removal on signals are run too.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/syscall.h>
#include <unistd.h>

static int openRefusingUnnamed(const char* path, int flags, va_list rest)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return (int)syscall(SYS_openat, AT_FDCWD, path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = openRefusingUnnamed(path, flags, rest);
    va_end(rest);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = openRefusingUnnamed(path, flags, rest);
    va_end(rest);
    return fd;
}
