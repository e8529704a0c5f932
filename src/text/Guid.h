#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillet {

// A 128-bit globally unique identifier, as inserted by Edit > Insert > GUID.
class TGuid {
public:
    using TBytes = std::array<std::uint8_t, 16>;

    TGuid() = default; // the nil GUID
    explicit TGuid(const TBytes& bytes)
        : m_bytes(bytes)
    {
    }

    // A random (version 4, RFC 4122 variant) UUID from the system's random
    // source.
    static TGuid NewRandom();

    const TBytes& Bytes() const { return m_bytes; }
    // Registry form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex,
    // the bytes in the order they are stored.
    std::string ToRegistryString() const;
    // The text the Insert GUID command puts at the caret: "['" + registry form
    // + "']", 42 characters.
    std::string InsertText() const;

private:
    TBytes m_bytes{};
};

} // namespace quillet
