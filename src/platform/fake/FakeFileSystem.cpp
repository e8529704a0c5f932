#include "platform/fake/FakeFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40;
constexpr unsigned kOwnerWrite = 0200;

fs::path Normal(const fs::path& p)
{
    fs::path n = p.lexically_normal();
    if (n.has_filename() || n == n.root_path()) {
        return n;
    }
    return n.parent_path(); // "a/b/" names the folder "a/b"
}

} // namespace

TFakeFileSystem::TFakeFileSystem()
{
    m_entries["/"] = TEntry{TKind::Folder, {}, 0755};
}

void TFakeFileSystem::FailNextWrite(TFileStep step, int error)
{
    m_failStep = step;
    m_failError = error;
}

int TFakeFileSystem::TakeInjected(TFileStep step)
{
    if (m_failStep != step) {
        return 0;
    }
    m_failStep = TFileStep::None;
    return m_failError;
}

void TFakeFileSystem::AddFolder(const fs::path& folder)
{
    fs::path path = Normal(folder);
    for (fs::path p = path; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        m_entries.try_emplace(p, TEntry{TKind::Folder, {}, 0755});
    }
}

void TFakeFileSystem::AddFile(const fs::path& file, std::string_view bytes, unsigned mode)
{
    const fs::path path = Normal(file);
    AddFolder(path.parent_path());
    m_entries[path] = TEntry{TKind::File, std::string(bytes), mode};
}

void TFakeFileSystem::AddSymlink(const fs::path& link, const fs::path& target)
{
    const fs::path path = Normal(link);
    AddFolder(path.parent_path());
    m_entries[path] = TEntry{TKind::Symlink, target.string(), 0777};
}

fs::path TFakeFileSystem::Resolve(const fs::path& file) const
{
    fs::path path = Normal(file);
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        const auto it = m_entries.find(path);
        if (it == m_entries.end() || it->second.kind != TKind::Symlink) {
            return path;
        }
        const fs::path next(it->second.bytes);
        path = Normal(next.is_absolute() ? next : path.parent_path() / next);
    }
    return {};
}

const TFakeFileSystem::TEntry* TFakeFileSystem::Find(const fs::path& file) const
{
    const auto it = m_entries.find(Resolve(file));
    return it == m_entries.end() ? nullptr : &it->second;
}

bool TFakeFileSystem::FolderExists(const fs::path& folder) const
{
    const TEntry* entry = Find(folder.empty() ? fs::path("/") : folder);
    return entry != nullptr && entry->kind == TKind::Folder;
}

TFileRead TFakeFileSystem::ReadFile(const fs::path& file, std::size_t limit)
{
    TFileRead read;
    const TEntry* entry = Find(file);
    if (entry == nullptr) {
        read.status = TFileStatus::Failure(ENOENT, TFileStep::Other, file);
    } else if (entry->kind == TKind::Folder) {
        read.status = TFileStatus::Failure(EISDIR, TFileStep::Other, file);
    } else {
        read.bytes = TFileBytes(limit == 0 ? entry->bytes : entry->bytes.substr(0, limit));
    }
    return read;
}

TFileStatus TFakeFileSystem::WriteFile(const fs::path& file, std::string_view bytes)
{
    return Replace(file, [bytes](std::string& out) {
        out.assign(bytes);
        return TFileStatus::Success();
    });
}

TFileStatus TFakeFileSystem::WriteFileWith(const fs::path& file, const TFill& fill)
{
    return Replace(file, [&](std::string& out) {
        std::FILE* scratch = std::tmpfile();
        if (scratch == nullptr) {
            return TFileStatus::Failure(errno, TFileStep::Write, file);
        }
        const int fd = ::fileno(scratch);
        TFileStatus status;
        if (std::string reason = fill(fd); !reason.empty()) {
            status = TFileStatus::Failure(EIO, TFileStep::Write, file);
            status.reason = std::move(reason);
        }
        char buffer[1 << 14];
        for (off_t at = 0; status;) {
            const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
            if (n <= 0) {
                break;
            }
            out.append(buffer, static_cast<std::size_t>(n));
            at += n;
        }
        std::fclose(scratch);
        return status;
    });
}

TFileStatus TFakeFileSystem::Replace(
    const fs::path& file, const std::function<TFileStatus(std::string& bytes)>& produce)
{
    const fs::path target = Resolve(file);
    if (target.empty()) {
        return TFileStatus::Failure(ELOOP, TFileStep::Check, file);
    }
    const auto existing = m_entries.find(target);
    const bool exists = existing != m_entries.end();
    if (exists && existing->second.kind == TKind::Folder) {
        return TFileStatus::Failure(EISDIR, TFileStep::Check, target);
    }
    if (exists && (existing->second.mode & kOwnerWrite) == 0) {
        return TFileStatus::Failure(EACCES, TFileStep::Check, target);
    }
    if (!FolderExists(target.parent_path())) {
        return TFileStatus::Failure(ENOENT, TFileStep::Create, target);
    }
    if (const int error = TakeInjected(TFileStep::Create); error != 0) {
        return TFileStatus::Failure(error, TFileStep::Create, target);
    }
    const fs::path temp =
        target.parent_path() / ("." + target.filename().string() + ".save-" + std::to_string(++m_tempCounter));
    m_entries[temp] = TEntry{TKind::File, {}, 0644};
    const auto fail = [&](int error, TFileStep step, const fs::path& about) {
        m_entries.erase(temp);
        return TFileStatus::Failure(error, step, about);
    };
    if (const int error = TakeInjected(TFileStep::Write); error != 0) {
        return fail(error, TFileStep::Write, target);
    }
    if (TFileStatus produced = produce(m_entries[temp].bytes); !produced) {
        m_entries.erase(temp);
        return produced;
    }
    if (exists) {
        m_entries[temp].mode = existing->second.mode;
    }
    if (const int error = TakeInjected(TFileStep::Sync); error != 0) {
        return fail(error, TFileStep::Sync, target);
    }
    if (const int error = TakeInjected(TFileStep::Rename); error != 0) {
        return fail(error, TFileStep::Rename, temp);
    }
    m_entries[target] = std::move(m_entries[temp]);
    m_entries.erase(temp);
    ++m_completedWrites;
    return TFileStatus::Success();
}

TFileStatus TFakeFileSystem::Remove(const fs::path& file)
{
    const auto it = m_entries.find(Normal(file));
    if (it == m_entries.end()) {
        return TFileStatus::Failure(ENOENT, TFileStep::Other, file);
    }
    if (it->second.kind == TKind::Folder) {
        return TFileStatus::Failure(EISDIR, TFileStep::Other, file);
    }
    m_entries.erase(it);
    return TFileStatus::Success();
}

TFileStatus TFakeFileSystem::Link(const fs::path& existing, const fs::path& name)
{
    // Copies stand in for shared content: no caller writes a file in place.
    const TEntry* entry = Find(existing);
    if (entry == nullptr) {
        return TFileStatus::Failure(ENOENT, TFileStep::Other, existing);
    }
    if (m_entries.count(Normal(name)) != 0) {
        return TFileStatus::Failure(EEXIST, TFileStep::Other, name);
    }
    if (!FolderExists(Normal(name).parent_path())) {
        return TFileStatus::Failure(ENOENT, TFileStep::Other, name);
    }
    m_entries[Normal(name)] = *entry;
    return TFileStatus::Success();
}

TFileStatus TFakeFileSystem::CopyPermissions(const fs::path& from, const fs::path& to)
{
    const TEntry* source = Find(from);
    const auto target = m_entries.find(Resolve(to));
    if (source == nullptr || target == m_entries.end()) {
        return TFileStatus::Failure(ENOENT, TFileStep::Other, source == nullptr ? from : to);
    }
    target->second.mode = source->mode;
    return TFileStatus::Success();
}

std::optional<std::string> TFakeFileSystem::Contents(const fs::path& file) const
{
    const TEntry* entry = Find(file);
    if (entry == nullptr || entry->kind != TKind::File) {
        return std::nullopt;
    }
    return entry->bytes;
}

unsigned TFakeFileSystem::Mode(const fs::path& file) const
{
    const TEntry* entry = Find(file);
    return entry != nullptr ? entry->mode : 0;
}

bool TFakeFileSystem::IsSymlink(const fs::path& file) const
{
    const auto it = m_entries.find(Normal(file));
    return it != m_entries.end() && it->second.kind == TKind::Symlink;
}

std::vector<std::string> TFakeFileSystem::Names(const fs::path& folder) const
{
    std::vector<std::string> names;
    const fs::path parent = Normal(folder);
    for (const auto& [path, entry] : m_entries) {
        if (path != parent && path.parent_path() == parent) {
            names.push_back(path.filename().string());
        }
    }
    return names;
}

} // namespace quillet
