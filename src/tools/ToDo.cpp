#include "tools/ToDo.h"

#include <algorithm>

namespace quillet {

namespace {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Position of the first occurrence of the keyword, ignoring case; npos when absent.
std::size_t FindKeyword(std::string_view text, std::string_view keyword)
{
    const std::size_t n = keyword.size();
    for (std::size_t pos = text.find('{'); pos != std::string_view::npos && pos + n <= text.size();
         pos = text.find('{', pos + 1)) {
        bool match = true;
        for (std::size_t k = 1; k < n && match; ++k) {
            match = UpperAscii(text[pos + k]) == keyword[k];
        }
        if (match) {
            return pos;
        }
    }
    return std::string_view::npos;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The value of an attribute marker: after `marker` up to the other marker
// when that comes later, else to the end; trimmed. The header is searched with
// one blank put in front, so a marker at its very start counts.
std::string Attribute(const std::string& header, std::string_view marker, std::string_view other)
{
    const std::size_t at = header.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + marker.size();
    std::size_t end = header.find(other, start);
    if (end == std::string::npos) {
        end = header.size();
    }
    return std::string(Trim(std::string_view(header).substr(start, end - start)));
}

void ParseHeader(std::string_view rawHeader, TToDoItem& item)
{
    const std::string_view header = Trim(rawHeader);
    if (!header.empty() && header.front() >= '1' && header.front() <= '5') {
        item.priority = std::string(1, header.front());
    }
    const std::string spaced = " " + std::string(header);
    item.owner = Attribute(spaced, " -o", " -c");
    item.category = Attribute(spaced, " -c", " -o");
}

} // namespace

int TToDoBraceFinder::NextAfter(int line)
{
    const int from = line + 1;
    if (from >= m_lines.count) {
        return -1;
    }
    // Known: no line in [m_from, m_found) holds a "}", and m_found does (or,
    // with m_found == -1, no line from m_from to the end does).
    if (m_valid && from >= m_from && (m_found < 0 || from <= m_found)) {
        return m_found;
    }
    m_valid = true;
    m_from = from;
    m_found = -1;
    for (int k = from; k < m_lines.count; ++k) {
        if (m_lines.line(k).find('}') != std::string_view::npos) {
            m_found = k;
            break;
        }
    }
    return m_found;
}

bool jetoToDo(const TToDoLines& lines, int line, std::string_view keyword, TToDoItem& item, TToDoBraceFinder* finder)
{
    if (line < 0 || line >= lines.count) {
        return false;
    }
    const std::string_view text = lines.line(line);
    const std::size_t keywordAt = FindKeyword(text, keyword);
    if (keywordAt == std::string_view::npos) {
        return false;
    }
    item = TToDoItem{};
    item.done = keyword == kDoneKeyword;
    const std::size_t headerAt = keywordAt + keyword.size();
    const std::size_t colon = text.find(':', headerAt);
    if (colon == std::string_view::npos) {
        return false;
    }
    item.startLine = line;
    item.startColumn = static_cast<int>(keywordAt) + 1;
    ParseHeader(text.substr(headerAt, colon - headerAt), item);

    if (const std::size_t close = text.find('}', colon + 1); close != std::string_view::npos) {
        item.text = std::string(Trim(text.substr(colon + 1, close - colon - 1)));
        item.endLine = line;
        item.endColumn = static_cast<int>(close) + 1;
        return true;
    }
    TToDoBraceFinder ownFinder(lines);
    const int endLine = (finder != nullptr ? *finder : ownFinder).NextAfter(line);
    if (endLine < 0) {
        return false;
    }
    std::string result;
    if (const std::string_view first = Trim(text.substr(colon + 1)); !first.empty()) {
        result.append(first).append("\r\n");
    }
    for (int k = line + 1; k < endLine; ++k) {
        result.append(lines.line(k)).append("\r\n");
    }
    const std::string_view last = lines.line(endLine);
    const std::size_t close = last.find('}');
    if (close > 0) {
        result.append(last.substr(0, close)).append("\r\n");
    }
    item.text = std::move(result);
    item.endLine = endLine;
    item.endColumn = static_cast<int>(close) + 1;
    return true;
}

std::vector<TToDoItem> ScanToDoItems(const TToDoLines& lines, const std::function<void(int line)>& progress)
{
    std::vector<TToDoItem> items;
    TToDoBraceFinder finder(lines);
    int skip = -1;
    TToDoItem item;
    for (int line = 0; line < lines.count; ++line) {
        if (progress) {
            progress(line);
        }
        if (line < skip) {
            continue;
        }
        if (jetoToDo(lines, line, kToDoKeyword, item, &finder) || jetoToDo(lines, line, kDoneKeyword, item, &finder)) {
            skip = item.endLine;
            items.push_back(std::move(item));
        }
    }
    return items;
}

std::string ToDoCaption(std::string_view text)
{
    // CR LF, and a lone CR or LF as a dialog may deliver them, each become one blank.
    std::string caption;
    caption.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            caption += ' ';
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            caption += text[i];
        }
    }
    return caption;
}

void AddDistinct(std::vector<std::string>& list, const std::string& value)
{
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

} // namespace quillet
