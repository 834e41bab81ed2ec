#pragma once

#include "engine/RandomSource.h"

#include <QtGlobal>
#include <array>
#include <cstring>
#include <functional>

// Uniform numbers from the operating system's cryptographic source (getrandom(2)): nobody can
// foresee a draw from the ones before it or from the time it was made. Bytes are fetched in
// blocks, so that a long run costs a few system calls. Throws PlatformError when the source
// cannot be read; it never falls back to anything weaker.
class SystemRandom final : public RandomSource
{
public:
    // Fills count bytes at bytes, or throws PlatformError.
    using ByteSource = std::function<void(unsigned char* bytes, size_t count)>;

    // The system's source; tests hand in bytes of their own to pin which draws are rejected.
    explicit SystemRandom(ByteSource source = systemBytes)
        : m_source(std::move(source))
    { }

    double next() override { return double(take<quint64>() >> 11) * 0x1.0p-53; }
    quint64 bits64() { return take<quint64>(); }
    // A whole number from 0 to n - 1 (n from 1), each exactly equally likely, from as few bytes
    // as n allows: a long run of draws costs the system's source a quarter of what next() does.
    quint32 below(quint32 n)
    {
        // Lemire's multiply-and-shift, with the rare biased products, those whose low part lies
        // below 2^k mod n, drawn again; that bound is worked out once for a run of draws below the
        // same n. Two bytes serve up to 2^16: fewer than half the draws are taken again, so a draw
        // costs at most the four bytes of the wider way, and for most n about half.
        if (n != m_n) {
            m_n = n;
            m_bound = n <= 1u << 16 ? 0x10000u % n : quint32(0x100000000ull % n);
        }
        if (n <= 1u << 16) {
            for (;;) {
                const quint32 product = quint32(take<quint16>()) * n;
                if (quint16(product) >= m_bound)
                    return product >> 16;
            }
        }
        for (;;) {
            const quint64 product = quint64(take<quint32>()) * n;
            if (quint32(product) >= m_bound)
                return quint32(product >> 32);
        }
    }

private:
    template <typename T> T take()
    {
        if (m_used + sizeof(T) > sizeof m_block)
            refill();
        T value;
        std::memcpy(&value, m_block.data() + m_used, sizeof(T));
        m_used += sizeof(T);
        return value;
    }
    void refill()
    {
        m_source(m_block.data(), sizeof m_block);
        m_used = 0;
    }
    static void systemBytes(unsigned char* bytes, size_t count);

    ByteSource m_source;
    std::array<unsigned char, 4096> m_block {};
    quint32 m_n = 0;
    quint32 m_bound = 0;
    size_t m_used = sizeof m_block;
};
