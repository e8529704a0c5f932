#pragma once

#include "text/MemoOptions.h"
#include "text/MemoSource.h"
#include "text/ui/CloseQuestion.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QMdiSubWindow>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QSplitter;

namespace quillet {

class TTarnMemo;
struct TMemoViewSettings;

// The editor settings of one view (options, font, margin, gutter, colours)
// and of one buffer (editing options, tabs, line ends); a document window
// applies both to its views and buffer.
void ApplyEditorSettings(TTarnMemo& view, const TMemoViewSettings& settings);
void ApplyEditorSettings(TMemoSource& source, const TMemoViewSettings& settings);

// What the main window's status bar shows for a text document (panels 0-4).
struct TChildStatus {
    QString position; // "line: column", both 1-based
    QString state; // "Read Only", "Modified" or empty
    QString mode; // "Insert" or "Overwrite"
    QString syntax; // the highlighter's scheme name, or empty
    QString codePage; // a blank and the code page's name
    bool operator==(const TChildStatus&) const = default;
};

// The document window of one text document: one buffer, the main view and a
// second view shown while the window is split, bracket highlighting, bookmarks,
// the close question and the check for changes made by other programs. It
// reports to the main window only through signals and the hooks below, so the
// main window's code is never needed here.
class TChildForm : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit TChildForm(QWidget* parent = nullptr);
    ~TChildForm() override;

    TMemoSource& MemoSource() { return *m_source; }
    TTarnMemo& Memo() { return *m_memo; } // main view
    TTarnMemo& Memo1() { return *m_memo1; } // second view (shown while split)
    // The view that has (or last had) the focus.
    TTarnMemo& ActiveMemo();

    // ---- Document ---------------------------------------------------------------
    // Full path of the document (empty for a new one); the caption shows it, "*" while modified.
    void SetFileName(const std::filesystem::path& file);
    const std::filesystem::path& FileName() const { return m_fileName; }
    // Caption of an unnamed document ("Untitled1" style), shown until a file name is set.
    void SetUntitledCaption(const QString& caption);
    QString CaptionFileNamePart() const;
    void SetCodePage(int index, const QString& name);
    int CodePage() const { return m_codePage; }
    // The highlighter's scheme name for the status bar.
    void SetSyntaxName(const QString& name);
    // Applies the editor settings to both views and the buffer.
    void ApplySettings(const TMemoViewSettings& settings);
    const TChildStatus& Status() const { return m_status; }

    // ---- Commands the main window routes here -------------------------------------
    bool IsSplit() const;
    void ToggleSplit();
    void RotateView();
    bool IsRotated() const { return m_rotated; }
    bool SynchronizedScrolling() const { return m_synchronized; }
    void ToggleSynchronizedScrolling();
    void SelectSecondWindow();
    void ToggleLineNumbers();
    void ToggleWordWrap();
    bool CanCollapse() const;
    bool CanExpandAll() const;
    void CollapseLines();
    void ExpandLines();
    void ExpandAll();
    void ToggleBookmark();
    void ToggleNumberedBookmark(int digit);
    void GoToBookmark(int digit);
    void ClearAllBookmarks();
    bool AnyBookmarkUsed() const;
    // Slot 1..10 (10 is bookmark 0).
    bool BookmarkSlotUsed(int slot) const { return slot >= 1 && slot <= 10 && m_usedSlots[slot - 1]; }
    // Menu caption of a used slot: "&", the digit, two blanks and the line's text.
    QString BookmarkCaption(int slot) const;
    void ToggleBreakpoint();
    void HighlightBrackets(TTarnMemo& view);
    // Bracket pair stored for a view: (−1, −1) twice when none.
    std::array<TTextPoint, 2> BracketPair(const TTarnMemo& view) const;

    // Asks about unsaved changes: Yes saves (false when saving failed), No
    // discards, Cancel returns false. An unmodified document is not asked.
    bool CloseQuery();

    // ---- Outside changes -------------------------------------------------------------
    // Compares the file's last-write time with the one last seen and, when it
    // changed, asks whether to reload. Returns whether the document was reloaded.
    bool CheckFileChanged();
    void RememberFileTime();

    // ---- Hooks ----------------------------------------------------------------------------
    // Saves the document (the main window's save path); false keeps the window open.
    std::function<bool(TChildForm&)> OnSave;
    // Reloads the document from its file through its charset; false on failure.
    std::function<bool(TChildForm&)> OnReload;
    // Asks a question; returns QMessageBox::Yes, No or Cancel. Unset: a message box.
    TQuestionHook OnQuestion;

signals:
    void StatusChanged(const quillet::TChildStatus& status);
    void CaptionChanged(const QString& caption, const QString& fileNamePart);
    // The window's commands may have changed state (enabled, checked).
    void CommandStatesChanged();
    void Destroyed(quillet::TChildForm* form);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetupView(TTarnMemo& view);
    void MemoStateChange(TTarnMemo& view, std::uint32_t flags);
    void MemoScrolled(TTarnMemo& view, int deltaRows);
    void MemoClickGutter(TTarnMemo& view, int line, int imageIndex, int shift);
    void UpdateCaption();
    void UpdateStatus(std::uint32_t flags);
    void CheckSplitSizes();
    int Ask(const QString& text, bool withCancel);
    int ViewIndex(const TTarnMemo& view) const { return &view == m_memo1 ? 1 : 0; }

    std::unique_ptr<TMemoSource> m_source;
    TTarnMemo* m_memo = nullptr;
    TTarnMemo* m_memo1 = nullptr;
    TTarnMemo* m_lastFocused = nullptr;
    QSplitter* m_splitter = nullptr;
    bool m_rotated = false; // second view beside the main one instead of above
    bool m_synchronized = false;
    bool m_syncing = false; // the other view is being scrolled by us
    std::array<bool, 10> m_usedSlots{};
    std::array<std::array<TTextPoint, 2>, 2> m_brackets{{{{{-1, -1}, {-1, -1}}}, {{{-1, -1}, {-1, -1}}}}};
    std::array<std::array<int, 2>, 2> m_bracketRaw{{{-1, -1}, {-1, -1}}};
    std::filesystem::path m_fileName;
    QString m_untitled;
    int m_codePage = 0;
    QString m_codePageName;
    QString m_syntaxName;
    TChildStatus m_status;
    QFileSystemWatcher m_watcher;
    QDateTime m_fileTime;
    bool m_asking = false; // the reload question is open: further reports wait
    TCloseQuestion m_closeQuestion;
};

} // namespace quillet
