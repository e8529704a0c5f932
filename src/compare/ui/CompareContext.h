#pragma once

#include "text/MemoOptions.h"
#include "text/ui/SyntaxAttach.h"

#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace quillet {

class TChildForm;

// A file chosen for a side of the comparison and the code page to read it in.
struct TCompareFile {
    std::filesystem::path file;
    int codePageIndex = 0;
};

// What the compare window needs of the main window. The main window fills it
// when "Differences..." runs; every function may be unset in tests.
struct TCompareContext {
    QWidget* mainWindow = nullptr;
    // The open text documents in window order, and the active one (nullptr
    // when the active document window is not a text document).
    std::function<std::vector<TChildForm*>()> Documents;
    std::function<TChildForm*()> ActiveDocument;
    // Filter of the file chooser: "All files" followed by the main window's
    // file-type filters ("description|mask|..."). Empty: all files.
    std::string fileFilter;
    // Opens the file chooser with the filter and a code-page choice; nullopt
    // when cancelled. Unset: a plain file dialog (system code page).
    std::function<std::optional<TCompareFile>(QWidget* parent, const std::string& filter)> ChooseFile;
    // Creates a new empty text document as "New" does, in the code page given.
    std::function<TChildForm*(int codePageIndex)> NewDocument;
    TSyntaxContext syntax;
    TMemoViewSettings viewSettings;
};

// One side of a comparison as the options dialog chose it: an open document
// or a file.
struct TCompareChoice {
    QPointer<TChildForm> document;
    std::optional<TCompareFile> file;
};

} // namespace quillet
