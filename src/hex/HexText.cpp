#include "hex/HexText.h"

#include "platform/posix/PosixFileSystem.h"

namespace quillet {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
// How much of a file the binary content test reads.
constexpr std::size_t kHexTestBytes = 500;

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int DigitValue(char c, int base)
{
    const int value = HexValue(c);
    return value >= 0 && value < base ? value : -1;
}

} // namespace

std::string ConvertBinToHex(const std::uint8_t* bytes, std::size_t count)
{
    std::string text(count * 2, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    return text;
}

std::vector<std::uint8_t> ConvertHexToBin(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    int high = -1;
    for (char c : text) {
        const int value = HexValue(c);
        if (value < 0) {
            continue;
        }
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    return bytes;
}

std::string IntToOctal(std::uint64_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + (value & 7)));
        value >>= 3;
    } while (value != 0);
    return "0" + digits;
}

std::string FillLeft(char fill, std::string text, std::size_t width)
{
    if (text.size() < width) {
        text.insert(0, width - text.size(), fill);
    }
    return text;
}

std::string UpperHex(std::uint64_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return digits;
}

bool IsHex(const std::filesystem::path& file)
{
    // A named pipe or device is refused rather than waited on.
    const TFileRead head = SystemFileSystem().ReadFile(file, kHexTestBytes);
    for (const char byte : head.bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 1 && c <= 8) || c == 11 || (c >= 14 && c <= 31)) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> SearchTextToBytes(std::string_view text, bool asText)
{
    if (asText) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
    std::string digits(text);
    if (digits.size() % 2 != 0) {
        digits.insert(digits.begin(), '0');
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        const int high = HexValue(digits[i]);
        const int low = HexValue(digits[i + 1]);
        bytes.push_back(high < 0 || low < 0 ? 0 : static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::string FormatOffset(std::uint64_t offset, std::uint64_t size, TOffsetDisplay display)
{
    switch (display) {
    case odHex:
        return "0x" + FillLeft('0', UpperHex(offset), UpperHex(size).size());
    case odOctal:
        return "o " + FillLeft('0', IntToOctal(offset).substr(1), IntToOctal(size).size() - 1);
    case odDec:
    case odNone:
        break;
    }
    return std::to_string(offset);
}

std::optional<std::int64_t> ParseOffset(std::string_view text, TOffsetDisplay display)
{
    const int base = display == odHex ? 16 : display == odOctal ? 8 : 10;
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(INT64_MAX);
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0 || value > (kLimit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return static_cast<std::int64_t>(value);
}

} // namespace quillet
