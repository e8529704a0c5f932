#pragma once

#include "app/Project.h"
#include "app/ShellSeams.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMdiSubWindow;

namespace quillet {

class TDocumentManager;
class TProjectTreePanel;
class TQuilletMainForm;
class TRecentMenu;

// The open project of the main window (at most one): opening, closing and
// saving it, adding and removing members, and keeping member entries in step
// while their documents open, save under new names and close. It answers the
// main window's project question and supplies the project part of the caption.
class TProjectManager : public QObject, public IProjectSession {
    Q_OBJECT
public:
    TProjectManager(TQuilletMainForm& form, TDocumentManager& documents, TRecentMenu* recent);
    ~TProjectManager() override;

    // ---- IProjectSession ---------------------------------------------------------
    bool IsOpen() const override { return m_project != nullptr; }
    bool IsModified() const override { return m_project != nullptr && m_project->IsModified(); }
    std::string FileName() const override { return m_project ? m_project->FileName().string() : std::string(); }
    // SaveProj: saves the member documents, then the project file.
    bool Save() override;

    // ---- commands ------------------------------------------------------------------
    // Opens a project file (CreateMDIChild hands project files here). False
    // when the open project could not be closed or the file is no project.
    bool OpenProject(const std::string& file);
    void NewProject();
    void OpenProjectDialog();
    // ProjectClose: false when the user kept the project open.
    bool CloseProject();
    bool SaveAs();
    void AddActive();
    void AddFiles(const std::vector<std::string>& files);
    void AddFilesDialog();
    void RemoveActive();
    void RemoveEntry(int i);
    void OpenEntry(const std::string& name);

    // ---- state -----------------------------------------------------------------------
    const TProject* Project() const { return m_project.get(); }
    TProject* Project() { return m_project.get(); }
    TProjectTreePanel& Panel() { return *m_panel; }
    // The members' names in entry order (for a search over the project).
    std::vector<std::string> MemberNames() const;
    // The entry number of a document window, -1 when it is no member.
    int IndexOf(QMdiSubWindow* window) const;
    // The name a document (text or binary) has in a project: its file name,
    // or the untitled caption while it has none. Empty for windows that are
    // no documents.
    static std::string DocumentName(QMdiSubWindow* window);
    // A member's document was opened or saved: its entry takes the code page
    // and type. False when the file is no member (the recent list takes it).
    bool TakeFileUse(const std::string& file, int codePageIndex, int type);
    // The project changed in a way that others show (tree, caption, commands).
    void Changed();

    // ---- dialogs (replaceable in tests) -----------------------------------------------
    std::function<std::optional<QString>()> OnAskName;
    std::function<std::optional<std::string>()> OnOpenDialog;
    std::function<std::optional<std::string>(const QString& startName)> OnSaveDialog;
    std::function<std::vector<std::string>()> OnAddFilesDialog;

signals:
    void ProjectChanged();

private:
    void Track(QMdiSubWindow* window);
    void Untrack(QObject* window);
    void FollowRenames();
    // Entry i takes the window's type, and its code page for a text document.
    void SetEntryKind(int i, QMdiSubWindow* window);
    bool SaveDocuments();
    void RecordActiveFile();
    bool WriteTo(const std::filesystem::path& file);
    void ShowPanel();
    void Discard();

    TQuilletMainForm& m_form;
    TDocumentManager& m_documents;
    TRecentMenu* m_recent = nullptr;
    TProjectTreePanel* m_panel = nullptr;
    std::unique_ptr<TProject> m_project;
    // The name each document window had when last seen, so that a Save As
    // renames its entry and a closed window can still be found.
    QHash<QObject*, QString> m_names;
};

class TFindInFiles;
class TStateCommands;

// Binds the project commands of the main window to the manager.
void BindProjectCommands(TQuilletMainForm& form, TDocumentManager& documents, TProjectManager& projects);
// Routes project files to the manager: those the document manager recognises,
// recent project entries (through the document opener, so a file that is no
// project any more opens as a document) and the bookkeeping of member files.
void ConnectProjects(TDocumentManager& documents, TStateCommands& state, TProjectManager& projects);
// The project choice of Find in Files searches the open project's members.
void ConnectFindInFiles(TFindInFiles& findInFiles, TProjectManager& projects);

} // namespace quillet
