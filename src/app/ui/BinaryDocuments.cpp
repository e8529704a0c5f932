#include "app/ui/BinaryDocuments.h"

#include "app/CommandTable.h"
#include "app/ui/BinaryDocumentWindow.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/DocumentManagerSettings.h"
#include "app/ui/OpenDialog.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/ShellUi.h"
#include "core/DocumentFile.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "hex/HexDocument.h"
#include "hex/HexSettings.h"
#include "hex/ui/HexEditor.h"
#include "syntax/TextStyles.h"
#include "text/MemoOptions.h"
#include "text/ui/ChildForm.h"
#include "text/ui/ClipboardSlots.h"

#include <QCoreApplication>
#include <QMdiArea>

namespace quillet {

namespace fs = std::filesystem;

namespace {

QString Format(std::string_view key, std::string_view english, const std::string& argument)
{
    return FromUtf8(LangFormat(key, english, {argument}));
}

// The text document's lines, each ended by CR LF, as its buffer holds them.
std::string TextBytes(TChildForm& text)
{
    TMemoSource& source = text.MemoSource();
    std::string bytes;
    for (int i = 0; i < source.GetStrCount(); ++i) {
        bytes += source.GetRawLine(i);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

TBinaryDocuments::TBinaryDocuments(TQuilletMainForm& mainForm, TDocumentManager& documents)
    : QObject(&mainForm)
    , m_mainForm(mainForm)
    , m_documents(documents)
{
    documents.OnOpenBinary = [this](const std::string& file, bool readOnly) {
        return Open(file, readOnly);
    };
    // After the document manager's own handler, which empties the panels for a non-text window.
    connect(mainForm.MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* form = qobject_cast<TBinaryForm*>(window)) {
            ShowStatus(form);
        }
    });
    connect(&documents, &TDocumentManager::EditorSettingsApplied, this, &TBinaryDocuments::ApplySettings);
}

TBinaryForm* TBinaryDocuments::Active() const
{
    QMdiArea* area = m_mainForm.MdiArea();
    auto* form = qobject_cast<TBinaryForm*>(area->activeSubWindow());
    if (form == nullptr) {
        form = qobject_cast<TBinaryForm*>(area->currentSubWindow());
    }
    return form != nullptr && !form->isHidden() ? form : nullptr;
}

std::vector<TBinaryForm*> TBinaryDocuments::Forms() const
{
    std::vector<TBinaryForm*> forms;
    for (QMdiSubWindow* child : m_mainForm.DocumentWindows()) {
        if (auto* form = qobject_cast<TBinaryForm*>(child); form != nullptr && !form->isHidden()) {
            forms.push_back(form);
        }
    }
    return forms;
}

void TBinaryDocuments::ShowStatus(TBinaryForm* form)
{
    const TBinaryStatus status = form != nullptr ? form->Status() : TBinaryStatus{};
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelCaret, status.position);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelState, status.state);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelMode, status.mode);
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelSyntax, {});
    m_mainForm.SetStatusText(TQuilletMainForm::kPanelCodePage, {});
}

void TBinaryDocuments::Apply(TBinaryForm& form)
{
    TSettingsStore& store = m_documents.EditorSettingsStore();
    const TMemoViewSettings editor = NactiMemoProperty(store);
    TBinaryViewSettings view;
    view.fontName = editor.fontName;
    view.fontSize = editor.fontSize;
    view.createBackup = editor.createBackup;
    view.useSyntaxHighlight = editor.useSyntaxHighlight;
    view.findTextAtCursor = editor.findTextAtCursor;
    if (m_styles != nullptr) {
        const TTextStyle& plain = (*m_styles)[kTextStylePlainText];
        view.plainText = plain.Font.color;
        view.plainBackground = plain.Color;
    }
    form.ApplySettings(ReadHexSettings(store), view);
}

void TBinaryDocuments::ApplySettings()
{
    for (TBinaryForm* form : Forms()) {
        Apply(*form);
    }
}

TBinaryForm* TBinaryDocuments::NewForm()
{
    auto* form = new TBinaryDocumentWindow();
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->OnApplySettings = [this, form] {
        Apply(*form);
    };
    form->SetClipboard(m_clipboard);
    Apply(*form);
    form->OnSave = [this](TBinaryForm& f) {
        return Save(f);
    };
    connect(form, &TBinaryForm::StatusChanged, this, [this, form] {
        if (Active() == form) {
            ShowStatus(form);
        }
        emit m_documents.DocumentsChanged();
    });
    connect(form, &TBinaryForm::CommandStatesChanged, &m_documents, &TDocumentManager::DocumentsChanged);
    return form;
}

void TBinaryDocuments::Add(TBinaryForm* form)
{
    m_mainForm.AddMdiChild(form);
    form->Editor().setFocus();
    ShowStatus(form);
    emit m_documents.DocumentsChanged();
}

bool TBinaryDocuments::Open(const fs::path& file, bool readOnly)
{
    TBinaryForm* form = NewForm();
    if (!form->LoadFile(file, readOnly)) {
        const std::string reason = form->LastError();
        delete form;
        ShowMessage(&m_mainForm,
            QMessageBox::Critical,
            Format("CouldNotOpen", "Could not open file \"%s\".", file.string()) + QLatin1String("\n")
                + FromUtf8(reason));
        return false;
    }
    Add(form);
    emit m_documents.FileUsed(file.string(), 0, 1);
    return true;
}

TBinaryForm* TBinaryDocuments::New()
{
    TBinaryForm* form = NewForm();
    form->NewDocument(FromFileName(UntitledName(LangStr("Noname", "Untitled"), m_documents.TakeUntitledNumber())));
    Add(form);
    return form;
}

TBinaryForm* TBinaryDocuments::ViewAsBinary(TChildForm& text)
{
    TBinaryForm* form = NewForm();
    form->SetFromText(text.FileName(), TextBytes(text), text.MemoSource().Modified(), text.MemoSource().ReadOnly());
    Add(form);
    return form;
}

bool TBinaryDocuments::WriteTo(TBinaryForm& form, const fs::path& file)
{
    if (IsReadOnlyFile(file)) {
        ShowMessage(&m_mainForm,
            QMessageBox::Critical,
            Format("ReadOnlyFile", "\"%s\" is Read only file or it is locked.", file.string()));
        return false;
    }
    if (!form.SaveTo(file)) {
        ShowMessage(&m_mainForm,
            QMessageBox::Critical,
            FromUtf8(
                LangFormat("CannotCreateFile", "Cannot create file \"%s\". %s", {file.string(), form.LastError()})));
        return false;
    }
    emit m_documents.DocumentsChanged();
    return true;
}

bool TBinaryDocuments::Save(TBinaryForm& form)
{
    if (form.FileName().empty()) {
        return SaveAs(form);
    }
    if (!form.IsModified()) {
        return true;
    }
    const fs::path file = form.FileName();
    if (!WriteTo(form, file)) {
        return false;
    }
    return true;
}

bool TBinaryDocuments::SaveAs(TBinaryForm& form)
{
    const QString startName = form.FileName().empty() ? form.UntitledCaption() : FromFileName(form.FileName().string());
    const std::string filter = m_documents.SaveFilter();
    const std::optional<TSaveChoice> choice = m_documents.OnSaveDialog
        ? m_documents.OnSaveDialog(startName, 0)
        : TOpenDialog::ExecSave(&m_mainForm, filter, startName, 0);
    if (!choice || choice->fileName.empty()) {
        return false;
    }
    std::error_code error;
    const fs::path file =
        fs::absolute(ChangeExtDialog(choice->fileName, filter, choice->filterIndex), error).lexically_normal();
    if (fs::exists(file, error) && file != form.FileName()) {
        const auto answer = ShowMessage(&m_mainForm,
            QMessageBox::Warning,
            Format("FileExists", "File \"%s\" already exists. Do you want to owerwrite it?", file.string()),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return false;
        }
    }
    if (!WriteTo(form, file)) {
        return false;
    }
    emit m_documents.FileUsed(file.string(), 0, 1);
    return true;
}

} // namespace quillet
