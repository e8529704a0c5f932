#pragma once

#include "platform/IFileSystem.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quillet {

// Reading a large file named on the command line can start while the program
// still builds its window: a second thread reads it whole, and the document
// load that follows takes those bytes instead of reading the file again, but
// only while the file is unchanged since before the read.
//
// Starts reading file in the background when it is a text file (not binary,
// not a project) of at least minBytes; a prefetch not taken yet is dropped.
void PrefetchDocument(const std::filesystem::path& file, std::uintmax_t minBytes);
// The bytes of a prefetch of file, after waiting for its read to end; nullopt
// when none was started for this file or the file changed (device, inode,
// size, modification or status change time differ from before the read). A
// prefetch is taken at most once.
std::optional<TFileRead> TakePrefetchedDocument(const std::filesystem::path& file);
// Waits for and frees a prefetch nobody took.
void DropPrefetchedDocument();

} // namespace quillet
