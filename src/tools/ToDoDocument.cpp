#include "tools/ToDoDocument.h"

#include "text/MemoSource.h"

namespace quillet {

TToDoLines ToDoLinesOf(const TMemoSource& source)
{
    return {source.GetStrCount(), [&source](int line) {
                return source.GetRawLine(line);
            }};
}

bool ApplyToDoSplice(TMemoSource& source, const TToDoSplice& splice)
{
    const int count = source.GetStrCount();
    if (source.ReadOnly() || splice.firstLine < 0 || splice.lastLine >= count || splice.firstLine > splice.lastLine) {
        return false;
    }
    const auto rawLength = [&source](int line) {
        return static_cast<int>(source.GetRawLine(line).size());
    };
    if (splice.firstChar < 0 || splice.firstChar > rawLength(splice.firstLine) || splice.lastChar < 0
        || splice.lastChar > rawLength(splice.lastLine)) {
        return false;
    }
    // Selections and the caret work in display columns: tabs before the
    // comment count by the tab stops.
    const int left = source.RawToCol(splice.firstLine, splice.firstChar);
    const int right = source.RawToCol(splice.lastLine, splice.lastChar);
    source.BeginUpdate(kToDoChangeKind);
    source.BeginUndoBlock();
    if (left != right || splice.firstLine != splice.lastLine) {
        source.SetSelection(TSelKind::selStream, left, splice.firstLine, right, splice.lastLine);
        source.DeleteBlock();
    }
    source.ClearSelection();
    source.JumpTo(left, splice.firstLine);
    if (!splice.text.empty()) {
        source.InsertString(splice.text);
    }
    source.EndUndoBlock();
    source.EndUpdate();
    return true;
}

std::string ToDoKeywordAsWritten(const TMemoSource& source, const TToDoItem& item)
{
    const std::string_view line = source.GetRawLine(item.startLine);
    const auto at = static_cast<std::size_t>(item.startColumn > 0 ? item.startColumn - 1 : 0);
    return at < line.size() ? std::string(line.substr(at, kToDoKeyword.size())) : std::string(kToDoKeyword);
}

} // namespace quillet
