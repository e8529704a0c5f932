#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillet {

// Texts of the user's chosen language. A language file ("*.lng" in a
// "Languages" folder) is INI text of which only the section [Translations] is
// used: "key=text", the key compared without regard to case, the text being
// everything after the first "=". Files are read as UTF-8; a file that is not
// valid UTF-8 is taken as Latin-1. The file is loaded at the first lookup and
// kept until ResetLang; a missing or unreadable file behaves as an empty one.
class TTranslator {
public:
    // Folders searched in order for the language file (the per-user data
    // folder first, then the one beside the program).
    void SetLanguageFolders(std::vector<std::filesystem::path> folders);
    const std::vector<std::filesystem::path>& LanguageFolders() const { return m_folders; }

    // Forgets the loaded file; fileName (with extension, no folder) becomes
    // the current language. Empty means the built-in English texts.
    void ResetLang(std::string_view fileName);
    const std::string& CurrentLanguage() const { return m_language; }

    // The translation of key, or defaultText when the key is empty, absent or
    // translated as empty (but an empty translation of a blank default gives
    // the empty text).
    std::string LangStr(std::string_view key, std::string_view defaultText);

    // Names without extension of every language file found, sorted, each once.
    std::vector<std::string> AvailableLanguages() const;

    // Problems met while loading, as "file:line: message".
    const std::vector<std::string>& Diagnostics() const { return m_diagnostics; }

    // Files larger than this are not read (they behave as an empty file).
    static constexpr std::uintmax_t kMaxFileSize = 64u * 1024 * 1024;

private:
    void CreateLangIfNil();
    void Load(const std::filesystem::path& file);

    std::vector<std::filesystem::path> m_folders;
    std::string m_language;
    bool m_loaded = false;
    std::unordered_map<std::string, std::string> m_texts; // lower-case key -> text
    std::vector<std::string> m_diagnostics;
};

// The one translator of the run and shortcuts to it.
TTranslator& Translator();
std::string LangStr(std::string_view key, std::string_view defaultText);
void ResetLang(std::string_view fileName);

// One value for a "%s", "%S" or "%d" placeholder.
class TFormatArg {
public:
    TFormatArg(std::string_view text)
        : m_text(text)
    {
    }
    TFormatArg(const char* text)
        : m_text(text != nullptr ? text : "")
    {
    }
    TFormatArg(const std::string& text)
        : m_text(text)
    {
    }
    TFormatArg(long long number)
        : m_text(std::to_string(number))
        , m_isNumber(true)
    {
    }
    TFormatArg(int number)
        : TFormatArg(static_cast<long long>(number))
    {
    }
    const std::string& Text() const { return m_text; }
    bool IsNumber() const { return m_isNumber; }

private:
    std::string m_text;
    bool m_isNumber = false;
};

// Fills "%s"/"%S" (text) and "%d" (number) placeholders of pattern in order;
// "%%" gives "%". Any other "%" is kept as it is. The pattern is used only when
// its placeholders match those of fallbackPattern in number and kind, else
// fallbackPattern is used. Missing arguments give empty text; extra ones are
// ignored. File text is never interpreted by printf.
std::string FormatChecked(
    std::string_view pattern, std::string_view fallbackPattern, std::initializer_list<TFormatArg> args);

// LangStr(key, defaultText) filled with args by FormatChecked against the
// English default.
std::string LangFormat(std::string_view key, std::string_view defaultText, std::initializer_list<TFormatArg> args);

} // namespace quillet
