#include "text/MemoSearch.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

namespace quillet {

namespace {

// Change kinds of the search brackets.
constexpr int kFindChangeKind = 55;
constexpr int kReplaceChangeKind = 54;

// The document's lines in display columns (tabs expanded). Lines without tabs
// are handed out as stored, without a copy.
class TBufferLines final : public ILineList {
public:
    explicit TBufferLines(const TMemoSource& source)
        : m_source(source)
    {
    }
    std::size_t LineCount() const override { return static_cast<std::size_t>(m_source.GetStrCount()); }
    std::string_view Line(std::size_t index) const override
    {
        const int line = static_cast<int>(index);
        std::string_view raw = m_source.GetRawLine(line);
        if (raw.empty() || std::memchr(raw.data(), '\t', raw.size()) == nullptr) {
            return raw;
        }
        m_expanded = m_source.GetExpandedLine(line);
        return m_expanded;
    }
    std::string_view RawLine(std::size_t index) const override { return m_source.GetRawLine(static_cast<int>(index)); }

private:
    const TMemoSource& m_source;
    mutable std::string m_expanded;
};

// The selected part of each selection line, in display columns; columnar
// lines are padded with blanks to the block's width. Offset(i) is the display
// column where selection line i starts in the document.
class TSelectionLines final : public ILineList {
public:
    explicit TSelectionLines(const TMemoSource& source)
        : m_source(source)
    {
        const TTextRect rect = source.GetSelectionRect();
        m_top = rect.top;
        const int last = std::min(rect.bottom, source.GetStrCount() - 1);
        m_count = last >= m_top ? last - m_top + 1 : 0;
        m_columnar = source.SelectionKind() == TSelKind::selColumn;
    }
    std::size_t LineCount() const override { return static_cast<std::size_t>(m_count); }
    std::string_view Line(std::size_t index) const override
    {
        const int line = m_top + static_cast<int>(index);
        const auto [from, to] = m_source.SelectionBounds(line);
        const std::string text = m_source.GetExpandedLine(line);
        const auto length = static_cast<int>(text.size());
        m_part.clear();
        if (from < length) {
            m_part = text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(std::min(to, length) - from));
        }
        if (m_columnar && to > from && static_cast<int>(m_part.size()) < to - from) {
            m_part.append(static_cast<std::size_t>(to - from) - m_part.size(), ' ');
        }
        return m_part;
    }
    // The whole document line: the selected part holds nothing it lacks,
    // padding blanks aside.
    std::string_view RawLine(std::size_t index) const override
    {
        return m_source.GetRawLine(m_top + static_cast<int>(index));
    }
    int Top() const { return m_top; }
    int Offset(std::size_t index) const { return m_source.SelectionBounds(m_top + static_cast<int>(index)).first; }

    // The caret in selection coordinates; before the selection is its start,
    // after it is past its last line.
    TLinePoint FromDocument(TTextPoint p) const
    {
        if (p.line < m_top) {
            return {0, 0};
        }
        if (p.line >= m_top + m_count) {
            return {static_cast<std::size_t>(m_count), 0};
        }
        const auto index = static_cast<std::size_t>(p.line - m_top);
        return {index, static_cast<std::size_t>(std::max(0, p.col - Offset(index)))};
    }

private:
    const TMemoSource& m_source;
    int m_top = 0;
    int m_count = 0;
    bool m_columnar = false;
    mutable std::string m_part;
};

} // namespace

TMemoSearch::TMemoSearch(TMemoSource& source, TSearchOptions& options)
    : m_source(source)
    , m_options(options)
{
}

TMemoSearch::~TMemoSearch() = default;

std::string TMemoSearch::FormatMessage(const std::string& format, const std::string& text)
{
    std::string shown;
    for (char c : text) {
        shown += c;
        if (c == '&') {
            shown += '&';
        }
    }
    std::string out = format;
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, shown);
    }
    return out;
}

bool TMemoSearch::HandleSearchException(const std::string& message)
{
    bool handled = false;
    if (OnSearchException) {
        OnSearchException(*this, message, handled);
    }
    return handled;
}

const TCharSet& TMemoSearch::Delimiters()
{
    // The buffer's set is built from its delimiter text, so the text tells
    // whether the cached copy is still current.
    if (!m_delimitersValid || m_delimitersText != m_source.Delimeters()) {
        for (int c = 0; c < 256; ++c) {
            m_delimiters[static_cast<std::size_t>(c)] = m_source.IsDelimiter(static_cast<unsigned char>(c));
        }
        m_delimitersText = m_source.Delimeters();
        m_delimitersValid = true;
    }
    return m_delimiters;
}

TTextMatcher& TMemoSearch::Matcher()
{
    const TCharSet& delimiters = Delimiters();
    const TMatchFlags flags{m_options.CaseSensitive, m_options.WholeWordsOnly, m_options.RegularExpr};
    if (!m_matcher || m_matcherText != m_options.TextToFind || m_matcherFlags.caseSensitive != flags.caseSensitive
        || m_matcherFlags.wholeWords != flags.wholeWords || m_matcherFlags.regularExpr != flags.regularExpr
        || m_matcherDelimiters != delimiters) {
        m_matcher = std::make_unique<TTextMatcher>(m_options.TextToFind, flags, delimiters);
        m_matcherText = m_options.TextToFind;
        m_matcherFlags = flags;
        m_matcherDelimiters = delimiters;
    }
    return *m_matcher;
}

bool TMemoSearch::CaretInSelection() const
{
    if (!m_source.HasSelection()) {
        return false;
    }
    const TTextPoint caret = m_source.GetCaretPoint();
    if (m_source.SelectionKind() == TSelKind::selColumn) {
        const TTextRect r = m_source.GetSelectionRect();
        return caret.line >= r.top && caret.line <= r.bottom && caret.col >= r.left && caret.col <= r.right + 1;
    }
    return caret == m_source.SelStart() || caret == m_source.SelEnd() || m_source.IsPosInBlock(caret.col, caret.line);
}

bool TMemoSearch::InternalFind()
{
    TSearchOptions& o = m_options;
    bool inSelection = o.Scope == ssSelectedText;
    if (inSelection && !m_source.HasSelection()) {
        if (!o.FirstSearch) {
            return false;
        }
        if (m_prompt) {
            m_prompt->ShowError(m_messages.emptySelection);
        }
        inSelection = false; // searched anyway, over the whole text
    }
    if (inSelection && o.FirstSearch && o.Origin == soFromCursor && !CaretInSelection() && m_prompt) {
        m_prompt->ShowError(m_messages.outsideSelection);
    }

    m_source.BeginUpdate(kFindChangeKind);
    if (o.WholeWordsOnly && !o.RegularExpr && ContainsDelimiter(o.TextToFind, Delimiters())) {
        o.WholeWordsOnly = false; // a text with delimiters can never be one word
    }
    const bool backward = o.Direction == sdBackward;
    const TBufferLines documentLines(m_source);
    const TSelectionLines selectionLines(m_source);
    const ILineList& lines = inSelection ? static_cast<const ILineList&>(selectionLines) : documentLines;

    TLinePoint start;
    const bool firstOfSeries = o.FirstSearch;
    if (firstOfSeries && o.Origin == soEntireScope) {
        start = backward ? TLinePoint{lines.LineCount(), 0} : TLinePoint{0, 0};
    } else if (inSelection) {
        start = selectionLines.FromDocument(m_source.GetCaretPoint());
    } else {
        const TTextPoint caret = m_source.GetCaretPoint();
        start = {static_cast<std::size_t>(caret.line), static_cast<std::size_t>(caret.col)};
    }
    o.FirstSearch = false;

    TTextMatcher& matcher = Matcher();
    if (!matcher.IsValid()) {
        m_source.EndUpdate();
        const std::string message = matcher.ErrorMessage();
        if (!HandleSearchException(message) && m_prompt) {
            m_prompt->ShowInfo(message);
        }
        return false;
    }
    if (m_prompt) {
        m_prompt->SetBusy(true);
    }
    // A new series may stop on an empty match at its start; repeats move past it.
    const std::optional<TTextMatch> match = matcher.Find(lines, start, backward, !firstOfSeries);
    if (m_prompt) {
        m_prompt->SetBusy(false);
    }
    if (match) {
        int line = static_cast<int>(match->point.line);
        int col = static_cast<int>(match->point.column);
        if (inSelection) {
            col += selectionLines.Offset(match->point.line);
            line += selectionLines.Top();
        }
        m_found = {line, col, col + static_cast<int>(match->length)};
        m_source.SetFoundRect({m_found.startCol, line, m_found.endCol, line});
        if (m_source.HasOption(soSelectFoundText) && (!m_source.HasSelection() || !inSelection)) {
            m_source.SetSelection(TSelKind::selStream, m_found.startCol, line, m_found.endCol, line);
        }
        m_source.JumpTo(backward ? m_found.startCol : m_found.endCol, line);
    }
    m_source.EndUpdate();
    if (!match && o.ShowNotFound && m_prompt) {
        m_prompt->ShowInfo(FormatMessage(m_messages.notFound, o.TextToFind));
    }
    return match.has_value();
}

bool TMemoSearch::ReplaceFound()
{
    const TFound found = m_found;
    if (m_source.ReadOnly() || m_source.GetLineReadOnly(found.line)) {
        return false; // the caret is already past the match, so the series moves on
    }
    m_source.BeginUpdate(kReplaceChangeKind);
    // The match is in display columns; either end may fall inside the span of
    // a tab. The tab is then replaced too, and the part of its span outside
    // the match stays as blanks, so the text around the match keeps its place.
    const int line = found.line;
    const int rawStart = m_source.ColToRaw(line, found.startCol);
    const int rawStartCol = m_source.RawToCol(line, rawStart);
    int rawEnd = m_source.ColToRaw(line, found.endCol);
    std::string text(static_cast<std::size_t>(std::max(0, found.startCol - rawStartCol)), ' ');
    const std::size_t headLength = text.size();
    text += m_options.ReplaceWith;
    const std::size_t replacementEnd = text.size();
    if (m_source.RawToCol(line, rawEnd) < found.endCol) {
        text.append(static_cast<std::size_t>(m_source.RawToCol(line, rawEnd + 1) - found.endCol), ' ');
        ++rawEnd;
    }
    const std::string style = m_source.GetStoredColorData(line);
    m_source.JumpTo(rawStartCol, line);
    m_source.DeleteRight(rawEnd - rawStart);
    int inserted = 0;
    if (!text.empty()) {
        if (rawStart < static_cast<int>(style.size())) {
            inserted = m_source.InsertEx(text, std::string(text.size(), style[static_cast<std::size_t>(rawStart)]));
        } else {
            inserted = m_source.Insert(text) ? static_cast<int>(text.size()) : 0;
        }
    }
    // Forwards the caret ends after the replacement, backwards before it.
    const std::size_t caretOffset = m_options.Direction == sdForward ? replacementEnd : headLength;
    const int caretRaw = rawStart + (inserted == static_cast<int>(text.size()) ? static_cast<int>(caretOffset) : 0);
    m_source.JumpTo(m_source.RawToCol(line, caretRaw), line);
    m_source.EndUpdate();
    ++m_replaceCount;
    return true;
}

// Replace-all of a literal forwards over the whole text, without prompting,
// made as one rewrite of the changed lines. Gives the same text, caret,
// positions and undo step as replacing one occurrence after the other, and
// declines (returning false, having changed nothing) wherever that route
// would do more than delete and insert at each occurrence: tabs on a
// changed line, read-only, folded or hidden lines, trailing blanks it would
// trim, a selection, or no occurrence at all.
bool TMemoSearch::ReplaceAllInOnePass()
{
    TSearchOptions& o = m_options;
    TMemoSource& s = m_source;
    if (!m_onePassReplaceAll || o.PromptOnReplace || o.RegularExpr || o.Direction != sdForward || o.Scope != ssGlobal
        || o.TextToFind.empty() || s.HasSelection() || s.HasOption(soSelectFoundText) || !s.HiddenLines().empty()) {
        return false;
    }
    const bool keepBlanks = s.KeepTrailingBlanks();
    auto isBlank = [](char c) {
        return c == ' ' || c == '\t';
    };
    const std::string& with = o.ReplaceWith;
    if (!keepBlanks && std::any_of(o.TextToFind.begin(), o.TextToFind.end(), isBlank)) {
        return false;
    }
    const int count = s.GetStrCount();
    if (with.empty() && count == 1) {
        return false; // emptying the only line removes it
    }
    for (int line = 0; line < count; ++line) {
        if (s.GetLineState(line) & (lsReadOnly | lsFoldBody | lsFoldExpanded | lsFoldCollapsed)) {
            return false;
        }
    }
    // Whole words are dropped for a text with delimiters, as the search does.
    const bool wholeWords = o.WholeWordsOnly && !ContainsDelimiter(o.TextToFind, Delimiters());
    const TMatchFlags flags{o.CaseSensitive, wholeWords, false};
    TTextMatcher matcher(o.TextToFind, flags, Delimiters());
    const TTextPoint caret = s.GetCaretPoint();
    const TTextPoint start = (o.FirstSearch && o.Origin == soEntireScope) ? TTextPoint{0, 0} : caret;
    const std::size_t length = o.TextToFind.size();
    const bool storeStyle = s.StoreColorData();
    const bool colouredAgain = s.SyntaxParser() != nullptr;
    const bool withEndsBlank = !with.empty() && isBlank(with.back());

    std::vector<TMemoSource::TReplaceSpan> spans;
    for (int line = std::max(start.line, 0); line < count; ++line) {
        const std::string_view raw = s.GetRawLine(line);
        std::size_t from = line == start.line ? static_cast<std::size_t>(std::max(start.col, 0)) : 0;
        if (from > raw.size()) {
            continue;
        }
        const bool hasTab = std::memchr(raw.data(), '\t', raw.size()) != nullptr;
        if (hasTab) {
            // Display columns differ from raw ones: only a line without a match may stay.
            const std::string expanded = s.GetExpandedLine(line);
            if (line == start.line || matcher.FindForward(expanded, 0)) {
                return false;
            }
            continue;
        }
        const std::size_t first = spans.size();
        while (std::optional<TLineMatch> match = matcher.FindForward(raw, from)) {
            spans.push_back({line, static_cast<int>(match->position)});
            from = match->position + length;
        }
        if (spans.size() == first) {
            continue;
        }
        // A highlighter colours a changed line again from its text, so its
        // bytes may be kept or lost by either route; other bytes could be
        // given back by this route's undo where the other route drops them.
        if (!storeStyle && !colouredAgain && !s.Store().Style(static_cast<std::size_t>(line)).empty()) {
            return false;
        }
        // An occurrence at the line end may leave a blank there (the
        // replacement's, or the one before an occurrence replaced by nothing).
        if (!keepBlanks && (isBlank(raw.back()) || (from == raw.size() && (with.empty() || withEndsBlank)))) {
            return false; // leaving the line would trim it
        }
    }
    if (spans.empty()) {
        return false;
    }
    if (!keepBlanks) {
        // The caret leaves its line for the first occurrence's line (the last
        // occurrence's line is never left, and no other line may be trimmed).
        const int home = caret.line;
        const std::string_view homeText = s.GetRawLine(home);
        if (home != spans.front().line && home < count && !homeText.empty() && isBlank(homeText.back())) {
            return false;
        }
    }
    // The caret ends after the last replacement.
    std::size_t onLastLine = 0;
    for (std::size_t k = spans.size(); k > 0 && spans[k - 1].line == spans.back().line; --k) {
        ++onLastLine;
    }
    const int shift = static_cast<int>(with.size()) - static_cast<int>(length);
    const TTextPoint caretAfter{
        spans.back().start + static_cast<int>(onLastLine - 1) * shift + static_cast<int>(with.size()),
        spans.back().line};

    o.WholeWordsOnly = wholeWords;
    o.FirstSearch = false;
    o.ShowNotFound = false; // as after the first search of a series
    s.ReplaceSpans(spans, static_cast<int>(length), with, caretAfter);
    s.SetFoundRect({}, false);
    m_replaceCount = static_cast<int>(spans.size());
    return true;
}

TMemoSearch::TOneResult TMemoSearch::ReplaceOne()
{
    if (!InternalFind()) {
        return TOneResult::NotFound;
    }
    if (m_options.PromptOnReplace && m_prompt) {
        const TReplaceAnswer answer =
            m_prompt->AskReplace(FormatMessage(m_messages.askReplace, m_options.TextToFind), m_messages);
        switch (answer) {
        case TReplaceAnswer::Cancel:
            return TOneResult::Cancelled;
        case TReplaceAnswer::No:
            return TOneResult::Skipped;
        case TReplaceAnswer::All:
            // The rest of the series becomes one undo step with this replacement.
            m_options.PromptOnReplace = false;
            m_options.ReplaceAll = true;
            m_source.BeginUpdate(kReplaceChangeKind);
            ReplaceFound();
            return TOneResult::All;
        case TReplaceAnswer::Yes:
            break;
        }
    }
    ReplaceFound();
    return TOneResult::Replaced;
}

void TMemoSearch::ReplaceRest(bool firstSearchReports)
{
    bool first = true;
    bool allOpened = false;
    for (;;) {
        const TOneResult result = ReplaceOne();
        if (first && firstSearchReports) {
            m_options.ShowNotFound = false; // "not found" is told at most once per series
        }
        first = false;
        if (result == TOneResult::NotFound || result == TOneResult::Cancelled) {
            break;
        }
        allOpened = allOpened || result == TOneResult::All;
    }
    m_source.SetFoundRect({}, false);
    if (allOpened) {
        m_source.EndUpdate();
    }
}

bool TMemoSearch::InternalReplace()
{
    if (m_source.ReadOnly()) {
        return false;
    }
    m_replaceCount = 0;
    if (m_options.ReplaceAll) {
        if (m_prompt) {
            m_prompt->SetBusy(true);
        }
        const bool done = ReplaceAllInOnePass();
        if (m_prompt) {
            m_prompt->SetBusy(false);
        }
        if (done) {
            return true;
        }
        // Without prompting the whole series is one bracket and one undo step;
        // with prompting each replacement shows before the next question.
        const bool oneBracket = !m_options.PromptOnReplace;
        if (oneBracket) {
            m_source.BeginUpdate(kReplaceChangeKind);
        }
        if (m_prompt) {
            m_prompt->SetBusy(true);
        }
        ReplaceRest(true);
        if (oneBracket) {
            m_source.EndUpdate();
        }
        if (m_prompt) {
            m_prompt->SetBusy(false);
        }
        return m_replaceCount > 0;
    }
    const TOneResult result = ReplaceOne();
    m_options.ShowNotFound = false;
    if (result == TOneResult::All) {
        ReplaceRest(false);
        m_source.EndUpdate(); // the bracket the All answer opened
    }
    return result != TOneResult::NotFound && result != TOneResult::Cancelled;
}

bool TMemoSearch::Find()
{
    m_options.FirstSearch = true;
    m_options.InReplace = false;
    return InternalFind();
}

bool TMemoSearch::FindNext()
{
    if (m_options.FirstSearch) {
        return false;
    }
    if (!m_source.HasSelection()) {
        m_options.Scope = ssGlobal;
    }
    return m_options.InReplace ? InternalReplace() : InternalFind();
}

bool TMemoSearch::Replace()
{
    m_options.FirstSearch = true;
    m_options.InReplace = true;
    return InternalReplace();
}

void TMemoSearch::SmartSearchOptions()
{
    if (m_source.HasOption(soFindTextAtCursor)) {
        std::string word = m_source.GetTextAtCursor();
        if (!word.empty()) {
            m_options.TextToFind = std::move(word);
        }
    }
    m_options.Scope = CaretInSelection() ? ssSelectedText : ssGlobal;
}

void TMemoSearch::BeforeFindReplace(bool isReplace)
{
    (void)isReplace; // both dialogs start from the same options
    SmartSearchOptions();
}

} // namespace quillet
