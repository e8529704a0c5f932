#include "app/Project.h"

#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace quillet {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGeneral = "General";

// Entries beyond this many are not believed: a damaged count cannot make the
// program walk millions of empty sections.
constexpr int kMaxEntries = 1'000'000;

int ToInt(const std::string* text, int fallback)
{
    if (text == nullptr) {
        return fallback;
    }
    std::string_view view = *text;
    while (!view.empty() && view.front() == ' ') {
        view.remove_prefix(1);
    }
    while (!view.empty() && view.back() == ' ') {
        view.remove_suffix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    return error == std::errc() && end == view.data() + view.size() ? value : fallback;
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return out;
}

// Number n of a section named "File<n>" (any case), 0 for other names.
int FileSectionNumber(std::string_view name)
{
    if (name.size() <= 4 || TIniDocument::Lower(name.substr(0, 4)) != "file") {
        return 0;
    }
    int value = 0;
    const std::string_view digits = name.substr(4);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value > 0 ? value : 0;
}

} // namespace

std::string AbsoluteProjectName(std::string_view stored, const fs::path& folder)
{
    std::string name(stored);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty()) {
        return name;
    }
    const fs::path path = name.front() == '/' ? fs::path(name) : folder / name;
    // lexically_normal drops "." and pairs ".." with the segment before it; a
    // ".." at the root stays at the root. A name ending in ".." keeps no
    // trailing slash, so it reads back the same after being written relative.
    std::string normal = path.lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

std::string RelativeProjectName(std::string_view name, const fs::path& folder)
{
    if (name.empty() || name.front() != '/' || folder.empty()) {
        return std::string(name);
    }
    const fs::path relative = fs::path(name).lexically_normal().lexically_relative(folder.lexically_normal());
    if (relative.empty() || relative == ".") {
        return std::string(name);
    }
    int ups = 0;
    for (const fs::path& part : relative) {
        if (part != "..") {
            break;
        }
        ++ups;
    }
    // Deeper climbs break when the project folder moves: keep them absolute.
    return ups <= 1 ? relative.generic_string() : std::string(name);
}

bool IsValidProjectName(std::string_view name)
{
    return !name.empty() && name.find_first_of("/<>\"?*|\\") == std::string_view::npos;
}

// ---- construction --------------------------------------------------------------------

TProject TProject::New(std::string projectName)
{
    TProject project;
    project.m_projectName = std::move(projectName);
    project.m_ini.Set(kGeneral, "Signature", kSignature);
    project.WriteCount();
    return project;
}

std::optional<TProject> TProject::Parse(std::string_view text, const fs::path& file)
{
    TProject project;
    project.m_ini = TIniDocument::Parse(text);
    const std::string* signature = project.m_ini.Find(kGeneral, "Signature");
    if (signature == nullptr || Upper(*signature) != Upper(kSignature)) {
        return std::nullopt;
    }
    project.m_fileName = file;
    project.Normalize(file.parent_path());
    project.m_modified = false;
    return project;
}

std::optional<TProject> TProject::Load(const fs::path& file)
{
    // A named pipe or device is refused rather than read until it ends.
    const TFileRead read = SystemFileSystem().ReadFile(file);
    if (!read.status) {
        return std::nullopt;
    }
    return Parse(read.bytes, file);
}

void TProject::Normalize(const fs::path& folder)
{
    // The count says how many entries there are, but a damaged file may claim
    // more sections than it holds (or a negative number): count only up to the
    // highest "File<n>" section present.
    int highest = 0;
    for (const std::string& section : m_ini.SectionNames()) {
        highest = std::max(highest, FileSectionNumber(section));
    }
    m_count = std::clamp(ToInt(m_ini.Find(kGeneral, "FilesCount"), 0), 0, std::min(highest, kMaxEntries));
    const int active = ToInt(m_ini.Find(kGeneral, "ActiveFile"), 0);
    m_activeFile = active >= 1 && active <= m_count ? active : 0;
    WriteCount();
    for (int i = 1; i <= m_count; ++i) {
        if (const std::string* name = m_ini.Find(Section(i), "Name"); name != nullptr && !name->empty()) {
            m_ini.Set(Section(i), "Name", AbsoluteProjectName(*name, folder));
        }
    }
}

std::string TProject::Serialize(const fs::path& file) const
{
    TIniDocument copy = m_ini;
    const fs::path folder = file.parent_path();
    for (int i = 1; i <= m_count; ++i) {
        if (const std::string* name = copy.Find(Section(i), "Name"); name != nullptr) {
            copy.Set(Section(i), "Name", RelativeProjectName(*name, folder));
        }
    }
    return copy.Serialize();
}

TDocumentFileResult TProject::SaveTo(const fs::path& file)
{
    const TDocumentFileResult result = WriteFileSafely(file, Serialize(file));
    if (result) {
        m_fileName = file;
        m_modified = false;
    }
    return result;
}

std::string TProject::RootText() const
{
    return m_fileName.empty() ? m_projectName : m_fileName.string();
}

// ---- entries -----------------------------------------------------------------------

std::string TProject::Section(int i)
{
    return "File" + std::to_string(i);
}

void TProject::WriteCount()
{
    m_ini.Set(kGeneral, "FilesCount", std::to_string(m_count));
    if (m_activeFile > 0) {
        m_ini.Set(kGeneral, "ActiveFile", std::to_string(m_activeFile));
    } else if (m_ini.Find(kGeneral, "ActiveFile") != nullptr) {
        m_ini.Set(kGeneral, "ActiveFile", "0");
    }
}

std::string TProject::Name(int i) const
{
    const std::string* value = i >= 1 && i <= m_count ? m_ini.Find(Section(i), "Name") : nullptr;
    return value != nullptr ? *value : std::string();
}

bool TProject::IsOpen(int i) const
{
    return i >= 1 && i <= m_count && ToInt(m_ini.Find(Section(i), "Open"), 0) == 1;
}

int TProject::Type(int i) const
{
    return i >= 1 && i <= m_count && ToInt(m_ini.Find(Section(i), "Type"), 0) == kProjectBinary ? kProjectBinary
                                                                                                : kProjectText;
}

std::string TProject::CodePage(int i) const
{
    const std::string* value = i >= 1 && i <= m_count ? m_ini.Find(Section(i), "CodePage") : nullptr;
    return value != nullptr ? *value : std::string();
}

void TProject::SetActiveFile(int i)
{
    const int active = i >= 1 && i <= m_count ? i : 0;
    if (active != m_activeFile) {
        m_activeFile = active;
        WriteCount();
    }
}

void TProject::SetName(int i, const std::string& name)
{
    if (i >= 1 && i <= m_count && Name(i) != name) {
        m_ini.Set(Section(i), "Name", name);
        m_modified = true;
    }
}

void TProject::SetOpen(int i, bool open)
{
    const std::string* value = i >= 1 && i <= m_count ? m_ini.Find(Section(i), "Open") : nullptr;
    if (i >= 1 && i <= m_count && (value == nullptr || *value != (open ? "1" : "0"))) {
        m_ini.Set(Section(i), "Open", open ? "1" : "0");
        m_modified = true;
    }
}

void TProject::SetType(int i, int type)
{
    const std::string text = std::to_string(type == kProjectBinary ? kProjectBinary : kProjectText);
    const std::string* value = i >= 1 && i <= m_count ? m_ini.Find(Section(i), "Type") : nullptr;
    if (i >= 1 && i <= m_count && (value == nullptr || *value != text)) {
        m_ini.Set(Section(i), "Type", text);
        m_modified = true;
    }
}

void TProject::SetCodePage(int i, std::string_view charsetId)
{
    if (i < 1 || i > m_count || CodePage(i) == charsetId) {
        return;
    }
    if (charsetId.empty()) {
        // The INI text has no single-key removal: rebuild the section without it.
        const auto values = m_ini.Values(Section(i));
        m_ini.EraseSection(Section(i));
        for (const auto& [key, value] : values) {
            if (TIniDocument::Lower(key) != "codepage") {
                m_ini.Set(Section(i), key, value);
            }
        }
    } else {
        m_ini.Set(Section(i), "CodePage", charsetId);
    }
    m_modified = true;
}

int TProject::Add(const std::string& name, bool open, int type, std::string_view charsetId)
{
    const int i = m_count + 1;
    // A section of that number left by a damaged file must not lend its keys.
    m_ini.EraseSection(Section(i));
    m_count = i;
    WriteCount();
    m_ini.Set(Section(i), "Name", name);
    m_ini.Set(Section(i), "Open", open ? "1" : "0");
    m_ini.Set(Section(i), "Type", std::to_string(type == kProjectBinary ? kProjectBinary : kProjectText));
    if (!charsetId.empty()) {
        m_ini.Set(Section(i), "CodePage", charsetId);
    }
    m_modified = true;
    return i;
}

void TProject::Remove(int i)
{
    if (i < 1 || i > m_count) {
        return;
    }
    for (int k = i; k < m_count; ++k) {
        const auto next = m_ini.Values(Section(k + 1));
        m_ini.EraseSection(Section(k));
        for (const auto& [key, value] : next) {
            m_ini.Set(Section(k), key, value);
        }
    }
    m_ini.EraseSection(Section(m_count));
    if (m_activeFile == i) {
        m_activeFile = 0;
    } else if (m_activeFile > i) {
        --m_activeFile;
    }
    --m_count;
    WriteCount();
    m_modified = true;
}

int TProject::GetProjectIndex(std::string_view name) const
{
    if (name.empty()) {
        return -1;
    }
    for (int i = 1; i <= m_count; ++i) {
        const std::string* value = m_ini.Find(Section(i), "Name");
        if (value != nullptr && *value == name) {
            return i;
        }
    }
    return -1;
}

} // namespace quillet
