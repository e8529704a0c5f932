// Where the benchmark programs find the shipped data files: the source tree
// they were built from, which the build passes in QUILLET_SOURCE_DIR. (__FILE__
// will not do: the compiler cache rewrites it relative to the build folder, so
// it names nothing once the program runs from another folder.)
#pragma once

#include <cstdlib>
#include <filesystem>

namespace quillet::bench {

inline std::filesystem::path SourceRoot()
{
    return QUILLET_SOURCE_DIR;
}

// The shipped C++ definition, or the file QUILLET_SYNTAX_DEF names.
inline std::filesystem::path CppDefinition()
{
    if (const char* path = std::getenv("QUILLET_SYNTAX_DEF")) {
        return path;
    }
    return SourceRoot() / "Syntax Definitions" / "C++.def";
}

} // namespace quillet::bench
