#include "text/TextMatch.h"

#include "core/CharCase.h"

#include <algorithm>
#include <cstring>

namespace quillet {

TCharSet MakeDelimiters(std::string_view extra)
{
    TCharSet set;
    for (int c = 0; c <= 32; ++c) {
        set.set(static_cast<std::size_t>(c));
    }
    for (char c : extra) {
        set.set(static_cast<unsigned char>(c));
    }
    return set;
}

bool ContainsDelimiter(std::string_view text, const TCharSet& delimiters)
{
    return std::any_of(text.begin(), text.end(), [&](char c) {
        return delimiters[static_cast<unsigned char>(c)];
    });
}

TTextMatcher::TTextMatcher(std::string_view text, TMatchFlags flags, const TCharSet& delimiters)
    : m_flags(flags)
    , m_delimiters(delimiters)
{
    for (int c = 0; c < 256; ++c) {
        m_upper[c] = m_flags.caseSensitive ? static_cast<unsigned char>(c) : UpperChar(static_cast<unsigned char>(c));
    }
    unsigned char blank = m_upper[static_cast<unsigned char>(' ')];
    if (m_flags.regularExpr) {
        m_regExpr.Compile(text, m_flags.caseSensitive);
        m_text = std::string(text);
        blank = ' '; // patterns fold a-z only
    } else {
        m_text = m_flags.caseSensitive ? std::string(text) : UpperText(text);
        m_finder = TLiteralFinder(m_text, m_upper);
    }
    // A tab shows as blanks, so a needle with a blank may match where the
    // stored bytes hold a tab.
    const TLiteralFinder& filter = RawFilter();
    m_rawFilterWorks = !filter.Empty() && filter.Needle().find(static_cast<char>(blank)) == std::string::npos;
}

const TLiteralFinder& TTextMatcher::RawFilter() const
{
    return m_flags.regularExpr ? m_regExpr.RequiredLiteral() : m_finder;
}

bool TTextMatcher::IsWholeWord(std::string_view line, std::size_t position, std::size_t length) const
{
    const std::size_t end = position + length;
    const bool startsWord = position == 0 || m_delimiters[static_cast<unsigned char>(line[position - 1])];
    const bool endsWord = end >= line.size() || m_delimiters[static_cast<unsigned char>(line[end])];
    return startsWord && endsWord;
}

bool TTextMatcher::MayMatchRaw(std::string_view raw) const
{
    return !m_rawFilterWorks || RawFilter().Find(raw) != TLiteralFinder::npos;
}

std::optional<TLineMatch> TTextMatcher::FindLiteralForward(std::string_view line, std::size_t from)
{
    const std::size_t n = m_text.size();
    if (n == 0) {
        return std::nullopt;
    }
    for (std::size_t at = m_finder.Find(line, from); at != TLiteralFinder::npos; at = m_finder.Find(line, at + 1)) {
        if (!m_flags.wholeWords || IsWholeWord(line, at, n)) {
            return TLineMatch{at, n};
        }
    }
    return std::nullopt;
}

std::optional<TLineMatch> TTextMatcher::FindLiteralBackward(std::string_view line, std::size_t before)
{
    // Trailing blanks take no part in a backward search.
    std::size_t trimmed = line.size();
    while (trimmed > 0 && (line[trimmed - 1] == ' ' || line[trimmed - 1] == '\t')) {
        --trimmed;
    }
    const std::size_t n = m_text.size();
    if (n == 0 || trimmed < n || before == 0) {
        return std::nullopt;
    }
    const std::size_t last = std::min(before - 1, trimmed - n); // highest allowed start
    // The occurrences are met left to right; the last one that qualifies wins.
    const std::string_view hay = line.substr(0, last + n);
    std::optional<TLineMatch> found;
    for (std::size_t at = m_finder.Find(hay, 0); at != TLiteralFinder::npos; at = m_finder.Find(hay, at + 1)) {
        if (!m_flags.wholeWords || IsWholeWord(line, at, n)) {
            found = TLineMatch{at, n};
        }
    }
    return found;
}

std::optional<TLineMatch> TTextMatcher::FindForward(std::string_view line, std::size_t from)
{
    if (!m_flags.regularExpr) {
        return FindLiteralForward(line, from);
    }
    if (m_text.empty()) {
        return std::nullopt;
    }
    while (from <= line.size()) {
        std::optional<TLineMatch> match = m_regExpr.FindForward(line, from);
        if (!match || !m_flags.wholeWords || IsWholeWord(line, match->position, match->length)) {
            return match;
        }
        from = match->position + 1;
    }
    return std::nullopt;
}

std::optional<TLineMatch> TTextMatcher::FindBackward(std::string_view line, std::size_t before)
{
    if (!m_flags.regularExpr) {
        return FindLiteralBackward(line, before);
    }
    if (m_text.empty()) {
        return std::nullopt;
    }
    for (;;) {
        std::optional<TLineMatch> match = m_regExpr.FindBackward(line, before);
        if (!match || !m_flags.wholeWords || IsWholeWord(line, match->position, match->length)) {
            return match;
        }
        before = match->position;
    }
}

std::optional<TTextMatch> TTextMatcher::Find(const ILineList& lines, TLinePoint start, bool backward, bool moveOffEmpty)
{
    const std::size_t count = lines.LineCount();
    if (!IsValid() || m_text.empty() || count == 0) {
        return std::nullopt;
    }
    if (!backward) {
        for (std::size_t index = start.line; index < count; ++index) {
            if (!MayMatchRaw(lines.RawLine(index))) {
                continue;
            }
            const std::string_view line = lines.Line(index);
            std::size_t from = index == start.line ? start.column : 0;
            if (from > line.size()) {
                continue;
            }
            std::optional<TLineMatch> match = FindForward(line, from);
            if (moveOffEmpty && match && match->length == 0 && match->position == from && index == start.line) {
                match = from < line.size() ? FindForward(line, from + 1) : std::nullopt;
            }
            if (match) {
                return TTextMatch{{index, match->position}, match->length};
            }
        }
        return std::nullopt;
    }
    std::size_t index = std::min(start.line, count - 1);
    const bool startsInside = start.line < count;
    for (;;) {
        const std::size_t before = (startsInside && index == start.line) ? start.column : kLineEnd;
        if (MayMatchRaw(lines.RawLine(index))) {
            if (std::optional<TLineMatch> match = FindBackward(lines.Line(index), before)) {
                return TTextMatch{{index, match->position}, match->length};
            }
        }
        if (index == 0) {
            return std::nullopt;
        }
        --index;
    }
}

} // namespace quillet
