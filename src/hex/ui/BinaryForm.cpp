#include "hex/ui/BinaryForm.h"

#include "core/AppTitle.h"
#include "core/DocumentFile.h"
#include "core/Translations.h"
#include "hex/HexDocument.h"
#include "hex/ui/HexEditor.h"
#include "text/ui/BusyCursor.h"
#include "text/ui/MemoStyles.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>

namespace quillet {

namespace fs = std::filesystem;

namespace {

QString Lang(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

} // namespace

TBinaryForm::TBinaryForm(QWidget* parent)
    : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("BinaryForm"));
    m_editor = new THexEditor(this);
    m_editor->setObjectName(QStringLiteral("HexEditor"));
    setWidget(m_editor);
    setFocusProxy(m_editor);
    connect(m_editor, &THexEditor::StateChanged, this, [this] {
        UpdateCaption();
        UpdateStatus();
        emit CommandStatesChanged();
    });
    connect(m_editor, &THexEditor::MarkerColumnClicked, this, [this](qint64 row) {
        Document().ToggleMarker(row);
        emit CommandStatesChanged();
    });
    connect(m_editor, &THexEditor::WriteFailed, this, [this](const QString& reason) {
        QMessageBox::critical(
            this, QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())), reason);
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        CheckFileChanged();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        CheckFileChanged();
    });
    ApplySettings(m_hexSettings, m_viewSettings);
    UpdateCaption();
    UpdateStatus();
}

TBinaryForm::~TBinaryForm() = default;

THexDocument& TBinaryForm::Document()
{
    return m_editor->Document();
}

const THexDocument& TBinaryForm::Document() const
{
    return m_editor->Document();
}

bool TBinaryForm::IsModified() const
{
    return Document().Modified();
}

// ---- document ------------------------------------------------------------------------

bool TBinaryForm::LoadFile(const fs::path& file, bool readOnly)
{
    {
        TBusyCursor busy;
        if (!Document().LoadFromFile(file)) {
            m_lastError = Document().LastError();
            return false;
        }
    }
    if (readOnly || IsReadOnlyFile(file)) {
        Document().SetReadOnlyFile(true);
    }
    Document().SetReadOnlyView(Document().ReadOnlyFile());
    Document().SetBackupExtension(BackupExtension(file));
    m_fileName = file;
    Watch();
    UpdateCaption();
    UpdateStatus();
    return true;
}

void TBinaryForm::NewDocument(const QString& caption)
{
    m_untitled = caption;
    m_fileName.clear();
    Document().CreateEmptyFile({});
    UpdateCaption();
    UpdateStatus();
}

void TBinaryForm::SetFromText(const fs::path& file, const std::string& bytes, bool modified, bool readOnly)
{
    Document().CreateEmptyFile(file);
    Document().SetAsText(bytes);
    Document().SetModified(modified);
    Document().SetReadOnlyView(readOnly);
    Document().SetBackupExtension(BackupExtension(file));
    Document().SetSelStart(0);
    m_fileName = file;
    Watch();
    UpdateCaption();
    UpdateStatus();
}

bool TBinaryForm::SaveTo(const fs::path& file)
{
    bool saved = false;
    {
        TBusyCursor busy;
        saved = Document().SaveToFile(file);
    }
    if (!saved) {
        m_lastError = Document().LastError();
        return false;
    }
    m_fileName = file;
    Document().SetBackupExtension(BackupExtension(file));
    Watch();
    UpdateCaption();
    UpdateStatus();
    emit CommandStatesChanged();
    return true;
}

void TBinaryForm::Watch()
{
    m_watcher.removePaths(m_watcher.files() + m_watcher.directories());
    if (m_fileName.empty()) {
        return;
    }
    const QString path = QString::fromStdString(m_fileName.string());
    const QFileInfo info(path);
    if (info.exists()) {
        m_watcher.addPath(path);
    }
    if (QFileInfo(info.absolutePath()).isDir()) {
        m_watcher.addPath(info.absolutePath());
    }
    RememberFileTime();
}

void TBinaryForm::RememberFileTime()
{
    const QFileInfo info(QString::fromStdString(m_fileName.string()));
    m_fileTime = info.exists() ? info.lastModified() : QDateTime();
}

bool TBinaryForm::CheckFileChanged()
{
    if (m_asking || m_busy || m_fileName.empty()) {
        return false;
    }
    const QString path = QString::fromStdString(m_fileName.string());
    const QFileInfo info(path);
    if (!info.exists()) {
        return false;
    }
    if (!m_watcher.files().contains(path)) {
        m_watcher.addPath(path);
    }
    if (info.lastModified() == m_fileTime) {
        return false;
    }
    m_asking = true;
    const int answer =
        Ask(QString::fromStdString(LangFormat(
                "FileTimeChanged", "Another application has updated file \"%s\". Reload it?", {m_fileName.string()})),
            false);
    bool reloaded = false;
    if (answer == QMessageBox::Yes) {
        reloaded = Document().LoadFromFile(m_fileName);
        if (reloaded) {
            Document().SetReadOnlyView(Document().ReadOnlyFile());
            raise();
        } else {
            QMessageBox::critical(this,
                QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())),
                QString::fromStdString(
                    LangFormat("CouldNotOpen", "Could not open file \"%s\".", {m_fileName.string()})));
        }
    }
    RememberFileTime();
    m_asking = false;
    return reloaded;
}

// ---- settings ------------------------------------------------------------------------

void TBinaryForm::ApplySettings(const THexSettings& hex, const TBinaryViewSettings& view)
{
    m_hexSettings = hex;
    m_viewSettings = view;
    m_coloring = view.useSyntaxHighlight;
    m_findAtCursor = view.findTextAtCursor;
    THexDocument& doc = Document();
    doc.SetBytesPerLine(hex.lineSize);
    doc.SetBytesPerColumn(hex.columnWidth);
    doc.SetOffsetDisplay(hex.offsetDisplay);
    doc.SetMaskWhiteSpaces(hex.drawSpecialSymbols);
    doc.SetCreateBackup(view.createBackup);
    QFont font(QString::fromStdString(view.fontName));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, view.fontSize));
    m_editor->SetCellFont(font);
    ApplyColors();
    UpdateStatus();
}

void TBinaryForm::ApplyColors()
{
    THexColors colors = m_editor->Colors();
    const QColor plain = ToQColor(m_viewSettings.plainText);
    colors.font = plain;
    if (m_coloring) {
        colors.background = ToQColor(m_hexSettings.background);
        colors.changedBackground = ToQColor(m_hexSettings.changedBackground);
        colors.changedText = ToQColor(m_hexSettings.changedText);
        colors.cursorFrame = ToQColor(m_hexSettings.cursorFrame);
        colors.oddColumn = ToQColor(m_hexSettings.oddColumn);
        colors.evenColumn = ToQColor(m_hexSettings.evenColumn);
        colors.offset = ToQColor(m_hexSettings.offset);
    } else {
        const QColor back = ToQColor(m_viewSettings.plainBackground);
        colors.background = colors.changedBackground = back;
        colors.changedText = colors.cursorFrame = colors.oddColumn = colors.evenColumn = colors.offset = plain;
    }
    m_editor->SetColors(colors);
}

void TBinaryForm::ToggleColorSyntax()
{
    m_coloring = !m_coloring;
    ApplyColors();
}

// ---- caption and status --------------------------------------------------------------

void TBinaryForm::UpdateCaption()
{
    QString caption = m_fileName.empty() ? m_untitled : QString::fromStdString(m_fileName.string());
    if (IsModified()) {
        caption += QLatin1Char('*');
    }
    if (caption != windowTitle()) {
        setWindowTitle(caption);
    }
}

void TBinaryForm::UpdateStatus()
{
    const THexDocument& doc = Document();
    TBinaryStatus status;
    status.position = QString::fromStdString(
        FormatOffset(static_cast<std::uint64_t>(doc.GetCursorPos()), doc.GetDataSize(), doc.Grid().offsetDisplay));
    if (doc.ReadOnlyView()) {
        status.state = QLatin1Char(' ') + Lang("ReadOnly", "Read Only");
    } else if (doc.Modified()) {
        status.state = QLatin1Char(' ') + Lang("Modified", "Modified");
    }
    status.mode =
        QLatin1Char(' ') + (doc.GetIsInsertMode() ? Lang("Insert", "Insert") : Lang("Overwrite", "Overwrite"));
    if (status != m_status) {
        m_status = status;
    }
    emit StatusChanged();
}

// ---- closing -------------------------------------------------------------------------

int TBinaryForm::Ask(const QString& text, bool withCancel)
{
    return AskDocumentQuestion(this, OnQuestion, text, withCancel);
}

bool TBinaryForm::CloseQuery()
{
    if (m_busy) {
        return false; // Replace All is running over this document
    }
    if (!IsModified()) {
        return true;
    }
    const QString name = m_fileName.empty() ? m_untitled : QString::fromStdString(m_fileName.string());
    const TCloseQuestion::TAnswer answer = m_closeQuestion.Ask(this, OnQuestion, name);
    if (answer != TCloseQuestion::TAnswer::Save) {
        return answer == TCloseQuestion::TAnswer::Discard;
    }
    return Save();
}

bool TBinaryForm::Save()
{
    if (OnSave) {
        return OnSave(*this);
    }
    return !IsModified() || (!m_fileName.empty() && SaveTo(m_fileName));
}

void TBinaryForm::closeEvent(QCloseEvent* event)
{
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    m_watcher.removePaths(m_watcher.files() + m_watcher.directories());
    QMdiSubWindow::closeEvent(event);
}

void TBinaryForm::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdateStatus();
    }
}

} // namespace quillet
