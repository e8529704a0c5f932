// Incremental highlighting data of TMemoSource: lines are coloured lazily from
// the first unparsed line, and a line is recoloured only when it is unparsed or
// its incoming state differs from the one it was coloured with.
#include "text/MemoSource.h"

#include <algorithm>
#include <cctype>

namespace quillet {

namespace {

constexpr std::uint8_t kUrlStyle = 12;
// Lines coloured beyond the one asked for, so that scrolling on finds them done.
constexpr int kColourLookAhead = 100;
// A screen line at most this far past the coloured part is coloured at once
// (well under a millisecond); further away it waits for ColourTowards.
constexpr int kSyncColourLines = 1000;
// Lines coloured towards a target keep their style bytes only this close above it.
constexpr int kKeepBytesAbove = 200;
// Once this many lines (or a 64th of the document, when more) gained style
// bytes, the bytes of lines far from every view are dropped, so that paging
// through a large document holds the bytes of a few screens, not of every
// line seen.
constexpr int kTrimAfterLines = 20000;
// Around each view the bytes of this many view heights stay on either side
// (a view counted as at least 50 lines high).
constexpr int kKeepViewsAround = 4;
constexpr int kMinViewLines = 50;

bool IsRunStart(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

bool IsRunChar(unsigned char c)
{
    if (IsRunStart(c)) {
        return true;
    }
    switch (c) {
    case '_':
    case '&':
    case '-':
    case '.':
    case '/':
    case ':':
    case '=':
    case '?':
    case '@':
    case '~':
        return true;
    default:
        return false;
    }
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(s[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsHotRun(std::string_view run)
{
    for (std::string_view p : {"WWW.", "HTTP://", "HTTPS://", "GOPHER://", "FTP://", "MAILTO:"}) {
        if (StartsWithNoCase(run, p)) {
            return true;
        }
    }
    std::size_t at = run.find('@');
    if (at == std::string_view::npos || run.find('@', at + 1) != std::string_view::npos || at + 1 >= run.size()) {
        return false;
    }
    unsigned char next = static_cast<unsigned char>(run[at + 1]);
    if (!(std::isalnum(next) || next == '_' || next >= 0x80)) {
        return false;
    }
    return run.find('.', at + 1) != std::string_view::npos;
}

} // namespace

std::vector<std::pair<int, int>> TMemoSource::FindHotStrings(std::string_view text)
{
    std::vector<std::pair<int, int>> out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsRunStart(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < text.size() && IsRunChar(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        if (IsHotRun(text.substr(start, i - start))) {
            out.emplace_back(static_cast<int>(start), static_cast<int>(i));
        }
    }
    return out;
}

void TMemoSource::MarkHotStrings(int line)
{
    std::size_t li = static_cast<std::size_t>(line);
    auto runs = FindHotStrings(m_store.Text(li));
    if (runs.empty()) {
        return;
    }
    std::string& st = m_store.MutableStyle(li);
    for (auto [b, e] : runs) {
        std::fill(st.begin() + b, st.begin() + e, static_cast<char>(kUrlStyle));
    }
}

void TMemoSource::SetSyntaxParser(TSimpleParser* parser)
{
    if (m_parser == parser) {
        return;
    }
    if (m_parser) {
        m_parser->UnregisterNotifier(this);
    }
    m_parser = parser;
    if (m_parser) {
        m_parser->RegisterNotifier(this);
    }
    InvalidateParsing(true);
}

void TMemoSource::ParserChanged(TSimpleParser& parser)
{
    (void)parser;
    InvalidateParsing(true);
}

void TMemoSource::ParserDestroyed(TSimpleParser& parser)
{
    if (m_parser != &parser) {
        return;
    }
    m_parser = nullptr; // already unregistered by the parser itself
    InvalidateParsing(true);
}

void TMemoSource::InvalidateParsing(bool resetScratch)
{
    BeginUpdate(57);
    for (std::size_t i = 0; i < m_store.Count(); ++i) {
        TLineRec& r = m_store.Rec(i);
        r.state &= static_cast<std::uint8_t>(~lsParsed);
        if (TLineExtra* extra = r.Extra()) {
            extra->style.clear();
            if (resetScratch) {
                extra->scratch[0] = extra->scratch[1] = extra->scratch[2] = 0;
            }
        }
    }
    if (resetScratch) {
        // Another highlighter (or none): every line is coloured afresh from
        // the top before any state is read, and without one the states are
        // all zero, which is what an empty state store reads as.
        m_store.DropStates();
    }
    m_parsedUpTo = 0;
    m_bytesGained = 0;
    AddChange(0, INT_MAX, chHighlighter);
    EndUpdate();
}

void TMemoSource::SetHighlightUrls(bool on)
{
    if (m_highlightUrls == on) {
        return;
    }
    m_highlightUrls = on;
    InvalidateParsing(false);
}

bool TMemoSource::IsLineParsed(int line) const
{
    return (GetLineState(line) & lsParsed) != 0;
}

int TMemoSource::ParseLines(int first, int last, bool force, int bytesFrom)
{
    int count = GetStrCount();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    int lowestChanged = INT_MAX;
    if (first > last) {
        return lowestChanged;
    }
    const bool mayDropBytes = m_parser && !m_parser->StoreColorData();
    if (mayDropBytes && m_bytesGained > std::max(kTrimAfterLines, count / 64)) {
        // Before colouring, so that the lines this call colours keep their bytes.
        TrimColorData();
    }
    std::uint32_t state = first > 0 ? m_store.States(static_cast<std::size_t>(first - 1)).end : 0;
    std::vector<std::uint8_t> attrs;
    for (int line = first; line <= last; ++line) {
        std::size_t li = static_cast<std::size_t>(line);
        TLineRec& r = m_store.Rec(li);
        const TLineStates old = m_store.States(li);
        if (!force && (r.state & lsParsed) && old.start == state) {
            state = old.end;
            continue;
        }
        if (old.start != state) {
            lowestChanged = std::min(lowestChanged, line);
        }
        std::string_view text = m_store.Text(li);
        std::uint32_t end = state;
        if (mayDropBytes && line < bytesFrom) {
            // Far from where the bytes are wanted: keep the states only.
            attrs.clear();
            m_parser->PrepareColorData(li, text, attrs);
            m_parser->UpdateLinePos(li);
            end = m_parser->ColorString(text, state, attrs);
            m_store.SetStates(li, {state, end});
            r.state &= static_cast<std::uint8_t>(~lsParsed);
            DropLineStyle(li);
        } else {
            if (m_parser) {
                attrs.clear();
                m_parser->PrepareColorData(li, text, attrs);
                m_parser->UpdateLinePos(li);
                end = m_parser->ColorString(text, state, attrs);
                attrs.resize(text.size(), 0);
                std::string& style = m_store.Extra(li).style;
                if (style.empty() && !attrs.empty()) {
                    ++m_bytesGained;
                }
                style.assign(attrs.begin(), attrs.end());
            } else if (TLineExtra* extra = r.Extra()) {
                // Plain text: no bytes stored (empty means all zero) unless
                // hot strings mark some below.
                extra->style.clear();
            }
            m_store.SetStates(li, {state, end});
            m_store.Rec(li).state |= lsParsed;
            if (AfterParse) {
                AfterParse(*this, line);
            }
            if (m_highlightUrls) {
                MarkHotStrings(line);
            }
        }
        if (end != old.end && line + 1 < count) {
            // The next line was coloured from a different state: it needs work.
            m_store.Rec(li + 1).state &= static_cast<std::uint8_t>(~lsParsed);
        }
        state = end;
    }
    if (last + 1 > m_parsedUpTo) {
        // Only advance when everything before first is known to be parsed.
        if (first <= m_parsedUpTo) {
            m_parsedUpTo = last + 1;
        }
    }
    return lowestChanged;
}

void TMemoSource::ParseToString(int line, bool force)
{
    if (line < m_parsedUpTo && !force) {
        if (IsLineParsed(line)) {
            return;
        }
    }
    int from = std::min(m_parsedUpTo, std::max(line, 0));
    if (force) {
        from = 0;
    }
    ParseStrings(from, std::min(line + kColourLookAhead, GetStrCount() - 1), force);
}

std::string TMemoSource::GetRawColorData(int line)
{
    if (line < 0 || line >= GetStrCount()) {
        return {};
    }
    if (!m_parser) {
        // Without a highlighter a line's colours depend on nothing before it:
        // colour only this line, not the ones between the coloured part and it.
        if (!IsLineParsed(line)) {
            ParseStrings(line, line);
        }
    } else if (line < m_parsedUpTo && !IsLineParsed(line)) {
        // Bytes dropped earlier: the previous line's end state is still known.
        ParseStrings(line, line);
    } else if (!IsLineParsed(line) || line >= m_parsedUpTo) {
        ParseToString(line);
        if (!IsLineParsed(line)) {
            ParseStrings(line, line);
        }
    }
    return GetStoredColorData(line);
}

bool TMemoSource::GetScreenColorData(int line, std::string& bytes)
{
    if (line < 0 || line >= GetStrCount()) {
        bytes.clear();
        return true;
    }
    if (!m_parser || line < m_parsedUpTo + kSyncColourLines) {
        bytes = GetRawColorData(line);
        return true;
    }
    bytes = GetStoredColorData(line);
    return false;
}

bool TMemoSource::ColourTowards(int target, int maxLines)
{
    const int count = GetStrCount();
    target = std::min(target, count - 1);
    if (target < m_parsedUpTo) {
        return true;
    }
    const int from = m_parsedUpTo;
    const int last = std::min(target + kColourLookAhead, from + std::max(maxLines, 1) - 1);
    ParseLines(from, last, false, target - kKeepBytesAbove);
    return target < m_parsedUpTo;
}

int TMemoSource::DropColorDataOutside(std::vector<std::pair<int, int>> keep)
{
    if (!m_parser || m_parser->StoreColorData()) {
        return 0;
    }
    std::sort(keep.begin(), keep.end());
    const int count = GetStrCount();
    int kept = 0;
    std::size_t range = 0;
    for (int line = 0; line < count; ++line) {
        while (range < keep.size() && keep[range].second < line) {
            ++range;
        }
        const std::size_t li = static_cast<std::size_t>(line);
        TLineRec& r = m_store.Rec(li);
        if (!r.Extra() || r.Extra()->style.empty()) {
            continue;
        }
        if (range < keep.size() && keep[range].first <= line) {
            ++kept;
        } else if (r.state & lsParsed) {
            r.state &= static_cast<std::uint8_t>(~lsParsed);
            DropLineStyle(li);
        }
    }
    return kept;
}

void TMemoSource::TrimColorData()
{
    std::vector<std::pair<int, int>> keep;
    for (const IMemoSourceNotifier* notifier : m_notifiers) {
        const auto [first, last] = notifier->LinesInView();
        if (first <= last) {
            const int margin = kKeepViewsAround * std::max(last - first + 1, kMinViewLines);
            keep.emplace_back(std::max(first, margin) - margin, std::min(last, INT_MAX - margin) + margin);
        }
    }
    DropColorDataOutside(std::move(keep));
    m_bytesGained = 0;
}

void TMemoSource::DropLineStyle(std::size_t li)
{
    TLineRec& r = m_store.Rec(li);
    if (!r.Extra()) {
        return;
    }
    std::string().swap(r.Extra()->style);
    const TLineExtra& e = *r.Extra();
    if (!e.ownsText && e.aux.empty() && e.object == 0 && e.scratch[0] == 0 && e.scratch[1] == 0 && e.scratch[2] == 0) {
        TLineStore::FreeExtra(r);
    }
}

std::string TMemoSource::GetColorData(int line)
{
    std::string raw = GetRawColorData(line);
    return tabs::ExpandStyle(GetRawLine(line), raw, m_tabStops);
}

std::string TMemoSource::GetStoredColorData(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return {};
    }
    std::string s(m_store.Style(static_cast<std::size_t>(line)));
    s.resize(m_store.Text(static_cast<std::size_t>(line)).size(), '\0');
    return s;
}

void TMemoSource::SetStyleBytes(int line, int pos, std::string_view bytes)
{
    if (line < 0 || line >= GetStrCount() || pos < 0 || bytes.empty()) {
        return;
    }
    std::size_t li = static_cast<std::size_t>(line);
    std::string& st = m_store.MutableStyle(li);
    if (static_cast<std::size_t>(pos) >= st.size()) {
        return;
    }
    std::size_t n = std::min(bytes.size(), st.size() - static_cast<std::size_t>(pos));
    BeginUpdate(m_updateLevel > 0 ? m_changeKind : 5);
    if (StoreColorData()) {
        AddUndo(TUndoKind::StyleBytes, line, pos + 1, {}, st.substr(static_cast<std::size_t>(pos), n));
    }
    st.replace(static_cast<std::size_t>(pos), n, bytes.substr(0, n));
    AddChange(line, line, chSelection);
    EndUpdate();
}

void TMemoSource::SetFoundRect(TTextRect rect, bool visible)
{
    BeginUpdate(m_updateLevel > 0 ? m_changeKind : 2);
    m_foundRect = rect;
    m_foundVisible = visible;
    EndUpdate();
}

} // namespace quillet
