#include "app/MimeAppsAssociations.h"

#include "core/DocumentFile.h"
#include "core/SettingsStore.h"
#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <iterator>

namespace quillet {

namespace {

constexpr std::string_view kGroup = "[Default Applications]";
// Recorded previous entries: key = MIME type, value "+" and the entry, or
// "-" when the type had none.
constexpr const char* kTypesSection = "File Associations";
// Extensions associated through us: key = extension, value = its MIME type.
constexpr const char* kExtensionsSection = "File Association Extensions";

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// One line of the text: [begin, end) without the line end, next = start of
// the following line.
struct TLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

std::vector<TLine> SplitLines(std::string_view text)
{
    std::vector<TLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        TLine line;
        line.begin = pos;
        line.end = newline == std::string_view::npos ? text.size() : newline;
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        if (line.end > line.begin && text[line.end - 1] == '\r') {
            --line.end; // a CR LF file keeps its CR
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

bool IsGroupHeader(std::string_view line)
{
    line = Trim(line);
    return !line.empty() && line.front() == '[';
}

// Position in lines of the first header of our group, and of the key line of
// mimeType within it (npos when absent).
struct TPlace {
    std::size_t group = std::string_view::npos;
    std::size_t key = std::string_view::npos;
    std::size_t lastInGroup = std::string_view::npos; // last non-blank line of the group
};

TPlace Locate(std::string_view text, const std::vector<TLine>& lines, std::string_view mimeType)
{
    TPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (IsGroupHeader(line)) {
            if (place.group != std::string_view::npos) {
                break; // the group ended
            }
            if (Trim(line) == kGroup) {
                place.group = i;
                place.lastInGroup = i;
            }
            continue;
        }
        if (place.group == std::string_view::npos) {
            continue;
        }
        if (!Trim(line).empty()) {
            place.lastInGroup = i;
        }
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && place.key == std::string_view::npos
            && Trim(line.substr(0, eq)) == mimeType) {
            place.key = i;
        }
    }
    return place;
}

std::string FirstEntry(std::string_view value)
{
    return std::string(Trim(value.substr(0, value.find(';'))));
}

// value without any entry naming id, with id put first.
std::string WithOursFirst(std::string_view previous, std::string_view id)
{
    std::string result = std::string(id) + ";";
    while (!previous.empty()) {
        const std::size_t semi = previous.find(';');
        const std::string_view entry = Trim(previous.substr(0, semi));
        if (!entry.empty() && entry != id) {
            result.append(entry);
            result += ';';
        }
        previous = semi == std::string_view::npos ? std::string_view{} : previous.substr(semi + 1);
    }
    return result;
}

} // namespace

std::optional<std::string> DefaultApplicationEntry(std::string_view listText, std::string_view mimeType)
{
    const std::vector<TLine> lines = SplitLines(listText);
    const TPlace place = Locate(listText, lines, mimeType);
    if (place.key == std::string_view::npos) {
        return std::nullopt;
    }
    const TLine& line = lines[place.key];
    const std::string_view text = listText.substr(line.begin, line.end - line.begin);
    return std::string(text.substr(text.find('=') + 1));
}

std::string WithDefaultApplicationEntry(
    std::string_view listText, std::string_view mimeType, const std::optional<std::string>& value)
{
    const std::vector<TLine> lines = SplitLines(listText);
    const TPlace place = Locate(listText, lines, mimeType);
    std::string out(listText);
    if (place.key != std::string_view::npos) {
        const TLine& line = lines[place.key];
        if (!value) {
            return out.erase(line.begin, line.next - line.begin);
        }
        const std::size_t valueBegin = listText.find('=', line.begin) + 1;
        return out.replace(valueBegin, line.end - valueBegin, *value);
    }
    if (!value) {
        return out;
    }
    const std::string entry = std::string(mimeType) + "=" + *value;
    if (place.group == std::string_view::npos) {
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        return out + std::string(kGroup) + "\n" + entry + "\n";
    }
    const TLine& after = lines[place.lastInGroup];
    const bool crlf = after.end < after.next && listText[after.end] == '\r';
    std::string inserted = entry + (crlf ? "\r\n" : "\n");
    if (after.next == after.end) { // the last line of the text had no line end
        inserted = std::string(crlf ? "\r\n" : "\n") + entry;
    }
    return out.insert(after.next, inserted);
}

std::filesystem::path FindDesktopEntry(
    std::string_view desktopId, const std::filesystem::path& dataHome, std::string_view dataDirs)
{
    std::vector<std::filesystem::path> folders{dataHome};
    if (dataDirs.empty()) {
        dataDirs = "/usr/local/share:/usr/share";
    }
    while (!dataDirs.empty()) {
        const std::size_t colon = dataDirs.find(':');
        if (const std::string_view dir = dataDirs.substr(0, colon); !dir.empty()) {
            folders.emplace_back(dir);
        }
        dataDirs = colon == std::string_view::npos ? std::string_view{} : dataDirs.substr(colon + 1);
    }
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path entry = folder / "applications" / desktopId;
        std::error_code ec;
        if (!folder.empty() && std::filesystem::is_regular_file(entry, ec)) {
            return entry;
        }
    }
    return {};
}

TMimeAppsAssociations::TMimeAppsAssociations(
    std::filesystem::path listFile, std::string desktopId, TSettingsStore& store)
    : m_listFile(std::move(listFile))
    , m_desktopId(std::move(desktopId))
    , m_store(store)
{
}

bool TMimeAppsAssociations::ReadList(std::string& text, std::string& error) const
{
    TFileRead read = SystemFileSystem().ReadFile(m_listFile);
    if (!read.status) {
        text.clear();
        if (read.status.kind == TFileErrorKind::NotFound) {
            return true; // no list yet: no associations
        }
        error = m_listFile.string() + ": " + read.status.reason;
        return false;
    }
    text = std::string(read.bytes.View());
    return true;
}

bool TMimeAppsAssociations::WriteList(const std::string& text, std::string& error) const
{
    std::error_code ec;
    std::filesystem::create_directories(m_listFile.parent_path(), ec);
    const TDocumentFileResult result = WriteFileSafely(m_listFile, text);
    if (!result) {
        error = result.fileName + ": " + result.reason;
    }
    return result.ok;
}

bool TMimeAppsAssociations::IsOurs(std::string_view mimeType) const
{
    std::string text;
    std::string error;
    if (!ReadList(text, error)) {
        return false;
    }
    const std::optional<std::string> entry = DefaultApplicationEntry(text, mimeType);
    return entry && FirstEntry(*entry) == m_desktopId;
}

bool TMimeAppsAssociations::Associate(std::string_view extension, std::string_view mimeType, std::string& error)
{
    std::string text;
    if (!ReadList(text, error)) {
        return false;
    }
    const std::optional<std::string> previous = DefaultApplicationEntry(text, mimeType);
    if (!(previous && FirstEntry(*previous) == m_desktopId)) {
        // The record comes first: should the file write fail after it, the
        // record is dropped again; should the program end between the two,
        // releasing finds our id missing and leaves the file alone.
        m_store.WriteString(kTypesSection, mimeType, previous ? "+" + *previous : std::string("-"));
        m_store.WriteString(kExtensionsSection, extension, mimeType);
        if (!m_store.Flush()) {
            error = m_store.LastError();
            return false;
        }
        if (!WriteList(WithDefaultApplicationEntry(text, mimeType, WithOursFirst(previous.value_or(""), m_desktopId)),
                error)) {
            Forget(mimeType);
            return false;
        }
        return true;
    }
    // Already ours (for example through another extension of the type).
    m_store.WriteString(kExtensionsSection, extension, mimeType);
    return m_store.Flush() || (error = m_store.LastError(), false);
}

bool TMimeAppsAssociations::Release(std::string_view mimeType, std::string& error)
{
    std::string text;
    if (!ReadList(text, error)) {
        return false;
    }
    const std::optional<std::string> current = DefaultApplicationEntry(text, mimeType);
    if (current && FirstEntry(*current) == m_desktopId) {
        const std::string record = m_store.ReadString(kTypesSection, mimeType, "-");
        const std::optional<std::string> restored =
            !record.empty() && record.front() == '+' ? std::optional<std::string>(record.substr(1)) : std::nullopt;
        if (!WriteList(WithDefaultApplicationEntry(text, mimeType, restored), error)) {
            return false;
        }
    }
    // Whether restored now or changed by someone else since, the record is done.
    Forget(mimeType);
    return m_store.Flush() || (error = m_store.LastError(), false);
}

bool TMimeAppsAssociations::ReleaseAll(std::string& error)
{
    error.clear();
    std::vector<std::string> types = m_store.ReadSection(kTypesSection);
    for (const auto& [extension, type] : RecordedExtensions()) {
        if (std::find(types.begin(), types.end(), type) == types.end()) {
            types.push_back(type);
        }
    }
    bool ok = true;
    for (const std::string& type : types) {
        std::string reason;
        if (!Release(type, reason)) {
            ok = false;
            if (error.empty()) {
                error = reason;
            }
        }
    }
    return ok;
}

std::vector<std::pair<std::string, std::string>> TMimeAppsAssociations::RecordedExtensions() const
{
    std::vector<std::pair<std::string, std::string>> result;
    for (const std::string& extension : m_store.ReadSection(kExtensionsSection)) {
        result.emplace_back(extension, m_store.ReadString(kExtensionsSection, extension, ""));
    }
    std::sort(result.begin(), result.end());
    return result;
}

void TMimeAppsAssociations::Forget(std::string_view mimeType)
{
    // The store has no single-key erase: each section is written again
    // without the keys of the type.
    const auto rewrite = [this](const char* section, const auto& drop) {
        std::vector<std::pair<std::string, std::string>> keep;
        for (const std::string& key : m_store.ReadSection(section)) {
            std::string value = m_store.ReadString(section, key, "");
            if (!drop(key, value)) {
                keep.emplace_back(key, std::move(value));
            }
        }
        m_store.EraseSection(section);
        for (const auto& [key, value] : keep) {
            m_store.WriteString(section, key, value);
        }
    };
    TSettingsBatch batch(m_store);
    rewrite(kExtensionsSection, [mimeType](const std::string&, const std::string& type) {
        return type == mimeType;
    });
    rewrite(kTypesSection, [mimeType](const std::string& type, const std::string&) {
        return type == mimeType;
    });
}

} // namespace quillet
