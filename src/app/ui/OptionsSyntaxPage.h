#pragma once

#include "app/ui/OptionsPage.h"

class QComboBox;
class QTreeWidget;

namespace quillet {

// The page Syntax Definition: one row per definition file found in the data
// folders, checked when the program offers it, with the file types it is
// chosen for; and the definition of new documents ("<default>").
class TOptionsSyntaxPage : public TOptionsPageWidget {
    Q_OBJECT
public:
    TOptionsSyntaxPage(const TOptionsContext& context, QWidget* parent = nullptr);

    // Erases the "Syntax Definition" section and writes one key per checked
    // row (file name = its masks) and "<default>".
    bool Store(TSettingsStore& store, QString& error) override;

    QTreeWidget* Definitions() const { return m_tree; }
    QComboBox* DefaultDefinition() const { return m_default; }

private:
    QTreeWidget* m_tree = nullptr;
    QComboBox* m_default = nullptr;
};

} // namespace quillet
