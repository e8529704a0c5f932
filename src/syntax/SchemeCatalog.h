#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSettingsStore;

// One syntax definition the program offers.
struct TSchemeEntry {
    std::string Name; // the definition's Name: the menu caption
    std::string FileName; // relative to "Syntax Definitions", e.g. "C++.def"
    std::string Masks; // file masks separated by ";"
    std::vector<std::string> Extensions; // the definition's "description|masks" entries
    std::filesystem::path Path; // the file found in the data folders
};

// The syntax definitions found in the data folders, in the order the settings
// list them, with what the open and save dialogs and the Syntax menu need.
class TSchemeCatalog {
public:
    // folders: the data folders in search order (per-user first, then the
    // program's); definitions are read from their "Syntax Definitions" folder.
    explicit TSchemeCatalog(std::vector<std::filesystem::path> dataFolders);

    // The first existing "Syntax Definitions/<fileName>" of the data folders;
    // empty when none exists or the name leaves the folder.
    std::filesystem::path FindDefinition(std::string_view fileName) const;

    // Reads the "Syntax Definition" section: one key per enabled definition
    // (its file name; the value its masks) and "<default>". Definitions whose
    // file is missing or fails to load are left out. Without that section every
    // definition found in the data folders is offered, by file name, with the
    // masks of its Extensions.
    void Load(TSettingsStore& store);
    // Offers every definition found in the data folders.
    void LoadAll();

    const std::vector<TSchemeEntry>& Entries() const { return m_entries; }
    // The "description|masks" entries of all definitions joined with "|":
    // definitions in order, each one's entries last first. Empty without any.
    std::string FileFilter() const;
    // The definition for an opened file: the first whose masks hold "*" plus
    // the file's extension, or the file's whole name, ignoring ASCII case.
    const TSchemeEntry* ForFile(const std::filesystem::path& file) const;
    // The definition given to new documents; nullptr when none is set.
    const TSchemeEntry* Default() const;
    // First entry whose Name equals name ignoring case; nullptr if none.
    const TSchemeEntry* FindByName(std::string_view name) const;
    const TSchemeEntry* FindByFileName(std::string_view fileName) const;

    // Masks of a definition's Extensions entries ("C files|*.c;*.h" gives "*.c;*.h").
    static std::string MasksOf(const std::vector<std::string>& extensions);

private:
    bool AddEntry(const std::string& fileName, const std::string* masks);

    std::vector<std::filesystem::path> m_folders;
    std::vector<TSchemeEntry> m_entries;
    int m_default = -1;
};

} // namespace quillet
