#include "text/ui/EditCommands.h"

#include "core/AppTitle.h"
#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "core/Translations.h"
#include "platform/IClipboard.h"
#include "syntax/SyntaxParser.h"
#include "text/Guid.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"

#include <QDate>
#include <QLocale>
#include <QMessageBox>
#include <QTime>

#include <algorithm>
#include <array>

namespace quillet {
namespace {

// The change kind of the line-rewriting and encoding commands.
constexpr int kReplaceChangeKind = 38;

std::function<void(TChildForm*, const QString&)>& MessageHandler()
{
    static std::function<void(TChildForm*, const QString&)> handler;
    return handler;
}

void ShowMessage(TChildForm* form, const QString& text)
{
    if (MessageHandler()) {
        MessageHandler()(form, text);
        return;
    }
    QMessageBox::critical(form, QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())), text);
}

// Unicode text from Qt into the buffer's 8-bit system code page; characters the
// code page cannot hold become "_", as in every other conversion.
std::string ToSystemCodePage(const QString& text)
{
    const int codePage = GetSystemCodePage();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t c : text.toUcs4()) {
        const int b = UnicodeToSingleByte(codePage, c);
        out.push_back(b < 0 ? '_' : static_cast<char>(b));
    }
    return out;
}

// A document the commands may change: a text document window whose buffer is
// not read-only.
TMemoSource* Writable(TChildForm* form)
{
    if (form == nullptr || form->MemoSource().ReadOnly()) {
        return nullptr;
    }
    return &form->MemoSource();
}

TMemoSource* WritableWithSelection(TChildForm* form)
{
    TMemoSource* source = Writable(form);
    return source != nullptr && source->HasSelection() ? source : nullptr;
}

// ---- Enabling rules ----------------------------------------------------------------

bool Always(TChildForm* form)
{
    return form != nullptr;
}

bool IsWritable(TChildForm* form)
{
    return Writable(form) != nullptr;
}

bool HasWritableSelection(TChildForm* form)
{
    return WritableWithSelection(form) != nullptr;
}

bool HasSelection(TChildForm* form)
{
    return form != nullptr && form->MemoSource().HasSelection();
}

bool CanUndo(TChildForm* form)
{
    const TMemoSource* source = Writable(form);
    return source != nullptr && source->UndoAvailable();
}

bool CanRedo(TChildForm* form)
{
    const TMemoSource* source = Writable(form);
    return source != nullptr && source->RedoAvailable();
}

bool CanPaste(TChildForm* form)
{
    const TMemoSource* source = Writable(form);
    return source != nullptr && source->Clipboard() != nullptr && source->Clipboard()->HasText();
}

bool CanComment(TChildForm* form)
{
    const TMemoSource* source = WritableWithSelection(form);
    return source != nullptr && !CommentMarker(*source).empty();
}

bool HasStreamSelection(TChildForm* form)
{
    const TMemoSource* source = WritableWithSelection(form);
    return source != nullptr && source->SelectionKind() == TSelKind::selStream;
}

// ---- Actions ---------------------------------------------------------------------------

void DoUndo(TChildForm* form)
{
    if (CanUndo(form)) {
        form->MemoSource().Undo();
    }
}

void DoRedo(TChildForm* form)
{
    if (CanRedo(form)) {
        form->MemoSource().Redo();
    }
}

void DoCut(TChildForm* form)
{
    if (HasSelection(form)) {
        form->MemoSource().CutBlock();
    }
}

void DoCopy(TChildForm* form)
{
    if (HasSelection(form)) {
        form->MemoSource().CopyBlock();
    }
}

void DoPaste(TChildForm* form)
{
    if (CanPaste(form)) {
        form->MemoSource().PasteBlock();
    }
}

void DoSelectAll(TChildForm* form)
{
    if (form != nullptr) {
        form->MemoSource().SelectAll();
    }
}

void InsertAtCaret(TChildForm* form, const std::string& text)
{
    if (TMemoSource* source = Writable(form)) {
        source->InsertString(text);
    }
}

void DoInsertTime(TChildForm* form)
{
    InsertAtCaret(form, InsertTimeText());
}

void DoInsertDate(TChildForm* form)
{
    InsertAtCaret(form, InsertDateText());
}

void DoInsertGuid(TChildForm* form)
{
    InsertAtCaret(form, TGuid::NewRandom().InsertText());
}

// Case changes work on the selection, or on the word at the caret without one.
template <void (TMemoSource::*Block)(), void (TMemoSource::*Word)()> void DoCase(TChildForm* form)
{
    TMemoSource* source = Writable(form);
    if (source == nullptr) {
        return;
    }
    if (source->HasSelection()) {
        (source->*Block)();
    } else {
        (source->*Word)();
    }
}

void DoAddIndents(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        source->IndentBlock();
    }
}

void DoRemoveIndents(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        source->OutDentBlock();
    }
}

template <TSortOrder Order> void DoSort(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        ReplaceSelectionWithLines(*source, [](TLines& lines, bool closingBreak) {
            SortLines(lines, Order, closingBreak);
        });
    }
}

void DoTabsToSpaces(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        const int n = ClampSpacesInTab(source->SpacesInTab());
        ReplaceSelectionWithLines(*source, [n](TLines& lines, bool) {
            TabsToSpaces(lines, n);
        });
    }
}

void DoSpacesToTabs(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        const int n = ClampSpacesInTab(source->SpacesInTab());
        ReplaceSelectionWithLines(*source, [n](TLines& lines, bool) {
            SpacesToTabs(lines, n);
        });
    }
}

void DoComment(TChildForm* form)
{
    if (!CanComment(form)) {
        return;
    }
    const std::string marker = CommentMarker(form->MemoSource());
    ReplaceSelectionWithLines(form->MemoSource(), [&marker](TLines& lines, bool closingBreak) {
        CommentLines(lines, marker, closingBreak);
    });
}

void DoUncomment(TChildForm* form)
{
    if (!CanComment(form)) {
        return;
    }
    const std::string marker = CommentMarker(form->MemoSource());
    ReplaceSelectionWithLines(form->MemoSource(), [&marker](TLines& lines, bool) {
        UncommentLines(lines, marker);
    });
}

void DoRemoveDiacritics(TChildForm* form)
{
    if (TMemoSource* source = WritableWithSelection(form)) {
        const TDiacriticsMap map = TDiacriticsMap::ForSystemCodePage();
        ReplaceSelectionWithLines(*source, [&map](TLines& lines, bool) {
            map.Apply(lines);
        });
    }
}

void DoControlDelete(TChildForm* form)
{
    if (TMemoSource* source = Writable(form)) {
        source->DeleteWordRight();
    }
}

template <TEncodeCommand Command> void DoEncode(TChildForm* form)
{
    if (!HasStreamSelection(form)) {
        return;
    }
    const TDecodeError error = ApplyEncodeCommand(form->MemoSource(), Command);
    if (error != TDecodeError::None) {
        ShowMessage(form, DecodeErrorMessage(error));
    }
}

constexpr auto kCommands = std::to_array<TEditCommand>({
    {"EditUndo", CanUndo, DoUndo},
    {"EditRedo", CanRedo, DoRedo},
    {"EditCut", HasSelection, DoCut},
    {"EditCopy", HasSelection, DoCopy},
    {"EditPaste", CanPaste, DoPaste},
    {"EditPaste1", CanPaste, DoPaste},
    {"EditSelectAll", Always, DoSelectAll},
    {"EditInsertTime", IsWritable, DoInsertTime},
    {"EditInsertDate", IsWritable, DoInsertDate},
    {"EditInsertGUID", IsWritable, DoInsertGuid},
    {"EditUpperCase", IsWritable, DoCase<&TMemoSource::UpperCaseBlock, &TMemoSource::UpperCaseWord>},
    {"EditLowerCase", IsWritable, DoCase<&TMemoSource::LowerCaseBlock, &TMemoSource::LowerCaseWord>},
    {"EditInvertCase", IsWritable, DoCase<&TMemoSource::ToggleBlockCase, &TMemoSource::ToggleWordCase>},
    {"EditCapitalize", IsWritable, DoCase<&TMemoSource::CapitalizeBlock, &TMemoSource::CapitalizeWord>},
    {"EditAddIndents", HasWritableSelection, DoAddIndents},
    {"EditRemoveIndents", HasWritableSelection, DoRemoveIndents},
    {"EditSortAsc", HasWritableSelection, DoSort<TSortOrder::Ascending>},
    {"EditSortDesc", HasWritableSelection, DoSort<TSortOrder::Descending>},
    {"EditTabsToSpaces", HasWritableSelection, DoTabsToSpaces},
    {"EditSpacesToTabs", HasWritableSelection, DoSpacesToTabs},
    {"EditCommentBlock", CanComment, DoComment},
    {"EditUncommentBlock", CanComment, DoUncomment},
    {"EditRemoveDiacritics", HasWritableSelection, DoRemoveDiacritics},
    {"ControlDelete", IsWritable, DoControlDelete},
    {"EditEncodeMime", HasStreamSelection, DoEncode<TEncodeCommand::EncodeBase64>},
    {"EditEncodeUU", HasStreamSelection, DoEncode<TEncodeCommand::EncodeUu>},
    {"EditEncodeXX", HasStreamSelection, DoEncode<TEncodeCommand::EncodeXx>},
    {"EditEncodeQP", HasStreamSelection, DoEncode<TEncodeCommand::EncodeQuotedPrintable>},
    {"EditDecodeMime", HasStreamSelection, DoEncode<TEncodeCommand::DecodeBase64>},
    {"EditDecodeUU", HasStreamSelection, DoEncode<TEncodeCommand::DecodeUu>},
    {"EditDecodeXX", HasStreamSelection, DoEncode<TEncodeCommand::DecodeXx>},
    {"EditDecodeQP", HasStreamSelection, DoEncode<TEncodeCommand::DecodeQuotedPrintable>},
    {"EditCrc32", HasStreamSelection, DoEncode<TEncodeCommand::Crc32>},
    {"EditCrc16", HasStreamSelection, DoEncode<TEncodeCommand::Crc16>},
    {"EditMD5", HasStreamSelection, DoEncode<TEncodeCommand::Md5>},
    // The submenu itself has no action; it is enabled like its commands.
    {"MenuEncodeDecodeHash", HasStreamSelection, [](TChildForm*) {}},
    // The enabling rule of the quick-template buttons, which follow it.
    {"BlockQuoteUpdate", CanApplyQuickTemplate, [](TChildForm*) {}},
});

// Deletes the selection and leaves the caret at its former start.
void DeleteSelectionKeepStart(TMemoSource& source)
{
    const TTextRect rect = source.GetSelectionRect();
    source.DeleteBlock();
    source.JumpTo(rect.left, rect.top);
}

} // namespace

std::span<const TEditCommand> EditCommands()
{
    return kCommands;
}

const TEditCommand* FindEditCommand(std::string_view name)
{
    for (const TEditCommand& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

QString DecodeErrorMessage(TDecodeError error)
{
    return QString::fromStdString(LangStr(DecodeErrorKey(error), DecodeErrorText(error)));
}

void SetEditMessageHandler(std::function<void(TChildForm* form, const QString& text)> handler)
{
    MessageHandler() = std::move(handler);
}

bool ReplaceSelectionWithLines(
    TMemoSource& source, const std::function<void(TLines& lines, bool closingBreak)>& rewrite)
{
    if (source.ReadOnly() || !source.HasSelection()) {
        return false;
    }
    const TSelKind kind = source.SelectionKind();
    const TTextRect rect = source.GetSelectionRect();
    TLines lines = source.GetSelectionStrings(false);
    if (lines.empty()) {
        return false;
    }
    const bool closingBreak =
        kind == TSelKind::selStream && lines.size() > 1 && lines.back().empty() && rect.right == 0;
    rewrite(lines, closingBreak);

    const bool columnar = kind == TSelKind::selColumn;
    const int lineCount = source.GetStrCount();
    source.BeginUpdate(kReplaceChangeKind);
    source.BeginUndoBlock();
    source.DeleteBlock();
    source.JumpTo(rect.left, rect.top);
    // The paste selects what it inserted, as a stream or as a column.
    source.PasteBlockFromStrings(lines, columnar);
    if (columnar) {
        // A column pasted down to the last line leaves a new empty line below
        // it; the rewritten block replaces lines that exist, so that line goes.
        const TTextPoint caret = source.GetCaretPoint();
        while (source.GetStrCount() > lineCount && source.GetRawLine(source.GetStrCount() - 1).empty()) {
            const int last = source.GetStrCount() - 2;
            source.JumpTo(source.LineLength(last), last);
            source.JoinLines();
        }
        source.JumpTo(caret.col, std::min(caret.line, source.GetStrCount() - 1));
    }
    source.EndUndoBlock();
    source.EndUpdate();
    return true;
}

bool ReplaceSelectionWithText(TMemoSource& source, std::string_view text)
{
    if (source.ReadOnly()) {
        return false;
    }
    source.BeginUpdate(kReplaceChangeKind);
    source.BeginUndoBlock();
    if (source.HasSelection()) {
        DeleteSelectionKeepStart(source);
    }
    source.InsertString(text);
    source.EndUndoBlock();
    source.EndUpdate();
    return true;
}

std::string CommentMarker(const TMemoSource& source)
{
    const auto* parser = dynamic_cast<const TSyntaxParser*>(source.SyntaxParser());
    if (parser == nullptr) {
        return {};
    }
    const TSyntaxBlockList& blocks = parser->SyntaxScheme().SyntaxBlocks;
    if (blocks.empty()) {
        return {};
    }
    const TSyntaxBlock& root = blocks.front();
    if (!root.UseComments || !root.UseSingleLineComments || root.SingleLineCommentDelimiters.empty()) {
        return {};
    }
    return root.SingleLineCommentDelimiters.front().LeftDelimiter;
}

std::string InsertTimeText()
{
    return ToSystemCodePage(QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat));
}

std::string InsertDateText()
{
    return ToSystemCodePage(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

TDecodeError ApplyEncodeCommand(TMemoSource& source, TEncodeCommand command)
{
    if (source.ReadOnly() || !source.HasSelection() || source.SelectionKind() != TSelKind::selStream) {
        return TDecodeError::None;
    }
    const TEncodeOutcome outcome = RunEncodeCommand(command, source.GetSelectionStrings(false));
    using TAction = TEncodeOutcome::TAction;
    switch (outcome.action) {
    case TAction::Refuse:
        return outcome.error;
    case TAction::InsertAtCaret:
        source.InsertString(outcome.text);
        return TDecodeError::None;
    case TAction::ReplaceWithText:
    case TAction::ReplaceWithLines:
        break;
    }
    source.BeginUpdate(kReplaceChangeKind);
    source.BeginUndoBlock();
    DeleteSelectionKeepStart(source);
    if (outcome.action == TAction::ReplaceWithText) {
        source.InsertString(outcome.text);
    } else {
        source.InsertStrings(outcome.lines, false);
    }
    source.EndUndoBlock();
    source.EndUpdate();
    return TDecodeError::None;
}

bool CanApplyQuickTemplate(TChildForm* form)
{
    const TMemoSource* source = Writable(form);
    return source != nullptr && !(source->HasSelection() && source->SelectionKind() == TSelKind::selColumn);
}

void ApplyQuickTemplate(TChildForm* form, std::string_view templateText)
{
    if (!CanApplyQuickTemplate(form)) {
        return;
    }
    TMemoSource& source = form->MemoSource();
    const bool selected = source.HasSelection();
    const std::string selectedText = selected ? JoinLinesCrLf(source.GetSelectionStrings(false)) : std::string();
    const TQuickTemplateResult result = quillet::ApplyQuickTemplate(templateText, selectedText);

    source.BeginUpdate(kReplaceChangeKind);
    source.BeginUndoBlock();
    if (selected) {
        DeleteSelectionKeepStart(source);
    }
    const TTextPoint start = source.GetCaretPoint();
    source.InsertString(result.text);
    // Template positions count characters; the caret and selection take
    // display columns, which differ once a tab stands before them.
    const auto columnOf = [&](std::size_t lineIndex, std::size_t chars) {
        const int line = start.line + static_cast<int>(lineIndex);
        const int lineStart = lineIndex == 0 ? source.ColToRaw(line, start.col) : 0;
        return source.RawToCol(line, lineStart + static_cast<int>(chars));
    };
    if (!selected && result.hasBar) {
        // A "|" on a later template line keeps its column on that line.
        source.JumpTo(columnOf(result.barLine, result.barColumn), start.line + static_cast<int>(result.barLine));
    } else if (selected) {
        const std::size_t last = result.lineCount - 1;
        source.SetSelection(TSelKind::selStream,
            start.col,
            start.line,
            columnOf(last, result.lastLineLength),
            start.line + static_cast<int>(last));
    }
    source.EndUndoBlock();
    source.EndUpdate();
}

} // namespace quillet
