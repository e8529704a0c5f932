#include "core/DocumentPrefetch.h"

#include "core/DocumentFile.h"
#include "platform/posix/PosixFileSystem.h"

#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace quillet {

namespace {

// What identifies one state of a file's contents.
struct TFileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const TFileIdentity& o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec
            && modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec
            && changed.tv_nsec == o.changed.tv_nsec;
    }
};

std::optional<TFileIdentity> IdentityOf(const std::filesystem::path& file)
{
    struct stat st { };
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return TFileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

struct TPrefetch {
    std::mutex mutex; // guards the thread handle; the fields below belong to the thread until it is joined
    std::thread reader;
    TFileIdentity before;
    bool unchanged = false; // the file had the same identity after the read
    TFileRead read;

    void Join()
    {
        if (reader.joinable()) {
            reader.join();
        }
    }
    ~TPrefetch() { Join(); }
};

TPrefetch& Prefetch()
{
    static TPrefetch prefetch;
    return prefetch;
}

} // namespace

void PrefetchDocument(const std::filesystem::path& file, std::uintmax_t minBytes)
{
    DropPrefetchedDocument();
    const std::optional<TFileIdentity> identity = IdentityOf(file);
    if (!identity || static_cast<std::uintmax_t>(identity->size) < minBytes) {
        return;
    }
    TPrefetch& p = Prefetch();
    const std::lock_guard lock(p.mutex);
    p.before = *identity;
    p.reader = std::thread([&p, file] {
        const TFileTypes types = GetFileTypes(file);
        if (types.isBinary || types.isProject) {
            return;
        }
        TFileRead read = SystemFileSystem().ReadFile(file);
        const std::optional<TFileIdentity> after = IdentityOf(file);
        p.unchanged = read.status && after && *after == p.before;
        if (p.unchanged) {
            p.read = std::move(read);
        }
    });
}

std::optional<TFileRead> TakePrefetchedDocument(const std::filesystem::path& file)
{
    TPrefetch& p = Prefetch();
    const std::lock_guard lock(p.mutex);
    if (!p.reader.joinable()) {
        return std::nullopt;
    }
    const std::optional<TFileIdentity> now = IdentityOf(file);
    if (!now || !(*now == p.before)) {
        return std::nullopt; // another file (or this one changed): the prefetch waits for its own
    }
    p.Join();
    std::optional<TFileRead> out;
    if (p.unchanged) {
        out = std::move(p.read);
    }
    p.read = {};
    p.unchanged = false;
    return out;
}

void DropPrefetchedDocument()
{
    TPrefetch& p = Prefetch();
    const std::lock_guard lock(p.mutex);
    p.Join();
    p.read = {};
    p.unchanged = false;
}

} // namespace quillet
