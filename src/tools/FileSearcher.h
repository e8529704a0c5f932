#pragma once

#include "text/LiteralFinder.h"
#include "text/TabStops.h"
#include "text/TextMatch.h"
#include "tools/SearchFileList.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One match in a searched text. Lines and columns count from 0; columns are
// display columns of the line with its tabs expanded, as the editor shows it.
struct TFileMatch {
    std::size_t line = 0;
    std::size_t column = 0;
    std::size_t length = 0;
    // The line as the editor shows it: tabs expanded, trailing blanks removed.
    // Valid only during the callback.
    std::string_view lineText;
};

// Receives each match in text order; returning false stops the search.
using TOnFileMatch = std::function<bool(const TFileMatch&)>;

// Finds every match of one search text in whole texts, one file at a time,
// with the matcher of the text search (plain text, case, whole words, the
// editor's regular expressions). Texts are split into lines at CR LF, CR and
// LF; each line is matched as the editor shows it (tabs expanded by the tab
// stops, trailing blanks removed), so columns agree with the document's caret.
//
// Each search continues after the previous match. An empty match (of "x*",
// "^" and the like) is reported only as the first result of its line, so such
// a pattern gives one result per line instead of one per character.
//
// Plain text (and the literals every match of a pattern holds) is first looked
// for in the raw bytes; only lines holding it (all of them) are expanded and
// matched, so the cost of a file without matches is about one scan of its
// bytes.
class TFileSearcher {
public:
    TFileSearcher(std::string_view text, TMatchFlags flags, const TCharSet& delimiters);

    // False when the text is a pattern with a syntax error: nothing matches then.
    bool IsValid() const { return m_matcher.IsValid(); }
    const std::string& ErrorMessage() const { return m_matcher.ErrorMessage(); }
    // Whole words asked for plain text that contains a delimiter is dropped, as
    // in the text search: such a text can never be one word.
    const TMatchFlags& Flags() const { return m_matcher.Flags(); }

    void SetTabStops(const TTabStops& stops) { m_stops = stops; }

    // Searches a whole text. Returns false when `onMatch` or `keepGoing`
    // stopped the search; `keepGoing` is asked every few megabytes.
    bool SearchText(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing = {});
    // Searches a file's bytes. A file that cannot be read, that vanished or is
    // not a regular file is searched as empty text (no match, returns true).
    bool SearchFile(const std::filesystem::path& file, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing = {});

    // Switches the raw-byte scan for candidate lines off and on, to compare
    // the results: off, every line is matched.
    void SetRawScan(bool on) { m_rawScan = on; }

    // Reads a regular file into `bytes` (without blocking on FIFOs or
    // devices); false, with `bytes` empty, when it is not one or cannot be read.
    static bool ReadRegularFile(const std::filesystem::path& file, std::string& bytes);

private:
    bool MatchLine(std::string_view raw, std::size_t lineIndex, const TOnFileMatch& onMatch);
    bool ScanCandidates(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing);
    bool ScanLines(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing);

    TTextMatcher m_matcher;
    TTabStops m_stops;
    // Byte strings every matching line contains, compared after m_fold with
    // a tab taken for the blank it expands to. One is looked for in the raw
    // bytes, the others in each line it occurs in. Empty when the text gives
    // none and every line has to be matched.
    //
    // Any of them finds every matching line, but one that occurs in nearly
    // every line makes the scan slower than matching all lines. So the search
    // counts how often each occurs in its first bytes and then scans for the
    // rarest.
    struct TRawLiteral {
        TLiteralFinder finder;
        bool blankRun = false; // two blanks in a row, which one tab may give: unusable in text with tabs
        std::size_t hits = 0; // in the sampled bytes
    };
    void AddSetRun(const TRegExpr::TSetRun& run);
    void SampleLiterals(std::string_view hay);
    std::vector<TRawLiteral> m_literals;
    std::vector<const TRawLiteral*> m_usable; // scratch: those usable in the current text
    std::size_t m_sampled = 0; // bytes in which the literals were counted
    bool m_rawScan = true;
    bool m_foldCase = false;
    bool m_asciiFold = false; // folding a-z alone finds the same candidate lines
    unsigned char m_fold[256];
    std::string m_expanded; // scratch: one line with its tabs expanded
    std::string m_folded; // scratch: the text folded by m_fold
    std::string m_readBuffer;
};

} // namespace quillet
