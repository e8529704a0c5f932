#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace quillet {

class TDocumentManager;

// One file command for the command table: its name, what it does and when it
// is enabled (and, for a toggle, whether it is checked).
struct TFileCommand {
    std::string name;
    std::function<void()> execute;
    std::function<bool()> update; // enabled
    std::function<bool()> checked; // unset: not a toggle
};

// The file commands of the document manager: FileNew, FileOpen, FileClose,
// FileCloseAll, FileSave, FileSaveAs, FileSaveAll, FileRevert, FileReopenCP and
// ViewReadOnly.
std::vector<TFileCommand> FileCommands(TDocumentManager& manager);

// Connects the commands to the actions of the same object name found under
// root and keeps their enabled and checked states current. Actions that do not
// exist are skipped; returns how many were bound.
int BindFileCommands(QWidget& root, TDocumentManager& manager);

} // namespace quillet
