#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Text encoders of the Edit menu: Base64 (RFC 4648 alphabet, "=" padding, one
// line), UU and XX (the classic line formats without begin/end lines) and
// quoted-printable in its strict one-line form. All work on 8-bit text as it is
// stored in the buffer; every function accepts any bytes, NUL included.

// Why a decoder refused its input. The decoded text is then not to be used: the
// command shows DecodeErrorText() and leaves the document unchanged.
enum class TDecodeError {
    None,
    Base64BadCharacter, // a character that is neither Base64 nor blank
    Base64Truncated, // the last group holds a single character
    UuBadCharacter, // a character outside the UU alphabet where data is read
    XxBadCharacter, // a character outside the XX alphabet where data is read
};

struct TDecodeResult {
    std::string text; // decoded bytes; empty on error
    TDecodeError error = TDecodeError::None;
    std::size_t errorOffset = 0; // byte offset of the offending character in the input

    bool Ok() const { return error == TDecodeError::None; }
};

// English text for the message box (a translation key for each is its
// DecodeErrorKey()). Empty for TDecodeError::None.
std::string_view DecodeErrorText(TDecodeError error);
std::string_view DecodeErrorKey(TDecodeError error);

// The text the encoders and checksums receive from a selection: every line
// followed by CR LF, the last one included.
std::string JoinLinesForEncoding(const std::vector<std::string>& lines);

std::string Base64Encode(std::string_view data);
// Blanks (space, tab, CR, LF, FF, VT) and "=" are skipped wherever they stand,
// so wrapped and padded text decodes. Four alphabet characters give three
// bytes; a last group of three gives two bytes, of two gives one byte.
TDecodeResult Base64Decode(std::string_view text);

// UU and XX: up to 63 bytes become one line (count character, then the data in
// groups of four characters). Longer input is cut into the customary lines of
// 45 bytes, joined with CR LF (no trailing line break).
std::string UuEncode(std::string_view data);
std::string XxEncode(std::string_view data);
// Decodes line by line. A line whose first word is "begin", "end" or (UU only)
// "table" in any letter case is a frame line and gives nothing; blank lines give
// nothing. Otherwise the first character is the byte count n and the next
// ceil(4n/3) characters are the data; a short line counts as padded with
// characters of value 0, characters after the data are ignored.
TDecodeResult UuDecode(std::string_view text);
TDecodeResult XxDecode(std::string_view text);

// Every byte 0-31 and 127-255, the double quote and ( ) , / : ; < = > ? @ [ \ ] _
// become "=XX" (upper-case hexadecimal); no soft line breaks are added.
std::string QuotedPrintableEncode(std::string_view data);
// "=XX" (either case) becomes that byte; "=" followed by CR LF, LF CR, CR or LF
// is a soft line break and vanishes; any other "=" stays as it is. Never fails.
std::string QuotedPrintableDecode(std::string_view text);

} // namespace quillet
