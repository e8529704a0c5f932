#pragma once

#include <string_view>

namespace quillet {

// The program's name and version as message boxes and captions show it.
inline constexpr std::string_view kAppTitle = "Quillet 4.1";

} // namespace quillet
