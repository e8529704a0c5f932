#include "core/Translations.h"

#include "core/IniDocument.h"
#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace quillet {

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A language file name is a plain file name: anything with a folder part is
// refused, so a stored setting cannot make us read files elsewhere.
bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\\') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

// Placeholder kinds of a pattern: 's' for %s/%S, 'd' for %d.
std::string Placeholders(std::string_view pattern)
{
    std::string kinds;
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        const char next = pattern[i + 1];
        if (next == 's' || next == 'S') {
            kinds += 's';
            ++i;
        } else if (next == 'd') {
            kinds += 'd';
            ++i;
        } else if (next == '%') {
            ++i;
        }
    }
    return kinds;
}

} // namespace

void TTranslator::SetLanguageFolders(std::vector<std::filesystem::path> folders)
{
    m_folders = std::move(folders);
    m_loaded = false;
}

void TTranslator::ResetLang(std::string_view fileName)
{
    m_language = std::string(fileName);
    m_loaded = false;
    m_texts.clear();
}

void TTranslator::CreateLangIfNil()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_texts.clear();
    if (m_language.empty()) {
        return;
    }
    if (!IsPlainFileName(m_language)) {
        m_diagnostics.push_back(m_language + ":0: not a language file name; built-in texts used");
        return;
    }
    for (const std::filesystem::path& folder : m_folders) {
        std::error_code ec;
        const std::filesystem::path file = folder / m_language;
        if (std::filesystem::is_regular_file(file, ec)) {
            Load(file);
            return;
        }
    }
    m_diagnostics.push_back(m_language + ":0: language file not found; built-in texts used");
}

void TTranslator::Load(const std::filesystem::path& file)
{
    // One byte past the limit tells a file that is too large from one that fits.
    TFileRead read = SystemFileSystem().ReadFile(file, kMaxFileSize + 1);
    if (!read.status) {
        m_diagnostics.push_back(file.string() + ":0: cannot be read: " + read.status.reason);
        return;
    }
    if (read.bytes.size() > kMaxFileSize) {
        m_diagnostics.push_back(file.string() + ":0: file too large");
        return;
    }
    std::string text(read.bytes.View());
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
    }
    if (!IsValidUtf8(text)) {
        text = Latin1ToUtf8(text);
    }

    bool inTranslations = false;
    std::size_t pos = 0;
    std::size_t lineNumber = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line(text.data() + pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        }
        ++lineNumber;

        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';') {
            continue;
        }
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            inTranslations = TIniDocument::Lower(TrimBlanks(trimmed.substr(1, trimmed.size() - 2))) == "translations";
            continue;
        }
        if (!inTranslations) {
            continue;
        }
        const std::size_t eq = line.find('=');
        const std::string_view key = eq == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(0, eq));
        if (key.empty()) {
            m_diagnostics.push_back(file.string() + ":" + std::to_string(lineNumber) + ": not a \"key=text\" line");
            continue;
        }
        m_texts.emplace(TIniDocument::Lower(key), std::string(line.substr(eq + 1)));
    }
}

std::string TTranslator::LangStr(std::string_view key, std::string_view defaultText)
{
    if (key.empty()) {
        return std::string(defaultText);
    }
    CreateLangIfNil();
    std::string text;
    if (!m_texts.empty()) {
        const auto it = m_texts.find(TIniDocument::Lower(key));
        if (it != m_texts.end()) {
            text = it->second;
        }
    }
    if (text.empty() && !TrimBlanks(defaultText).empty()) {
        return std::string(defaultText);
    }
    return text;
}

std::vector<std::string> TTranslator::AvailableLanguages() const
{
    std::set<std::string> names;
    for (const std::filesystem::path& folder : m_folders) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::filesystem::path& p = it->path();
            if (p.extension() == ".lng" && it->is_regular_file(ec)) {
                names.insert(p.stem().string());
            }
        }
    }
    return {names.begin(), names.end()};
}

TTranslator& Translator()
{
    static TTranslator translator;
    return translator;
}

std::string LangStr(std::string_view key, std::string_view defaultText)
{
    return Translator().LangStr(key, defaultText);
}

void ResetLang(std::string_view fileName)
{
    Translator().ResetLang(fileName);
}

std::string FormatChecked(
    std::string_view pattern, std::string_view fallbackPattern, std::initializer_list<TFormatArg> args)
{
    const std::string_view chosen = Placeholders(pattern) == Placeholders(fallbackPattern) ? pattern : fallbackPattern;
    std::string out;
    out.reserve(chosen.size() + 64);
    auto next = args.begin();
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const char c = chosen[i];
        if (c == '%' && i + 1 < chosen.size()) {
            const char kind = chosen[i + 1];
            if (kind == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (kind == 's' || kind == 'S' || kind == 'd') {
                if (next != args.end()) {
                    out += next->Text();
                    ++next;
                }
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string LangFormat(std::string_view key, std::string_view defaultText, std::initializer_list<TFormatArg> args)
{
    return FormatChecked(LangStr(key, defaultText), defaultText, args);
}

} // namespace quillet
