/* The floor of a plain million-word run: a bare loop that loads a plain word list, draws with
 * xoshiro256** seeded from getrandom and writes through a 1 MiB buffer. Usage: LIST COUNT OUT */
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

__extension__ typedef unsigned __int128 u128;

static uint64_t s[4];

static uint64_t rotl(uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

static uint64_t next(void)
{
    const uint64_t result = rotl(s[1] * 5, 7) * 9;
    const uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return result;
}

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const int in = open(argv[1], O_RDONLY);
    struct stat status;
    if (in < 0 || fstat(in, &status) != 0)
        return 1;
    char* text = malloc((size_t)status.st_size + 1);
    size_t got = 0;
    while (got < (size_t)status.st_size) {
        const ssize_t n = read(in, text + got, (size_t)status.st_size - got);
        if (n <= 0)
            return 1;
        got += (size_t)n;
    }
    close(in);
    size_t lines = 0;
    for (size_t i = 0; i < got; ++i)
        lines += text[i] == '\n';
    uint32_t* start = malloc((lines + 1) * sizeof *start);
    size_t count = 0;
    start[0] = 0;
    for (size_t i = 0; i < got; ++i)
        if (text[i] == '\n')
            start[++count] = (uint32_t)(i + 1);
    if (count == 0 || getrandom(s, sizeof s, 0) != (ssize_t)sizeof s)
        return 1;
    const long wanted = atol(argv[2]);
    const int out = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    enum { size = 1 << 20 };
    char* buffer = malloc(size);
    size_t used = 0;
    for (long w = 0; w < wanted; ++w) {
        const size_t i = (size_t)(((u128)next() * count) >> 64);
        const size_t length = start[i + 1] - start[i];
        if (used + length > size) {
            if (write(out, buffer, used) != (ssize_t)used)
                return 1;
            used = 0;
        }
        memcpy(buffer + used, text + start[i], length);
        used += length;
    }
    if (write(out, buffer, used) != (ssize_t)used || close(out) != 0)
        return 1;
    return 0;
}
