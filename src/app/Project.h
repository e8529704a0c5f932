#pragma once

#include "core/DocumentFile.h"
#include "core/IniDocument.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Type of a project entry: how the file opens.
inline constexpr int kProjectText = 0;
inline constexpr int kProjectBinary = 1;

// The open project: a named list of files kept as INI text (".qpr") in
// sections [General] and [File1]..[FileN], plus the project's own sections
// (the to-do list) which are kept as they are. In memory every name that could
// be made absolute is absolute; on disk names inside the project's folder or a
// sibling folder are written relative to it with "/". Entries are numbered
// from 1 without gaps.
class TProject {
public:
    static constexpr std::string_view kSignature = "Quillet project file";
    static constexpr std::string_view kExtension = ".qpr";

    // A new project not saved yet: signature and FilesCount 0, not modified.
    static TProject New(std::string projectName);
    // A project from the text of a ".qpr" file at `file` (its folder resolves
    // relative names). nullopt when the signature is missing. A damaged count
    // or active entry is brought into range; the result is not modified.
    static std::optional<TProject> Parse(std::string_view text, const std::filesystem::path& file);
    // Reads and parses a project file; nullopt when it cannot be read or is no project.
    static std::optional<TProject> Load(const std::filesystem::path& file);

    // The file's text as written for `file` (names relative to its folder
    // where the rule allows it); the project itself is not changed.
    std::string Serialize(const std::filesystem::path& file) const;
    // Writes the project to `file` through the safe writer. On success the
    // project takes that file name and is not modified; on failure nothing
    // changes (name, names and modified flag stay).
    TDocumentFileResult SaveTo(const std::filesystem::path& file);

    // ---- identity ------------------------------------------------------------
    const std::filesystem::path& FileName() const { return m_fileName; }
    const std::string& ProjectName() const { return m_projectName; }
    // The tree's root text: the file name, or the project name while unsaved.
    std::string RootText() const;
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // ---- entries (1-based) -----------------------------------------------------
    int Count() const { return m_count; }
    std::string Name(int i) const;
    bool IsOpen(int i) const;
    int Type(int i) const;
    // The charset identifier stored for the entry, empty when absent.
    std::string CodePage(int i) const;
    // Entry number of the active document at the last save; 0 for none. Always in range.
    int ActiveFile() const { return m_activeFile; }
    void SetActiveFile(int i);

    // Each setter marks the project modified when it changes something.
    void SetName(int i, const std::string& name);
    void SetOpen(int i, bool open);
    void SetType(int i, int type);
    void SetCodePage(int i, std::string_view charsetId); // empty removes the key
    // Appends an entry and returns its number.
    int Add(const std::string& name, bool open, int type, std::string_view charsetId);
    // Removes entry i; the later entries move up one with all their keys and
    // the section that is no longer used is erased.
    void Remove(int i);
    // Number of the entry whose name equals `name` exactly, -1 when none.
    int GetProjectIndex(std::string_view name) const;

    // The project's INI text, for its other sections (the to-do list).
    TIniDocument& Ini() { return m_ini; }
    const TIniDocument& Ini() const { return m_ini; }

private:
    TProject() = default;
    static std::string Section(int i);
    void Normalize(const std::filesystem::path& folder);
    void WriteCount();

    TIniDocument m_ini;
    std::filesystem::path m_fileName; // empty while not saved
    std::string m_projectName;
    int m_count = 0; // == [General] FilesCount; sections above it are ignored
    int m_activeFile = 0; // 0..m_count
    bool m_modified = false;
};

// Names of project entries and the project's folder. A name is absolute when
// it begins with "/"; names stored with "\" are read with "/". A relative name
// is joined to the folder and cleaned ("." dropped, ".." removes the segment
// before it, never going above the root).
std::string AbsoluteProjectName(std::string_view stored, const std::filesystem::path& folder);
// The name as stored for a project in `folder`: relative when the file lies in
// the folder or in a sibling of it (at most one ".."), else the absolute name.
// Names that are not absolute are returned as they are.
std::string RelativeProjectName(std::string_view name, const std::filesystem::path& folder);

// A new project's name is valid when it is not empty and holds none of
// / < > " ? * | and no "\" in its file-name part.
bool IsValidProjectName(std::string_view name);

} // namespace quillet
