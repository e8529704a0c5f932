#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSettingsStore;

// Type of a recent file: how it was open, so that reopening it does the same.
inline constexpr int kRecentText = 0;
inline constexpr int kRecentBinary = 1;

// One recent file or project. Project entries carry code page index 0 and
// type text.
struct TRecentEntry {
    std::string path; // full path as the file system's bytes
    int codePageIndex = 0; // index into the code page list
    int type = kRecentText; // kRecentText or kRecentBinary

    bool operator==(const TRecentEntry&) const = default;
};

// One of the two recent lists: at most ten entries, the most recent first,
// without gaps and with each path at most once. Paths are matched exactly:
// the file system is case-sensitive, so "A.txt" and "a.txt" are two files.
class TRecentList {
public:
    static constexpr int kCapacity = 10;
    enum class TKind { Files, Projects };

    explicit TRecentList(TKind kind)
        : m_kind(kind)
    {
    }

    TKind Kind() const { return m_kind; }
    const std::vector<TRecentEntry>& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Empty() const { return m_entries.empty(); }
    // The entry at a position; an empty entry outside the list.
    TRecentEntry At(int position) const;

    // Position of the entry naming the same file (lexically normal paths are
    // compared, so "/a//b" finds "/a/b"), or -1.
    int Find(std::string_view path) const;
    // Puts the entry at position 0: an entry with the same path moves up from
    // where it was, the others move down one, and an eleventh is dropped. An
    // empty path is ignored; projects always get index 0 and type text.
    void Add(TRecentEntry entry);
    // Removes a position; the later entries move up one. False outside the list.
    bool Remove(int position);
    void Clear() { m_entries.clear(); }

    // Menu caption of a position: "&" + digit (files) or letter A-J
    // (projects), a blank and the file name without its folder, with every
    // "&" of the name doubled so it shows instead of marking an accelerator.
    std::string Caption(int position) const;

private:
    TKind m_kind;
    std::vector<TRecentEntry> m_entries; // at most kCapacity, no empty paths, no two of one file
};

// The file name part of a stored path: after the last "/" (or "\", which
// stored paths of other systems use).
std::string RecentFileName(std::string_view path);

// Value of [Recent] "LastTyp": which list took the last entry.
enum class TRecentLastType { Unchanged = 0, File = 1, Project = 2 };

// Both recent lists as the settings store keeps them in section "Recent".
struct TRecentLists {
    TRecentList projects{TRecentList::TKind::Projects};
    TRecentList files{TRecentList::TKind::Files};
};

// Reads both lists from [Recent]: keys "RecentProj1".."RecentProj10" and
// "Recent1".."Recent10" with "Recent<n>CodePage" (a charset identifier) and
// "Recent<n>Type". Blank keys leave no gap; a path already read is skipped;
// "\" in a path is read as "/"; an empty code page gives the system code
// page's index and an unknown one what the identifier lookup gives; a type
// other than 0 reads as binary. Keys beyond 10 are not read. Returns false
// (and leaves the lists empty) when the section does not exist.
bool ReadRecentLists(TSettingsStore& store, TRecentLists& lists);
// Writes all twenty path keys (empty text for empty positions), the code page
// and type keys of every file position, and "LastTyp" unless lastType is
// Unchanged, in one save. Returns whether the save succeeded.
bool WriteRecentLists(TSettingsStore& store, const TRecentLists& lists, TRecentLastType lastType);
// [Recent] "LastTyp": Project when it holds 2, File otherwise (default 1).
TRecentLastType ReadRecentLastType(TSettingsStore& store);

} // namespace quillet
