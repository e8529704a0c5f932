#include "app/ui/ProjectTreePanel.h"

#include "app/Project.h"
#include "app/ui/ShellUi.h"
#include "core/DocumentFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quillet {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QIcon ProjectIcon(const QWidget* widget)
{
    return QIcon::fromTheme(QStringLiteral("folder-documents"), widget->style()->standardIcon(QStyle::SP_DirIcon));
}

// "description|mask;mask|description|mask" as (description, masks) pairs.
std::vector<std::pair<QString, QString>> FilterPairs(const std::string& filter)
{
    const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
    std::vector<std::pair<QString, QString>> pairs;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        pairs.emplace_back(parts[i], parts[i + 1]);
    }
    return pairs;
}

} // namespace

TProjectTreePanel::TProjectTreePanel(QWidget* parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("ProjectTreePanel"));
    setWindowTitle(Tr("ProjectTreePanel", "Project and Files Tree"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("ProjectPages"));
    m_tree = new QTreeWidget(m_pages);
    m_tree->setObjectName(QStringLiteral("ProjectTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setExpandsOnDoubleClick(false);
    // Members are full paths: in a narrow panel the file name at the end matters most.
    m_tree->setTextElideMode(Qt::ElideMiddle);
    m_pages->addTab(m_tree, Tr("ProjectPage", "Project"));
    m_filesPage = new QWidget(m_pages);
    m_filesPage->setObjectName(QStringLiteral("FilesPage"));
    m_pages->addTab(m_filesPage, Tr("FilesPage", "Files"));
    setWidget(m_pages);
    // A narrow panel by default; the user may widen it.
    m_pages->setMinimumWidth(140);
    resize(140, height());

    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const QString path = item != nullptr ? item->data(0, kPathRole).toString() : QString();
        if (!path.isEmpty()) {
            emit ProjectFileActivated(path);
        }
    });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TProjectTreePanel::SelectionChanged);
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = m_tree->itemAt(at)) {
            m_tree->setCurrentItem(item);
        }
        emit SelectionChanged();
        if (m_projectPopup != nullptr) {
            m_projectPopup->exec(m_tree->viewport()->mapToGlobal(at));
        }
    });
}

void TProjectTreePanel::BuildProjectTree(const TProject* project)
{
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    if (project != nullptr) {
        auto* root = new QTreeWidgetItem(m_tree, QStringList(FromFileName(project->RootText())));
        root->setIcon(0, ProjectIcon(this));
        QFileIconProvider icons;
        std::vector<QString> names;
        for (int i = 1; i <= project->Count(); ++i) {
            const std::string name = project->Name(i);
            if (!name.empty() && !IsProject(name)) {
                names.push_back(FromFileName(name));
            }
        }
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.toUpper() < b.toUpper();
        });
        for (const QString& name : names) {
            auto* node = new QTreeWidgetItem(root, QStringList(name));
            node->setData(0, kPathRole, name);
            node->setToolTip(0, name);
            const QFileInfo info(name);
            node->setIcon(0, info.exists() ? icons.icon(info) : icons.icon(QFileIconProvider::File));
        }
        root->setExpanded(true);
    }
    m_tree->setUpdatesEnabled(true);
    emit SelectionChanged();
}

QString TProjectTreePanel::SelectedFile() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item != nullptr && item->isSelected() ? item->data(0, kPathRole).toString() : QString();
}

// ---- the Files page ----------------------------------------------------------------------

void TProjectTreePanel::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    EnsureFilesPage();
}

void TProjectTreePanel::SetFileTypeFilter(const std::string& filter)
{
    m_filterText = filter;
    if (m_filter == nullptr) {
        return;
    }
    m_filter->clear();
    for (const auto& [description, masks] : FilterPairs(filter)) {
        m_filter->addItem(description, masks);
    }
}

void TProjectTreePanel::EnsureFilesPage()
{
    if (m_folders != nullptr) {
        return;
    }
    auto* layout = new QVBoxLayout(m_filesPage);
    layout->setContentsMargins(2, 2, 2, 2);
    m_filter = new QComboBox(m_filesPage);
    m_filter->setObjectName(QStringLiteral("FileTypeFilter"));
    m_filter->setEditable(true);
    m_filter->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(m_filter);
    auto* splitter = new QSplitter(Qt::Vertical, m_filesPage);
    layout->addWidget(splitter, 1);

    m_folderModel = new QFileSystemModel(this);
    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    m_folderModel->setReadOnly(true);
    m_folderModel->setRootPath(QDir::rootPath());
    m_folders = new QTreeView(splitter);
    m_folders->setObjectName(QStringLiteral("FolderTree"));
    m_folders->setModel(m_folderModel);
    m_folders->setHeaderHidden(true);
    for (int column = 1; column < m_folderModel->columnCount(); ++column) {
        m_folders->hideColumn(column);
    }
    m_folders->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folders->setTextElideMode(Qt::ElideMiddle);
    // Folders load in the background: bring the chosen one into view once its
    // parents are there.
    connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_folders->currentIndex().isValid()) {
            m_folders->scrollTo(m_folders->currentIndex(), QAbstractItemView::PositionAtCenter);
        }
    });

    m_fileModel = new QFileSystemModel(this);
    m_fileModel->setFilter(QDir::Files | QDir::Hidden | QDir::System);
    m_fileModel->setReadOnly(true);
    m_fileModel->setNameFilterDisables(false);
    m_files = new QTreeView(splitter);
    m_files->setObjectName(QStringLiteral("FileList"));
    m_files->setModel(m_fileModel);
    m_files->setRootIsDecorated(false);
    m_files->setHeaderHidden(true);
    for (int column = 1; column < m_fileModel->columnCount(); ++column) {
        m_files->hideColumn(column);
    }
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        BrowseTo(m_folderModel->filePath(index));
    });
    connect(m_files, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit BrowserFileActivated(m_fileModel->filePath(index));
        }
    });
    connect(m_files, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = m_files->indexAt(at);
        if (index.isValid()) {
            m_files->setCurrentIndex(index);
        }
        if (m_browserPopup != nullptr) {
            m_browserPopup->exec(m_files->viewport()->mapToGlobal(at));
        }
    });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this](int index) {
        ApplyFilter(index >= 0 ? m_filter->itemData(index).toString() : QString());
    });
    connect(m_filter->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        // A description chosen from the list applies its masks; other text is a mask itself.
        const int index = m_filter->findText(m_filter->currentText());
        ApplyFilter(index >= 0 ? m_filter->itemData(index).toString() : m_filter->currentText());
    });
    SetFileTypeFilter(m_filterText);
    BrowseTo(QDir::currentPath());
}

void TProjectTreePanel::BrowseTo(const QString& folder)
{
    EnsureFilesPage();
    const QModelIndex folderIndex = m_folderModel->index(folder);
    if (folderIndex.isValid() && m_folders->currentIndex() != folderIndex) {
        m_folders->setCurrentIndex(folderIndex);
        m_folders->scrollTo(folderIndex);
    }
    m_files->setRootIndex(m_fileModel->setRootPath(folder));
}

void TProjectTreePanel::ApplyFilter(const QString& text)
{
    if (m_fileModel == nullptr) {
        return;
    }
    QStringList masks = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& mask : masks) {
        mask = mask.trimmed();
    }
    // "*.*" stands for every file, names without a dot included.
    if (masks.contains(QStringLiteral("*.*")) || masks.contains(QStringLiteral("*"))) {
        masks.clear();
    }
    m_fileModel->setNameFilters(masks);
}

QString TProjectTreePanel::SelectedBrowserFile() const
{
    if (m_files == nullptr || !m_files->selectionModel()->hasSelection()) {
        return {};
    }
    return m_fileModel->filePath(m_files->currentIndex());
}

} // namespace quillet
