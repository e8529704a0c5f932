#include "app/ui/OptionsColorsPage.h"

#include "app/ui/OptionsControls.h"
#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"
#include "syntax/ColorPresets.h"
#include "syntax/ui/StyleQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

QCheckBox* NewCheck(const char* name, const char* caption, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

TOptionsColorsPage::TOptionsColorsPage(TTextStyles* styles, TSettingsStore& store, QWidget* parent)
    : TOptionsPageWidget(parent)
    , m_target(styles)
{
    if (styles != nullptr) {
        m_styles = *styles;
    } else {
        m_styles.ReadSettings(store);
    }
    m_styles.OnChanged = nullptr; // the copy tells nobody until it is stored

    auto* layout = new QVBoxLayout(this);
    auto* stylesBox =
        new QGroupBox(QStringLiteral(" ") + Tr("GroupTextStyles", "Text styles") + QStringLiteral(" "), this);
    stylesBox->setObjectName(QStringLiteral("GroupTextStyles"));
    auto* stylesLayout = new QHBoxLayout(stylesBox);
    m_list = new QListWidget(stylesBox);
    m_list->setObjectName(QStringLiteral("StyleList"));
    for (int i = 0; i < m_styles.Count(); ++i) {
        m_list->addItem(FromUtf8(m_styles[i].Name));
    }
    stylesLayout->addWidget(m_list, 1);
    auto* right = new QVBoxLayout;
    auto* colors = new QFormLayout;
    m_fore = new TColorBox(stylesBox);
    m_fore->setObjectName(QStringLiteral("StyleForeground"));
    m_back = new TColorBox(stylesBox);
    m_back->setObjectName(QStringLiteral("StyleBackground"));
    auto* foreLabel = new QLabel(QStringLiteral("Foreground"), stylesBox);
    foreLabel->setObjectName(QStringLiteral("StyleForegroundLabel"));
    auto* backLabel = new QLabel(QStringLiteral("Background"), stylesBox);
    backLabel->setObjectName(QStringLiteral("StyleBackgroundLabel"));
    colors->addRow(foreLabel, m_fore);
    colors->addRow(backLabel, m_back);
    right->addLayout(colors);
    auto* checks = new QGridLayout;
    m_bold = NewCheck("StyleBold", "Bold", stylesBox);
    m_italic = NewCheck("StyleItalic", "Italic", stylesBox);
    m_underline = NewCheck("StyleUnderline", "Underline", stylesBox);
    m_useViewColor = NewCheck("StyleUseViewColor", "Default background", stylesBox);
    m_useViewFont = NewCheck("StyleUseViewFont", "Default font", stylesBox);
    checks->addWidget(m_bold, 0, 0);
    checks->addWidget(m_italic, 1, 0);
    checks->addWidget(m_underline, 2, 0);
    checks->addWidget(m_useViewColor, 0, 1);
    checks->addWidget(m_useViewFont, 1, 1);
    right->addLayout(checks);
    m_sample = new QLabel(QStringLiteral("AaBbYyZz 0123"), stylesBox);
    m_sample->setObjectName(QStringLiteral("StyleSample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setAutoFillBackground(true);
    m_sample->setMinimumHeight(40);
    m_sample->setFrameShape(QFrame::StyledPanel);
    right->addWidget(m_sample);
    right->addStretch(1);
    stylesLayout->addLayout(right, 1);
    layout->addWidget(stylesBox, 1);

    auto* bottom = new QFormLayout;
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("SpeedColorSetting"));
    for (int i = 0; i < kColorPresetCount; ++i) {
        const std::string_view name = ColorPresetName(i);
        m_presets->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_presets->setCurrentIndex(m_styles.Preset());
    auto* presetLabel = new QLabel(QStringLiteral("Color preset"), this);
    presetLabel->setObjectName(QStringLiteral("SpeedColorSettingLabel"));
    bottom->addRow(presetLabel, m_presets);
    auto* fontRow = new QHBoxLayout;
    m_fontName = new QFontComboBox(this);
    m_fontName->setObjectName(QStringLiteral("FontName"));
    m_fontName->setFontFilters(QFontComboBox::MonospacedFonts);
    m_fontName->setEditable(true);
    m_fontName->setCurrentText(FromUtf8(m_styles.EditorFont().Name));
    m_fontSize = new QLineEdit(QString::number(m_styles.EditorFont().Size), this);
    m_fontSize->setObjectName(QStringLiteral("FontSize"));
    m_fontSize->setMaximumWidth(m_fontSize->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    auto* sizeLabel = new QLabel(QStringLiteral("Size"), this);
    sizeLabel->setObjectName(QStringLiteral("FontSizeLabel"));
    fontRow->addWidget(m_fontName, 1);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_fontSize);
    auto* fontLabel = new QLabel(QStringLiteral("Font"), this);
    fontLabel->setObjectName(QStringLiteral("FontNameLabel"));
    bottom->addRow(fontLabel, fontRow);
    layout->addLayout(bottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &TOptionsColorsPage::ShowStyle);
    for (TColorBox* box : {m_fore, m_back}) {
        connect(box, &TColorBox::ColorChanged, this, &TOptionsColorsPage::TakeControls);
    }
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_useViewColor, m_useViewFont}) {
        connect(box, &QCheckBox::toggled, this, &TOptionsColorsPage::TakeControls);
    }
    connect(m_presets, &QComboBox::activated, this, [this](int preset) {
        m_styles.ApplyPreset(preset);
        ShowStyle(m_list->currentRow());
    });
    connect(m_fontName, &QFontComboBox::currentTextChanged, this, &TOptionsColorsPage::UpdateSample);
    m_list->setCurrentRow(0);
}

void TOptionsColorsPage::ShowStyle(int index)
{
    if (index < 0 || index >= m_styles.Count()) {
        return;
    }
    m_showing = true;
    const TTextStyle& style = m_styles[index];
    m_fore->SetColor(style.Font.color);
    m_back->SetColor(style.Color);
    m_bold->setChecked(style.Font.bold);
    m_italic->setChecked(style.Font.italic);
    m_underline->setChecked(style.Font.underline);
    // A style that sets the view's own colours never follows the view.
    const bool fixed = style.UpdateMemoColors != TMemoColors::mcNone;
    m_useViewColor->setEnabled(!fixed);
    m_useViewFont->setEnabled(!fixed);
    m_useViewColor->setChecked(style.UseMemoColor);
    m_useViewFont->setChecked(style.UseMemoFont);
    m_showing = false;
    UpdateSample();
}

void TOptionsColorsPage::TakeControls()
{
    const int index = m_list->currentRow();
    if (m_showing || index < 0) {
        return;
    }
    m_styles.BeginParserUpdate();
    TFontSpec font = m_styles[index].Font;
    font.color = m_fore->Color();
    font.bold = m_bold->isChecked();
    font.italic = m_italic->isChecked();
    font.underline = m_underline->isChecked();
    if (!(font == m_styles[index].Font)) {
        m_styles.SetFont(index, font);
    }
    if (m_back->Color() != m_styles[index].Color) {
        m_styles.SetColor(index, m_back->Color());
    }
    m_styles.SetUseMemoColor(index, m_useViewColor->isChecked());
    m_styles.SetUseMemoFont(index, m_useViewFont->isChecked());
    m_styles.EndParserUpdate();
    ShowStyle(index);
}

void TOptionsColorsPage::UpdateSample()
{
    const int index = m_list->currentRow();
    if (index < 0) {
        return;
    }
    const TTextStyle& style = m_styles[index];
    QFont font(m_fontName->currentText());
    font.setBold(style.Font.bold);
    font.setItalic(style.Font.italic);
    font.setUnderline(style.Font.underline);
    m_sample->setFont(font);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Window, StyleColor(style.Color));
    palette.setColor(QPalette::WindowText, StyleColor(style.Font.color));
    m_sample->setPalette(palette);
}

bool TOptionsColorsPage::Store(TSettingsStore& store, QString& error)
{
    TEditorFont font = m_styles.EditorFont();
    font.Name = ToUtf8(m_fontName->currentText().trimmed());
    if (font.Name.empty()) {
        font.Name = "Courier New";
    }
    font.Size = m_fontSize->text().trimmed().toInt();
    m_styles.SetEditorFont(font);
    if (m_target != nullptr) {
        auto onChanged = m_target->OnChanged;
        *m_target = m_styles;
        m_target->OnChanged = std::move(onChanged);
    }
    if (!m_styles.WriteSettings(store)) {
        error = FromUtf8(store.LastError());
        return false;
    }
    return true;
}

void TOptionsColorsPage::FillInput(TOptionsInput& input) const
{
    input.fontSize = ToUtf8(m_fontSize->text());
}

QLineEdit* TOptionsColorsPage::Field(TOptionsField field) const
{
    return field == TOptionsField::FontSize ? m_fontSize : nullptr;
}

} // namespace quillet
