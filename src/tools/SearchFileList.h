#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One file the search visits. An open document carries the caller's non-zero
// key for it, so its current (unsaved) text is searched instead of the file.
struct TSearchFile {
    std::string fileName;
    std::uint64_t documentKey = 0;

    bool operator==(const TSearchFile&) const = default;
};

// Asked between units of work; false stops the work (the list built so far is kept).
using TKeepGoing = std::function<bool()>;

// The full, lexically cleaned form of a file name ("a/./b/../c" -> "/cwd/a/c")
// used to compare names exactly: two names differing only by case are
// different files. An empty name stays empty.
std::string CleanFileName(std::string_view fileName);

// The files of a directory walk in the search order: the regular files of the
// directory whose names match any of the ";"-separated masks (hidden files
// included), sorted without regard to case and each listed once; then, when
// `recurse`, every subdirectory in the same order, searched the same way.
// Names are the cleaned directory, "/" and the entry's name.
//
// Symbolic links to files are listed like files. A linked directory is entered
// only once: a directory already visited (same device and inode) is skipped,
// so a link loop ends. FIFOs, sockets and devices are never listed, and an
// unreadable or vanished directory contributes nothing.
std::vector<TSearchFile> SearchFiles(
    const std::filesystem::path& directory, std::string_view masks, bool recurse, const TKeepGoing& keepGoing = {});

// The files of a project search: first the open documents (in their order)
// whose files belong to the project, then every member not already listed
// that exists as a regular file and that `isBinary` does not reject. Names are
// compared as cleaned file names, exactly.
std::vector<TSearchFile> ProjectSearchFiles(const std::vector<TSearchFile>& openDocuments,
    const std::vector<std::string>& members,
    const std::function<bool(const std::string& fileName)>& isBinary);

} // namespace quillet
