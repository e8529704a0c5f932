#pragma once

#include "app/DocumentOpener.h"
#include "text/MemoOptions.h"
#include "text/ui/SyntaxAttach.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

class QMdiSubWindow;

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

class IClipboard;
class TSettingsStore;

class TChildForm;
class TQuilletMainForm;

// What the open dialog returns: the files in the dialog's order and the
// choices of its extra controls.
struct TOpenChoice {
    std::vector<std::string> files;
    int codePageIndex = 0;
    bool asHex = false;
    bool readOnly = false;
};

// What the save dialog returns: the typed name, the filter entry chosen
// (counted from 1) and the code page list entry.
struct TSaveChoice {
    std::string fileName;
    int filterIndex = 1;
    int codePageIndex = 0;
};

// Opens, saves and reloads the text documents of the main window. It is the
// main window's document opener (CreateMDIChild) and carries out the file
// commands: New, Open, Save, Save As, Save All, Close, Close All, Reload,
// Reopen in other code page and Read Only. Every question and message goes
// through a message box with the application title.
class TDocumentManager : public QObject, public IDocumentOpener {
    Q_OBJECT
public:
    explicit TDocumentManager(TQuilletMainForm& mainForm);
    ~TDocumentManager() override;

    bool CreateMDIChild(const TOpenRequest& request) override;

    // ---- commands -------------------------------------------------------------
    void New();
    void Open();
    bool Save(TChildForm& form);
    bool SaveAs(TChildForm& form);
    bool SaveAll();
    void Close();
    void CloseAll();
    // Asks first; returns whether the document was reloaded.
    bool Revert(TChildForm& form);
    bool ReopenInOtherCodePage(TChildForm& form);
    void ToggleReadOnly(TChildForm& form);

    // Reads the document's file again through its charset, without a byte-order
    // mark test; false (with the message shown) when the file cannot be read.
    bool Reload(TChildForm& form, int codePageIndex);

    // ---- state ----------------------------------------------------------------
    TChildForm* ActiveForm() const;
    std::vector<TChildForm*> Forms() const;
    int UntitledCounter() const { return m_untitledCounter; }

    // ---- dialogs (replaceable in tests) ----------------------------------------
    // Filter of the open and save dialogs: "description|mask|..." pairs. The
    // syntax definitions add their masks through SetFileTypeFilter.
    void SetFileTypeFilter(std::string filter) { m_fileTypeFilter = std::move(filter); }
    // Syntax definitions for new and opened documents (the default one for a
    // new document, the one the extension selects for a file). With a catalog
    // and no filter of its own, the dialogs take the catalog's file types.
    void SetSyntaxContext(TSyntaxContext context) { m_syntax = std::move(context); }
    // The clipboard every document's buffer copies to and pastes from; it
    // must outlive the manager's documents.
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }
    // The store the editor settings of new windows are read from; nullptr (the
    // default) reads the program's store. It must outlive the manager.
    void SetSettingsStore(TSettingsStore* store) { m_settings = store; }
    // Reads the editor settings again and applies them, with the text styles,
    // to every open text document (after the options changed).
    void ApplyEditorSettings();
    std::string OpenFilter() const;
    std::string SaveFilter() const;
    std::function<std::optional<TOpenChoice>()> OnOpenDialog;
    std::function<std::optional<TSaveChoice>(const QString& startName, int codePageIndex)> OnSaveDialog;
    std::function<std::optional<int>(int codePageIndex)> OnSelectCodePage;
    // Opens a file recognised as a project; without it projects are refused
    // with a message.
    std::function<bool(const std::string& projectFile)> OnOpenProject;
    // Opens a file recognised as binary (or asked for as binary); without it
    // binary files are refused with a message.
    std::function<bool(const std::string& file, bool readOnly)> OnOpenBinary;
    // The next number of an untitled document, shared by text and binary ones.
    int TakeUntitledNumber() { return ++m_untitledCounter; }
    // The store the editor settings are read from.
    TSettingsStore& EditorSettingsStore() const { return SettingsStore(); }

protected:
    // Asks the modified documents before the main window closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Documents were opened, closed, saved or changed state: the command states may change.
    void DocumentsChanged();
    // The editor settings were read again and applied (after the options changed).
    void EditorSettingsApplied();
    // A file was opened from disk, saved under a new name or reopened in
    // another code page: the recent files list takes it (type 0 text, 1 binary).
    void FileUsed(const std::string& fileName, int codePageIndex, int type);

private:
    TChildForm* NewForm(const QString& caption);
    TChildForm* FindOpen(const std::filesystem::path& file) const;
    bool LoadInto(TChildForm& form, const std::filesystem::path& file, int codePageIndex, bool readOnly);
    // Writes the document in the charset of the list entry; returns the
    // system's reason on failure, empty on success.
    std::string WriteDocument(TChildForm& form, const std::filesystem::path& file, int codePageIndex);
    void ApplyCodePage(TChildForm& form, int index);
    void ShowStatus(TChildForm* form);
    void ChooseSyntaxFor(TChildForm& form);
    void ChooseSyntaxAfterRename(TChildForm& form, const std::filesystem::path& oldFile);
    void ApplyEditorSettings(TChildForm& form, const TMemoViewSettings& settings);
    TSettingsStore& SettingsStore() const;
    std::string FileTypeFilter() const;
    QMessageBox::StandardButton Message(
        QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    void ReadOnlyMessage(const std::filesystem::path& file);
    // A save that failed: the read-only message for write protection, else the reason.
    void SaveFailedMessage(const std::filesystem::path& file, const std::string& reason);

    TQuilletMainForm& m_mainForm;
    int m_untitledCounter = 0;
    std::string m_fileTypeFilter;
    TSyntaxContext m_syntax;
    IClipboard* m_clipboard = nullptr;
    TSettingsStore* m_settings = nullptr;
};

// A file name for display and for the message texts.
QString DisplayName(const std::filesystem::path& file);

} // namespace quillet
