#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Format of the offset column and of offsets shown elsewhere.
enum TOffsetDisplay { odHex = 0, odDec = 1, odOctal = 2, odNone = 3 };

// 2 * count upper-case hexadecimal digits, high nibble first, no separators.
std::string ConvertBinToHex(const std::uint8_t* bytes, std::size_t count);
// Every character that is not a hexadecimal digit is skipped; the digits are
// taken in pairs (high nibble first) and a final unpaired digit is dropped.
std::vector<std::uint8_t> ConvertHexToBin(std::string_view text);
// Octal digits with one "0" in front: 0 gives "00", 8 gives "010".
std::string IntToOctal(std::uint64_t value);
// text padded on the left with fill to at least width characters.
std::string FillLeft(char fill, std::string text, std::size_t width);
std::string UpperHex(std::uint64_t value);

// The binary content test of comparison, find in files and projects: any of
// the first 500 bytes is 1-8, 11 or 14-31. False when the file cannot be read.
bool IsHex(const std::filesystem::path& file);

// Bytes of a binary search or replacement text: the characters themselves as
// text, else hexadecimal digits (lower-cased, a "0" put in front of an odd
// count, a pair that is not hexadecimal giving 0).
std::vector<std::uint8_t> SearchTextToBytes(std::string_view text, bool asText);

// An offset as the status bar and the bookmark menu show it, padded to the
// digits of `size` in that base: "0x" + hexadecimal, "o " + octal without the
// extra leading zero, else decimal.
std::string FormatOffset(std::uint64_t offset, std::uint64_t size, TOffsetDisplay display);

// The go-to-offset entry in its base (odHex hexadecimal, odOctal octal, else
// decimal). nullopt when a character is not a digit of the base or the value
// does not fit in 63 bits.
std::optional<std::int64_t> ParseOffset(std::string_view text, TOffsetDisplay display);

} // namespace quillet
