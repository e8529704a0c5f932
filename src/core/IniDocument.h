#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillet {

// An INI text held in memory: sections of "key=value" lines. Section and key
// names are matched without regard to (ASCII) case; the first of duplicate
// sections or keys wins, as readers of this format expect. Lines that are not
// sections or values (comments, blank lines, junk from a damaged file) are kept
// as they are, so rewriting a file loses nothing that was in it.
class TIniDocument {
public:
    // Parses any bytes: CR LF, LF or CR end a line; what is not a section or a
    // value line is kept verbatim and otherwise ignored.
    static TIniDocument Parse(std::string_view text);
    // The whole document as text with LF line ends.
    std::string Serialize() const;

    // The decoded value, or nullptr when the section or key is absent.
    const std::string* Find(std::string_view section, std::string_view key) const;
    // Sets a value, adding the section or key when needed. Names that cannot be
    // stored (see IsValidSectionName/IsValidKeyName) are refused: false.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section whose name matches; with withChildren also those
    // whose name begins with name + "\". True when something was removed.
    bool EraseSection(std::string_view section, bool withChildren = false);

    // Section names in file order, each once (first spelling).
    std::vector<std::string> SectionNames() const;
    // Key names of a section in file order, each once.
    std::vector<std::string> Keys(std::string_view section) const;
    // (key, value) pairs of a section in file order, each key once.
    std::vector<std::pair<std::string, std::string>> Values(std::string_view section) const;
    bool HasKeys(std::string_view section) const;

    // A section name is not empty and holds no "]", CR or LF, and no blanks at
    // its ends. A key name is not empty and holds no "=", CR or LF, does not
    // begin with "[" or ";", and has no blanks at its ends.
    static bool IsValidSectionName(std::string_view name);
    static bool IsValidKeyName(std::string_view name);

    // Values are written as they are unless they hold CR or LF, have blanks at
    // their ends or are enclosed in double quotes: those are written quoted
    // with \\, \r, \n and \" escapes so they read back unchanged.
    static std::string EncodeValue(std::string_view value);
    static std::string DecodeValue(std::string_view stored);

    static std::string Lower(std::string_view text);

private:
    struct TLine {
        std::string key; // empty for lines kept verbatim
        std::string value;
        std::string raw; // the original text of a verbatim line
    };
    struct TSection {
        std::string name; // empty for the lines before the first header
        bool hasHeader = false;
        std::vector<TLine> lines;
        std::unordered_map<std::string, std::size_t> index; // lower-case key -> first line
    };

    TSection* FindSection(std::string_view name);
    const TSection* FindSection(std::string_view name) const;
    void RebuildSectionIndex();

    std::vector<TSection> m_sections;
    std::unordered_map<std::string, std::size_t> m_sectionIndex; // lower-case name -> first section
};

} // namespace quillet
