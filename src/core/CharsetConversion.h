#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Result of a conversion. lossy is set when the output does not carry the
// whole input: a character the target charset cannot hold became "_", or the
// input was malformed (invalid UTF-8, a truncated unit, bad UTF-7) and a
// replacement character stands in for it.
struct TConversion {
    std::string bytes;
    bool lossy = false;
};

// Converts bytes between two charsets of the code page list (charset numbers
// from CodePages.h). Equal charsets return the input unchanged. The input is
// decoded to Unicode, U+FEFF is dropped wherever it occurs, and in UCS-2 and
// UCS-4 input a unit that reads as U+FFFE swaps the byte order for the rest
// of the input. Single-byte targets write "_" for what they cannot hold. A
// charset outside the list is treated as ISO-8859-1. Never throws except
// std::bad_alloc.
TConversion ConvertCharset(std::string_view bytes, int fromCodePage, int toCodePage);

// The same, returning only the bytes.
std::string CharsetConversion(std::string_view bytes, int fromCodePage, int toCodePage);

// Byte-order mark written at the start of a file saved in the charset: UCS-2,
// UCS-4 (both byte orders) and UTF-8; empty for every other charset.
std::string_view ByteOrderMark(int codePage);

// Unicode character of a byte in a single-byte charset of the list (bytes
// below 0x80 are ASCII); a charset that is not single-byte reads as ISO-8859-1.
char32_t SingleByteToUnicode(int codePage, unsigned char byte);
// Byte of a single-byte charset that holds the character, or -1 when none does.
int UnicodeToSingleByte(int codePage, char32_t character);

} // namespace quillet
