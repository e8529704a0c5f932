#pragma once

#include "app/ui/OptionsPage.h"

#include <map>
#include <string>
#include <string_view>

class QLineEdit;

namespace quillet {

// A page made from the catalogue: the settings of one page with their
// controls, grouped as the catalogue groups them (Environment, Code Editor,
// Display and Hex Editor).
class TOptionsCatalogPage : public TOptionsPageWidget {
    Q_OBJECT
public:
    TOptionsCatalogPage(TOptionsPage page, TSettingsStore& store, QWidget* parent = nullptr);

    bool Store(TSettingsStore& store, QString& error) override;
    void FillInput(TOptionsInput& input) const override;
    QLineEdit* Field(TOptionsField field) const override;

    // The control of a key (a check box, text box, list or colour box); nullptr
    // when the key has no control on this page.
    QWidget* Control(std::string_view key) const;

private:
    void AddControl(const TOptionDef& def, QWidget* groupBox, TSettingsStore& store);
    void Load(const TOptionDef& def, TSettingsStore& store);

    TOptionsPage m_page;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::map<std::string, std::string, std::less<>> m_unchanged; // keys without a control
};

} // namespace quillet
