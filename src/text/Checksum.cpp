// Table-driven CRCs: CRC-32 uses slicing-by-8 (eight 256-entry tables, eight
// bytes per step), CRC-16 a single table.
#include "text/Checksum.h"

#include <cstring>

namespace quillet {

namespace {

using TCrc32Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr TCrc32Tables BuildCrc32Tables()
{
    TCrc32Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        }
        t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i) {
        for (int s = 1; s < 8; ++s) {
            t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
        }
    }
    return t;
}

constexpr TCrc32Tables kCrc32 = BuildCrc32Tables();

constexpr std::array<std::uint16_t, 256> BuildCrc16Table()
{
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? (c >> 1) ^ 0x8408u : c >> 1;
        }
        t[i] = static_cast<std::uint16_t>(c);
    }
    return t;
}

constexpr std::array<std::uint16_t, 256> kCrc16 = BuildCrc16Table();

std::uint32_t LoadLittle32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void AppendHex(std::string& out, std::uint64_t value, int digits)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i) {
        out += kHex[(value >> (i * 4)) & 15];
    }
}

} // namespace

void TCrc32::Update(std::string_view data)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    std::size_t n = data.size();
    std::uint32_t c = m_state;
    while (n >= 8) {
        const std::uint32_t lo = LoadLittle32(p) ^ c;
        const std::uint32_t hi = LoadLittle32(p + 4);
        c = kCrc32[7][lo & 0xFF] ^ kCrc32[6][(lo >> 8) & 0xFF] ^ kCrc32[5][(lo >> 16) & 0xFF] ^ kCrc32[4][lo >> 24]
            ^ kCrc32[3][hi & 0xFF] ^ kCrc32[2][(hi >> 8) & 0xFF] ^ kCrc32[1][(hi >> 16) & 0xFF] ^ kCrc32[0][hi >> 24];
        p += 8;
        n -= 8;
    }
    while (n-- > 0) {
        c = (c >> 8) ^ kCrc32[0][(c ^ *p++) & 0xFF];
    }
    m_state = c;
}

void TCrc16::Update(std::string_view data)
{
    std::uint16_t c = m_state;
    for (unsigned char b : data) {
        c = static_cast<std::uint16_t>((c >> 8) ^ kCrc16[(c ^ b) & 0xFF]);
    }
    m_state = c;
}

std::uint32_t Crc32(std::string_view data)
{
    TCrc32 crc;
    crc.Update(data);
    return crc.Value();
}

std::uint16_t Crc16(std::string_view data)
{
    TCrc16 crc;
    crc.Update(data);
    return crc.Value();
}

TMd5::TDigest Md5(std::string_view data)
{
    TMd5 md5;
    md5.Update(data);
    return md5.Finish();
}

std::string Md5Hex(std::string_view data)
{
    std::string out;
    out.reserve(32);
    for (std::uint8_t b : Md5(data)) {
        AppendHex(out, b, 2);
    }
    return out;
}

std::string Crc32Label(std::string_view data)
{
    std::string out = "Crc32: ";
    AppendHex(out, Crc32(data), 8);
    return out;
}

std::string Crc16Label(std::string_view data)
{
    std::string out = "Crc16: ";
    AppendHex(out, Crc16(data), 4);
    return out;
}

std::string Md5Label(std::string_view data)
{
    return "MD5: " + Md5Hex(data);
}

} // namespace quillet
