#pragma once

#include "syntax/SyntaxScheme.h"

#include <string>
#include <string_view>

namespace quillet {

// Reads definition text into a freshly created scheme. Malformed text fails
// the whole read (ok false, one diagnostic). Inside well-formed text, unknown
// properties and values that do not fit are skipped, each with a diagnostic
// "file:line: message", and reading goes on.
TDefResult ReadDefinition(std::string_view text, const std::string& fileName, TSyntaxScheme& scheme);

} // namespace quillet
