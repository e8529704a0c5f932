// Whole-file reading and the atomic write over POSIX calls.
#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quillet {

namespace fs = std::filesystem;

namespace {

// Symbolic links followed before giving up, as the kernel does (ELOOP).
constexpr int kMaxLinkHops = 40;
constexpr int kTempNameAttempts = 100;
// The temporary name must fit the file system's name limit (255 bytes) even
// when the target's own name nearly fills it.
constexpr std::size_t kTempBaseLimit = 200;

class TFd {
public:
    explicit TFd(int fd)
        : m_fd(fd)
    {
    }
    ~TFd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

TFileStatus Fail(int error, TFileStep step, const fs::path& path)
{
    return TFileStatus::Failure(error, step, path);
}

// The file a write through `file` replaces: symbolic links followed, so that
// the link stays and the file it names gets the new bytes.
TFileStatus ResolveLinks(const fs::path& file, fs::path& target)
{
    std::error_code ec;
    target = file;
    for (int hops = 0; fs::is_symlink(target, ec); ++hops) {
        if (hops == kMaxLinkHops) {
            return Fail(ELOOP, TFileStep::Check, file);
        }
        fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            return Fail(ec.value(), TFileStep::Check, file);
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return TFileStatus::Success();
}

void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

TFileRead TPosixFileSystem::ReadFile(const fs::path& file, std::size_t limit)
{
    TFileRead read;
    const auto fail = [&](int error) {
        read.status = Fail(error, TFileStep::Other, file);
        read.bytes.clear();
        return std::move(read);
    };
    TFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        return fail(errno);
    }
    struct stat st { };
    if (::fstat(fd.Get(), &st) != 0) {
        return fail(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return fail(EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(EINVAL);
    }
    std::size_t expected = static_cast<std::size_t>(st.st_size);
    if (limit != 0) {
        expected = std::min(expected, limit);
    }
    // One read fills the buffer; the byte of room beyond the expected size
    // shows the end of the file (or that it grew while being read).
    TFileBytes& out = read.bytes;
    out = TFileBytes::WithCapacity(expected + 1);
    while (limit == 0 || out.size() < limit) {
        if (out.FreeRoomSize() == 0) {
            out.Reserve(out.size() * 2); // the file grew while being read
        }
        std::size_t want = out.FreeRoomSize();
        if (limit != 0) {
            want = std::min(want, limit - out.size());
        }
        const ssize_t n = ::read(fd.Get(), out.FreeRoom(), want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        if (n == 0) {
            break;
        }
        out.Added(static_cast<std::size_t>(n));
    }
    return read;
}

TFileStatus TPosixFileSystem::WriteFile(const fs::path& file, std::string_view bytes)
{
    return Replace(file, [this, bytes](int fd, const fs::path& target) {
        const int error = WriteAll(fd, bytes);
        return error == 0 ? TFileStatus::Success() : Fail(error, TFileStep::Write, target);
    });
}

TFileStatus TPosixFileSystem::WriteFileWith(const fs::path& file, const TFill& fill)
{
    return Replace(file, [&fill](int fd, const fs::path& target) {
        std::string reason = fill(fd);
        if (reason.empty()) {
            return TFileStatus::Success();
        }
        TFileStatus failed = Fail(EIO, TFileStep::Write, target);
        failed.reason = std::move(reason);
        return failed;
    });
}

TFileStatus TPosixFileSystem::Replace(
    const fs::path& file, const std::function<TFileStatus(int fd, const fs::path& target)>& fill)
{
    fs::path target;
    if (TFileStatus resolved = ResolveLinks(file, target); !resolved) {
        return resolved;
    }
    struct stat st { };
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(errno, TFileStep::Check, target);
    }
    if (exists && S_ISDIR(st.st_mode)) {
        return Fail(EISDIR, TFileStep::Check, target);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        return Fail(EINVAL, TFileStep::Check, target);
    }
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Fail(errno, TFileStep::Check, target);
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string base = target.filename().string();
    if (base.size() > kTempBaseLimit) {
        base.resize(kTempBaseLimit);
    }
    std::mt19937_64 random(std::random_device{}());
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < kTempNameAttempts && fd < 0; ++attempt) {
        temp = folder / ("." + base + ".save-" + std::to_string(random() % 1000000000));
        // 0666 lets the umask decide the mode of a new file.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return Fail(errno, TFileStep::Create, target);
        }
    }
    if (fd < 0) {
        return Fail(EEXIST, TFileStep::Create, target);
    }
    TFd guard(fd);
    const auto discard = [&](TFileStatus failed) {
        if (guard.Get() >= 0) {
            ::close(guard.Release());
        }
        ::unlink(temp.c_str());
        return failed;
    };
    const auto fail = [&](int error, TFileStep step, const fs::path& about) {
        return discard(Fail(error, step, about));
    };
    if (TFileStatus filled = fill(fd, target); !filled) {
        return discard(std::move(filled));
    }
    if (exists) {
        // Owner first: changing it may clear set-id bits that fchmod restores.
        // Another user's owner cannot be kept; the new file stays ours then.
        [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
        if (::fchmod(fd, st.st_mode & 07777) != 0) {
            return fail(errno, TFileStep::Other, target);
        }
    }
    if (const int error = Sync(fd); error != 0) {
        return fail(error, TFileStep::Sync, target);
    }
    if (::close(guard.Release()) != 0) {
        // A delayed write error (network file systems report it here).
        return fail(errno, TFileStep::Write, target);
    }
    if (const int error = Rename(temp, target); error != 0) {
        return fail(error, TFileStep::Rename, temp);
    }
    SyncFolder(folder);
    return TFileStatus::Success();
}

TFileStatus TPosixFileSystem::Remove(const fs::path& file)
{
    return ::unlink(file.c_str()) == 0 ? TFileStatus::Success() : Fail(errno, TFileStep::Other, file);
}

TFileStatus TPosixFileSystem::Link(const fs::path& existing, const fs::path& name)
{
    return ::link(existing.c_str(), name.c_str()) == 0 ? TFileStatus::Success() : Fail(errno, TFileStep::Other, name);
}

TFileStatus TPosixFileSystem::CopyPermissions(const fs::path& from, const fs::path& to)
{
    struct stat st { };
    if (::stat(from.c_str(), &st) != 0) {
        return Fail(errno, TFileStep::Other, from);
    }
    return ::chmod(to.c_str(), st.st_mode & 07777) == 0 ? TFileStatus::Success() : Fail(errno, TFileStep::Other, to);
}

int TPosixFileSystem::WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int TPosixFileSystem::Sync(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

int TPosixFileSystem::Rename(const fs::path& from, const fs::path& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

IFileSystem& SystemFileSystem()
{
    static TPosixFileSystem system;
    return system;
}

} // namespace quillet
