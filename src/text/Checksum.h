#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// Checksums of the Edit menu, each usable in one call or fed in pieces.

// CRC-32 of ISO-HDLC / IEEE 802.3: reflected polynomial 0xEDB88320, initial
// value and final XOR 0xFFFFFFFF ("123456789" gives 0xCBF43926).
class TCrc32 {
public:
    void Update(std::string_view data);
    std::uint32_t Value() const { return m_state ^ 0xFFFFFFFFu; }

private:
    std::uint32_t m_state = 0xFFFFFFFFu; // the register before the final XOR
};

// CRC-16 with the reflected CCITT polynomial 0x8408, initial value 0xFFFF and
// no final XOR ("123456789" gives 0x6F91).
class TCrc16 {
public:
    void Update(std::string_view data);
    std::uint16_t Value() const { return m_state; }

private:
    std::uint16_t m_state = 0xFFFF;
};

// MD5 message digest (RFC 1321).
class TMd5 {
public:
    using TDigest = std::array<std::uint8_t, 16>;

    TMd5();
    void Update(std::string_view data);
    // Completes the digest; the object then starts over empty.
    TDigest Finish();

private:
    void Reset();
    void Compress(const unsigned char* blocks, std::size_t count);

    std::array<std::uint32_t, 4> m_state{};
    std::uint64_t m_length = 0; // bytes fed so far
    std::array<unsigned char, 64> m_buffer{};
    std::size_t m_buffered = 0; // always < 64
};

std::uint32_t Crc32(std::string_view data);
std::uint16_t Crc16(std::string_view data);
TMd5::TDigest Md5(std::string_view data);
// 32 upper-case hexadecimal digits.
std::string Md5Hex(std::string_view data);

// The texts the checksum commands insert at the caret: "Crc32: " and 8
// upper-case hexadecimal digits, "Crc16: " and 4, "MD5: " and 32.
std::string Crc32Label(std::string_view data);
std::string Crc16Label(std::string_view data);
std::string Md5Label(std::string_view data);

} // namespace quillet
