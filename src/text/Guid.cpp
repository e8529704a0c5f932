#include "text/Guid.h"

#include <random>

namespace quillet {

TGuid TGuid::NewRandom()
{
    // std::random_device reads the kernel's random source on Linux; each call
    // gives 32 fresh bits, so no generator state can repeat across processes.
    std::random_device device;
    TBytes bytes;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        const std::uint32_t r = device();
        for (std::size_t k = 0; k < 4; ++k) {
            bytes[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // variant 10xx
    return TGuid(bytes);
}

std::string TGuid::ToRegistryString() const
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "{";
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            out += '-';
        }
        out += kHex[m_bytes[i] >> 4];
        out += kHex[m_bytes[i] & 15];
    }
    out += '}';
    return out;
}

std::string TGuid::InsertText() const
{
    return "['" + ToRegistryString() + "']";
}

} // namespace quillet
