#pragma once

#include "platform/IFileSystem.h"

#include <map>
#include <optional>
#include <vector>

namespace quillet {

// In-memory file system for tests, with the same write steps as the real one
// (exclusive temporary sibling, write, sync, rename) so that a failure can be
// injected at each. Paths are used as given; "/" always exists as a folder.
class TFakeFileSystem : public IFileSystem {
public:
    TFakeFileSystem();

    TFileRead ReadFile(const std::filesystem::path& file, std::size_t limit) override;
    using IFileSystem::ReadFile;
    TFileStatus WriteFile(const std::filesystem::path& file, std::string_view bytes) override;
    // fill writes to an anonymous temporary file whose content then becomes
    // the new file's.
    TFileStatus WriteFileWith(const std::filesystem::path& file, const TFill& fill) override;
    TFileStatus Remove(const std::filesystem::path& file) override;
    TFileStatus Link(const std::filesystem::path& existing, const std::filesystem::path& name) override;
    TFileStatus CopyPermissions(const std::filesystem::path& from, const std::filesystem::path& to) override;

    // The next write fails at step (Create, Write, Sync or Rename) with the
    // errno value error; later writes succeed again.
    void FailNextWrite(TFileStep step, int error);

    // Folders are made with their parents. mode is the permission bits; a
    // file without the owner's write bit cannot be replaced.
    void AddFolder(const std::filesystem::path& folder);
    void AddFile(const std::filesystem::path& file, std::string_view bytes, unsigned mode = 0644);
    void AddSymlink(const std::filesystem::path& link, const std::filesystem::path& target);

    // The bytes of a file (through links); nothing for folders and missing files.
    std::optional<std::string> Contents(const std::filesystem::path& file) const;
    unsigned Mode(const std::filesystem::path& file) const;
    bool IsSymlink(const std::filesystem::path& file) const;
    // Names directly inside a folder, sorted.
    std::vector<std::string> Names(const std::filesystem::path& folder) const;
    // Writes that reached the rename step successfully.
    int CompletedWrites() const { return m_completedWrites; }

private:
    enum class TKind { File, Folder, Symlink };
    struct TEntry {
        TKind kind = TKind::File;
        std::string bytes; // a file's content, or a link's target
        unsigned mode = 0644;
    };

    // The write steps around produce, which yields the new content.
    TFileStatus Replace(
        const std::filesystem::path& file, const std::function<TFileStatus(std::string& bytes)>& produce);
    std::filesystem::path Resolve(const std::filesystem::path& file) const;
    const TEntry* Find(const std::filesystem::path& file) const;
    bool FolderExists(const std::filesystem::path& folder) const;
    int TakeInjected(TFileStep step);

    std::map<std::filesystem::path, TEntry> m_entries;
    TFileStep m_failStep = TFileStep::None;
    int m_failError = 0;
    int m_tempCounter = 0;
    int m_completedWrites = 0;
};

} // namespace quillet
