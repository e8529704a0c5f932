#include "tools/SearchFileList.h"

#include "core/CharCase.h"
#include "tools/FileMask.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>

namespace quillet {

namespace fs = std::filesystem;

namespace {

bool NameLess(const std::string& a, const std::string& b)
{
    const int order = CompareTextIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b; // names equal but for case keep a fixed order
}

struct TDirEntries {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::pair<dev_t, ino_t>>> dirs;
};

// Reads one directory. Entries are classified by the file they lead to
// (links followed); entries that cannot be examined are left out.
TDirEntries ReadDirectory(const std::string& dir, const std::vector<std::string>& masks, bool wantDirs)
{
    TDirEntries out;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return out;
    }
    DIR* handle = ::fdopendir(fd);
    if (handle == nullptr) {
        ::close(fd);
        return out;
    }
    while (const dirent* entry = ::readdir(handle)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        // A plain file needs no stat: the directory entry says what it is.
        // Links and unknown types are followed to what they lead to.
        if (entry->d_type == DT_REG) {
            if (MatchesAnyFileMask(name, masks)) {
                out.files.emplace_back(name);
            }
            continue;
        }
        if (entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) {
            continue; // FIFOs, sockets and devices
        }
        if (entry->d_type == DT_DIR && !wantDirs) {
            continue;
        }
        struct stat st { };
        if (::fstatat(fd, entry->d_name, &st, 0) != 0) {
            continue; // a dangling link or an entry that vanished
        }
        if (S_ISREG(st.st_mode)) {
            if (MatchesAnyFileMask(name, masks)) {
                out.files.emplace_back(name);
            }
        } else if (S_ISDIR(st.st_mode) && wantDirs) {
            out.dirs.emplace_back(std::string(name), std::make_pair(st.st_dev, st.st_ino));
        }
    }
    ::closedir(handle);
    return out;
}

struct TDirKeyHash {
    std::size_t operator()(const std::pair<dev_t, ino_t>& key) const
    {
        return std::hash<std::uint64_t>()(
            static_cast<std::uint64_t>(key.second) * 1000003u ^ static_cast<std::uint64_t>(key.first));
    }
};

} // namespace

std::string CleanFileName(std::string_view fileName)
{
    if (fileName.empty()) {
        return {};
    }
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(fileName), ec);
    if (ec) {
        path = fs::path(fileName);
    }
    std::string out = path.lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

std::vector<TSearchFile> SearchFiles(
    const fs::path& directory, std::string_view masks, bool recurse, const TKeepGoing& keepGoing)
{
    std::vector<TSearchFile> out;
    const std::vector<std::string> maskList = SplitFileMasks(masks);
    const std::string root = CleanFileName(directory.string());
    struct stat rootStat { };
    if (root.empty() || ::stat(root.c_str(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode)) {
        return out;
    }
    std::unordered_set<std::pair<dev_t, ino_t>, TDirKeyHash> visited;
    visited.insert({rootStat.st_dev, rootStat.st_ino});
    // Depth first, in order: a directory's files, then each subdirectory in turn.
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        if (keepGoing && !keepGoing()) {
            break;
        }
        std::string dir = std::move(pending.back());
        pending.pop_back();
        TDirEntries entries = ReadDirectory(dir, maskList, recurse);
        const std::string prefix = dir == "/" ? dir : dir + "/";
        std::sort(entries.files.begin(), entries.files.end(), NameLess);
        for (const std::string& name : entries.files) {
            out.push_back({prefix + name, 0});
        }
        std::sort(entries.dirs.begin(), entries.dirs.end(), [](const auto& a, const auto& b) {
            return NameLess(a.first, b.first);
        });
        std::vector<std::string> next;
        for (const auto& [name, key] : entries.dirs) {
            if (visited.insert(key).second) {
                next.push_back(prefix + name);
            }
        }
        for (auto it = next.rbegin(); it != next.rend(); ++it) {
            pending.push_back(std::move(*it));
        }
    }
    return out;
}

std::vector<TSearchFile> ProjectSearchFiles(const std::vector<TSearchFile>& openDocuments,
    const std::vector<std::string>& members,
    const std::function<bool(const std::string& fileName)>& isBinary)
{
    std::set<std::string> memberNames;
    for (const std::string& member : members) {
        memberNames.insert(CleanFileName(member));
    }
    std::vector<TSearchFile> out;
    std::set<std::string> listed;
    for (const TSearchFile& document : openDocuments) {
        const std::string name = CleanFileName(document.fileName);
        if (memberNames.count(name) != 0 && listed.insert(name).second) {
            out.push_back({document.fileName, document.documentKey});
        }
    }
    for (const std::string& member : members) {
        const std::string name = CleanFileName(member);
        if (name.empty() || listed.count(name) != 0) {
            continue;
        }
        struct stat st { };
        if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        if (isBinary && isBinary(name)) {
            continue;
        }
        listed.insert(name);
        out.push_back({name, 0});
    }
    return out;
}

} // namespace quillet
