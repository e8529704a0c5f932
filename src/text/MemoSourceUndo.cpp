// Undo and redo of TMemoSource: recording steps into the history, the undo
// limit, the modified state kept against a save mark, and replaying a step.
#include "text/MemoSource.h"

namespace quillet {

void TMemoSource::BeginUndoBlock()
{
    if (m_undoBlockLevel++ == 0) {
        m_undoBlockSerial = ++m_nextBlockSerial;
    }
}

void TMemoSource::EndUndoBlock()
{
    if (m_undoBlockLevel > 0 && --m_undoBlockLevel == 0) {
        m_undoBlockSerial = 0;
    }
}

// ---- Undo records ---------------------------------------------------------------

TUndoRecord* TMemoSource::AddUndo(
    TUndoKind kind, int a, int b, std::string text, std::string style, std::vector<std::uint32_t> pieceLengths)
{
    if (!m_allowUndo) {
        return nullptr;
    }
    if (m_recordTo == &m_undo) {
        ApplyUndoLimit();
    }
    TUndoRecord rec;
    rec.kind = kind;
    rec.changeKind = static_cast<std::uint8_t>(m_changeKind);
    rec.firstOfStep = m_nextFirstOfStep;
    rec.inBlock = m_undoBlockLevel > 0;
    rec.blockSerial = m_undoBlockSerial;
    rec.a = a;
    rec.b = b;
    rec.text = std::move(text);
    rec.style = std::move(style);
    rec.pieceLengths = std::move(pieceLengths);
    m_nextFirstOfStep = false;
    if (rec.IsContent()) {
        ++m_contentRecords;
    }
    m_recordTo->Push(std::move(rec));
    return &m_recordTo->Last();
}

void TMemoSource::ApplyUndoLimit()
{
    if (m_undoLimit == 0 || m_undo.Count() <= static_cast<std::size_t>(m_undoLimit) + 100) {
        return;
    }
    const std::size_t remove = m_undo.OldestCut(static_cast<std::size_t>(m_undoLimit));
    if (remove == 0) {
        return;
    }
    const bool contentRemoved = m_undo.HasContentBefore(remove);
    if (m_saveMark >= 0) {
        if (m_saveMark < static_cast<long>(remove)) {
            m_saveMark = -1;
            if (contentRemoved) {
                m_forcedModified = true;
            }
        } else {
            m_saveMark -= static_cast<long>(remove);
        }
    } else if (contentRemoved) {
        // The state before the removed records can no longer be reached.
        m_forcedModified = true;
    }
    m_undo.DropOldest(remove);
}

void TMemoSource::ClearUndoBuffer()
{
    m_undo.Clear();
    m_redo.Clear();
    if (m_saveMark != -1) {
        m_saveMark = -1;
    }
}

void TMemoSource::ClearRedoBuffer()
{
    m_redo.Clear();
}

bool TMemoSource::IsSourceModified() const
{
    return m_forcedModified || m_undo.HasContentAfter(m_saveMark);
}

void TMemoSource::SetModified(bool modified)
{
    BeginUpdate(49);
    if (modified) {
        m_forcedModified = true;
    } else {
        m_forcedModified = false;
        m_saveMark = m_undo.LastContentIndex();
    }
    EndUpdate();
}

// ---- Undo and redo ----------------------------------------------------------------------

void TMemoSource::Undo()
{
    if (m_undo.Empty() || m_readOnly) {
        return;
    }
    std::swap(m_recordTo, m_replayFrom);
    DoUndo();
    std::swap(m_recordTo, m_replayFrom);
    RecomputeModified();
}

void TMemoSource::Redo()
{
    if (m_redo.Empty() || m_readOnly) {
        return;
    }
    // Replaying the redo history records into the undo history.
    TUndoList* savedRecord = m_recordTo;
    TUndoList* savedReplay = m_replayFrom;
    m_recordTo = &m_undo;
    m_replayFrom = &m_redo;
    DoUndo();
    m_recordTo = savedRecord;
    m_replayFrom = savedReplay;
    RecomputeModified();
}

void TMemoSource::RecomputeModified()
{
    // IsSourceModified is computed from the history; nothing is cached.
}

void TMemoSource::DoUndo()
{
    TUndoList& src = *m_replayFrom;
    if (src.Empty()) {
        return;
    }
    bool realUndo = &src == &m_undo;
    bool wasReplaying = m_replaying;
    m_replaying = true;
    int kind = src.Last().changeKind;
    BeginUpdate(kind);
    m_changes.AddFlags(chUndoRedo);
    bool storeStyle = StoreColorData();
    bool group = HasOption(soGroupUndo);
    bool firstUnit = true;
    while (!src.Empty()) {
        // One unit: records back to the first of a step, never stopping inside a block.
        if (!firstUnit) {
            const TUndoRecord& next = src.Last();
            if (!group || next.changeKind != kind) {
                break;
            }
        }
        firstUnit = false;
        m_nextFirstOfStep = true;
        while (!src.Empty()) {
            TUndoRecord r = std::move(src.Last());
            if (realUndo && m_saveMark >= 0 && static_cast<long>(src.Count()) == m_saveMark + 1) {
                m_saveMark = -1;
                m_forcedModified = true;
            }
            src.Pop();
            int savedKind = m_changeKind;
            switch (r.kind) {
            case TUndoKind::Navigate:
                NavigateImpl(-r.a, -r.b, false);
                break;
            case TUndoKind::Insert:
                DeleteRight(r.a);
                break;
            case TUndoKind::Break:
                JoinLines();
                break;
            case TUndoKind::Join:
                BreakLine();
                break;
            case TUndoKind::Delete:
                InsertEx(r.text, storeStyle ? std::string_view(r.style) : std::string_view());
                break;
            case TUndoKind::StyleBytes:
                SetStyleBytes(r.a, r.b - 1, r.style);
                break;
            case TUndoKind::InsertLines:
                SpliceDelete(GetCurLine() + r.a, r.b, r.lastAtLineStart);
                break;
            case TUndoKind::DeleteLines:
                ReplaySpliceInsert(r, storeStyle);
                break;
            case TUndoKind::LineTexts:
                // Undo gives the places back last first, redo first to last.
                ReplayLineTexts(r, realUndo);
                break;
            }
            m_changeKind = savedKind;
            if (src.Empty()) {
                break;
            }
            const TUndoRecord& prev = src.Last();
            if (r.blockSerial != 0 && prev.blockSerial == r.blockSerial) {
                continue; // still inside the block
            }
            if (r.firstOfStep) {
                break;
            }
        }
    }
    m_selKind = TSelKind::selNone;
    EndUpdate();
    m_replaying = wasReplaying;
}

} // namespace quillet
