#include "core/SettingsStore.h"

#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

std::string SystemError(const std::filesystem::path& file, const TFileStatus& status)
{
    return file.string() + ": " + status.reason;
}

// Saves bytes safely over target, making its folder first. On any failure the
// target is untouched and error says why.
bool SaveReplacing(const std::filesystem::path& target, std::string_view bytes, std::string& error)
{
    std::error_code ec;
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
    }
    const TFileStatus status = SystemFileSystem().WriteFile(target, bytes);
    if (!status) {
        error = SystemError(target, status);
        return false;
    }
    error.clear();
    return true;
}

std::string_view StripSign(std::string_view text, bool& negative)
{
    negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

TSettingsStore::TSettingsStore(std::filesystem::path file, TSettingsForm form)
    : m_file(std::move(file))
    , m_form(form)
{
}

TSettingsStore::~TSettingsStore()
{
    Flush();
}

TSettingsStore::TFileStamp TSettingsStore::Stamp(const std::filesystem::path& file)
{
    TFileStamp stamp;
    struct stat st { };
    if (::stat(file.c_str(), &st) == 0) {
        stamp.exists = true;
        stamp.size = static_cast<std::uintmax_t>(st.st_size);
        stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    }
    return stamp;
}

bool TSettingsStore::Changed()
{
    return !m_loaded || Stamp(m_file) != m_stamp;
}

// Loads the file when it is new to us or another process replaced it. Pending
// writes of an open batch are never thrown away by a reload.
void TSettingsStore::Refresh()
{
    if (m_file.empty()) {
        m_loaded = true;
        return;
    }
    if (m_dirty || (m_batchDepth > 0 && m_loaded) || !Changed()) {
        return;
    }
    const TFileStamp stamp = Stamp(m_file);
    m_loaded = true;
    m_stamp = stamp;
    m_readFailed = false;
    if (!stamp.exists) {
        m_doc = TIniDocument{};
        return;
    }
    const TFileRead read = SystemFileSystem().ReadFile(m_file);
    if (!read.status) {
        m_lastError = SystemError(m_file, read.status);
        m_readFailed = true;
        m_doc = TIniDocument{};
        return;
    }
    m_doc = TIniDocument::Parse(read.bytes);
}

std::string TSettingsStore::NormalizeSection(std::string_view section) const
{
    if (m_form != TSettingsForm::PerUser) {
        return std::string(section);
    }
    // Nested names: "A\\B\" and "A\B" address the same place.
    std::string result;
    bool lastWasSeparator = true;
    for (char c : section) {
        if (c == '\\') {
            if (!lastWasSeparator) {
                result += c;
            }
            lastWasSeparator = true;
        } else {
            result += c;
            lastWasSeparator = false;
        }
    }
    if (!result.empty() && result.back() == '\\') {
        result.pop_back();
    }
    return result;
}

std::string TSettingsStore::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    Refresh();
    const std::string* value = m_doc.Find(NormalizeSection(section), key);
    return value != nullptr ? *value : std::string(defaultValue);
}

bool TSettingsStore::ParseInteger(std::string_view text, TSettingsForm form, std::int32_t& result)
{
    bool negative = false;
    std::string_view digits = StripSign(text, negative);
    int base = 10;
    if (form == TSettingsForm::ProgramIni) {
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            digits.remove_prefix(2);
            base = 16;
        } else if (digits.size() > 1 && digits[0] == '$') {
            digits.remove_prefix(1);
            base = 16;
        }
    }
    if (digits.empty() || digits.front() == '-' || digits.front() == '+') {
        return false;
    }
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (ec != std::errc{} || end != digits.data() + digits.size()) {
        return false;
    }
    std::int64_t value = 0;
    if (base == 16) {
        // Hex text is the 32-bit pattern: $80000011 is a system colour.
        if (magnitude > 0xFFFFFFFFull) {
            return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        value = negative ? -value : value;
    } else {
        if (magnitude > 0x80000000ull) {
            return false;
        }
        value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return false;
    }
    result = static_cast<std::int32_t>(value);
    return true;
}

std::int32_t TSettingsStore::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue)
{
    const std::string text = ReadString(section, key, std::to_string(defaultValue));
    std::int32_t value = 0;
    return ParseInteger(text, m_form, value) ? value : defaultValue;
}

std::int32_t TSettingsStore::ReadIntegerInRange(std::string_view section,
    std::string_view key,
    std::int32_t defaultValue,
    std::int32_t minimum,
    std::int32_t maximum)
{
    const std::int32_t value = ReadInteger(section, key, defaultValue);
    return value < minimum ? minimum : (value > maximum ? maximum : value);
}

bool TSettingsStore::ReadBool(std::string_view section, std::string_view key, bool defaultValue)
{
    if (m_form == TSettingsForm::ProgramIni) {
        return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
    }
    return ReadString(section, key, defaultValue ? "1" : "0") == "1";
}

bool TSettingsStore::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Refresh();
    if (m_readFailed) {
        return false;
    }
    const std::string normalized = NormalizeSection(section);
    const std::string* old = m_doc.Find(normalized, key);
    if (old != nullptr && *old == value) {
        return true;
    }
    if (!m_doc.Set(normalized, key, value)) {
        return false;
    }
    m_dirty = true;
    return m_batchDepth > 0 || Flush();
}

bool TSettingsStore::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TSettingsStore::WriteBool(std::string_view section, std::string_view key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

bool TSettingsStore::SectionExists(std::string_view section)
{
    Refresh();
    const std::string name = NormalizeSection(section);
    if (m_doc.HasKeys(name)) {
        return true;
    }
    if (m_form == TSettingsForm::PerUser) {
        const std::string prefix = TIniDocument::Lower(name) + "\\";
        for (const std::string& other : m_doc.SectionNames()) {
            if (TIniDocument::Lower(other).rfind(prefix, 0) == 0 && m_doc.HasKeys(other)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<std::string> TSettingsStore::ReadSection(std::string_view section)
{
    Refresh();
    return m_doc.Keys(NormalizeSection(section));
}

std::vector<std::string> TSettingsStore::ReadSections()
{
    Refresh();
    std::vector<std::string> names = m_doc.SectionNames();
    if (m_form != TSettingsForm::PerUser) {
        return names;
    }
    std::vector<std::string> top;
    std::vector<std::string> seen;
    for (const std::string& name : names) {
        const std::string first = NormalizeSection(name.substr(0, name.find('\\')));
        const std::string lower = TIniDocument::Lower(first);
        if (!first.empty() && std::find(seen.begin(), seen.end(), lower) == seen.end()) {
            seen.push_back(lower);
            top.push_back(first);
        }
    }
    return top;
}

std::vector<std::string> TSettingsStore::ReadSubsections(std::string_view section)
{
    Refresh();
    const std::string prefix = TIniDocument::Lower(NormalizeSection(section)) + "\\";
    std::vector<std::string> names;
    std::vector<std::string> seen;
    for (const std::string& name : m_doc.SectionNames()) {
        if (name.size() <= prefix.size() || TIniDocument::Lower(name).rfind(prefix, 0) != 0) {
            continue;
        }
        const std::string rest = name.substr(prefix.size());
        const std::size_t slash = rest.find('\\');
        if (slash != std::string::npos && m_form != TSettingsForm::PerUser) {
            continue;
        }
        const std::string first = rest.substr(0, slash);
        const std::string lower = TIniDocument::Lower(first);
        if (!first.empty() && std::find(seen.begin(), seen.end(), lower) == seen.end()) {
            seen.push_back(lower);
            names.push_back(first);
        }
    }
    return names;
}

std::vector<std::string> TSettingsStore::ReadSectionValues(std::string_view section)
{
    Refresh();
    std::vector<std::string> lines;
    for (const auto& [key, value] : m_doc.Values(NormalizeSection(section))) {
        lines.push_back(key + "=" + value);
    }
    return lines;
}

bool TSettingsStore::EraseSection(std::string_view section)
{
    Refresh();
    if (m_readFailed) {
        return false;
    }
    if (!m_doc.EraseSection(NormalizeSection(section), m_form == TSettingsForm::PerUser)) {
        return true;
    }
    m_dirty = true;
    return m_batchDepth > 0 || Flush();
}

void TSettingsStore::BeginBatch()
{
    Refresh();
    ++m_batchDepth;
}

bool TSettingsStore::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth > 0) {
        return true;
    }
    return Flush();
}

bool TSettingsStore::Flush()
{
    if (!m_dirty || m_file.empty()) {
        m_dirty = false;
        return true;
    }
    if (m_readFailed) {
        return false;
    }
    if (!SaveReplacing(m_file, m_doc.Serialize(), m_lastError)) {
        return false;
    }
    m_dirty = false;
    m_stamp = Stamp(m_file);
    return true;
}

namespace {

std::unique_ptr<TSettingsStore>& GlobalStore()
{
    static std::unique_ptr<TSettingsStore> store = std::make_unique<TSettingsStore>("", TSettingsForm::PerUser);
    return store;
}

} // namespace

TSettingsStore& Settings()
{
    return *GlobalStore();
}

void SetGlobalSettings(std::unique_ptr<TSettingsStore> store)
{
    if (store) {
        GlobalStore() = std::move(store);
    }
}

std::unique_ptr<TSettingsStore> ChooseSettingsStore(
    const std::filesystem::path& programPath, const std::filesystem::path& perUserFile)
{
    std::filesystem::path ini = programPath;
    ini.replace_extension(".ini");
    std::error_code ec;
    if (std::filesystem::is_regular_file(ini, ec) && ::faccessat(AT_FDCWD, ini.c_str(), W_OK, AT_EACCESS) == 0
        && ::faccessat(AT_FDCWD, ini.parent_path().empty() ? "." : ini.parent_path().c_str(), W_OK, AT_EACCESS) == 0) {
        return std::make_unique<TSettingsStore>(ini, TSettingsForm::ProgramIni);
    }
    return std::make_unique<TSettingsStore>(perUserFile, TSettingsForm::PerUser);
}

} // namespace quillet
