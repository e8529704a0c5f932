#pragma once

#include "app/ui/DocumentWindow.h"
#include "app/ui/HexSettingsTarget.h"
#include "hex/ui/BinaryForm.h"

#include <functional>

namespace quillet {

// The binary document window as the main window sees it: it answers the
// program's close question itself and takes the hex editor settings after
// the options dialog stored them.
class TBinaryDocumentWindow : public TBinaryForm, public IDocumentWindow, public IHexSettingsTarget {
    Q_OBJECT

public:
    explicit TBinaryDocumentWindow(QWidget* parent = nullptr)
        : TBinaryForm(parent)
    {
    }

    bool CloseQuery() override { return TBinaryForm::CloseQuery(); }
    // The settings are read again from the store they were written to.
    void ApplyHexOptions(const THexOptions&) override
    {
        if (OnApplySettings) {
            OnApplySettings();
        }
    }
    std::function<void()> OnApplySettings;
};

} // namespace quillet
