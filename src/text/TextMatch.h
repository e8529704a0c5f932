#pragma once

#include "text/LiteralFinder.h"
#include "text/RegExpr.h"

#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A set of 8-bit characters, such as the word delimiters.
using TCharSet = std::bitset<256>;

// Word delimiters: the characters 0 to 32 always, plus every character of `extra`.
TCharSet MakeDelimiters(std::string_view extra);
bool ContainsDelimiter(std::string_view text, const TCharSet& delimiters);

// A position in a list of lines, both 0-based. Columns index the line text as
// the line list returns it.
struct TLinePoint {
    std::size_t line = 0;
    std::size_t column = 0;

    bool operator==(const TLinePoint&) const = default;
};

// As a column: the end of the line (a backward search then considers every start).
inline constexpr std::size_t kLineEnd = static_cast<std::size_t>(-1);

// Read access to the lines a search runs over. The returned view stays valid
// until the next call to Line.
class ILineList {
public:
    virtual ~ILineList() = default;
    virtual std::size_t LineCount() const = 0;
    virtual std::string_view Line(std::size_t index) const = 0;
    // The line's stored bytes: as Line, except that tabs may still be tabs
    // where Line shows them as blanks (a selection's line may give the whole
    // document line). A search skips lines whose stored bytes cannot hold a
    // match without expanding them. Valid until the next call to Line.
    virtual std::string_view RawLine(std::size_t index) const { return Line(index); }
};

// An ILineList over strings the caller keeps alive.
class TStringLineList final : public ILineList {
public:
    explicit TStringLineList(const std::vector<std::string>& lines)
        : m_lines(lines)
    {
    }
    std::size_t LineCount() const override { return m_lines.size(); }
    std::string_view Line(std::size_t index) const override { return m_lines[index]; }

private:
    const std::vector<std::string>& m_lines;
};

struct TMatchFlags {
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regularExpr = false;
};

struct TTextMatch {
    TLinePoint point; // where the match starts
    std::size_t length = 0;

    bool operator==(const TTextMatch&) const = default;
};

// The matching primitive shared by the searches: a literal text or a pattern
// of the regular-expression dialect, found in one line or across a line list.
//
// Literal text ignoring case compares both sides upper-cased by the system
// code page's rules; patterns fold only a-z. A whole word starts at the line
// start or after a delimiter and ends at the line end or before one. An empty
// text or an invalid pattern finds nothing.
class TTextMatcher {
public:
    TTextMatcher(std::string_view text, TMatchFlags flags, const TCharSet& delimiters);

    // False when the text is a pattern with a syntax error.
    bool IsValid() const { return !m_flags.regularExpr || m_regExpr.IsValid(); }
    const std::string& ErrorMessage() const { return m_regExpr.ErrorMessage(); }
    int ErrorPosition() const { return m_regExpr.ErrorPosition(); }
    const TMatchFlags& Flags() const { return m_flags; }
    const TRegExpr& RegExpr() const { return m_regExpr; }

    // The first match starting at or after `from`.
    std::optional<TLineMatch> FindForward(std::string_view line, std::size_t from);
    // The last match starting before `before` (kLineEnd: anywhere). Literal
    // text ignores the line's trailing blanks.
    std::optional<TLineMatch> FindBackward(std::string_view line, std::size_t before);

    // Searches line by line from `start`: forwards, matches start at or after
    // the start point and later lines are searched from their beginning;
    // backwards, matches start before it and earlier lines are searched from
    // their end. With `moveOffEmpty`, a forward pattern match that is empty and
    // sits exactly on the start point is skipped, so that repeated searches
    // move on.
    std::optional<TTextMatch> Find(const ILineList& lines, TLinePoint start, bool backward, bool moveOffEmpty = true);

private:
    bool IsWholeWord(std::string_view line, std::size_t position, std::size_t length) const;
    // False when the stored bytes of a line hold no match (see ILineList::RawLine).
    bool MayMatchRaw(std::string_view raw) const;
    const TLiteralFinder& RawFilter() const;
    std::optional<TLineMatch> FindLiteralForward(std::string_view line, std::size_t from);
    std::optional<TLineMatch> FindLiteralBackward(std::string_view line, std::size_t before);

    std::string m_text; // upper-cased when ignoring case
    TMatchFlags m_flags;
    TCharSet m_delimiters;
    TRegExpr m_regExpr;
    unsigned char m_upper[256];
    TLiteralFinder m_finder; // the literal text, compared through m_upper when ignoring case
    // Whether RawFilter() (bytes every match holds) has no blank, which a
    // tab's expansion could stand in for: then a line's stored bytes that
    // lack it hold no match.
    bool m_rawFilterWorks = false;
};

} // namespace quillet
