#pragma once

#include "app/ui/OptionsPage.h"
#include "syntax/TextStyles.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace quillet {

class TColorBox;

// The page Colors and Font: the 29 text styles with their colours and
// emphasis, the colour presets and the editor font. It edits a copy of the
// program's styles; Store hands the copy back and writes "Color Scheme".
class TOptionsColorsPage : public TOptionsPageWidget {
    Q_OBJECT
public:
    TOptionsColorsPage(TTextStyles* styles, TSettingsStore& store, QWidget* parent = nullptr);

    bool Store(TSettingsStore& store, QString& error) override;
    void FillInput(TOptionsInput& input) const override;
    QLineEdit* Field(TOptionsField field) const override;

    QListWidget* StyleList() const { return m_list; }
    TColorBox* Foreground() const { return m_fore; }
    TColorBox* Background() const { return m_back; }
    QComboBox* Presets() const { return m_presets; }

private:
    void ShowStyle(int index);
    void TakeControls();
    void UpdateSample();

    TTextStyles* m_target;
    TTextStyles m_styles;
    QListWidget* m_list = nullptr;
    TColorBox* m_fore = nullptr;
    TColorBox* m_back = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_useViewColor = nullptr;
    QCheckBox* m_useViewFont = nullptr;
    QComboBox* m_presets = nullptr;
    QFontComboBox* m_fontName = nullptr;
    QLineEdit* m_fontSize = nullptr;
    QLabel* m_sample = nullptr;
    bool m_showing = false; // controls are being filled: their signals change nothing
};

} // namespace quillet
