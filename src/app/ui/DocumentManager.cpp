#include "app/ui/DocumentManager.h"

#include "app/ui/ChildDocumentWindow.h"
#include "app/ui/DocumentManagerSettings.h"
#include "app/ui/OpenDialog.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/SelectCodePageForm.h"
#include "app/ui/ShellUi.h"
#include "core/CodePages.h"
#include "core/DocumentFile.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/BusyCursor.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>

#include <system_error>

namespace quillet {
namespace fs = std::filesystem;

namespace {

// Marks a document opened read-only because its charset could not be held in
// the system code page; a later load that loses nothing lifts it again.
constexpr const char* kLossyProperty = "quilletLossyLoad";

QString Format(std::string_view key, std::string_view defaultText, const std::string& argument)
{
    return FromUtf8(LangFormat(key, defaultText, {argument}));
}

// Absolute and lexically normal, so that two spellings of one path compare
// equal while different names (case included) stay different.
fs::path NormalPath(const fs::path& file)
{
    std::error_code error;
    fs::path absolute = fs::absolute(file, error);
    return (error ? file : absolute).lexically_normal();
}

} // namespace

QString DisplayName(const fs::path& file)
{
    return FromFileName(file.string());
}

TDocumentManager::TDocumentManager(TQuilletMainForm& mainForm)
    : QObject(&mainForm)
    , m_mainForm(mainForm)
{
    connect(m_mainForm.MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        ShowStatus(qobject_cast<TChildForm*>(window));
        emit DocumentsChanged();
    });
    m_mainForm.installEventFilter(this);
}

bool TDocumentManager::eventFilter(QObject* watched, QEvent* event)
{
    // The document area does not close its windows when the main window
    // closes: each modified document asks first (save, discard or cancel), and
    // one refusal keeps the program open.
    if (watched == &m_mainForm && event->type() == QEvent::Close) {
        for (TChildForm* form : Forms()) {
            if (form->MemoSource().Modified() && !form->close()) {
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

TDocumentManager::~TDocumentManager() = default;

// ---- state -------------------------------------------------------------------------

std::vector<TChildForm*> TDocumentManager::Forms() const
{
    std::vector<TChildForm*> forms;
    for (QMdiSubWindow* child : m_mainForm.DocumentWindows()) {
        if (auto* form = qobject_cast<TChildForm*>(child); form != nullptr && !form->isHidden()) {
            forms.push_back(form);
        }
    }
    return forms;
}

TChildForm* TDocumentManager::ActiveForm() const
{
    auto* form = qobject_cast<TChildForm*>(m_mainForm.MdiArea()->activeSubWindow());
    if (form == nullptr) {
        // The area has no active window while the application is inactive: the
        // current one is still the one the commands work on.
        form = qobject_cast<TChildForm*>(m_mainForm.MdiArea()->currentSubWindow());
    }
    return form != nullptr && !form->isHidden() ? form : nullptr;
}

TChildForm* TDocumentManager::FindOpen(const fs::path& file) const
{
    const fs::path wanted = NormalPath(file);
    for (TChildForm* form : Forms()) {
        if (!form->FileName().empty() && NormalPath(form->FileName()) == wanted) {
            return form;
        }
    }
    return nullptr;
}

std::string TDocumentManager::FileTypeFilter() const
{
    if (m_fileTypeFilter.empty() && m_syntax.catalog != nullptr) {
        return m_syntax.catalog->FileFilter();
    }
    return m_fileTypeFilter;
}

void TDocumentManager::ChooseSyntaxFor(TChildForm& form)
{
    if (m_syntax.catalog != nullptr && m_syntax.styles != nullptr) {
        ChooseSyntax(form, m_syntax);
    }
}

void TDocumentManager::ChooseSyntaxAfterRename(TChildForm& form, const fs::path& oldFile)
{
    if (m_syntax.catalog == nullptr || m_syntax.styles == nullptr) {
        return;
    }
    // The new name chooses as opening it would. A name that selects nothing
    // keeps the current definition, unless the document had a name whose
    // extension changed: then it goes back to plain text, as reopening it
    // would show it. An untitled document keeps the one it was given.
    if (const TSchemeEntry* entry = m_syntax.catalog->ForFile(form.FileName())) {
        if (entry->FileName != DocumentSyntaxFile(form)) {
            ZmenSyntaxParser(form, entry->FileName, m_syntax);
        }
    } else if (!oldFile.empty() && oldFile.extension() != form.FileName().extension()) {
        SyntaxNone(form, m_syntax);
    }
}

TSettingsStore& TDocumentManager::SettingsStore() const
{
    return m_settings != nullptr ? *m_settings : Settings();
}

void TDocumentManager::ApplyEditorSettings(TChildForm& form, const TMemoViewSettings& settings)
{
    form.ApplySettings(settings);
    if (m_syntax.styles != nullptr) {
        ApplyTextStyles(form, *m_syntax.styles);
    }
}

void TDocumentManager::ApplyEditorSettings()
{
    const TMemoViewSettings settings = NactiMemoProperty(SettingsStore());
    for (TChildForm* form : Forms()) {
        ApplyEditorSettings(*form, settings);
    }
    emit EditorSettingsApplied();
}

std::string TDocumentManager::OpenFilter() const
{
    std::string filter = LangStr("AllFiles", "All files (*.*)|*.*") + "|"
        + LangStr("ProjectFiles", "Quillet project files (*.qpr)|*.qpr");
    if (const std::string types = FileTypeFilter(); !types.empty()) {
        filter += "|" + types;
    }
    return filter;
}

std::string TDocumentManager::SaveFilter() const
{
    std::string filter = LangStr("AllFiles", "All files (*.*)|*.*");
    if (const std::string types = FileTypeFilter(); !types.empty()) {
        filter += "|" + types;
    }
    return filter;
}

// ---- messages ----------------------------------------------------------------------

QMessageBox::StandardButton TDocumentManager::Message(
    QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons)
{
    return ShowMessage(&m_mainForm, icon, text, buttons);
}

void TDocumentManager::ReadOnlyMessage(const fs::path& file)
{
    Message(QMessageBox::Critical, Format("ReadOnlyFile", "\"%s\" is Read only file or it is locked.", file.string()));
}

void TDocumentManager::SaveFailedMessage(const fs::path& file, const std::string& reason)
{
    if (IsWriteProtected(file)) {
        ReadOnlyMessage(file);
        return;
    }
    // A full disk, a quota or an I/O error: the system's reason, not a
    // read-only claim that would send the user looking in the wrong place.
    Message(QMessageBox::Critical,
        FromUtf8(LangFormat("CannotSaveFile", "Cannot save file \"%s\". %s", {file.string(), reason})));
}

void TDocumentManager::ShowStatus(TChildForm* form)
{
    // The status bar shows the active document; without one it is empty.
    const TChildStatus status = form != nullptr ? form->Status() : TChildStatus{};
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelCaret, status.position);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelState, status.state);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelMode, status.mode);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelSyntax, status.syntax);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelCodePage, status.codePage);
}

void TDocumentManager::ApplyCodePage(TChildForm& form, int index)
{
    form.SetCodePage(index, CodePageName(index));
}

// ---- opening -----------------------------------------------------------------------

TChildForm* TDocumentManager::NewForm(const QString& caption)
{
    auto* form = new TChildDocumentWindow(); // answers the program's close question itself
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->SetUntitledCaption(caption);
    form->MemoSource().SetClipboard(m_clipboard);
    ApplyEditorSettings(*form, NactiMemoProperty(SettingsStore()));
    // A right click in either view shows the main window's document pop-up.
    form->Memo().SetPopupMenu(m_mainForm.DocumentPopup());
    form->Memo1().SetPopupMenu(m_mainForm.DocumentPopup());
    form->OnSave = [this](TChildForm& f) {
        return Save(f);
    };
    form->OnReload = [this](TChildForm& f) {
        return Reload(f, f.CodePage());
    };
    connect(form, &TChildForm::StatusChanged, this, [this, form] {
        if (ActiveForm() == form) {
            ShowStatus(form);
        }
        emit DocumentsChanged();
    });
    connect(form, &TChildForm::CommandStatesChanged, this, &TDocumentManager::DocumentsChanged);
    return form;
}

bool TDocumentManager::CreateMDIChild(const TOpenRequest& request)
{
    // An untouched empty untitled document gives way to the file being opened.
    if (request.closeEmptyActive && !request.isNew) {
        TChildForm* active = ActiveForm();
        if (active != nullptr && active->FileName().empty() && !active->MemoSource().Modified()) {
            active->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
    if (request.isNew) {
        TChildForm* form = NewForm(FromFileName(request.fileName));
        ApplyCodePage(*form, 0);
        ChooseSyntaxFor(*form);
        m_mainForm.AddMdiChild(form);
        emit DocumentsChanged();
        return true;
    }

    const fs::path file = NormalPath(request.fileName);
    if (m_mainForm.Options().dontOpenMultiple) {
        if (TChildForm* open = FindOpen(file); open != nullptr) {
            if (open->isMinimized()) {
                open->showNormal();
            }
            m_mainForm.MdiArea()->setActiveSubWindow(open);
            return true;
        }
    }

    std::error_code error;
    const bool exists = fs::exists(file, error);
    const TFileTypes types = request.asBinary ? TFileTypes{} : GetFileTypes(file);
    switch (ChooseOpenKind(types, false, exists, request.asBinary, false)) {
    case TOpenKind::Binary:
        if (OnOpenBinary) {
            return OnOpenBinary(file.string(), request.readOnly);
        }
        Message(QMessageBox::Information,
            Format("BinaryNotAvailable",
                "\"%s\" is a binary file. Binary documents cannot be opened yet, so it was not opened.",
                file.string()));
        return false;
    case TOpenKind::Project:
        if (OnOpenProject) {
            return OnOpenProject(file.string());
        }
        Message(QMessageBox::Information,
            Format("ProjectNotAvailable",
                "\"%s\" is a project. Projects are not available yet, so it was not opened.",
                file.string()));
        return false;
    case TOpenKind::Text:
        break;
    }

    TChildForm* form = NewForm(DisplayName(file));
    if (!exists && !fs::is_symlink(file, error)) {
        const auto answer = Message(QMessageBox::Question,
            Format("FileNotExists", "File \"%s\" does not exists. Create new?", file.string()),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            delete form;
            return false;
        }
        ApplyCodePage(*form, 0);
        form->SetFileName(file);
        ChooseSyntaxFor(*form);
        m_mainForm.AddMdiChild(form);
        emit DocumentsChanged();
        return true;
    }
    if (!LoadInto(*form, file, request.codePageIndex, request.readOnly)) {
        delete form;
        return false;
    }
    ChooseSyntaxFor(*form);
    m_mainForm.AddMdiChild(form);
    emit DocumentsChanged();
    emit FileUsed(file.string(), form->CodePage(), 0);
    if (form->property(kLossyProperty).toBool()) {
        Message(QMessageBox::Warning, Format(kLossyLoadKey, kLossyLoadDefault, file.string()));
    }
    return true;
}

bool TDocumentManager::LoadInto(TChildForm& form, const fs::path& file, int codePageIndex, bool readOnly)
{
    TDocumentLoad load;
    {
        TBusyCursor busy;
        load = LoadTextDocument(file, codePageIndex, true);
    }
    if (!load.result) {
        Message(QMessageBox::Critical, Format("CouldNotOpen", "Could not open file \"%s\".", file.string()));
        return false;
    }
    TMemoSource& source = form.MemoSource();
    source.SetReadOnly(false);
    source.TakeText(std::move(load.text), false);
    source.ClearUndoBuffer();
    source.SetModified(false);
    source.SetReadOnly(readOnly || load.readOnlyFile || load.lossy);
    form.setProperty(kLossyProperty, load.lossy);
    ApplyCodePage(form, load.codePageIndex);
    form.SetFileName(file);
    return true;
}

bool TDocumentManager::Reload(TChildForm& form, int codePageIndex)
{
    const fs::path file = form.FileName();
    if (file.empty()) {
        return false;
    }
    TDocumentLoad load;
    {
        TBusyCursor busy;
        load = LoadTextDocument(file, codePageIndex, false);
    }
    if (!load.result || load.notFound) {
        Message(QMessageBox::Critical, Format("CouldNotOpen", "Could not open file \"%s\".", file.string()));
        return false;
    }
    TMemoSource& source = form.MemoSource();
    const bool wasReadOnly = source.ReadOnly();
    const bool wasLossy = form.property(kLossyProperty).toBool();
    source.SetReadOnly(false);
    source.TakeText(std::move(load.text), false);
    source.ClearUndoBuffer();
    source.SetModified(false);
    source.SetReadOnly(load.lossy || (wasReadOnly && !wasLossy));
    form.setProperty(kLossyProperty, load.lossy);
    form.RememberFileTime();
    emit DocumentsChanged();
    if (load.lossy) {
        Message(QMessageBox::Warning, Format(kLossyLoadKey, kLossyLoadDefault, file.string()));
    }
    return true;
}

// ---- saving ------------------------------------------------------------------------

std::string TDocumentManager::WriteDocument(TChildForm& form, const fs::path& file, int codePageIndex)
{
    TBusyCursor busy;
    TMemoSource& source = form.MemoSource();
    if (GetCodePage(codePageIndex) == GetSystemCodePage()) {
        const TFileResult result = source.SaveToFile(file);
        return result.ok ? std::string() : (result.reason.empty() ? result.error : result.reason);
    }
    const TDocumentFileResult result = SaveTextDocument(file, source.SaveToText(), codePageIndex);
    return result.ok ? std::string() : result.reason;
}

bool TDocumentManager::Save(TChildForm& form)
{
    if (!form.MemoSource().Modified() && !form.FileName().empty()) {
        return true;
    }
    if (form.FileName().empty()) {
        return SaveAs(form);
    }
    const fs::path file = form.FileName();
    if (IsReadOnlyFile(file)) {
        ReadOnlyMessage(file);
        return false;
    }
    if (const std::string reason = WriteDocument(form, file, form.CodePage()); !reason.empty()) {
        SaveFailedMessage(file, reason);
        return false;
    }
    form.MemoSource().SetModified(false);
    // The save replaced the file by a rename: watch the new file again.
    form.SetFileName(file);
    emit DocumentsChanged();
    return true;
}

bool TDocumentManager::SaveAs(TChildForm& form)
{
    QString startName = form.FileName().empty() ? form.windowTitle() : DisplayName(form.FileName());
    while (startName.endsWith(QLatin1Char('*'))) {
        startName.chop(1);
    }
    const std::string filter = SaveFilter();
    const std::optional<TSaveChoice> choice = OnSaveDialog
        ? OnSaveDialog(startName, form.CodePage())
        : TOpenDialog::ExecSave(&m_mainForm, filter, startName, form.CodePage());
    if (!choice || choice->fileName.empty()) {
        return false;
    }
    const fs::path file = NormalPath(ChangeExtDialog(choice->fileName, filter, choice->filterIndex));
    std::error_code error;
    if (fs::exists(file, error)) {
        const auto answer = Message(QMessageBox::Warning,
            Format("FileExists", "File \"%s\" already exists. Do you want to owerwrite it?", file.string()),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return false;
        }
        if (IsReadOnlyFile(file)) {
            ReadOnlyMessage(file);
            return false;
        }
    }
    const bool existed = fs::exists(file, error);
    if (const std::string reason = WriteDocument(form, file, choice->codePageIndex); !reason.empty()) {
        if (existed) {
            SaveFailedMessage(file, reason);
        } else {
            // No file was there to be read-only: say what went wrong instead.
            Message(QMessageBox::Critical,
                FromUtf8(LangFormat("CannotCreateFile", "Cannot create file \"%s\". %s", {file.string(), reason})));
        }
        return false;
    }
    const fs::path oldFile = form.FileName();
    TMemoSource& source = form.MemoSource();
    source.SetModified(false);
    source.SetReadOnly(false);
    form.setProperty(kLossyProperty, false);
    ApplyCodePage(form, choice->codePageIndex);
    form.SetFileName(file);
    ChooseSyntaxAfterRename(form, oldFile);
    emit DocumentsChanged();
    emit FileUsed(file.string(), form.CodePage(), 0);
    return true;
}

bool TDocumentManager::SaveAll()
{
    bool allSaved = true;
    const std::vector<TChildForm*> forms = Forms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        if ((*it)->MemoSource().Modified() && !Save(**it)) {
            allSaved = false;
        }
    }
    return allSaved;
}

// ---- commands ----------------------------------------------------------------------

void TDocumentManager::New()
{
    ++m_untitledCounter;
    TOpenRequest request;
    request.fileName = UntitledName(LangStr("Noname", "Untitled"), m_untitledCounter);
    request.isNew = true;
    request.closeEmptyActive = true;
    CreateMDIChild(request);
}

void TDocumentManager::Open()
{
    const std::optional<TOpenChoice> choice =
        OnOpenDialog ? OnOpenDialog() : TOpenDialog::ExecOpen(&m_mainForm, OpenFilter());
    if (!choice) {
        return;
    }
    for (const std::string& file : choice->files) {
        TOpenRequest request;
        request.fileName = file;
        request.codePageIndex = choice->codePageIndex;
        request.closeEmptyActive = true;
        request.asBinary = choice->asHex;
        request.readOnly = choice->readOnly;
        CreateMDIChild(request);
    }
}

void TDocumentManager::Close()
{
    if (TChildForm* form = ActiveForm()) {
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        emit DocumentsChanged();
    }
}

void TDocumentManager::CloseAll()
{
    QCoreApplication::processEvents();
    const std::vector<TChildForm*> forms = Forms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        (*it)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    emit DocumentsChanged();
}

bool TDocumentManager::Revert(TChildForm& form)
{
    if (form.FileName().empty()) {
        return false;
    }
    const auto answer = Message(QMessageBox::Question,
        Format("Revert", "Do you want to reload last saved version of \"%s\"?", form.FileName().filename().string()),
        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes && Reload(form, form.CodePage());
}

bool TDocumentManager::ReopenInOtherCodePage(TChildForm& form)
{
    if (form.FileName().empty()) {
        return false;
    }
    if (form.MemoSource().Modified()) {
        const auto answer = Message(QMessageBox::Question,
            Tr("ReopenCP", "Current document was changed. Your changes will be lost. Do you really want to continue?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return false;
        }
    }
    const std::optional<int> index = OnSelectCodePage ? OnSelectCodePage(form.CodePage())
                                                      : TSelectCodePageForm::Choose(&m_mainForm, form.CodePage());
    if (!index || *index < 0 || *index >= kCodePageCount) {
        return false;
    }
    if (!Reload(form, *index)) {
        return false;
    }
    ApplyCodePage(form, *index);
    emit FileUsed(form.FileName().string(), *index, 0);
    return true;
}

void TDocumentManager::ToggleReadOnly(TChildForm& form)
{
    TMemoSource& source = form.MemoSource();
    if (!form.FileName().empty() && source.ReadOnly() && IsReadOnlyFile(form.FileName())) {
        const auto answer = Message(QMessageBox::Question,
            Format("FileIsReadOnly",
                "File \"%s\" is Read only. Do you want to change file attribute now?",
                form.FileName().string()),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            if (const TDocumentFileResult result = ClearReadOnlyAttribute(form.FileName()); !result) {
                Message(QMessageBox::Critical, FromUtf8(result.reason));
            }
        }
    }
    source.SetReadOnly(!source.ReadOnly());
    form.setProperty(kLossyProperty, false);
    emit DocumentsChanged();
}

} // namespace quillet
