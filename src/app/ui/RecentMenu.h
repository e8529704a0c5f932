#pragma once

#include "app/RecentList.h"

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QMenu;

namespace quillet {

class TQuilletMainForm;
class TSettingsStore;

// The recent projects and recent files of the main window: it fills the
// entries of the File menu's recent submenu ("RecentProj0".."RecentProj9", a
// separator, "Recent0".."Recent9") and the Open button's drop-down
// ("RecentDropDown"), stores both lists in [Recent] after every change and
// reopens an entry through the main window's document opener with the code
// page and type it was used with.
class TRecentMenu : public QObject {
    Q_OBJECT
public:
    TRecentMenu(TQuilletMainForm& form, TSettingsStore& store);

    // Reads both lists at start; when the section exists they are stored back
    // at once, without gaps.
    void Load();
    // Puts a file (or project) at the head of its list and stores the lists.
    void AddFile(const std::string& path, int codePageIndex, int type);
    void AddProject(const std::string& path);

    // Opens the entry at a position. A path that is no longer a file (deleted,
    // or a folder now) is removed from its list with a message; an unreadable
    // file stays listed and its message says why it was not opened. Returns
    // whether a window (or the project) was opened.
    bool OpenFile(int position);
    bool OpenProject(int position);
    // The start-up action "Open last document / project": the head of the
    // list [Recent] "LastTyp" names when its file exists, else the head of
    // the projects list when that exists. False when neither was opened.
    bool OpenLast();

    const TRecentLists& Lists() const { return m_lists; }
    // The menu entry of a position (nullptr outside 0..9).
    QAction* FileAction(int position) const;
    QAction* ProjectAction(int position) const;

    // Opens a project file and puts it at the head of the projects list. The
    // project work supplies it; until then choosing a project says plainly
    // that projects cannot be opened yet.
    std::function<bool(const std::string& projectFile)> OnOpenProject;

private:
    enum class TUsable { Yes, Missing, Folder, Unreadable };
    static TUsable Usability(const std::string& path);
    // Reports a path that cannot be opened; a missing file or a folder is also
    // taken out of its list. Returns false.
    bool Refuse(TRecentList& list, int position, TUsable usable);
    void Store(TRecentLastType lastType);
    void Refresh();
    void RefreshList(const TRecentList& list, QAction* const* actions);
    bool OpenProjectFile(const std::string& path);

    TQuilletMainForm& m_form;
    TSettingsStore& m_store;
    TRecentLists m_lists;
    QMenu* m_menu = nullptr;
    QAction* m_separator = nullptr;
    QAction* m_projectActions[TRecentList::kCapacity] = {};
    QAction* m_fileActions[TRecentList::kCapacity] = {};
};

} // namespace quillet
