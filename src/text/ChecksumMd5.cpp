// MD5 after RFC 1321: 64-byte blocks, four rounds of sixteen steps, written
// out step by step so the compiler keeps the state in registers.
#include "text/Checksum.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

inline std::uint32_t Rotl(std::uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}

inline std::uint32_t Load32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

#define QUILLET_MD5_STEP(f, a, b, c, d, x, t, s)                                                                       \
    a += f(b, c, d) + (x) + (t);                                                                                       \
    a = Rotl(a, s) + b;

// The second round's function (b & d) | (c & ~d) has disjoint terms, so it is
// added in two parts: the part without b does not wait for the previous step.
#define QUILLET_MD5_STEP_G(a, b, c, d, x, t, s)                                                                        \
    a += (c & ~d) + (x) + (t);                                                                                         \
    a += b & d;                                                                                                        \
    a = Rotl(a, s) + b;

inline std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return z ^ (x & (y ^ z));
}
inline std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}
inline std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return y ^ (x | ~z);
}

} // namespace

TMd5::TMd5()
{
    Reset();
}

void TMd5::Reset()
{
    m_state = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u};
    m_length = 0;
    m_buffered = 0;
}

void TMd5::Compress(const unsigned char* blocks, std::size_t count)
{
    std::uint32_t a0 = m_state[0];
    std::uint32_t b0 = m_state[1];
    std::uint32_t c0 = m_state[2];
    std::uint32_t d0 = m_state[3];
    for (std::size_t blk = 0; blk < count; ++blk, blocks += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = Load32(blocks + 4 * i);
        }
        std::uint32_t a = a0;
        std::uint32_t b = b0;
        std::uint32_t c = c0;
        std::uint32_t d = d0;

        QUILLET_MD5_STEP(F, a, b, c, d, x[0], 0xd76aa478, 7)
        QUILLET_MD5_STEP(F, d, a, b, c, x[1], 0xe8c7b756, 12)
        QUILLET_MD5_STEP(F, c, d, a, b, x[2], 0x242070db, 17)
        QUILLET_MD5_STEP(F, b, c, d, a, x[3], 0xc1bdceee, 22)
        QUILLET_MD5_STEP(F, a, b, c, d, x[4], 0xf57c0faf, 7)
        QUILLET_MD5_STEP(F, d, a, b, c, x[5], 0x4787c62a, 12)
        QUILLET_MD5_STEP(F, c, d, a, b, x[6], 0xa8304613, 17)
        QUILLET_MD5_STEP(F, b, c, d, a, x[7], 0xfd469501, 22)
        QUILLET_MD5_STEP(F, a, b, c, d, x[8], 0x698098d8, 7)
        QUILLET_MD5_STEP(F, d, a, b, c, x[9], 0x8b44f7af, 12)
        QUILLET_MD5_STEP(F, c, d, a, b, x[10], 0xffff5bb1, 17)
        QUILLET_MD5_STEP(F, b, c, d, a, x[11], 0x895cd7be, 22)
        QUILLET_MD5_STEP(F, a, b, c, d, x[12], 0x6b901122, 7)
        QUILLET_MD5_STEP(F, d, a, b, c, x[13], 0xfd987193, 12)
        QUILLET_MD5_STEP(F, c, d, a, b, x[14], 0xa679438e, 17)
        QUILLET_MD5_STEP(F, b, c, d, a, x[15], 0x49b40821, 22)

        QUILLET_MD5_STEP_G(a, b, c, d, x[1], 0xf61e2562, 5)
        QUILLET_MD5_STEP_G(d, a, b, c, x[6], 0xc040b340, 9)
        QUILLET_MD5_STEP_G(c, d, a, b, x[11], 0x265e5a51, 14)
        QUILLET_MD5_STEP_G(b, c, d, a, x[0], 0xe9b6c7aa, 20)
        QUILLET_MD5_STEP_G(a, b, c, d, x[5], 0xd62f105d, 5)
        QUILLET_MD5_STEP_G(d, a, b, c, x[10], 0x02441453, 9)
        QUILLET_MD5_STEP_G(c, d, a, b, x[15], 0xd8a1e681, 14)
        QUILLET_MD5_STEP_G(b, c, d, a, x[4], 0xe7d3fbc8, 20)
        QUILLET_MD5_STEP_G(a, b, c, d, x[9], 0x21e1cde6, 5)
        QUILLET_MD5_STEP_G(d, a, b, c, x[14], 0xc33707d6, 9)
        QUILLET_MD5_STEP_G(c, d, a, b, x[3], 0xf4d50d87, 14)
        QUILLET_MD5_STEP_G(b, c, d, a, x[8], 0x455a14ed, 20)
        QUILLET_MD5_STEP_G(a, b, c, d, x[13], 0xa9e3e905, 5)
        QUILLET_MD5_STEP_G(d, a, b, c, x[2], 0xfcefa3f8, 9)
        QUILLET_MD5_STEP_G(c, d, a, b, x[7], 0x676f02d9, 14)
        QUILLET_MD5_STEP_G(b, c, d, a, x[12], 0x8d2a4c8a, 20)

        QUILLET_MD5_STEP(H, a, b, c, d, x[5], 0xfffa3942, 4)
        QUILLET_MD5_STEP(H, d, a, b, c, x[8], 0x8771f681, 11)
        QUILLET_MD5_STEP(H, c, d, a, b, x[11], 0x6d9d6122, 16)
        QUILLET_MD5_STEP(H, b, c, d, a, x[14], 0xfde5380c, 23)
        QUILLET_MD5_STEP(H, a, b, c, d, x[1], 0xa4beea44, 4)
        QUILLET_MD5_STEP(H, d, a, b, c, x[4], 0x4bdecfa9, 11)
        QUILLET_MD5_STEP(H, c, d, a, b, x[7], 0xf6bb4b60, 16)
        QUILLET_MD5_STEP(H, b, c, d, a, x[10], 0xbebfbc70, 23)
        QUILLET_MD5_STEP(H, a, b, c, d, x[13], 0x289b7ec6, 4)
        QUILLET_MD5_STEP(H, d, a, b, c, x[0], 0xeaa127fa, 11)
        QUILLET_MD5_STEP(H, c, d, a, b, x[3], 0xd4ef3085, 16)
        QUILLET_MD5_STEP(H, b, c, d, a, x[6], 0x04881d05, 23)
        QUILLET_MD5_STEP(H, a, b, c, d, x[9], 0xd9d4d039, 4)
        QUILLET_MD5_STEP(H, d, a, b, c, x[12], 0xe6db99e5, 11)
        QUILLET_MD5_STEP(H, c, d, a, b, x[15], 0x1fa27cf8, 16)
        QUILLET_MD5_STEP(H, b, c, d, a, x[2], 0xc4ac5665, 23)

        QUILLET_MD5_STEP(I, a, b, c, d, x[0], 0xf4292244, 6)
        QUILLET_MD5_STEP(I, d, a, b, c, x[7], 0x432aff97, 10)
        QUILLET_MD5_STEP(I, c, d, a, b, x[14], 0xab9423a7, 15)
        QUILLET_MD5_STEP(I, b, c, d, a, x[5], 0xfc93a039, 21)
        QUILLET_MD5_STEP(I, a, b, c, d, x[12], 0x655b59c3, 6)
        QUILLET_MD5_STEP(I, d, a, b, c, x[3], 0x8f0ccc92, 10)
        QUILLET_MD5_STEP(I, c, d, a, b, x[10], 0xffeff47d, 15)
        QUILLET_MD5_STEP(I, b, c, d, a, x[1], 0x85845dd1, 21)
        QUILLET_MD5_STEP(I, a, b, c, d, x[8], 0x6fa87e4f, 6)
        QUILLET_MD5_STEP(I, d, a, b, c, x[15], 0xfe2ce6e0, 10)
        QUILLET_MD5_STEP(I, c, d, a, b, x[6], 0xa3014314, 15)
        QUILLET_MD5_STEP(I, b, c, d, a, x[13], 0x4e0811a1, 21)
        QUILLET_MD5_STEP(I, a, b, c, d, x[4], 0xf7537e82, 6)
        QUILLET_MD5_STEP(I, d, a, b, c, x[11], 0xbd3af235, 10)
        QUILLET_MD5_STEP(I, c, d, a, b, x[2], 0x2ad7d2bb, 15)
        QUILLET_MD5_STEP(I, b, c, d, a, x[9], 0xeb86d391, 21)

        a0 += a;
        b0 += b;
        c0 += c;
        d0 += d;
    }
    m_state = {a0, b0, c0, d0};
}

#undef QUILLET_MD5_STEP
#undef QUILLET_MD5_STEP_G

void TMd5::Update(std::string_view data)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    std::size_t n = data.size();
    m_length += n;
    if (m_buffered > 0) {
        const std::size_t take = std::min(n, 64 - m_buffered);
        std::memcpy(m_buffer.data() + m_buffered, p, take);
        m_buffered += take;
        p += take;
        n -= take;
        if (m_buffered < 64) {
            return;
        }
        Compress(m_buffer.data(), 1);
        m_buffered = 0;
    }
    if (n >= 64) {
        Compress(p, n / 64);
        p += n / 64 * 64;
        n %= 64;
    }
    if (n > 0) {
        std::memcpy(m_buffer.data(), p, n);
        m_buffered = n;
    }
}

TMd5::TDigest TMd5::Finish()
{
    const std::uint64_t bits = m_length * 8;
    unsigned char pad[72] = {0x80};
    const std::size_t padLength = (m_buffered < 56 ? 56 : 120) - m_buffered;
    unsigned char lengthBytes[8];
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
    Update(std::string_view(reinterpret_cast<const char*>(pad), padLength));
    Update(std::string_view(reinterpret_cast<const char*>(lengthBytes), 8));
    TDigest digest;
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 4; ++k) {
            digest[4 * i + k] = static_cast<std::uint8_t>(m_state[i] >> (8 * k));
        }
    }
    Reset();
    return digest;
}

} // namespace quillet
