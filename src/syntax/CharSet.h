#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace quillet {

// A set of 8-bit character codes, as used for identifier characters and the
// symbol set of a syntax definition.
using TCharSet = std::bitset<256>;

inline bool InSet(const TCharSet& set, char c)
{
    return set.test(static_cast<unsigned char>(c));
}

// A-Z, "_", a-z.
TCharSet DefaultFirstIdentChars();
// 0-9, A-Z, "_", a-z.
TCharSet DefaultOtherIdentChars();

// The stored text of a character set: members in code order, runs of more than
// one code as first "-" last, a member "\" or "-" that starts a run escaped with
// "\". The defaults read "A-Z_a-z" and "0-9A-Z_a-z".
std::string CharSetToString(const TCharSet& set);
// Reads that text back. "-" followed by e adds the range from the last code
// through e; "\" followed by e adds e literally. A "-" or "\" as the last
// character of the text is taken as a literal member.
TCharSet StringToCharSet(std::string_view text);

} // namespace quillet
