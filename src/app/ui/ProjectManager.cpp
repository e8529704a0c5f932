#include "app/ui/ProjectManager.h"

#include "app/DocumentOpener.h"
#include "app/ui/CommandActions.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/MainMenus.h"
#include "app/ui/OpenDialog.h"
#include "app/ui/ProjectTreePanel.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/RecentMenu.h"
#include "app/ui/ShellUi.h"
#include "core/AppTitle.h"
#include "core/CodePages.h"
#include "core/DocumentFile.h"
#include "core/Translations.h"
#include "hex/HexText.h"
#include "hex/ui/BinaryForm.h"
#include "text/ui/BusyCursor.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace quillet {
namespace fs = std::filesystem;

namespace {

std::string CharsetIdOf(int codePageIndex)
{
    return GetIDFromCP(GetCodePage(codePageIndex));
}

QString ProjectFilter()
{
    return Tr("ProjectFiles", "Quillet project files (*.qpr)|*.qpr");
}

// "description|masks" as the file dialog writes it: "description (masks)".
QString DialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        filters << QStringLiteral("%1 (%2)").arg(parts[i], masks.replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace

TProjectManager::TProjectManager(TQuilletMainForm& form, TDocumentManager& documents, TRecentMenu* recent)
    : QObject(&form)
    , m_form(form)
    , m_documents(documents)
    , m_recent(recent)
{
    m_panel = new TProjectTreePanel(&form);
    form.addDockWidget(Qt::LeftDockWidgetArea, m_panel);
    m_panel->hide();
    m_panel->SetProjectPopup(
        TMainMenus::BuildPopup(QStringLiteral("ProjectTreePopup"), form.CommandActions(), m_panel));
    m_panel->SetBrowserPopup(TMainMenus::BuildPopup(QStringLiteral("BrowserPopup"), form.CommandActions(), m_panel));
    // "All files" followed by the file types of the syntax definitions.
    m_panel->SetFileTypeFilter(documents.SaveFilter());
    connect(m_panel, &TProjectTreePanel::ProjectFileActivated, this, [this](const QString& path) {
        OpenEntry(ToFileName(path));
    });
    connect(m_panel, &TProjectTreePanel::SelectionChanged, &form.CommandActions(), &TCommandActions::ScheduleUpdate);
    connect(m_panel, &QDockWidget::visibilityChanged, &form.CommandActions(), &TCommandActions::ScheduleUpdate);
    connect(m_panel, &TProjectTreePanel::BrowserFileActivated, this, [this](const QString& path) {
        TOpenRequest request;
        request.fileName = ToFileName(path);
        request.codePageIndex = GetDefaultCP();
        request.closeEmptyActive = true;
        m_form.DocumentOpener().CreateMDIChild(request);
    });

    connect(form.MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window != nullptr) {
            Track(window);
        }
    });
    connect(&documents, &TDocumentManager::DocumentsChanged, this, &TProjectManager::FollowRenames);

    form.SetProjectSession(this);
    form.SetProjectOfDocument([this](QMdiSubWindow* window) -> std::optional<std::string> {
        if (m_project == nullptr || window == nullptr || IndexOf(window) < 0) {
            return std::nullopt;
        }
        return m_project->FileName().string();
    });
}

// A child of the main window: it goes when the window goes, after the window
// has stopped asking it anything.
TProjectManager::~TProjectManager() = default;

// ---- document bookkeeping --------------------------------------------------------------

std::string TProjectManager::DocumentName(QMdiSubWindow* window)
{
    if (auto* binary = qobject_cast<TBinaryForm*>(window)) {
        if (!binary->FileName().empty()) {
            return binary->FileName().string();
        }
        QString caption = binary->UntitledCaption();
        caption.remove(QLatin1Char('*'));
        return ToFileName(caption.trimmed());
    }
    auto* form = qobject_cast<TChildForm*>(window);
    if (form == nullptr) {
        return {};
    }
    if (!form->FileName().empty()) {
        return form->FileName().string();
    }
    // An untitled document is known by its untitled name.
    QString caption = form->CaptionFileNamePart();
    caption.remove(QLatin1Char('*'));
    return ToFileName(caption.trimmed());
}

std::vector<std::string> TProjectManager::MemberNames() const
{
    std::vector<std::string> names;
    for (int i = 1; m_project != nullptr && i <= m_project->Count(); ++i) {
        if (std::string name = m_project->Name(i); !name.empty()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

int TProjectManager::IndexOf(QMdiSubWindow* window) const
{
    return m_project != nullptr ? m_project->GetProjectIndex(DocumentName(window)) : -1;
}

void TProjectManager::Track(QMdiSubWindow* window)
{
    if (!m_names.contains(window)) {
        connect(window, &QObject::destroyed, this, &TProjectManager::Untrack);
    }
    m_names[window] = FromFileName(DocumentName(window));
}

void TProjectManager::Untrack(QObject* window)
{
    const std::string name = ToFileName(m_names.take(window));
    if (m_project == nullptr) {
        return;
    }
    if (const int i = m_project->GetProjectIndex(name); i > 0) {
        // A closed file stays a member, closed; an untitled document leaves.
        if (!name.empty() && name.front() == '/') {
            m_project->SetOpen(i, false);
        } else {
            m_project->Remove(i);
        }
        m_project->SetModified(true);
        // The window is half destroyed: refresh the views once it is gone.
        QTimer::singleShot(0, this, [this] {
            Changed();
        });
    }
}

void TProjectManager::FollowRenames()
{
    bool renamed = false;
    for (QMdiSubWindow* window : m_form.DocumentWindows()) {
        const QString now = FromFileName(DocumentName(window));
        const auto known = m_names.constFind(window);
        if (known != m_names.constEnd() && *known != now && m_project != nullptr) {
            // Saved under a new name: the entry follows the document.
            if (const int i = m_project->GetProjectIndex(ToFileName(*known)); i > 0 && !now.isEmpty()) {
                m_project->SetName(i, ToFileName(now));
                SetEntryKind(i, window);
                renamed = true;
            }
        }
        Track(window);
    }
    if (renamed) {
        Changed();
    }
}

void TProjectManager::SetEntryKind(int i, QMdiSubWindow* window)
{
    if (auto* form = qobject_cast<TChildForm*>(window)) {
        m_project->SetType(i, kProjectText);
        m_project->SetCodePage(i, CharsetIdOf(form->CodePage()));
    } else if (qobject_cast<TBinaryForm*>(window) != nullptr) {
        m_project->SetType(i, kProjectBinary);
        m_project->SetCodePage(i, ""); // binary entries have none
    }
}

bool TProjectManager::TakeFileUse(const std::string& file, int codePageIndex, int type)
{
    const int i = m_project != nullptr ? m_project->GetProjectIndex(file) : -1;
    if (i < 0) {
        return false;
    }
    m_project->SetOpen(i, true);
    m_project->SetType(i, type);
    m_project->SetCodePage(i, type == kProjectText ? CharsetIdOf(codePageIndex) : "");
    m_project->SetModified(true);
    m_form.CommandActions().ScheduleUpdate();
    return true;
}

void TProjectManager::Changed()
{
    m_panel->BuildProjectTree(m_project.get());
    m_form.RefreshCaption();
    m_form.CommandActions().ScheduleUpdate();
    emit ProjectChanged();
}

void TProjectManager::ShowPanel()
{
    if (m_panel->isHidden()) {
        m_panel->show();
    }
}

// ---- opening and closing ------------------------------------------------------------

bool TProjectManager::OpenProject(const std::string& file)
{
    if (m_project != nullptr && !CloseProject()) {
        return false;
    }
    std::optional<TProject> loaded = TProject::Load(file);
    if (!loaded) {
        ShowMessage(&m_form,
            QMessageBox::Critical,
            FromUtf8(LangFormat("CouldNotOpen", "Could not open file \"%s\".", {file})));
        return false;
    }
    m_project = std::make_unique<TProject>(std::move(*loaded));
    Changed();
    if (m_recent != nullptr) {
        m_recent->AddProject(file);
    }
    const std::string systemId = GetIDFromCP(GetSystemCodePage());
    auto openEntry = [this, &systemId](int i) {
        const std::string name = m_project->Name(i);
        const std::string id = m_project->CodePage(i);
        TOpenRequest request;
        request.fileName = name;
        request.codePageIndex = GetCPIndex(GetCPFromID(id.empty() ? systemId : id));
        request.closeEmptyActive = true;
        request.asBinary = m_project->Type(i) == kProjectBinary;
        QCoreApplication::processEvents();
        // Members that are projects (this one included) never open from here,
        // so a project naming itself cannot recurse.
        if (m_project != nullptr && !name.empty() && !IsProject(name)) {
            m_form.DocumentOpener().CreateMDIChild(request);
        }
    };
    const int active = m_project->ActiveFile();
    for (int i = 1; m_project != nullptr && i <= m_project->Count(); ++i) {
        if (i != active && m_project->IsOpen(i)) {
            openEntry(i);
        }
    }
    if (m_project != nullptr && active > 0 && m_project->IsOpen(active)) {
        openEntry(active);
    }
    if (m_project == nullptr) {
        return false;
    }
    m_project->SetModified(false);
    ShowPanel();
    QCoreApplication::processEvents();
    Changed();
    return true;
}

void TProjectManager::NewProject()
{
    if (m_project != nullptr && !CloseProject()) {
        return;
    }
    std::optional<QString> name;
    if (OnAskName) {
        name = OnAskName();
    } else {
        bool ok = false;
        const QString text = QInputDialog::getText(&m_form,
            FromUtf8(kAppTitle),
            Tr("InputProjectName", "New project name"),
            QLineEdit::Normal,
            Tr("NonameProject", "Untitled Project"),
            &ok);
        if (ok) {
            name = text;
        }
    }
    if (!name) {
        return;
    }
    if (!IsValidProjectName(ToFileName(*name))) {
        ShowMessage(&m_form,
            QMessageBox::Critical,
            FromUtf8(LangFormat("InvalidProjectName", "\"%s\" is not valid Project name.", {ToUtf8(*name)})));
        return;
    }
    m_project = std::make_unique<TProject>(TProject::New(ToFileName(*name)));
    ShowPanel();
    Changed();
}

void TProjectManager::OpenProjectDialog()
{
    std::optional<std::string> file;
    bool readOnly = false;
    if (OnOpenDialog) {
        file = OnOpenDialog();
    } else if (const std::optional<TOpenChoice> choice = TOpenDialog::ExecOpen(&m_form, ToUtf8(ProjectFilter()));
               choice && !choice->files.empty()) {
        file = choice->files.front();
        readOnly = choice->readOnly;
    }
    if (!file) {
        return;
    }
    // Through the one opener: a file that is no valid project opens as a document.
    TOpenRequest request;
    request.fileName = *file;
    request.closeEmptyActive = true;
    request.readOnly = readOnly;
    m_form.DocumentOpener().CreateMDIChild(request);
}

void TProjectManager::Discard()
{
    m_project.reset();
    Changed();
}

bool TProjectManager::CloseProject()
{
    if (m_project == nullptr) {
        return true;
    }
    if (!m_form.FormCloseQuery()) {
        return false;
    }
    // Guarded: a window may close itself while pending events run.
    std::vector<QPointer<QMdiSubWindow>> members;
    const QList<QMdiSubWindow*> windows = m_form.DocumentWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IndexOf(*it) > 0) {
            members.emplace_back(*it);
        }
    }
    Discard();
    for (const QPointer<QMdiSubWindow>& window : members) {
        if (window != nullptr) {
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
    Changed();
    return true;
}

// ---- saving -----------------------------------------------------------------------

void TProjectManager::RecordActiveFile()
{
    QMdiSubWindow* active = m_form.MdiArea()->currentSubWindow();
    if (const int i = active != nullptr ? IndexOf(active) : -1; i > 0) {
        m_project->SetActiveFile(i);
    }
}

bool TProjectManager::SaveDocuments()
{
    const QList<QMdiSubWindow*> windows = m_form.DocumentWindows();
    std::vector<QPointer<QMdiSubWindow>> members;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IndexOf(*it) > 0) {
            members.emplace_back(*it);
        }
    }
    for (const QPointer<QMdiSubWindow>& window : members) {
        if (auto* form = qobject_cast<TChildForm*>(window.data()); form != nullptr && !m_documents.Save(*form)) {
            return false;
        }
        if (auto* binary = qobject_cast<TBinaryForm*>(window.data()); binary != nullptr && !binary->Save()) {
            return false;
        }
    }
    return m_project != nullptr;
}

bool TProjectManager::WriteTo(const fs::path& file)
{
    const TDocumentFileResult result = m_project->SaveTo(file);
    if (!result) {
        // The project keeps its names, file name and modified flag, so the
        // exit question still protects the changes.
        ShowMessage(&m_form,
            QMessageBox::Critical,
            FromUtf8(LangFormat("CannotCreateFile", "Cannot create file \"%s\". %s", {file.string(), result.reason})));
        return false;
    }
    return true;
}

bool TProjectManager::Save()
{
    if (m_project == nullptr || !m_project->IsModified()) {
        return true;
    }
    if (m_project->FileName().empty()) {
        return SaveAs();
    }
    TBusyCursor busy;
    RecordActiveFile();
    if (!SaveDocuments() || !WriteTo(m_project->FileName())) {
        m_form.CommandActions().ScheduleUpdate();
        return false;
    }
    Changed();
    return true;
}

bool TProjectManager::SaveAs()
{
    if (m_project == nullptr) {
        return false;
    }
    const QString start = m_project->FileName().empty()
        ? FromFileName(m_project->ProjectName() + std::string(TProject::kExtension))
        : FromFileName(m_project->FileName().string());
    std::optional<std::string> chosen;
    if (OnSaveDialog) {
        chosen = OnSaveDialog(start);
    } else {
        QFileDialog dialog(&m_form, FromUtf8(kAppTitle), start, DialogFilter(ProjectFilter()));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("qpr"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = ToFileName(dialog.selectedFiles().front());
        }
    }
    if (!chosen || chosen->empty()) {
        return false;
    }
    fs::path file = fs::absolute(*chosen).lexically_normal();
    if (file.extension().empty()) {
        file += TProject::kExtension;
    }
    TBusyCursor busy;
    RecordActiveFile();
    if (!SaveDocuments() || !WriteTo(file)) {
        m_form.CommandActions().ScheduleUpdate();
        return false;
    }
    if (m_recent != nullptr) {
        m_recent->AddProject(file.string());
    }
    Changed();
    return true;
}

// ---- members ------------------------------------------------------------------------

void TProjectManager::AddActive()
{
    QMdiSubWindow* active = m_form.MdiArea()->currentSubWindow();
    if (m_project == nullptr || active == nullptr || IndexOf(active) > 0) {
        return;
    }
    const std::string name = DocumentName(active);
    if (name.empty()) {
        return;
    }
    auto* form = qobject_cast<TChildForm*>(active);
    m_project->Add(name,
        true,
        form != nullptr ? kProjectText : kProjectBinary,
        form != nullptr ? CharsetIdOf(form->CodePage()) : "");
    Track(active);
    Changed();
}

void TProjectManager::AddFiles(const std::vector<std::string>& files)
{
    if (m_project == nullptr) {
        return;
    }
    bool added = false;
    for (const std::string& chosen : files) {
        const std::string file = fs::absolute(chosen).lexically_normal().string();
        if (m_project->GetProjectIndex(file) > 0 || IsProject(file)) {
            continue;
        }
        const int type = IsHex(file) ? kProjectBinary : kProjectText;
        m_project->Add(file, false, type, "");
        added = true;
    }
    if (added) {
        Changed();
    }
}

void TProjectManager::AddFilesDialog()
{
    if (OnAddFilesDialog) {
        AddFiles(OnAddFilesDialog());
        return;
    }
    // The code page and hex choices of the dialog do not apply to members.
    if (const std::optional<TOpenChoice> choice = TOpenDialog::ExecOpen(&m_form, m_documents.SaveFilter())) {
        AddFiles(choice->files);
    }
}

void TProjectManager::RemoveActive()
{
    RemoveEntry(IndexOf(m_form.MdiArea()->currentSubWindow()));
}

void TProjectManager::RemoveEntry(int i)
{
    if (m_project != nullptr && i >= 1 && i <= m_project->Count()) {
        m_project->Remove(i);
        Changed();
    }
}

void TProjectManager::OpenEntry(const std::string& name)
{
    if (m_project == nullptr || name.empty() || name.front() != '/') {
        return;
    }
    TOpenRequest request;
    request.fileName = name;
    request.codePageIndex = GetDefaultCP();
    request.closeEmptyActive = true;
    m_form.DocumentOpener().CreateMDIChild(request);
    if (m_project != nullptr) {
        m_project->SetModified(true);
        m_form.CommandActions().ScheduleUpdate();
    }
}

} // namespace quillet
