#include "hex/TempFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 4u << 20;

// Copies [offset, offset + count) of one data run with the kernel's copy, falling
// back to read and write where it is not offered between these files.
bool CopyRun(int srcFd, std::uint64_t srcOffset, int destFd, std::uint64_t destOffset, std::uint64_t count)
{
    bool kernelCopy = true;
    std::vector<char> buffer;
    while (count > 0) {
        if (kernelCopy) {
            loff_t in = static_cast<loff_t>(srcOffset);
            loff_t out = static_cast<loff_t>(destOffset);
            const ssize_t n = ::copy_file_range(srcFd, &in, destFd, &out, std::min<std::uint64_t>(count, 1u << 30), 0);
            if (n > 0) {
                srcOffset += static_cast<std::uint64_t>(n);
                destOffset += static_cast<std::uint64_t>(n);
                count -= static_cast<std::uint64_t>(n);
                continue;
            }
            if (n == 0) {
                errno = EIO; // the source ended early: it was truncated meanwhile
                return false;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                return false;
            }
            kernelCopy = false;
        }
        if (buffer.empty()) {
            buffer.resize(kChunk);
        }
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, kChunk));
        const ssize_t n = ::pread(srcFd, buffer.data(), want, static_cast<off_t>(srcOffset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        std::size_t done = 0;
        while (done < static_cast<std::size_t>(n)) {
            const ssize_t w = ::pwrite(destFd,
                buffer.data() + done,
                static_cast<std::size_t>(n) - done,
                static_cast<off_t>(destOffset + done));
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w <= 0) {
                if (w == 0) {
                    errno = ENOSPC;
                }
                return false;
            }
            done += static_cast<std::size_t>(w);
        }
        srcOffset += done;
        destOffset += done;
        count -= done;
    }
    return true;
}

} // namespace

fs::path TempFolder()
{
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? fs::path(dir) : fs::path("/tmp");
}

bool CopyFileRange(
    int srcFd, std::uint64_t srcOffset, int destFd, std::uint64_t destOffset, std::uint64_t count, bool skipHoles)
{
    if (!skipHoles) {
        return CopyRun(srcFd, srcOffset, destFd, destOffset, count);
    }
    // Walk the data runs of the source so that holes of a sparse file are
    // skipped instead of written out as zeros.
    const std::uint64_t end = srcOffset + count;
    std::uint64_t pos = srcOffset;
    while (pos < end) {
        off_t data = ::lseek(srcFd, static_cast<off_t>(pos), SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO) {
                return true; // only a hole is left
            }
            // No hole information: copy everything.
            return CopyRun(srcFd, pos, destFd, destOffset + (pos - srcOffset), end - pos);
        }
        if (static_cast<std::uint64_t>(data) >= end) {
            return true;
        }
        off_t hole = ::lseek(srcFd, data, SEEK_HOLE);
        std::uint64_t runEnd = hole < 0 ? end : std::min<std::uint64_t>(static_cast<std::uint64_t>(hole), end);
        const std::uint64_t runStart = static_cast<std::uint64_t>(data);
        if (!CopyRun(srcFd, runStart, destFd, destOffset + (runStart - srcOffset), runEnd - runStart)) {
            return false;
        }
        pos = runEnd;
    }
    return true;
}

std::unique_ptr<TTempFile> TTempFile::Create(const std::string& extension, std::string& error)
{
    const fs::path folder = TempFolder();
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(random()));
        fs::path path = folder / (std::string(name) + extension);
        // O_EXCL with O_CREAT refuses an existing name, a planted symbolic link included.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            return std::unique_ptr<TTempFile>(new TTempFile(fd, std::move(path)));
        }
        if (errno != EEXIST) {
            error = folder.string() + ": " + std::strerror(errno);
            return nullptr;
        }
    }
    error = folder.string() + ": " + std::strerror(EEXIST);
    return nullptr;
}

TTempFile::TTempFile(int fd, fs::path path)
    : m_fd(fd)
    , m_path(std::move(path))
{
}

TTempFile::~TTempFile()
{
    ::close(m_fd);
    ::unlink(m_path.c_str());
}

bool TTempFile::Fail(int error)
{
    m_error = m_path.string() + ": " + std::strerror(error);
    return false;
}

bool TTempFile::Fail(const std::string& reason)
{
    m_error = m_path.string() + ": " + reason;
    return false;
}

std::uint64_t TTempFile::Size() const
{
    struct stat st { };
    return ::fstat(m_fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::size_t TTempFile::ReadAt(std::uint64_t offset, void* data, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(m_fd, static_cast<char*>(data) + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n < 0) {
                Fail(errno);
            }
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool TTempFile::WriteAt(std::uint64_t offset, const void* data, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pwrite(m_fd, static_cast<const char*>(data) + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Fail(n < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool TTempFile::Resize(std::uint64_t size)
{
    return ::ftruncate(m_fd, static_cast<off_t>(size)) == 0 || Fail(errno);
}

bool TTempFile::Reserve(std::uint64_t offset, std::uint64_t count)
{
    if (count == 0) {
        return true;
    }
    const int result = ::posix_fallocate(m_fd, static_cast<off_t>(offset), static_cast<off_t>(count));
    // File systems without allocation support report EOPNOTSUPP: writes are
    // still checked one by one there.
    return result == 0 || result == EOPNOTSUPP || result == EINVAL || Fail(result);
}

bool TTempFile::Move(std::uint64_t from, std::uint64_t to, std::uint64_t count)
{
    if (count == 0 || from == to) {
        return true;
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(count, kChunk)));
    std::uint64_t done = 0;
    while (done < count) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count - done, buffer.size()));
        // Moving up copies from the end backwards, moving down from the start,
        // so that no chunk overwrites bytes still to be read.
        const std::uint64_t at = to > from ? count - done - n : done;
        if (ReadAt(from + at, buffer.data(), n) != n) {
            return m_error.empty() ? Fail(EIO) : false;
        }
        if (!WriteAt(to + at, buffer.data(), n)) {
            return false;
        }
        done += n;
    }
    return true;
}

bool TTempFile::CopyTo(std::uint64_t offset, std::uint64_t count, int destFd, std::uint64_t destOffset)
{
    return CopyFileRange(m_fd, offset, destFd, destOffset, count) || Fail(errno);
}

bool TTempFile::CopyFrom(int srcFd, std::uint64_t length)
{
    // A file that is empty already is not truncated: on ext4 a truncation to
    // zero followed by writes makes the close flush the whole file.
    if (Size() != 0 && !Resize(0)) {
        return false;
    }
    if (::ioctl(m_fd, FICLONE, srcFd) == 0) {
        if (Size() == length) {
            return true;
        }
        return Fail("the copy is shorter than the file");
    }
    // The data runs go into the empty file, which grows as they arrive (the
    // gaps between them stay holes); copying into a file already extended to
    // its length is several times slower on ext4. The length, with a trailing
    // hole of a sparse source, is set afterwards.
    if (!CopyFileRange(srcFd, 0, m_fd, 0, length) || !Resize(length)) {
        const int error = errno;
        Resize(0);
        return Fail(error);
    }
    struct stat st { };
    if (::fstat(m_fd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) != length) {
        return Fail("the copy is shorter than the file");
    }
    return true;
}

} // namespace quillet
