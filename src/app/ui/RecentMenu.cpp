#include "app/ui/RecentMenu.h"

#include "app/DocumentOpener.h"
#include "app/ui/MainMenus.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"

#include <QAction>
#include <QMenu>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace quillet {

namespace {

QString Format(std::string_view key, std::string_view defaultText, const std::string& argument)
{
    return FromUtf8(LangFormat(key, defaultText, {argument}));
}

} // namespace

TRecentMenu::TRecentMenu(TQuilletMainForm& form, TSettingsStore& store)
    : QObject(&form)
    , m_form(form)
    , m_store(store)
{
    m_menu = form.MainMenus().RecentMenu();
    if (m_menu != nullptr) {
        for (QAction* action : m_menu->actions()) {
            const QString name = action->objectName();
            bool number = false;
            if (name == QLatin1String("RecentSeparator")) {
                m_separator = action;
            } else if (name.startsWith(QLatin1String("RecentProj"))) {
                const int k = name.mid(10).toInt(&number);
                if (number && k >= 0 && k < TRecentList::kCapacity) {
                    m_projectActions[k] = action;
                    connect(action, &QAction::triggered, this, [this, k] {
                        OpenProject(k);
                    });
                }
            } else if (name.startsWith(QLatin1String("Recent"))) {
                const int k = name.mid(6).toInt(&number);
                if (number && k >= 0 && k < TRecentList::kCapacity) {
                    m_fileActions[k] = action;
                    connect(action, &QAction::triggered, this, [this, k] {
                        OpenFile(k);
                    });
                }
            }
        }
    }
    // The generic translation pass resets entry captions to their first
    // texts; the captions are file names, so they are set again afterwards.
    connect(&form, &TQuilletMainForm::LanguageChanged, this, &TRecentMenu::Refresh);
    Refresh();
}

QAction* TRecentMenu::FileAction(int position) const
{
    return position >= 0 && position < TRecentList::kCapacity ? m_fileActions[position] : nullptr;
}

QAction* TRecentMenu::ProjectAction(int position) const
{
    return position >= 0 && position < TRecentList::kCapacity ? m_projectActions[position] : nullptr;
}

void TRecentMenu::Load()
{
    if (ReadRecentLists(m_store, m_lists)) {
        Store(TRecentLastType::Unchanged);
    } else {
        Refresh();
    }
}

void TRecentMenu::AddFile(const std::string& path, int codePageIndex, int type)
{
    m_lists.files.Add({path, codePageIndex, type == kRecentText ? kRecentText : kRecentBinary});
    Store(TRecentLastType::File);
}

void TRecentMenu::AddProject(const std::string& path)
{
    m_lists.projects.Add({path});
    Store(TRecentLastType::Project);
}

TRecentMenu::TUsable TRecentMenu::Usability(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return TUsable::Missing;
    }
    if (fs::is_directory(status)) {
        return TUsable::Folder;
    }
    return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0 ? TUsable::Yes : TUsable::Unreadable;
}

bool TRecentMenu::Refuse(TRecentList& list, int position, TUsable usable)
{
    const std::string path = list.At(position).path;
    if (usable != TUsable::Unreadable) {
        list.Remove(position);
        Store(TRecentLastType::Unchanged);
    }
    QString text;
    switch (usable) {
    case TUsable::Folder:
        text = Format("RecentIsFolder", "Could not open file \"%s\": it is a folder.", path);
        break;
    case TUsable::Unreadable:
        text = Format("RecentNotReadable", "Could not open file \"%s\": you have no permission to read it.", path);
        break;
    default:
        text = Format("CouldNotOpen", "Could not open file \"%s\".", path);
        break;
    }
    ShowMessage(&m_form, QMessageBox::Critical, text);
    return false;
}

bool TRecentMenu::OpenFile(int position)
{
    const TRecentEntry entry = m_lists.files.At(position);
    if (entry.path.empty()) {
        return false;
    }
    if (const TUsable usable = Usability(entry.path); usable != TUsable::Yes) {
        return Refuse(m_lists.files, position, usable);
    }
    TOpenRequest request;
    request.fileName = entry.path;
    request.codePageIndex = entry.codePageIndex;
    request.closeEmptyActive = true;
    request.asBinary = entry.type != kRecentText;
    if (!m_form.DocumentOpener().CreateMDIChild(request)) {
        return false;
    }
    // A file read from disk was recorded by the opener with the code page it
    // got; one that was open already is only activated, and moves up here.
    if (const int now = m_lists.files.Find(entry.path); now > 0) {
        m_lists.files.Add(m_lists.files.At(now));
        Store(TRecentLastType::File);
    }
    return true;
}

bool TRecentMenu::OpenProject(int position)
{
    const TRecentEntry entry = m_lists.projects.At(position);
    if (entry.path.empty()) {
        return false;
    }
    if (const TUsable usable = Usability(entry.path); usable != TUsable::Yes) {
        return Refuse(m_lists.projects, position, usable);
    }
    return OpenProjectFile(entry.path);
}

bool TRecentMenu::OpenProjectFile(const std::string& path)
{
    if (OnOpenProject) {
        return OnOpenProject(path);
    }
    ShowMessage(&m_form,
        QMessageBox::Information,
        Format(
            "ProjectNotAvailable", "\"%s\" is a project. Projects are not available yet, so it was not opened.", path));
    return false;
}

bool TRecentMenu::OpenLast()
{
    const std::string file = m_lists.files.At(0).path;
    if (ReadRecentLastType(m_store) == TRecentLastType::File && !file.empty() && Usability(file) == TUsable::Yes) {
        return OpenFile(0);
    }
    const std::string project = m_lists.projects.At(0).path;
    if (!project.empty() && Usability(project) == TUsable::Yes) {
        return OpenProject(0);
    }
    return false;
}

void TRecentMenu::Store(TRecentLastType lastType)
{
    WriteRecentLists(m_store, m_lists, lastType);
    Refresh();
}

void TRecentMenu::RefreshList(const TRecentList& list, QAction* const* actions)
{
    for (int k = 0; k < TRecentList::kCapacity; ++k) {
        QAction* action = actions[k];
        if (action == nullptr) {
            continue;
        }
        const bool used = k < list.Count();
        const QString caption = used ? FromFileName(list.Caption(k)) : QString();
        const QString path = used ? FromFileName(list.At(k).path) : QString();
        action->setText(caption);
        action->setProperty("quilletText", caption);
        action->setToolTip(path);
        action->setStatusTip(path);
        action->setVisible(used);
    }
}

void TRecentMenu::Refresh()
{
    RefreshList(m_lists.projects, m_projectActions);
    RefreshList(m_lists.files, m_fileActions);
    const bool both = !m_lists.projects.Empty() && !m_lists.files.Empty();
    if (m_separator != nullptr) {
        m_separator->setVisible(both);
    }
    if (m_menu != nullptr) {
        m_menu->menuAction()->setEnabled(!m_lists.projects.Empty() || !m_lists.files.Empty());
    }

    // The Open button's drop-down shows the same entries.
    auto* dropDown = m_form.findChild<QMenu*>(QStringLiteral("RecentDropDown"));
    if (dropDown == nullptr) {
        return;
    }
    dropDown->clear();
    for (int k = 0; k < m_lists.projects.Count(); ++k) {
        if (m_projectActions[k] != nullptr) {
            dropDown->addAction(m_projectActions[k]);
        }
    }
    if (both) {
        dropDown->addSeparator();
    }
    for (int k = 0; k < m_lists.files.Count(); ++k) {
        if (m_fileActions[k] != nullptr) {
            dropDown->addAction(m_fileActions[k]);
        }
    }
}

} // namespace quillet
