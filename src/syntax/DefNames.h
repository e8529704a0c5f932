#pragma once

#include "text/SimpleParser.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Names under which definition files store colours and font character sets.
// A colour or charset without a name is stored as a decimal number.
std::optional<std::string_view> ColorToIdent(TColor color);
std::optional<TColor> IdentToColor(std::string_view ident);
std::optional<std::string_view> CharsetToIdent(int charset);
std::optional<int> IdentToCharset(std::string_view ident);

} // namespace quillet
