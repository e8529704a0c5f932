#include "syntax/SchemeCatalog.h"

#include "core/SettingsStore.h"
#include "syntax/SyntaxScheme.h"

#include <algorithm>
#include <set>
#include <system_error>

namespace quillet {

namespace {

constexpr std::string_view kSection = "Syntax Definition";
constexpr std::string_view kDefaultKey = "<default>";
constexpr std::string_view kDefinitionsFolder = "Syntax Definitions";

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return AsciiLower(x) == AsciiLower(y);
    });
}

// Masks split at ";", "," and blanks.
std::vector<std::string_view> SplitMasks(std::string_view masks)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= masks.size(); ++i) {
        if (i == masks.size() || masks[i] == ';' || masks[i] == ',' || masks[i] == ' ' || masks[i] == '\t') {
            if (i > start) {
                out.push_back(masks.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return out;
}

} // namespace

TSchemeCatalog::TSchemeCatalog(std::vector<std::filesystem::path> dataFolders)
    : m_folders(std::move(dataFolders))
{
}

std::filesystem::path TSchemeCatalog::FindDefinition(std::string_view fileName) const
{
    const std::filesystem::path relative{std::string(fileName)};
    if (fileName.empty() || relative.is_absolute()) {
        return {};
    }
    for (const auto& part : relative) {
        if (part == "..") {
            return {};
        }
    }
    for (const std::filesystem::path& folder : m_folders) {
        std::error_code ec;
        const std::filesystem::path candidate = folder / kDefinitionsFolder / relative;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            return candidate;
        }
    }
    return {};
}

std::string TSchemeCatalog::MasksOf(const std::vector<std::string>& extensions)
{
    std::string masks;
    for (const std::string& entry : extensions) {
        const std::size_t bar = entry.find('|');
        if (bar == std::string::npos || bar + 1 >= entry.size()) {
            continue;
        }
        if (!masks.empty()) {
            masks += ';';
        }
        masks += entry.substr(bar + 1);
    }
    return masks;
}

bool TSchemeCatalog::AddEntry(const std::string& fileName, const std::string* masks)
{
    const std::filesystem::path path = FindDefinition(fileName);
    if (path.empty()) {
        return false;
    }
    TSyntaxScheme scheme;
    if (!scheme.LoadFromFile(path).ok) {
        return false;
    }
    TSchemeEntry entry;
    entry.Name = scheme.Name;
    entry.FileName = fileName;
    entry.Extensions = scheme.Extensions;
    entry.Masks = masks != nullptr ? *masks : MasksOf(scheme.Extensions);
    entry.Path = path;
    m_entries.push_back(std::move(entry));
    return true;
}

void TSchemeCatalog::Load(TSettingsStore& store)
{
    if (!store.SectionExists(kSection)) {
        LoadAll();
        return;
    }
    m_entries.clear();
    m_default = -1;
    const std::string defaultFile = store.ReadString(kSection, kDefaultKey, "");
    for (const std::string& key : store.ReadSection(kSection)) {
        if (key == kDefaultKey) {
            continue;
        }
        const std::string masks = store.ReadString(kSection, key, "");
        if (AddEntry(key, &masks) && !defaultFile.empty() && key == defaultFile) {
            m_default = static_cast<int>(m_entries.size()) - 1;
        }
    }
}

void TSchemeCatalog::LoadAll()
{
    m_entries.clear();
    m_default = -1;
    std::set<std::string> names; // a per-user file hides the program's one of the same name
    for (const std::filesystem::path& folder : m_folders) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder / kDefinitionsFolder, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code typeEc;
            if (it->path().extension() == ".def" && it->is_regular_file(typeEc)) {
                names.insert(it->path().filename().string());
            }
        }
    }
    for (const std::string& name : names) {
        AddEntry(name, nullptr);
    }
}

std::string TSchemeCatalog::FileFilter() const
{
    std::string filter;
    for (const TSchemeEntry& entry : m_entries) {
        for (auto it = entry.Extensions.rbegin(); it != entry.Extensions.rend(); ++it) {
            if (!filter.empty()) {
                filter += '|';
            }
            filter += *it;
        }
    }
    return filter;
}

const TSchemeEntry* TSchemeCatalog::ForFile(const std::filesystem::path& file) const
{
    const std::string name = file.filename().string();
    const std::string extension = file.extension().string();
    const std::string form = extension.empty() ? std::string() : "*" + extension;
    for (const TSchemeEntry& entry : m_entries) {
        for (std::string_view mask : SplitMasks(entry.Masks)) {
            if ((!form.empty() && EqualsAsciiNoCase(mask, form))
                || (!name.empty() && mask.find_first_of("*?") == std::string_view::npos
                    && EqualsAsciiNoCase(mask, name))) {
                return &entry;
            }
        }
    }
    return nullptr;
}

const TSchemeEntry* TSchemeCatalog::Default() const
{
    return m_default >= 0 ? &m_entries[static_cast<std::size_t>(m_default)] : nullptr;
}

const TSchemeEntry* TSchemeCatalog::FindByName(std::string_view name) const
{
    for (const TSchemeEntry& entry : m_entries) {
        if (EqualsAsciiNoCase(entry.Name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

const TSchemeEntry* TSchemeCatalog::FindByFileName(std::string_view fileName) const
{
    for (const TSchemeEntry& entry : m_entries) {
        if (entry.FileName == fileName) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace quillet
