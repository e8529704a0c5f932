#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Reports a broken property with the input's size and stops the run, so
// libFuzzer saves the input as a crash.
[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

inline void Check(bool ok, const char* what)
{
    if (!ok) {
        Fail(what);
    }
}

// A private folder for targets whose parser reads files, made once per process.
inline const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fail("cannot make a scratch folder");
        }
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// Writes bytes to a file of the scratch folder and returns its path.
inline std::filesystem::path WriteScratch(const std::string& name, std::string_view bytes)
{
    const std::filesystem::path file = ScratchFolder() / name;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        Fail("cannot write a scratch file");
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
        Fail("short write of a scratch file");
    }
    std::fclose(out);
    return file;
}

// Splits bytes at NUL into items (for argument lists and the like).
inline std::vector<std::string> SplitAtNul(std::string_view bytes)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\0') {
            items.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return items;
}

} // namespace quillet::fuzz
