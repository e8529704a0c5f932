#include "tools/ui/FindInFilesForm.h"

#include "text/MemoSource.h"
#include "text/ui/FindForm.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/SearchHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

template <typename TWidget> TWidget* Make(QWidget* parent, const char* objectName, const char* english)
{
    auto* widget = new TWidget(DialogText(objectName, english), parent);
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}

// The buttons one below the other in their group, the room left below them.
void StackButtons(QGroupBox* group, std::initializer_list<QAbstractButton*> buttons)
{
    auto* layout = new QVBoxLayout(group);
    for (QAbstractButton* button : buttons) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
}

// Enabled boxes take the window colour, disabled ones the button face.
void SetBoxEnabled(QComboBox* box, bool enabled)
{
    box->setEnabled(enabled);
    QPalette palette = box->palette();
    const QColor base = box->style()->standardPalette().color(enabled ? QPalette::Base : QPalette::Button);
    palette.setColor(QPalette::Disabled, QPalette::Base, base);
    palette.setColor(QPalette::Disabled, QPalette::Button, base);
    box->setPalette(palette);
}

} // namespace

TFindInFilesForm::TFindInFilesForm(TMemoSource* activeSource,
    TSearchOptions& options,
    bool projectOpen,
    bool storedWhere,
    const std::string& fileTypeFilter,
    QWidget* parent)
    : QDialog(parent)
    , m_options(options)
{
    Build();
    LoadState(activeSource, projectOpen, storedWhere, fileTypeFilter);
}

TFindInFilesForm::~TFindInFilesForm() = default;

void TFindInFilesForm::Build()
{
    setObjectName(QStringLiteral("FindInFilesForm"));
    setWindowTitle(DialogText("FindInFilesForm", "Find in Files"));

    auto* textLabel = Make<QLabel>(this, "TextToFindLabel", "&Text to find:");
    m_text = MakeHistoryCombo(this, "TextToFindCombo");
    textLabel->setBuddy(m_text);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLabel);
    textRow->addWidget(m_text, 1);

    auto* optionsGroup = Make<QGroupBox>(this, "OptionsGroup", "Options");
    m_caseSensitive = Make<QCheckBox>(optionsGroup, "CaseSensitiveCheck", "&Case sensitive");
    m_wholeWords = Make<QCheckBox>(optionsGroup, "WholeWordsCheck", "&Whole words only");
    m_regularExpr = Make<QCheckBox>(optionsGroup, "RegularExprCheck", "Regular e&xpressions");
    StackButtons(optionsGroup, {m_caseSensitive, m_wholeWords, m_regularExpr});

    auto* whereGroup = Make<QGroupBox>(this, "WhereGroup", "Where");
    m_directories = Make<QRadioButton>(whereGroup, "DirectoriesRadio", "Search in &directories");
    m_openFiles = Make<QRadioButton>(whereGroup, "OpenFilesRadio", "Search all &open files");
    m_project = Make<QRadioButton>(whereGroup, "ProjectRadio", "Search all files in &project");
    StackButtons(whereGroup, {m_directories, m_openFiles, m_project});

    auto* dirGroup = Make<QGroupBox>(this, "DirectoryGroup", "Directory search");
    auto* dirLabel = Make<QLabel>(dirGroup, "DirectoryLabel", "D&irectory:");
    m_directory = MakeHistoryCombo(dirGroup, "DirectoryCombo");
    dirLabel->setBuddy(m_directory);
    m_selectDirectory = new QToolButton(dirGroup);
    m_selectDirectory->setObjectName(QStringLiteral("SelDirectory"));
    m_selectDirectory->setText(QStringLiteral("..."));
    const QString hint = DialogText("SelDirectory", "Select directory");
    m_selectDirectory->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    m_selectDirectory->setStatusTip(hint.section(QLatin1Char('|'), -1));
    auto* masksLabel = Make<QLabel>(dirGroup, "FileMasksLabel", "File &masks:");
    m_masks = MakeHistoryCombo(dirGroup, "FileMasksCombo");
    masksLabel->setBuddy(m_masks);
    m_includeSubdirs = Make<QCheckBox>(dirGroup, "IncludeSubdirsCheck", "Include &subdirectories");
    m_clearResults = Make<QCheckBox>(dirGroup, "ClearResultCheck", "C&lear result window before execution");
    auto* dirLayout = new QGridLayout(dirGroup);
    dirLayout->addWidget(dirLabel, 0, 0);
    dirLayout->addWidget(m_directory, 0, 1);
    dirLayout->addWidget(m_selectDirectory, 0, 2);
    dirLayout->addWidget(masksLabel, 1, 0);
    dirLayout->addWidget(m_masks, 1, 1, 1, 2);
    dirLayout->addWidget(m_includeSubdirs, 2, 1, 1, 2);
    dirLayout->addWidget(m_clearResults, 3, 1, 1, 2);
    dirLayout->setColumnStretch(1, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(optionsGroup, 1);
    groups->addWidget(whereGroup, 1);

    m_ok = Make<QPushButton>(this, "OKButton", "OK");
    m_cancel = Make<QPushButton>(this, "CancelButton", "Cancel");
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* content = new QVBoxLayout;
    content->addLayout(textRow);
    content->addLayout(groups);
    content->addWidget(dirGroup);
    auto* top = new QHBoxLayout(this);
    top->addLayout(content, 1);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    for (QComboBox* box : {m_text, m_directory, m_masks}) {
        connect(box, &QComboBox::editTextChanged, this, &TFindInFilesForm::UpdateControls);
    }
    for (QRadioButton* radio : {m_directories, m_openFiles, m_project}) {
        connect(radio, &QRadioButton::toggled, this, &TFindInFilesForm::UpdateControls);
    }
    connect(m_selectDirectory, &QToolButton::clicked, this, &TFindInFilesForm::ChooseDirectory);
}

void TFindInFilesForm::LoadState(
    TMemoSource* activeSource, bool projectOpen, bool storedWhere, const std::string& fileTypeFilter)
{
    m_textHistory = LoadSearchHistory(kSearchItemsKey);
    m_dirHistory = LoadSearchHistory(kSearchDirsKey);
    m_maskHistory = LoadSearchHistory(kSearchFileMasksKey);
    FillHistoryCombo(m_text, m_textHistory);
    FillHistoryCombo(m_directory, m_dirHistory);
    QStringList maskItems = m_maskHistory;
    for (const QString& group : FilterMaskGroups(fileTypeFilter)) {
        if (!maskItems.contains(group)) {
            maskItems.append(group);
        }
    }
    FillHistoryCombo(m_masks, maskItems);

    QString text;
    if (activeSource != nullptr && activeSource->HasOption(soFindTextAtCursor)) {
        if (activeSource->HasSelection()) {
            const std::vector<std::string> lines = activeSource->GetSelectionStrings();
            if (!lines.empty()) {
                text = FromSystemText(lines.front());
            }
        } else {
            text = FromSystemText(activeSource->GetTextAtCursor());
        }
    }
    if (text.isEmpty() && !m_textHistory.isEmpty()) {
        m_text->setCurrentIndex(0);
    } else {
        m_text->setEditText(text);
    }
    m_text->lineEdit()->selectAll();

    m_caseSensitive->setChecked(m_options.CaseSensitive);
    m_wholeWords->setChecked(m_options.WholeWordsOnly);
    m_regularExpr->setChecked(m_options.RegularExpr);
    m_includeSubdirs->setChecked(m_options.IncludeSubDirs);
    m_clearResults->setChecked(true);

    // The stored path is the directory and the masks in one.
    const QString path = QString::fromStdString(m_options.FileMask);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    m_directory->setEditText(slash < 0 ? QString() : path.left(slash + 1));
    m_masks->setEditText(slash < 0 ? path : path.mid(slash + 1));

    m_project->setEnabled(projectOpen);
    TSearchWhere where = storedWhere ? m_options.Where : swOpenFiles;
    if (where == swProjectFiles && !projectOpen) {
        where = swOpenFiles;
    }
    (where == swDirectories ? m_directories : where == swProjectFiles ? m_project : m_openFiles)->setChecked(true);
    UpdateControls();
    m_text->setFocus();
}

void TFindInFilesForm::UpdateControls()
{
    const bool inDirectories = m_directories->isChecked();
    SetBoxEnabled(m_directory, inDirectories);
    SetBoxEnabled(m_masks, inDirectories);
    m_selectDirectory->setEnabled(inDirectories);
    m_includeSubdirs->setEnabled(inDirectories);
    m_clearResults->setEnabled(inDirectories);
    bool ok = !m_text->currentText().isEmpty();
    if (inDirectories) {
        ok = ok && !m_directory->currentText().isEmpty() && !m_masks->currentText().isEmpty();
    }
    m_ok->setEnabled(ok);
}

void TFindInFilesForm::ChooseDirectory()
{
    const QString start = m_directory->currentText();
    const QString chosen = OnChooseDirectory
        ? OnChooseDirectory(start)
        : QFileDialog::getExistingDirectory(this, DialogText("SelDirectory", "Select directory"), start);
    if (!chosen.isEmpty()) {
        m_directory->setEditText(chosen);
    }
}

QString TFindInFilesForm::CleanDirectoryText(QString text)
{
    text.remove(QLatin1Char('"'));
    text.append(QLatin1Char('/'));
    while (text.contains(QLatin1String("//"))) {
        text.replace(QLatin1String("//"), QLatin1String("/"));
    }
    return text;
}

QString TFindInFilesForm::CleanMasksText(QString text)
{
    return text.remove(QLatin1Char('"'));
}

QStringList TFindInFilesForm::FilterMaskGroups(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList groups;
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        const QString group = parts[i].trimmed();
        if (!group.isEmpty() && !groups.contains(group)) {
            groups.append(group);
        }
    }
    return groups;
}

TFindInFilesRequest TFindInFilesForm::Request() const
{
    TFindInFilesRequest request;
    request.text = ToSystemText(m_text->currentText());
    request.caseSensitive = m_caseSensitive->isChecked();
    request.wholeWords = m_wholeWords->isChecked();
    request.regularExpr = m_regularExpr->isChecked();
    request.where = m_directories->isChecked()             ? swDirectories
        : m_project->isChecked() && m_project->isEnabled() ? swProjectFiles
                                                           : swOpenFiles;
    request.directory = CleanDirectoryText(m_directory->currentText()).toStdString();
    request.masks = CleanMasksText(m_masks->currentText()).toStdString();
    request.includeSubdirs = m_includeSubdirs->isChecked();
    request.clearResults = m_clearResults->isChecked();
    return request;
}

void TFindInFilesForm::accept()
{
    if (!m_ok->isEnabled()) {
        return;
    }
    const TFindInFilesRequest request = Request();
    AddToSearchHistory(m_textHistory, m_text->currentText());
    SaveSearchHistory(kSearchItemsKey, m_textHistory);
    AddToSearchHistory(m_dirHistory, m_directory->currentText());
    AddToSearchHistory(m_maskHistory, m_masks->currentText());
    SaveSearchHistory(kSearchDirsKey, m_dirHistory);
    SaveSearchHistory(kSearchFileMasksKey, m_maskHistory);

    m_options.CaseSensitive = request.caseSensitive;
    m_options.WholeWordsOnly = request.wholeWords;
    m_options.RegularExpr = request.regularExpr;
    m_options.TextToFind = request.text;
    m_options.Where = request.where;
    m_options.FileMask = request.directory + request.masks;
    m_options.IncludeSubDirs = request.includeSubdirs;
    QDialog::accept();
}

} // namespace quillet
