#include "app/RecentList.h"

#include "core/CodePages.h"
#include "core/SettingsStore.h"

#include <algorithm>
#include <filesystem>

namespace quillet {

namespace {

constexpr std::string_view kRecentSection = "Recent";

std::string NormalForm(std::string_view path)
{
    return std::filesystem::path(path).lexically_normal().string();
}

std::string ProjectKey(int n)
{
    return "RecentProj" + std::to_string(n);
}

std::string FileKey(int n)
{
    return "Recent" + std::to_string(n);
}

std::string ReadPath(TSettingsStore& store, const std::string& key)
{
    std::string path = store.ReadString(kRecentSection, key, "");
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Appends in reading order: the first occurrence of a file keeps its place,
// later ones are dropped, and the list never grows past its capacity.
void AppendRead(std::vector<TRecentEntry>& entries, TRecentEntry entry)
{
    const std::string wanted = NormalForm(entry.path);
    const bool known = std::any_of(entries.begin(), entries.end(), [&wanted](const TRecentEntry& e) {
        return NormalForm(e.path) == wanted;
    });
    if (!known && entries.size() < TRecentList::kCapacity) {
        entries.push_back(std::move(entry));
    }
}

} // namespace

std::string RecentFileName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

TRecentEntry TRecentList::At(int position) const
{
    if (position < 0 || position >= Count()) {
        return {};
    }
    return m_entries[static_cast<std::size_t>(position)];
}

int TRecentList::Find(std::string_view path) const
{
    if (path.empty()) {
        return -1;
    }
    const std::string wanted = NormalForm(path);
    for (int k = 0; k < Count(); ++k) {
        if (NormalForm(m_entries[static_cast<std::size_t>(k)].path) == wanted) {
            return k;
        }
    }
    return -1;
}

void TRecentList::Add(TRecentEntry entry)
{
    if (entry.path.empty()) {
        return;
    }
    if (m_kind == TKind::Projects) {
        entry.codePageIndex = 0;
        entry.type = kRecentText;
    }
    if (const int found = Find(entry.path); found >= 0) {
        m_entries.erase(m_entries.begin() + found);
    } else if (Count() >= kCapacity) {
        m_entries.pop_back();
    }
    m_entries.insert(m_entries.begin(), std::move(entry));
}

bool TRecentList::Remove(int position)
{
    if (position < 0 || position >= Count()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + position);
    return true;
}

std::string TRecentList::Caption(int position) const
{
    std::string caption = "&";
    caption += m_kind == TKind::Projects ? static_cast<char>('A' + position) : static_cast<char>('0' + position);
    caption += ' ';
    for (const char c : RecentFileName(At(position).path)) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    return caption;
}

bool ReadRecentLists(TSettingsStore& store, TRecentLists& lists)
{
    lists.projects.Clear();
    lists.files.Clear();
    if (!store.SectionExists(kRecentSection)) {
        return false;
    }
    std::vector<TRecentEntry> projects;
    std::vector<TRecentEntry> files;
    for (int n = 1; n <= TRecentList::kCapacity; ++n) {
        if (std::string path = ReadPath(store, ProjectKey(n)); !path.empty()) {
            AppendRead(projects, {std::move(path), 0, kRecentText});
        }
        if (std::string path = ReadPath(store, FileKey(n)); !path.empty()) {
            const std::string id = store.ReadString(kRecentSection, FileKey(n) + "CodePage", "");
            const int index = id.empty() ? GetDefaultCP() : GetCPIndex(GetCPFromID(id));
            const int type = store.ReadInteger(kRecentSection, FileKey(n) + "Type", kRecentText) == kRecentText
                ? kRecentText
                : kRecentBinary;
            AppendRead(files, {std::move(path), index, type});
        }
    }
    // Added oldest first, so each lands at the head and the order is kept.
    for (auto it = projects.rbegin(); it != projects.rend(); ++it) {
        lists.projects.Add(*it);
    }
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        lists.files.Add(*it);
    }
    return true;
}

bool WriteRecentLists(TSettingsStore& store, const TRecentLists& lists, TRecentLastType lastType)
{
    store.BeginBatch();
    for (int k = 0; k < TRecentList::kCapacity; ++k) {
        const int n = k + 1;
        store.WriteString(kRecentSection, ProjectKey(n), lists.projects.At(k).path);
        const TRecentEntry file = lists.files.At(k);
        store.WriteString(kRecentSection, FileKey(n), file.path);
        store.WriteString(kRecentSection,
            FileKey(n) + "CodePage",
            file.path.empty() ? "" : GetIDFromCP(GetCodePage(file.codePageIndex)));
        store.WriteInteger(kRecentSection, FileKey(n) + "Type", file.type);
    }
    if (lastType != TRecentLastType::Unchanged) {
        store.WriteInteger(kRecentSection, "LastTyp", static_cast<int>(lastType));
    }
    return store.EndBatch();
}

TRecentLastType ReadRecentLastType(TSettingsStore& store)
{
    return store.ReadInteger(kRecentSection, "LastTyp", 1) == 2 ? TRecentLastType::Project : TRecentLastType::File;
}

} // namespace quillet
