// Replace-all of TMemoSource in one pass over the changed lines.
//
// Deleting and inserting at each place in turn costs two edits, caret moves
// and several undo records per place; a million places take seconds to make
// and as long to undo. Here each changed line is rewritten once and the step
// keeps one record with the previous texts. Tracked positions are shifted
// place by place exactly as the deletes and inserts shift them, so both
// routes leave the same document.
#include "text/MemoSource.h"

namespace quillet {

namespace {

// The head of one line's entry in a LineTexts record (see TUndoKind).
void PushLineEntry(
    std::vector<std::uint32_t>& pieces, int line, std::size_t textLength, std::size_t styleLength, std::size_t places)
{
    pieces.push_back(static_cast<std::uint32_t>(line));
    pieces.push_back(static_cast<std::uint32_t>(textLength));
    pieces.push_back(static_cast<std::uint32_t>(styleLength));
    pieces.push_back(static_cast<std::uint32_t>(places));
}

} // namespace

void TMemoSource::ShiftPlace(int line, int col, int removed, int inserted, bool columnar)
{
    // An empty deletion or insertion is never made, so it shifts nothing.
    if (removed > 0) {
        m_marks.ShiftOnDelete(line, col, removed, columnar);
    }
    if (inserted > 0) {
        m_marks.ShiftOnInsert(line, col, inserted, columnar);
    }
}

void TMemoSource::ReplaceSpans(
    const std::vector<TReplaceSpan>& spans, int length, std::string_view with, TTextPoint caretAfter)
{
    if (spans.empty() || m_readOnly) {
        return;
    }
    BeginUpdate(54);
    const int withLength = static_cast<int>(with.size());
    const bool columnar = m_selKind == TSelKind::selColumn;
    TUndoRecord previous;
    {
        // The record's buffers sized once: growing them by doubling would
        // hold up to twice the changed text, and copy it on every growth.
        std::size_t oldText = 0;
        std::size_t oldStyle = 0;
        std::size_t lines = 0;
        for (std::size_t k = 0; k < spans.size(); ++k) {
            if (k == 0 || spans[k].line != spans[k - 1].line) {
                const std::size_t li = static_cast<std::size_t>(spans[k].line);
                oldText += m_store.Text(li).size();
                oldStyle += m_store.Style(li).size();
                ++lines;
            }
        }
        previous.text.reserve(oldText);
        previous.style.reserve(oldStyle);
        previous.pieceLengths.reserve(4 * lines + spans.size());
    }
    std::string text;
    std::string style;
    std::size_t i = 0;
    while (i < spans.size()) {
        const int line = spans[i].line;
        std::size_t end = i;
        while (end < spans.size() && spans[end].line == line) {
            ++end;
        }
        const std::size_t li = static_cast<std::size_t>(line);
        const std::string_view old = m_store.Text(li);
        const std::string_view oldStyle = m_store.Style(li);
        PushLineEntry(previous.pieceLengths, line, old.size(), oldStyle.size(), end - i);
        text.clear();
        style.clear();
        std::size_t copied = 0;
        for (std::size_t k = i; k < end; ++k) {
            const auto start = static_cast<std::size_t>(spans[k].start);
            previous.pieceLengths.push_back(static_cast<std::uint32_t>(start));
            text.append(old.substr(copied, start - copied)).append(with);
            if (!oldStyle.empty()) {
                // The replacement takes the style of the first character it replaces.
                style.append(oldStyle.substr(copied, start - copied)).append(with.size(), oldStyle[start]);
            }
            copied = start + static_cast<std::size_t>(length);
            const int at = spans[k].start + static_cast<int>(k - i) * (withLength - length);
            ShiftPlace(line, at, length, withLength, columnar);
        }
        text.append(old.substr(copied));
        if (!oldStyle.empty()) {
            style.append(oldStyle.substr(copied));
        }
        previous.text.append(old);
        previous.style.append(oldStyle);
        m_store.SetText(li, text);
        if (!oldStyle.empty()) {
            m_store.MutableStyle(li) = style;
        }
        ReparseEdited(line);
        AddChange(line, line, chTextChanged);
        i = end;
    }
    AddUndo(TUndoKind::LineTexts,
        withLength,
        length,
        std::move(previous.text),
        std::move(previous.style),
        std::move(previous.pieceLengths));
    JumpTo(caretAfter.col, caretAfter.line);
    EndUpdate();
}

void TMemoSource::ReplayLineTexts(const TUndoRecord& record, bool descending)
{
    // Each place spans record.a characters now and record.b once put back.
    const int now = record.a;
    const int back = record.b;
    const bool columnar = m_selKind == TSelKind::selColumn;
    TUndoRecord current;
    const std::vector<std::uint32_t>& pieces = record.pieceLengths;
    {
        // Sized once, as ReplaceSpans sizes its record.
        std::size_t curText = 0;
        std::size_t curStyle = 0;
        for (std::size_t p = 0; p + 4 <= pieces.size(); p += 4 + pieces[p + 3]) {
            const std::size_t li = pieces[p];
            curText += m_store.Text(li).size();
            curStyle += m_store.Style(li).size();
        }
        current.text.reserve(curText);
        current.style.reserve(curStyle);
        current.pieceLengths.reserve(pieces.size());
    }
    std::size_t textAt = 0;
    std::size_t styleAt = 0;
    std::size_t p = 0;
    while (p + 4 <= pieces.size()) {
        const int line = static_cast<int>(pieces[p]);
        const std::size_t textLength = pieces[p + 1];
        const std::size_t styleLength = pieces[p + 2];
        const std::size_t count = pieces[p + 3];
        const std::uint32_t* starts = pieces.data() + p + 4;
        p += 4 + count;
        const std::size_t li = static_cast<std::size_t>(line);
        const std::string_view cur = m_store.Text(li);
        const std::string_view curStyle = m_store.Style(li);
        PushLineEntry(current.pieceLengths, line, cur.size(), curStyle.size(), count);
        for (std::size_t k = 0; k < count; ++k) {
            // Where place k starts in the current text.
            current.pieceLengths.push_back(static_cast<std::uint32_t>(
                static_cast<long long>(starts[k]) + static_cast<long long>(k) * (now - back)));
        }
        // The positions move as the per-place route moves them: undo goes from
        // the last place to the first (current coordinates), redo from the
        // first to the last (coordinates of the text being put back).
        for (std::size_t step = 0; step < count; ++step) {
            const std::size_t k = descending ? count - 1 - step : step;
            const int at = descending ? static_cast<int>(current.pieceLengths[current.pieceLengths.size() - count + k])
                                      : static_cast<int>(starts[k]);
            ShiftPlace(line, at, now, back, columnar);
        }
        current.text.append(cur);
        current.style.append(curStyle);
        m_store.SetText(li, record.text.substr(textAt, textLength));
        if (styleLength > 0) {
            m_store.MutableStyle(li) = record.style.substr(styleAt, styleLength);
        } else if (!curStyle.empty()) {
            m_store.Extra(li).style.clear();
        }
        textAt += textLength;
        styleAt += styleLength;
        ReparseEdited(line);
        AddChange(line, line, chTextChanged);
    }
    AddUndo(TUndoKind::LineTexts,
        back,
        now,
        std::move(current.text),
        std::move(current.style),
        std::move(current.pieceLengths));
}

} // namespace quillet
