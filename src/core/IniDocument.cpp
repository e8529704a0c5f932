#include "core/IniDocument.h"

#include <algorithm>

namespace quillet {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool HasBlankEnds(std::string_view text)
{
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::string TIniDocument::Lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

TIniDocument TIniDocument::Parse(std::string_view text)
{
    TIniDocument doc;
    doc.m_sections.push_back(TSection{});
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        }

        const std::string_view trimmed = Trim(line);
        TSection& current = doc.m_sections.back();
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                TSection section;
                section.name = std::string(Trim(trimmed.substr(1, close - 1)));
                section.hasHeader = true;
                doc.m_sections.push_back(std::move(section));
                continue;
            }
        }
        const std::size_t eq = trimmed.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && eq != std::string_view::npos && eq > 0) {
            const std::string_view key = Trim(trimmed.substr(0, eq));
            if (!key.empty()) {
                TLine value{std::string(key), DecodeValue(Trim(trimmed.substr(eq + 1))), std::string(line)};
                current.index.emplace(Lower(key), current.lines.size());
                current.lines.push_back(std::move(value));
                continue;
            }
        }
        current.lines.push_back(TLine{{}, {}, std::string(line)});
    }
    doc.RebuildSectionIndex();
    return doc;
}

std::string TIniDocument::Serialize() const
{
    std::string out;
    for (const TSection& section : m_sections) {
        if (section.hasHeader) {
            out += '[';
            out += section.name;
            out += "]\n";
        }
        for (const TLine& line : section.lines) {
            if (line.key.empty()) {
                out += line.raw;
            } else {
                out += line.key;
                out += '=';
                out += EncodeValue(line.value);
            }
            out += '\n';
        }
    }
    return out;
}

void TIniDocument::RebuildSectionIndex()
{
    m_sectionIndex.clear();
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].hasHeader) {
            m_sectionIndex.emplace(Lower(m_sections[i].name), i);
        }
    }
}

TIniDocument::TSection* TIniDocument::FindSection(std::string_view name)
{
    const auto it = m_sectionIndex.find(Lower(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const TIniDocument::TSection* TIniDocument::FindSection(std::string_view name) const
{
    const auto it = m_sectionIndex.find(Lower(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const std::string* TIniDocument::Find(std::string_view section, std::string_view key) const
{
    const TSection* s = FindSection(section);
    if (s == nullptr) {
        return nullptr;
    }
    const auto it = s->index.find(Lower(key));
    return it == s->index.end() ? nullptr : &s->lines[it->second].value;
}

bool TIniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsValidSectionName(section) || !IsValidKeyName(key)) {
        return false;
    }
    TSection* s = FindSection(section);
    if (s == nullptr) {
        if (m_sections.empty()) {
            m_sections.push_back(TSection{});
        }
        TSection fresh;
        fresh.name = std::string(section);
        fresh.hasHeader = true;
        m_sections.push_back(std::move(fresh));
        m_sectionIndex.emplace(Lower(section), m_sections.size() - 1);
        s = &m_sections.back();
    }
    const std::string lowerKey = Lower(key);
    const auto it = s->index.find(lowerKey);
    if (it != s->index.end()) {
        s->lines[it->second].value = std::string(value);
        return true;
    }
    // New keys go after the last value line, so trailing blank lines and
    // comments stay between this section and the next.
    std::size_t insertAt = s->lines.size();
    while (insertAt > 0 && s->lines[insertAt - 1].key.empty()) {
        --insertAt;
    }
    s->lines.insert(
        s->lines.begin() + static_cast<std::ptrdiff_t>(insertAt), TLine{std::string(key), std::string(value), {}});
    if (insertAt != s->lines.size() - 1) {
        s->index.clear();
        for (std::size_t i = 0; i < s->lines.size(); ++i) {
            if (!s->lines[i].key.empty()) {
                s->index.emplace(Lower(s->lines[i].key), i);
            }
        }
    } else {
        s->index.emplace(lowerKey, insertAt);
    }
    return true;
}

bool TIniDocument::EraseSection(std::string_view section, bool withChildren)
{
    const std::string lower = Lower(section);
    const std::string prefix = lower + "\\";
    const auto before = m_sections.size();
    m_sections.erase(std::remove_if(m_sections.begin(),
                         m_sections.end(),
                         [&](const TSection& s) {
                             if (!s.hasHeader) {
                                 return false;
                             }
                             const std::string name = Lower(s.name);
                             return name == lower || (withChildren && name.rfind(prefix, 0) == 0);
                         }),
        m_sections.end());
    RebuildSectionIndex();
    return m_sections.size() != before;
}

std::vector<std::string> TIniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const TSection& s = m_sections[i];
        if (s.hasHeader && m_sectionIndex.at(Lower(s.name)) == i) {
            names.push_back(s.name);
        }
    }
    return names;
}

std::vector<std::string> TIniDocument::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    for (const auto& [key, value] : Values(section)) {
        keys.push_back(key);
    }
    return keys;
}

std::vector<std::pair<std::string, std::string>> TIniDocument::Values(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    const TSection* s = FindSection(section);
    if (s == nullptr) {
        return values;
    }
    for (std::size_t i = 0; i < s->lines.size(); ++i) {
        const TLine& line = s->lines[i];
        if (!line.key.empty() && s->index.at(Lower(line.key)) == i) {
            values.emplace_back(line.key, line.value);
        }
    }
    return values;
}

bool TIniDocument::HasKeys(std::string_view section) const
{
    const TSection* s = FindSection(section);
    return s != nullptr && !s->index.empty();
}

bool TIniDocument::IsValidSectionName(std::string_view name)
{
    return !name.empty() && !HasBlankEnds(name) && name.find_first_of("]\r\n") == std::string_view::npos;
}

bool TIniDocument::IsValidKeyName(std::string_view name)
{
    return !name.empty() && !HasBlankEnds(name) && name.front() != '[' && name.front() != ';'
        && name.find_first_of("=\r\n") == std::string_view::npos;
}

std::string TIniDocument::EncodeValue(std::string_view value)
{
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (!HasLineBreak(value) && !HasBlankEnds(value) && !quoted) {
        return std::string(value);
    }
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '"':
            out += "\\\"";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string TIniDocument::DecodeValue(std::string_view stored)
{
    if (stored.size() < 2 || stored.front() != '"' || stored.back() != '"') {
        return std::string(stored);
    }
    const std::string_view inner = stored.substr(1, stored.size() - 2);
    std::string out;
    out.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        const char c = inner[i];
        if (c == '\\' && i + 1 < inner.size()) {
            const char next = inner[i + 1];
            const char* replacement = nullptr;
            switch (next) {
            case '\\':
                replacement = "\\";
                break;
            case 'r':
                replacement = "\r";
                break;
            case 'n':
                replacement = "\n";
                break;
            case '"':
                replacement = "\"";
                break;
            default:
                break;
            }
            if (replacement != nullptr) {
                out += replacement;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace quillet
