#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillet {

class TDocumentManager;

// One file command for the command registry: its name, what it does and when it
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

} // namespace quillet
