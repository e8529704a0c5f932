#pragma once

namespace quillet {

// What the main window needs of a document window (an MDI child) while the
// program closes. The text and binary document windows implement it beside
// QMdiSubWindow; children that do not are closed without a question.
class IDocumentWindow {
public:
    virtual ~IDocumentWindow() = default;
    // Asks about unsaved changes (save, discard or cancel). False keeps the
    // window, and with it the program, open.
    virtual bool CloseQuery() = 0;
};

} // namespace quillet
