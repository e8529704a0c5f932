#pragma once

#include "platform/FileBytes.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quillet {

// What went wrong with a file, as callers word their messages. Derived from
// the errno value, never from the system's text.
enum class TFileErrorKind {
    None,
    NotFound, // ENOENT, ENOTDIR: the file or a folder on its way is missing
    Permission, // EACCES, EPERM
    ReadOnlyFileSystem, // EROFS
    NoSpace, // ENOSPC, EDQUOT, EFBIG
    Io, // everything else
};

TFileErrorKind FileErrorKindOf(int error);

// The step of a whole-file write that failed, for callers whose messages name
// it ("Can't create temporary filename", "Can't rename file ...").
enum class TFileStep {
    None,
    Check, // the target is a folder, not a regular file, or not writable by us
    Create, // no temporary file could be made beside the target
    Write,
    Sync,
    Rename, // the temporary file could not replace the target
    Other, // read, remove, link and permission operations
};

// Outcome of one file operation. error is the errno value (0 on success),
// reason the system's text for it, path the file the failed call was about
// (for a failed rename, the temporary file).
struct TFileStatus {
    TFileErrorKind kind = TFileErrorKind::None;
    int error = 0;
    std::string reason;
    TFileStep step = TFileStep::None;
    std::filesystem::path path;

    bool Ok() const { return error == 0; }
    explicit operator bool() const { return Ok(); }

    static TFileStatus Success() { return {}; }
    static TFileStatus Failure(int error, TFileStep step, const std::filesystem::path& path);
};

// A whole file read into memory.
struct TFileRead {
    TFileStatus status;
    TFileBytes bytes;
};

// The program's one way to read and write whole files.
//
// WriteFile replaces a file atomically: the bytes go to a temporary sibling
// created exclusively, which is written, given the old file's permissions and
// owner (where allowed), fsynced and renamed over the target; then the folder
// is fsynced. A symbolic link is followed to the file it names and stays a
// link (a dangling link creates its target). On every failure the old file is
// untouched and the temporary file is gone. An existing file we may not write
// is refused.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Reads up to limit bytes (0: the whole file). Folders (EISDIR) and
    // devices or pipes (EINVAL), which could block or never end, are refused.
    virtual TFileRead ReadFile(const std::filesystem::path& file, std::size_t limit) = 0;
    TFileRead ReadFile(const std::filesystem::path& file) { return ReadFile(file, 0); }

    virtual TFileStatus WriteFile(const std::filesystem::path& file, std::string_view bytes) = 0;
    // WriteFile for content too large to hold in memory: fill writes it to
    // the temporary file's descriptor and returns empty text on success, else
    // the reason it failed (the result's kind is then Io).
    using TFill = std::function<std::string(int fd)>;
    virtual TFileStatus WriteFileWith(const std::filesystem::path& file, const TFill& fill) = 0;

    // Removes a file or a symbolic link (not what it names).
    virtual TFileStatus Remove(const std::filesystem::path& file) = 0;
    // A second name for an existing file (a hard link); fails where the file
    // system has none.
    virtual TFileStatus Link(const std::filesystem::path& existing, const std::filesystem::path& name) = 0;
    // Gives `to` the permission bits of `from`.
    virtual TFileStatus CopyPermissions(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
};

} // namespace quillet
