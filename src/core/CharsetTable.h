#pragma once

namespace quillet {

// Single-byte charsets of the code page list: entries 1 to 25.
inline constexpr int kSingleByteCharsetCount = 25;

// Bytes 0x80-0xFF of each single-byte charset as Unicode code points, indexed
// by code page list entry minus one. Bytes below 0x80 are ASCII in all of them.
// A byte the charset leaves undefined maps to a stand-in (the C1 control of
// the same number, or U+F700 + byte) so that it survives a round trip.
extern const char16_t kSingleByteUpperHalves[kSingleByteCharsetCount][128];

} // namespace quillet
