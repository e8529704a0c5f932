// The editing, search, go-to and bookmark commands of a binary document window.
#include "core/AppTitle.h"
#include "core/Translations.h"
#include "hex/HexDocument.h"
#include "hex/ui/BinaryForm.h"
#include "hex/ui/FindDataForm.h"
#include "hex/ui/GotoOffsetForm.h"
#include "hex/ui/HexEditor.h"
#include "platform/IClipboard.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/ReplacePrompt.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>

namespace quillet {

namespace {

// Sets a flag for its lifetime and clears it again.
struct TBusyFlag {
    explicit TBusyFlag(bool& flag)
        : m_flag(flag)
    {
        m_flag = true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TBusyFlag()
    {
        QGuiApplication::restoreOverrideCursor();
        m_flag = false;
    }
    TBusyFlag(const TBusyFlag&) = delete;
    TBusyFlag& operator=(const TBusyFlag&) = delete;
    bool& m_flag;
};

} // namespace

bool TBinaryForm::ReadOnly() const
{
    return Document().ReadOnlyView();
}

void TBinaryForm::ToggleReadOnly()
{
    Document().SetReadOnlyView(!Document().ReadOnlyView());
    UpdateStatus();
}

bool TBinaryForm::SpecialSymbols() const
{
    return Document().MaskWhiteSpaces();
}

void TBinaryForm::ToggleSpecialSymbols()
{
    Document().SetMaskWhiteSpaces(!Document().MaskWhiteSpaces());
}

bool TBinaryForm::CanUndo() const
{
    return Document().CanUndo() && !Document().ReadOnlyFile();
}

void TBinaryForm::Undo()
{
    Document().Undo();
    m_editor->EnsureCursorVisible();
}

bool TBinaryForm::HasSelection() const
{
    return Document().HasSelection() && Document().GetSelCount() > 0;
}

// ---- clipboard -----------------------------------------------------------------------

void TBinaryForm::CopySelection(bool cut)
{
    THexDocument& doc = Document();
    if (!HasSelection() || m_clipboard == nullptr) {
        return;
    }
    const std::int64_t count = doc.GetSelCount();
    if (count > kMaxCopyBytes) {
        ShowSearchError(this,
            QString::fromStdString(LangFormat("HexCopyTooLarge",
                "The selection of %d MB is too large to put on the clipboard as hexadecimal text.",
                {static_cast<int>(count >> 20)})));
        return;
    }
    const std::vector<std::uint8_t> bytes = doc.BufferFromFile(doc.SelLow(), count);
    m_clipboard->SetText(ConvertBinToHex(bytes.data(), bytes.size()));
    if (cut) {
        doc.DeleteSelection();
    }
}

void TBinaryForm::Copy()
{
    CopySelection(false);
}

void TBinaryForm::Cut()
{
    if (!ReadOnly()) {
        CopySelection(true);
    }
}

void TBinaryForm::PasteText(const std::string& text)
{
    const std::vector<std::uint8_t> bytes = ConvertHexToBin(text);
    if (bytes.empty() || ReadOnly()) {
        return; // text without one hexadecimal pair changes nothing
    }
    Document().ReplaceSelection(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    m_editor->EnsureCursorVisible();
}

void TBinaryForm::Paste()
{
    if (m_clipboard == nullptr) {
        return;
    }
    if (const std::optional<std::string> text = m_clipboard->GetText()) {
        PasteText(*text);
    }
}

void TBinaryForm::SelectAll()
{
    THexDocument& doc = Document();
    if (doc.GetDataSize() > 0) {
        doc.SetSelStart(0);
        doc.SetSelEnd(static_cast<std::int64_t>(doc.GetDataSize()) - 1);
    }
}

// ---- search --------------------------------------------------------------------------

void TBinaryForm::ReportNotFound()
{
    ShowSearchInfo(this,
        QString::fromStdString(LangFormat(
            "SearchNotFound", "Search string \"%s\" not found.", {FromSystemText(m_search.text).toStdString()})));
}

void TBinaryForm::RunFind(bool replace)
{
    if (m_busy) {
        return;
    }
    std::optional<QString> preset;
    if (m_findAtCursor) {
        if (const std::optional<std::string> bytes = FindPreset(Document())) {
            preset = FromSystemText(*bytes);
        }
    }
    TFindDataForm form(replace, m_search, preset, this);
    if (form.exec() != QDialog::Accepted) {
        return;
    }
    m_search = form.Result();
    const std::optional<TSearchRange> range = SearchRange(Document(), m_search);
    if (!range) {
        ShowSearchError(this,
            QString::fromStdString(LangStr("SearchEmptySelection", "Tried to search marked block but it is invalid.")));
        return;
    }
    int found = 0;
    if (!replace) {
        TBusyFlag busy(m_busy);
        m_search.lastMatch = FindAndSelect(Document(), m_search, range->first, range->last);
        found = m_search.lastMatch >= 0 ? 1 : 0;
    } else {
        const TSearchMessages messages = TranslatedSearchMessages();
        const auto ask = [this, &messages]() {
            if (OnAskReplace) {
                return OnAskReplace();
            }
            const std::string text =
                FormatChecked(messages.askReplace, "Replace this occurence of \"%s\"?", {m_search.text});
            if (ISearchPrompt* prompt = SearchPromptOverride()) {
                return prompt->AskReplace(text, messages);
            }
            return TSearchPrompt::AskReplaceBox(this, FromSystemText(text), messages);
        };
        TBusyFlag busy(m_busy);
        found = ReplaceLoop(Document(), m_search, *range, form.ReplaceAllChosen(), ask, [] {
            QCoreApplication::processEvents();
        });
    }
    m_editor->EnsureCursorVisible();
    if (found == 0) {
        ReportNotFound();
    }
}

void TBinaryForm::Find()
{
    RunFind(false);
}

void TBinaryForm::Replace()
{
    RunFind(true);
}

void TBinaryForm::FindNext()
{
    if (m_busy) {
        return;
    }
    {
        TBusyFlag busy(m_busy);
        ::quillet::FindNext(Document(), m_search);
    }
    m_editor->EnsureCursorVisible();
    if (m_search.lastMatch < 0) {
        ReportNotFound();
    }
}

void TBinaryForm::GoToOffset()
{
    if (const std::optional<std::int64_t> offset = TGotoOffsetForm::Ask(this, Document().Grid().offsetDisplay)) {
        Document().Seek(*offset, 0, true);
        m_editor->EnsureCursorVisible();
    }
}

// ---- bookmarks -----------------------------------------------------------------------

void TBinaryForm::ToggleBookmark()
{
    Document().ToggleMarker(Document().Cursor().row);
    emit CommandStatesChanged();
}

void TBinaryForm::ToggleNumberedBookmark(int digit)
{
    const std::int64_t row = Document().Cursor().row;
    Document().SetMarker(digit, Document().GetMarker(digit) == row ? -1 : row);
    emit CommandStatesChanged();
}

void TBinaryForm::GoToBookmark(int digit)
{
    THexDocument& doc = Document();
    const std::int64_t row = doc.GetMarker(digit);
    if (row < 0 || !doc.Seek(row * doc.BytesPerLine(), 0, true)) {
        doc.SetMarker(digit, -1); // the row no longer exists
        emit CommandStatesChanged();
        return;
    }
    m_editor->EnsureCursorVisible();
}

void TBinaryForm::ClearAllBookmarks()
{
    for (int i = 0; i <= 9; ++i) {
        Document().SetMarker(i, -1);
    }
    emit CommandStatesChanged();
}

bool TBinaryForm::AnyBookmarkSet() const
{
    for (int i = 0; i <= 9; ++i) {
        if (Document().GetMarker(i) >= 0) {
            return true;
        }
    }
    return false;
}

bool TBinaryForm::BookmarkSet(int digit) const
{
    return Document().GetMarker(digit) >= 0;
}

QString TBinaryForm::BookmarkCaption(int digit) const
{
    const THexDocument& doc = Document();
    const std::int64_t row = doc.GetMarker(digit);
    if (row < 0) {
        return {};
    }
    const auto offset = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(doc.BytesPerLine());
    return QStringLiteral("&%1  ").arg(digit)
        + QString::fromStdString(FormatOffset(offset, doc.GetDataSize(), doc.Grid().offsetDisplay));
}

} // namespace quillet
