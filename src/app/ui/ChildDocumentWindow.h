#pragma once

#include "app/ui/DocumentWindow.h"
#include "text/ui/ChildForm.h"

namespace quillet {

// The text document window as the main window sees it while the program
// closes: the text window itself, answering the close question through its
// own CloseQuery. The text window cannot know the main window's interface (the
// main window's library builds on it), so the two meet here.
class TChildDocumentWindow : public TChildForm, public IDocumentWindow {
    Q_OBJECT

public:
    explicit TChildDocumentWindow(QWidget* parent = nullptr)
        : TChildForm(parent)
    {
    }

    bool CloseQuery() override { return TChildForm::CloseQuery(); }
};

} // namespace quillet
