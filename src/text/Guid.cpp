#include "text/Guid.h"

#include <atomic>
#include <chrono>
#include <random>

namespace quillet {

TGuid TGuid::NewRandom()
{
    TBytes bytes;
    auto fill = [&bytes](auto&& next) {
        for (std::size_t i = 0; i < bytes.size(); i += 4) {
            const std::uint32_t r = static_cast<std::uint32_t>(next());
            for (std::size_t k = 0; k < 4; ++k) {
                bytes[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
            }
        }
    };
    try {
        // std::random_device draws from a non-deterministic source (the
        // kernel's or the processor's generator), so no seeded sequence can
        // repeat across processes.
        std::random_device device;
        fill([&device] {
            return device();
        });
    } catch (...) {
        // No random source available: a generator seeded from the clock and
        // a per-process counter still gives distinct identifiers.
        static std::atomic<std::uint64_t> counter{0};
        const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        std::mt19937_64 generator(static_cast<std::uint64_t>(now) ^ (counter++ * 0x9E3779B97F4A7C15ull));
        fill([&generator] {
            return generator();
        });
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
