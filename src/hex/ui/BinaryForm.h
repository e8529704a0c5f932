#pragma once

#include "hex/BinarySearch.h"
#include "hex/HexSettings.h"
#include "text/ui/CloseQuestion.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QMdiSubWindow>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace quillet {

class IClipboard;
class THexDocument;
class THexEditor;

// What the main window's status bar shows for a binary document (panels 0-2;
// panels 3 and 4 stay empty).
struct TBinaryStatus {
    QString position;
    QString state;
    QString mode;
    bool operator==(const TBinaryStatus&) const = default;
};

// The settings a binary window takes from the text editor's: font, backup,
// colouring, find-at-cursor and the "Plain Text" style's colours.
struct TBinaryViewSettings {
    std::string fontName = "Courier New";
    int fontSize = 10;
    bool createBackup = false;
    bool useSyntaxHighlight = true;
    bool findTextAtCursor = true;
    std::uint32_t plainText = 0; // foreground of "Plain Text"
    std::uint32_t plainBackground = 0x80000005;
};

// The document window of one binary document: a hex editor filling the
// window, the caption with "*" while modified, the close question, the watch
// for changes by other programs, and the editing, search, go-to and bookmark
// commands the main window routes here.
class TBinaryForm : public QMdiSubWindow {
    Q_OBJECT

public:
    // Above this many selected bytes Copy and Cut refuse: the clipboard text
    // would take two characters per byte.
    static constexpr std::int64_t kMaxCopyBytes = 64 << 20;

    explicit TBinaryForm(QWidget* parent = nullptr);
    ~TBinaryForm() override;

    THexEditor& Editor() { return *m_editor; }
    THexDocument& Document();
    const THexDocument& Document() const;

    // ---- document ----
    // Loads a file; false (nothing changed, reason in LastError) when it
    // cannot be read or copied.
    bool LoadFile(const std::filesystem::path& file, bool readOnly);
    const std::string& LastError() const { return m_lastError; }
    // An empty document captioned `caption` (no file name).
    void NewDocument(const QString& caption);
    // A document of a text document's bytes, for that file's name.
    void SetFromText(const std::filesystem::path& file, const std::string& bytes, bool modified, bool readOnly);
    // Full path, empty for a new document.
    const std::filesystem::path& FileName() const { return m_fileName; }
    QString UntitledCaption() const { return m_untitled; }
    // Writes the document to file; on success the window takes its name.
    bool SaveTo(const std::filesystem::path& file);
    bool IsModified() const;
    void ApplySettings(const THexSettings& hex, const TBinaryViewSettings& view);
    const TBinaryStatus& Status() const { return m_status; }

    // ---- commands ----
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }
    bool HasSelection() const;
    bool CanUndo() const;
    void Undo();
    void Copy();
    void Cut();
    // Hexadecimal text to bytes, replacing the selection or inserted at the cursor.
    void PasteText(const std::string& text);
    void Paste();
    void SelectAll();
    void Find();
    void FindNext();
    void Replace();
    void GoToOffset();
    void ToggleBookmark();
    void ToggleNumberedBookmark(int digit);
    void GoToBookmark(int digit);
    void ClearAllBookmarks();
    bool AnyBookmarkSet() const;
    bool BookmarkSet(int digit) const;
    // "&" + digit + two blanks + the marker's offset in the offset format.
    QString BookmarkCaption(int digit) const;
    void ToggleSpecialSymbols();
    bool SpecialSymbols() const;
    void ToggleColorSyntax();
    bool ColorSyntax() const { return m_coloring; }
    void ToggleReadOnly();
    bool ReadOnly() const;
    TBinarySearchState& SearchState() { return m_search; }
    // A command that lets events run (Replace All) is in progress: the window
    // cannot close and no other search starts.
    bool IsBusy() const { return m_busy; }

    // Asks about unsaved changes: Yes saves (false when saving failed), No
    // discards, Cancel returns false.
    bool CloseQuery();
    // Saves through OnSave (the main window's save path, which asks for a
    // name when there is none), else to the window's file; true when not modified.
    bool Save();
    // Asks to reload when the file's last-write time changed; returns whether it reloaded.
    bool CheckFileChanged();

    // ---- hooks ----
    std::function<bool(TBinaryForm&)> OnSave;
    TQuestionHook OnQuestion;
    // The replace confirmation; unset: the Yes/No/Cancel/All box.
    std::function<TReplaceAnswer()> OnAskReplace;

signals:
    void StatusChanged();
    void CommandStatesChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateCaption();
    void UpdateStatus();
    void ApplyColors();
    void Watch();
    void RememberFileTime();
    int Ask(const QString& text, bool withCancel);
    void ReportNotFound();
    void CopySelection(bool cut);
    void RunFind(bool replace);

    THexEditor* m_editor = nullptr;
    IClipboard* m_clipboard = nullptr;
    std::filesystem::path m_fileName;
    QString m_untitled;
    std::string m_lastError;
    TBinaryStatus m_status;
    THexSettings m_hexSettings;
    TBinaryViewSettings m_viewSettings;
    bool m_coloring = true;
    bool m_findAtCursor = true;
    TBinarySearchState m_search;
    QFileSystemWatcher m_watcher;
    QDateTime m_fileTime;
    bool m_asking = false;
    bool m_busy = false;
    TCloseQuestion m_closeQuestion;
};

} // namespace quillet
