// Reading and writing document files: the probe that tells text, binary and
// project apart, loading with conversion into the system code page, and the
// converted save through a temporary file.
#include "core/DocumentFile.h"

#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "core/DocumentPrefetch.h"
#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kProbeSize = 50;
constexpr std::string_view kProjectSignature = "QUILLET PROJECT FILE";
// A project file is small; more than this is not read for its signature.
constexpr std::size_t kProjectProbeLimit = 1 << 20;

TDocumentFileResult Failure(const fs::path& file, std::string reason)
{
    return TDocumentFileResult{false, file.string(), std::move(reason)};
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Reads up to limit bytes (the whole file when limit is 0).
bool ReadFile(const fs::path& file, std::size_t limit, std::string& out, std::string& reason)
{
    TFileRead read = SystemFileSystem().ReadFile(file, limit);
    out.assign(read.bytes.View());
    reason = std::move(read.status.reason);
    return read.status.Ok();
}

// True when the INI text has [General] Signature = the project signature,
// compared upper-cased. Section and key names ignore case, as INI readers do.
bool HasProjectSignature(std::string_view text)
{
    bool inGeneral = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inGeneral =
                close != std::string_view::npos && AsciiUpper(TrimBlanks(line.substr(1, close - 1))) == "GENERAL";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inGeneral || eq == std::string_view::npos) {
            continue;
        }
        if (AsciiUpper(TrimBlanks(line.substr(0, eq))) == "SIGNATURE") {
            // The first Signature key decides.
            return AsciiUpper(TrimBlanks(line.substr(eq + 1))) == kProjectSignature;
        }
    }
    return false;
}

bool ProjectTest(const fs::path& file)
{
    if (AsciiUpper(file.extension().string()) != ".QPR") {
        return false;
    }
    std::string text;
    std::string reason;
    return ReadFile(file, kProjectProbeLimit, text, reason) && HasProjectSignature(text);
}

struct TMark {
    std::string_view bytes;
    int charset;
};

// Tested in this order: FF FE 00 00 before FF FE.
const std::array<TMark, 5> kMarks = {{
    {std::string_view("\xFE\xFF", 2), kCpUcs2BE},
    {std::string_view("\xFF\xFE\x00\x00", 4), kCpUcs4LE},
    {std::string_view("\xFF\xFE", 2), kCpUcs2LE},
    {std::string_view("\xEF\xBB\xBF", 3), kCpUtf8},
    {std::string_view("\x00\x00\xFE\xFF", 4), kCpUcs4BE},
}};

bool IsControlByte(unsigned char b)
{
    return b <= 8 || b == 11 || b == 12 || (b >= 14 && b <= 31);
}

} // namespace

TFileTypes GetFileTypes(const fs::path& file)
{
    TFileTypes types;
    std::string head;
    std::string reason;
    if (!ReadFile(file, kProbeSize, head, reason)) {
        return types;
    }
    types.isBinary = std::any_of(head.begin(), head.end(), [](char c) {
        return IsControlByte(static_cast<unsigned char>(c));
    });
    for (const TMark& mark : kMarks) {
        if (head.size() >= mark.bytes.size() && head.compare(0, mark.bytes.size(), mark.bytes) == 0) {
            types.hasByteOrderMark = true;
            types.charset = mark.charset;
            break;
        }
    }
    if (!types.isBinary && !types.hasByteOrderMark) {
        types.isProject = ProjectTest(file);
    }
    return types;
}

bool IsProject(const fs::path& file)
{
    return GetFileTypes(file).isProject;
}

TOpenKind ChooseOpenKind(const TFileTypes& types, bool isNew, bool fileExists, bool asBinary, bool hasSourceView)
{
    if (hasSourceView || asBinary || (!isNew && fileExists && types.isBinary && !types.hasByteOrderMark)) {
        return TOpenKind::Binary;
    }
    if (!isNew && types.isProject) {
        return TOpenKind::Project;
    }
    return TOpenKind::Text;
}

TDocumentLoad LoadTextDocument(const fs::path& file, int codePageIndex, bool detectByteOrderMark)
{
    TDocumentLoad load;
    load.result.fileName = file.string();
    load.codePageIndex = codePageIndex >= 0 && codePageIndex < kCodePageCount ? codePageIndex : 0;
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) {
        load.notFound = true;
        load.result = Failure(file, std::strerror(ENOENT));
        return load;
    }
    const int systemCp = GetSystemCodePage();
    int used = GetCodePage(load.codePageIndex);
    if (detectByteOrderMark) {
        const TFileTypes types = GetFileTypes(file);
        if (types.hasByteOrderMark) {
            used = types.charset;
            load.codePageIndex = GetCPIndex(types.charset);
        }
    }
    std::optional<TFileRead> prefetched = TakePrefetchedDocument(file);
    TFileRead read = prefetched ? std::move(*prefetched) : SystemFileSystem().ReadFile(file);
    if (!read.status) {
        load.result = Failure(file, read.status.reason);
        return load;
    }
    if (used != systemCp) {
        TConversion conversion = ConvertCharset(read.bytes, used, systemCp);
        load.text = TFileBytes(std::move(conversion.bytes));
        load.lossy = conversion.lossy;
        load.converted = true;
    } else {
        load.text = std::move(read.bytes); // the read buffer itself, not a copy
    }
    load.readOnlyFile = IsReadOnlyFile(file);
    return load;
}

TDocumentFileResult SaveTextDocument(const fs::path& file, std::string_view text, int codePageIndex)
{
    const int systemCp = GetSystemCodePage();
    const int charset = GetCodePage(codePageIndex);
    if (charset == systemCp) {
        return WriteFileSafely(file, text);
    }
    std::string bytes(ByteOrderMark(charset));
    bytes += CharsetConversion(text, systemCp, charset);
    return WriteFileSafely(file, bytes);
}

TDocumentFileResult WriteFileSafely(const fs::path& file, std::string_view bytes)
{
    const TFileStatus status = SystemFileSystem().WriteFile(file, bytes);
    return status ? TDocumentFileResult{true, file.string(), {}} : Failure(file, status.reason);
}

TDocumentFileResult WriteFileSafelyWith(const fs::path& file, const std::function<std::string(int fd)>& fill)
{
    const TFileStatus status = SystemFileSystem().WriteFileWith(file, fill);
    return status ? TDocumentFileResult{true, file.string(), {}} : Failure(file, status.reason);
}

std::int64_t LastAccessToFile(const fs::path& file)
{
    struct stat st { };
    if (::stat(file.c_str(), &st) != 0 && ::lstat(file.c_str(), &st) != 0) {
        return 0;
    }
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool HasChangedOnDisk(const fs::path& file, std::int64_t recordedStamp)
{
    const std::int64_t stamp = LastAccessToFile(file);
    return stamp != 0 && stamp != recordedStamp;
}

bool IsReadOnlyFile(const fs::path& file)
{
    std::error_code ec;
    return fs::exists(file, ec) && ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
}

bool IsWriteProtected(const fs::path& file)
{
    if (IsReadOnlyFile(file)) {
        return true;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0;
}

TDocumentFileResult ClearReadOnlyAttribute(const fs::path& file)
{
    struct stat st { };
    if (::stat(file.c_str(), &st) != 0 || ::chmod(file.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) {
        return Failure(file, std::strerror(errno));
    }
    return TDocumentFileResult{true, file.string(), {}};
}

std::string UntitledName(std::string_view baseName, int counter)
{
    std::string name;
    for (char c : baseName) {
        if (c != '*' && c != '\\') {
            name += c;
        }
    }
    return name + std::to_string(counter);
}

std::string BackupExtension(const fs::path& file)
{
    const std::string ext = file.extension().string();
    return ext.empty() ? ".~" : ".~" + ext.substr(1);
}

std::string ChangeExtDialog(std::string_view fileName, std::string_view filter, int filterIndex)
{
    if (filterIndex < 1 || filter.empty()) {
        return std::string(fileName);
    }
    // Fields alternate description, mask; the index-th mask is field 2 * index - 1.
    std::size_t fieldStart = 0;
    std::string_view mask;
    bool found = false;
    for (int field = 0; fieldStart <= filter.size(); ++field) {
        std::size_t bar = filter.find('|', fieldStart);
        if (bar == std::string_view::npos) {
            bar = filter.size();
        }
        if (field == 2 * filterIndex - 1) {
            mask = filter.substr(fieldStart, bar - fieldStart);
            found = true;
            break;
        }
        fieldStart = bar + 1;
    }
    if (!found) {
        return std::string(fileName);
    }
    mask = mask.substr(0, mask.find(';'));
    mask = TrimBlanks(mask);
    if (mask.size() < 3 || mask.substr(0, 2) != "*." || mask.find_first_of("*?[", 2) != std::string_view::npos) {
        return std::string(fileName);
    }
    const std::string_view ext = mask.substr(1); // ".pas"
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t dot = fileName.find_last_of('.');
    // A dot in a folder name or one that starts the name (".profile") is no extension.
    if (dot == std::string_view::npos || dot <= nameStart) {
        dot = fileName.size();
    }
    return std::string(fileName.substr(0, dot)) + std::string(ext);
}

} // namespace quillet
