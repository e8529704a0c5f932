#pragma once

#include "syntax/SyntaxScheme.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quillet {

// The definition text of a scheme: CR LF line ends, two spaces per level,
// only the properties that differ from their defaults (see the file format).
std::string WriteDefinition(const TSyntaxScheme& scheme);

// Writes bytes to a temporary file in the target's folder, flushes it to disk
// and renames it over the target; on any failure the target is untouched and
// the diagnostic names the file and the system's reason.
TDefResult WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes);

} // namespace quillet
