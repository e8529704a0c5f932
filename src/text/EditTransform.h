#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The text work of the line-rewriting Edit commands (Sort, Tabs to Spaces,
// Spaces to Tabs, Comment, Uncomment, Remove Diacritics) and of quick
// templates. Each function takes the selection's lines as the selection list
// gives them and rewrites them in place; the command then replaces the
// selection with the result inside one change bracket, so one Undo restores it.
//
// `closingBreak`: the selection is a stream selection that ends at column 0
// of a line, so its last piece is empty. That piece is the line break closing
// the block, not a line of it: the transformation leaves it out and it stays
// last. Without this the last sorted line would join the line after the
// selection, and a comment marker would land on that line.

using TLines = std::vector<std::string>;

enum class TSortOrder { Ascending, Descending };

// The tab size used by the tab conversions, clamped like the buffer's
// SpacesInTab: values <= 0 or > 10 become 8.
int ClampSpacesInTab(int spacesInTab);

// Line order of the sort: CompareTextIgnoreCase, the case-insensitive
// comparison of the system code page. Ascending keeps equal lines in their
// order; descending is the ascending result reversed.
int CompareLinesForSort(std::string_view a, std::string_view b);
void SortLines(TLines& lines, TSortOrder order, bool closingBreak);

// Every tab becomes exactly `spacesInTab` spaces (a fixed count, not aligned to
// tab stops).
void TabsToSpaces(TLines& lines, int spacesInTab);
// Repeatedly replaces the leftmost run of `spacesInTab` spaces by a tab: a run
// of k spaces becomes k / n tabs followed by k % n spaces.
void SpacesToTabs(TLines& lines, int spacesInTab);

// Puts `marker` in front of every line; an empty marker changes nothing.
void CommentLines(TLines& lines, std::string_view marker, bool closingBreak);
// Removes the first occurrence of `marker` (case-sensitive, anywhere in the
// line) from every line; an empty marker changes nothing.
void UncommentLines(TLines& lines, std::string_view marker);

// Replaces accented letters of 8-bit text by their base letters, byte for
// byte, for one single-byte code page. Bytes without an entry stay as they are,
// so the text keeps its length and nothing outside the letter table changes.
class TDiacriticsMap {
public:
    // Identity map.
    TDiacriticsMap();
    // For a single-byte code page of the code page list (see CodePages.h); a
    // letter is mapped when the code page holds both it and its base letter.
    static TDiacriticsMap ForCodePage(int codePage);
    // For the system code page, the charset of the buffer's text.
    static TDiacriticsMap ForSystemCodePage();

    unsigned char Map(unsigned char c) const { return m_map[c]; }
    void Apply(std::string& text) const;
    void Apply(TLines& lines) const;

private:
    std::array<unsigned char, 256> m_map{};
};

// Splits text at CR LF, CR and LF. "abc\r\n" gives "abc" and an empty line;
// empty text gives one empty line.
TLines SplitTextLines(std::string_view text);
// Lines joined with CR LF between them (none after the last).
std::string JoinLinesCrLf(const TLines& lines);

// The text a quick template inserts, and where the caret or the new selection
// goes afterwards.
struct TQuickTemplateResult {
    std::string text; // may hold CR LF line breaks
    bool hasBar = false; // the template had a "|"
    std::size_t barLine = 0; // line index of the "|" within the template
    std::size_t barColumn = 0; // its character index on that line
    std::size_t lineCount = 1; // lines of `text`
    std::size_t lastLineLength = 0;
};

// `templateText` and `selectedText` each lose one trailing line break. With a
// "|" in the template the first one is replaced by the selected text;
// otherwise the result is the selected text followed by the template.
TQuickTemplateResult ApplyQuickTemplate(std::string_view templateText, std::string_view selectedText);

} // namespace quillet
