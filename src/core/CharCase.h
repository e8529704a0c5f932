#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Letter case and case-insensitive comparison of 8-bit text in the system code
// page (the charset chosen at start). Every engine that changes or compares
// case goes through these, so accented letters of that charset behave.
unsigned char UpperChar(unsigned char c);
unsigned char LowerChar(unsigned char c);
bool IsLetterChar(unsigned char c);
std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);
// <0, 0 or >0 like strcmp, ignoring case.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

} // namespace quillet
