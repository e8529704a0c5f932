#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillet::test {

// A fresh folder under the system temporary folder, removed with everything in
// it when the object goes out of scope.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes bytes to a file below the folder and returns its full path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const;
    // Reads a whole file as bytes; empty when it cannot be read.
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path m_path;
};

// Path of a file below tests/data.
std::filesystem::path DataPath(std::string_view relative);

} // namespace quillet::test
