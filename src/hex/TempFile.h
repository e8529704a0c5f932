#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace quillet {

// A private temporary file of the hex editor: created at once and exclusively
// (O_EXCL, mode 0600) under a random name in the temporary folder ($TMPDIR,
// else /tmp), kept open read-write, and removed when the object dies. Every
// read and write is checked for its full length; failures return false and
// leave the reason in Error().
class TTempFile {
public:
    // nullptr with the reason in error when no file can be made.
    static std::unique_ptr<TTempFile> Create(const std::string& extension, std::string& error);
    ~TTempFile();
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    int Fd() const { return m_fd; }
    const std::filesystem::path& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    std::uint64_t Size() const;

    // Reads up to count bytes; returns how many were read (fewer at the end).
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t count);
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t count);
    bool Resize(std::uint64_t size);
    // Makes sure the blocks of [offset, offset + count) exist, so that later
    // writes there cannot fail for want of space.
    bool Reserve(std::uint64_t offset, std::uint64_t count);
    // Moves count bytes from `from` to `to` (the ranges may overlap) in fixed
    // chunks, never through a buffer the size of the range.
    bool Move(std::uint64_t from, std::uint64_t to, std::uint64_t count);
    // Copies count bytes at offset to another descriptor at its offset
    // destOffset (holes stay holes where the file system allows).
    bool CopyTo(std::uint64_t offset, std::uint64_t count, int destFd, std::uint64_t destOffset);
    // Replaces the content with the whole of the open regular file srcFd
    // (clone where the file system can, else a copy that keeps holes) and
    // checks that the full length arrived.
    bool CopyFrom(int srcFd, std::uint64_t length);

private:
    TTempFile(int fd, std::filesystem::path path);
    bool Fail(int error);
    bool Fail(const std::string& reason);

    int m_fd = -1;
    std::filesystem::path m_path;
    std::string m_error;
};

// Copies count bytes between two descriptors at the given offsets; false with
// errno set on failure or a short copy. With skipHoles the holes of a sparse
// source are skipped, which is right only where the destination range reads
// as zeros already (a file just extended, or past its end: the caller then
// sets the length).
bool CopyFileRange(int srcFd,
    std::uint64_t srcOffset,
    int destFd,
    std::uint64_t destOffset,
    std::uint64_t count,
    bool skipHoles = true);

// The folder temporary files go to: $TMPDIR when set and not empty, else /tmp.
std::filesystem::path TempFolder();

} // namespace quillet
