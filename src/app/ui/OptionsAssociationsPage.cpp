#include "app/ui/OptionsAssociationsPage.h"

#include "app/MimeAppsAssociations.h"
#include "app/ui/ShellUi.h"
#include "core/Translations.h"
#include "syntax/SchemeCatalog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QProgressDialog>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>

namespace quillet {

namespace {

enum TColumn { kExtension = 0, kType = 1, kMime = 2 };

// Program files and the like are never offered.
const QSet<QString>& SkippedExtensions()
{
    static const QSet<QString> skipped{QStringLiteral("386"),
        QStringLiteral("BAT"),
        QStringLiteral("BFC"),
        QStringLiteral("BIN"),
        QStringLiteral("CAB"),
        QStringLiteral("CMD"),
        QStringLiteral("COM"),
        QStringLiteral("DLL"),
        QStringLiteral("DRV"),
        QStringLiteral("EXE"),
        QStringLiteral("LNK"),
        QStringLiteral("OCX"),
        QStringLiteral("SYS")};
    return skipped;
}

// The "*.ext" items of the definitions' masks, lower case, each once.
QStringList ExtensionsOfCatalog(const TSchemeCatalog* catalog)
{
    QStringList extensions;
    if (catalog == nullptr) {
        return extensions;
    }
    for (const TSchemeEntry& entry : catalog->Entries()) {
        for (QString mask : FromUtf8(entry.Masks).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            mask = mask.trimmed().toLower();
            const QString extension = mask.mid(2);
            if (mask.startsWith(QLatin1String("*.")) && !extension.isEmpty() && !extension.contains(QLatin1Char('*'))
                && !extension.contains(QLatin1Char('?')) && !extensions.contains(extension)) {
                extensions << extension;
            }
        }
    }
    return extensions;
}

} // namespace

QString TOptionsAssociationsPage::MimeTypeOf(const QString& extension)
{
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + extension, QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name() : QString();
}

TOptionsAssociationsPage::TOptionsAssociationsPage(const TOptionsContext& context, QWidget* parent)
    : TOptionsPageWidget(parent)
    , m_associations(context.associations)
    , m_readOnly(context.associations == nullptr || context.desktopEntry.empty())
{
    auto* layout = new QVBoxLayout(this);
    if (m_readOnly) {
        auto* why = new QLabel(Tr("AssocNoDesktopEntry",
                                   "The program's desktop entry (norvane-quillet.desktop) is not installed, so file "
                                   "types cannot be associated with it. Install the program to change associations."),
            this);
        why->setObjectName(QStringLiteral("AssocReadOnly"));
        why->setWordWrap(true);
        layout->addWidget(why);
    }
    m_rows = new QTreeWidget(this);
    m_rows->setObjectName(QStringLiteral("AssocRows"));
    m_rows->setRootIsDecorated(false);
    m_rows->setHeaderLabels({Tr("AssocExtension", "Extension"), Tr("AssocType", "Type"), Tr("AssocMime", "MIME type")});
    m_rows->header()->setSectionResizeMode(kExtension, QHeaderView::ResizeToContents);
    // Every column as wide as its texts (the last one fills what is left);
    // when they do not fit, the list scrolls sideways rather than cut them.
    m_rows->header()->setSectionResizeMode(kType, QHeaderView::ResizeToContents);
    m_rows->header()->setSectionResizeMode(kMime, QHeaderView::ResizeToContents);
    m_rows->header()->setStretchLastSection(true);
    m_rows->setSortingEnabled(false);
    layout->addWidget(m_rows, 1);

    auto* form = new QFormLayout;
    m_other = new QLineEdit(this);
    m_other->setObjectName(QStringLiteral("AssocOther"));
    m_other->setEnabled(!m_readOnly);
    auto* otherLabel = new QLabel(QStringLiteral("Other (e.g *.ext1;*.ext2)"), this);
    otherLabel->setObjectName(QStringLiteral("AssocOtherLabel"));
    otherLabel->setBuddy(m_other);
    form->addRow(otherLabel, m_other);
    layout->addLayout(form);
    // The desktop has no entry for every file's context menu: the box is
    // kept for its translation but never shown.
    auto* contextMenu = new QCheckBox(QStringLiteral("Add Quillet to context menu for all files"), this);
    contextMenu->setObjectName(QStringLiteral("AssocContextMenu"));
    contextMenu->hide();

    // Fill the rows: the definitions' extensions and the recorded ones.
    std::map<QString, QString> rows; // extension -> MIME type, sorted
    const QStringList extensions = ExtensionsOfCatalog(context.catalog);
    QProgressDialog progress(Tr("ReadingFileTypes", "Reading file types. Please wait..."),
        QString(),
        0,
        static_cast<int>(extensions.size()),
        this);
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::WindowModal);
    for (int i = 0; i < extensions.size(); ++i) {
        progress.setValue(i);
        if (!SkippedExtensions().contains(extensions[i].toUpper())) {
            if (const QString mime = MimeTypeOf(extensions[i]); !mime.isEmpty()) {
                rows[extensions[i]] = mime;
            }
        }
    }
    if (m_associations != nullptr) {
        for (const auto& [extension, mime] : m_associations->RecordedExtensions()) {
            rows[FromUtf8(extension)] = FromUtf8(mime);
        }
    }
    m_rows->setUpdatesEnabled(false);
    for (const auto& [extension, mime] : rows) {
        AddRow(extension, mime);
    }
    m_rows->setUpdatesEnabled(true);
    RefreshChecks();
    connect(m_rows, &QTreeWidget::itemChanged, this, &TOptionsAssociationsPage::RowChanged);
}

void TOptionsAssociationsPage::AddRow(const QString& extension, const QString& mimeType)
{
    auto* item = new QTreeWidgetItem(m_rows);
    item->setText(kExtension, extension.toUpper());
    item->setData(kExtension, Qt::UserRole, extension);
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    item->setText(kType, type.isValid() ? type.comment() : mimeType);
    item->setText(kMime, mimeType);
    const QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    item->setIcon(kExtension, icon.isNull() ? QApplication::style()->standardIcon(QStyle::SP_FileIcon) : icon);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_readOnly) {
        flags |= Qt::ItemIsUserCheckable;
    }
    item->setFlags(flags);
    item->setCheckState(kExtension, Qt::Unchecked);
}

QTreeWidgetItem* TOptionsAssociationsPage::Row(const QString& extension) const
{
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        if (m_rows->topLevelItem(i)->data(kExtension, Qt::UserRole).toString() == extension) {
            return m_rows->topLevelItem(i);
        }
    }
    return nullptr;
}

void TOptionsAssociationsPage::RefreshChecks()
{
    m_syncing = true;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_rows->topLevelItem(i);
        const bool ours = m_associations != nullptr && m_associations->IsOurs(ToUtf8(item->text(kMime)));
        item->setCheckState(kExtension, ours ? Qt::Checked : Qt::Unchecked);
    }
    m_syncing = false;
}

void TOptionsAssociationsPage::RowChanged(QTreeWidgetItem* changed)
{
    if (m_syncing) {
        return;
    }
    // One MIME type has one default: its rows go together.
    m_syncing = true;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_rows->topLevelItem(i);
        if (item != changed && item->text(kMime) == changed->text(kMime)) {
            item->setCheckState(kExtension, changed->checkState(kExtension));
        }
    }
    m_syncing = false;
}

std::optional<QString> TOptionsAssociationsPage::CheckBeforeStore()
{
    const auto extensions = ParseAssociationMasks(ToUtf8(m_other->text()));
    for (const std::string& extension : extensions.value_or(std::vector<std::string>{})) {
        if (MimeTypeOf(FromUtf8(extension)).isEmpty()) {
            m_other->setFocus();
            return FromUtf8(LangFormat("AssocNoMimeType",
                "The desktop knows no file type for \"*.%s\", so it cannot be associated.",
                {extension}));
        }
    }
    return std::nullopt;
}

bool TOptionsAssociationsPage::Store(TSettingsStore&, QString& error)
{
    if (m_readOnly) {
        return true;
    }
    std::string reason;
    bool ok = true;
    const auto note = [&](bool done) {
        if (!done && ok) {
            error = Tr("AssocWriteFailed", "The file associations could not be changed:") + QStringLiteral("\n")
                + FromUtf8(reason);
        }
        ok = ok && done;
    };
    // Released first, then associated, then the typed extensions.
    QSet<QString> released;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_rows->topLevelItem(i);
        const std::string mime = ToUtf8(item->text(kMime));
        if (item->checkState(kExtension) == Qt::Unchecked && !released.contains(item->text(kMime))
            && m_associations->IsOurs(mime)) {
            released.insert(item->text(kMime));
            note(m_associations->Release(mime, reason));
        }
    }
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_rows->topLevelItem(i);
        if (item->checkState(kExtension) == Qt::Checked) {
            note(m_associations->Associate(
                ToUtf8(item->data(kExtension, Qt::UserRole).toString()), ToUtf8(item->text(kMime)), reason));
        }
    }
    for (const std::string& extension :
        ParseAssociationMasks(ToUtf8(m_other->text())).value_or(std::vector<std::string>{})) {
        const QString mime = MimeTypeOf(FromUtf8(extension));
        note(m_associations->Associate(extension, ToUtf8(mime), reason));
        if (Row(FromUtf8(extension)) == nullptr) {
            AddRow(FromUtf8(extension), mime);
        }
    }
    m_other->clear();
    RefreshChecks();
    return ok;
}

void TOptionsAssociationsPage::FillInput(TOptionsInput& input) const
{
    input.otherMasks = ToUtf8(m_other->text());
}

QLineEdit* TOptionsAssociationsPage::Field(TOptionsField field) const
{
    return field == TOptionsField::OtherMasks ? m_other : nullptr;
}

} // namespace quillet
