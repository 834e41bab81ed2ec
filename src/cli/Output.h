#pragma once

#include <QByteArray>
#include <QString>
#include <cstring>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

struct stat;

// Where the words go: where the shell's > FILE would put them. Bytes are gathered into large
// blocks, so that a million words take a few writes. Like any tool writing a list the user can
// make again, it does not wait for the disk to confirm the write.
class Output
{
public:
    // Standard output for an empty path. Opened only once the words are known to be there, so
    // that a run refused for its rules or its list leaves FILE as it was.
    explicit Output(const QByteArray& path);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void put(const char* data, qsizetype size)
    {
        if (m_used + size > capacity) {
            flush();
            if (size > capacity)
                return send(data, size);
        }
        std::memcpy(m_buffer.get() + m_used, data, size_t(size));
        m_used += size;
    }
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    // The same for the first size bytes of a small array: copied whole in one fixed-size move,
    // which the compiler makes a few instructions, rather than a call.
    template <size_t N> void putPadded(const char (&bytes)[N], qsizetype size)
    {
        if (m_used + qsizetype(N) > capacity)
            return put(bytes, size);
        std::memcpy(m_buffer.get() + m_used, bytes, N);
        m_used += size;
    }
    void commit();

private:
    static int standardStream(const struct stat& file);
    bool openBeside(const struct stat& status);
    bool copyAttributes(int fd) const;
    int replaceWithUnnamed();
    void flush();
    void send(const char* data, qsizetype size);
    // Ends the run with "cannot write FILE: reason".
    [[noreturn]] void cannotWrite(const QString& reason);

    QByteArray m_path;
    int m_fd = STDOUT_FILENO;
    bool m_owned = false;
    // The new file has no name yet: it replaces FILE at commit.
    bool m_unnamed = false;
    QByteArray m_temporary;
    QByteArray m_target;
    // Left uninitialised: a short run touches only the pages it writes.
    static constexpr qsizetype capacity = qsizetype(1) << 20;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};
