#pragma once

#include "text/SearchOptions.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quillet {

class TMemoSource;

// What the "Find in Files" dialog asks for, ready for the search: the text in
// the system code page, the switches, where to search, and for a directory
// search the cleaned directory (ending in "/") and the masks.
struct TFindInFilesRequest {
    std::string text;
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regularExpr = false;
    TSearchWhere where = swOpenFiles;
    std::string directory;
    std::string masks;
    bool includeSubdirs = false;
    bool clearResults = true;
};

// The "Find in Files" dialog, made for one use. It is preset from the shared
// search options (or, with "find text at cursor", from the active document)
// and the histories "SearchItems", "SearchDirs" and "SearchFileMasks". On OK
// it moves the entries to the top of their histories, saves them and stores
// the options with the directory and masks kept as one path.
class TFindInFilesForm : public QDialog {
    Q_OBJECT
public:
    // `fileTypeFilter` is the main window's "description|masks|..." list,
    // whose mask groups the masks box offers. `storedWhere`: false before the
    // first search of the run, when "Search all open files" is chosen.
    TFindInFilesForm(TMemoSource* activeSource,
        TSearchOptions& options,
        bool projectOpen,
        bool storedWhere,
        const std::string& fileTypeFilter,
        QWidget* parent = nullptr);
    ~TFindInFilesForm() override;

    TFindInFilesRequest Request() const;

    QComboBox* TextToFindCombo() const { return m_text; }
    QCheckBox* CaseSensitiveCheck() const { return m_caseSensitive; }
    QCheckBox* WholeWordsCheck() const { return m_wholeWords; }
    QCheckBox* RegularExprCheck() const { return m_regularExpr; }
    QRadioButton* DirectoriesRadio() const { return m_directories; }
    QRadioButton* OpenFilesRadio() const { return m_openFiles; }
    QRadioButton* ProjectRadio() const { return m_project; }
    QComboBox* DirectoryCombo() const { return m_directory; }
    QToolButton* SelectDirectoryButton() const { return m_selectDirectory; }
    QComboBox* FileMasksCombo() const { return m_masks; }
    QCheckBox* IncludeSubdirsCheck() const { return m_includeSubdirs; }
    QCheckBox* ClearResultCheck() const { return m_clearResults; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The folder chooser behind "..."; unset, the platform's dialog. Returns
    // an empty string when cancelled.
    std::function<QString(const QString& start)> OnChooseDirectory;

    // Directory text as searched: double quotes removed, "/" appended, "//" made "/".
    static QString CleanDirectoryText(QString text);
    // Masks text as searched: double quotes removed.
    static QString CleanMasksText(QString text);
    // The mask groups of a "description|masks|..." filter, in order, each once.
    static QStringList FilterMaskGroups(const std::string& filter);

    void accept() override;

private:
    void Build();
    void LoadState(TMemoSource* activeSource, bool projectOpen, bool storedWhere, const std::string& fileTypeFilter);
    void UpdateControls();
    void ChooseDirectory();

    TSearchOptions& m_options;
    QStringList m_textHistory;
    QStringList m_dirHistory;
    QStringList m_maskHistory;

    QComboBox* m_text = nullptr;
    QCheckBox* m_caseSensitive = nullptr;
    QCheckBox* m_wholeWords = nullptr;
    QCheckBox* m_regularExpr = nullptr;
    QRadioButton* m_directories = nullptr;
    QRadioButton* m_openFiles = nullptr;
    QRadioButton* m_project = nullptr;
    QComboBox* m_directory = nullptr;
    QToolButton* m_selectDirectory = nullptr;
    QComboBox* m_masks = nullptr;
    QCheckBox* m_includeSubdirs = nullptr;
    QCheckBox* m_clearResults = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace quillet
