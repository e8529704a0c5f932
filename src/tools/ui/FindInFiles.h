#pragma once

#include "tools/SearchFileList.h"
#include "tools/ui/FindInFilesForm.h"
#include "tools/ui/FindInFilesProgress.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class QWidget;

namespace quillet {

class TChildForm;
class TResultWindow;
struct TNavigationRecord;

// What the search needs from the main window, filled in by it.
struct TFindInFilesHost {
    // The open text documents in window order.
    std::function<std::vector<TChildForm*>()> documents;
    std::function<TChildForm*()> activeDocument;
    // Opens a file as a document (with the opening messages); returns the
    // text document that became active, or nullptr.
    std::function<TChildForm*(const std::string& fileName)> openFile;
    // Brings a document window to the front and focuses its editor.
    std::function<void(TChildForm&)> activate;
    // The main window's file-type filter, "description|masks|...".
    std::function<std::string()> fileTypeFilter;
    // The binary content test for project members.
    std::function<bool(const std::string& fileName)> isBinary;
    // The open project's member files; nullopt while no project is open.
    std::function<std::optional<std::vector<std::string>>()> projectMembers;
};

// The "Find in Files" command: asks with the dialog, lists the files, searches
// them one after the other with a progress window and writes each match to
// the "Find in Files" page of the result window. It also carries out the
// double-click on a result line of either page.
//
// Pending events run while it searches (about every 20 milliseconds,
// between matches and between files), so the window stays alive and Cancel
// works; Cancel stops before the next match and the next file and keeps the
// lines found so far.
class TFindInFiles : public QObject {
    Q_OBJECT
public:
    TFindInFiles(TResultWindow& results, QWidget* mainWindow, TFindInFilesHost host);
    ~TFindInFiles() override;

    // Enabled only while a text document is active.
    bool CanExecute() const;
    // Opens the dialog and, on OK, runs the search. Refused while one runs.
    void Execute();
    // Runs a search without the dialog (the options are not stored). Returns
    // false when it did not start: already running, or an invalid pattern.
    bool Run(const TFindInFilesRequest& request);
    bool IsRunning() const { return m_running; }
    // The progress window of the running search (nullptr when none).
    TFindInFilesProgress* Progress() const { return m_progress; }

    // The open project's member files, nullopt while none is open; the
    // project choice of the dialog is enabled only while this gives a list.
    void SetProjectMembers(std::function<std::optional<std::vector<std::string>>()> members)
    {
        m_host.projectMembers = std::move(members);
    }

    // Opens the document or file of a navigation record, caret on the match.
    void Navigate(const TNavigationRecord& record);

    // Replaceable in tests: shows the dialog and returns its result.
    std::function<int(TFindInFilesForm& form)> OnExecDialog;
    // Shows the message of an invalid pattern.
    std::function<void(const QString& message)> OnPatternError;
    // Called after each batch of results reached the page (for tests).
    std::function<void()> OnBatch;

private:
    std::vector<TSearchFile> ListFiles(const TFindInFilesRequest& request);
    std::uint64_t RememberDocument(TChildForm* form);
    TChildForm* Document(std::uint64_t key) const;
    bool Pump(bool force);
    void Flush();

    TResultWindow& m_results;
    QWidget* m_mainWindow;
    TFindInFilesHost m_host;
    bool m_running = false;
    bool m_optionsStored = false;
    QPointer<TFindInFilesProgress> m_progress;
    std::unordered_map<std::uint64_t, QPointer<TChildForm>> m_documents;
    std::uint64_t m_nextKey = 1;
    int m_matches = 0;
    std::chrono::steady_clock::time_point m_lastPump;
    struct TPending;
    std::unique_ptr<TPending> m_pending;
};

} // namespace quillet
