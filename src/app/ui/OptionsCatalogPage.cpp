#include "app/ui/OptionsCatalogPage.h"

#include "app/ui/OptionsControls.h"
#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ElementName(std::string_view key)
{
    return QStringLiteral("Opt") + FromView(key);
}

// Group boxes keep their check boxes in two columns above the other rows.
struct TGroup {
    QGroupBox* box = nullptr;
    QGridLayout* checks = nullptr;
    QFormLayout* rows = nullptr;
    int checkCount = 0;
};

} // namespace

TOptionsCatalogPage::TOptionsCatalogPage(TOptionsPage page, TSettingsStore& store, QWidget* parent)
    : TOptionsPageWidget(parent)
    , m_page(page)
{
    auto* layout = new QVBoxLayout(this);
    if (page == TOptionsPage::HexEditor) {
        auto* note =
            new QLabel(Tr("HexNote",
                           "Some options are the same as in text editor (see General tab). For example: create "
                           "backup file, find text at cursor, use syntax highlight and font."),
                this);
        note->setObjectName(QStringLiteral("HexNote"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    std::map<std::string, TGroup, std::less<>> groups;
    std::vector<std::string> order;
    std::vector<QGroupBox*> boxes;
    for (const TOptionDef& def : OptionDefs()) {
        if (def.page != page) {
            continue;
        }
        if (def.kind == TOptionKind::NoControl) {
            m_unchanged[std::string(def.key)] = store.ReadString(def.section, def.key, def.defaultValue);
            continue;
        }
        auto found = groups.find(def.group);
        if (found == groups.end()) {
            TGroup group;
            group.box = new QGroupBox(QStringLiteral(" ") + Tr(def.group, def.group) + QStringLiteral(" "), this);
            group.box->setObjectName(QStringLiteral("Group") + FromView(def.group).remove(QLatin1Char(' ')));
            auto* boxLayout = new QVBoxLayout(group.box);
            group.checks = new QGridLayout;
            group.rows = new QFormLayout;
            group.rows->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
            boxLayout->addLayout(group.checks);
            boxLayout->addLayout(group.rows);
            boxLayout->addStretch(1);
            boxes.push_back(group.box);
            found = groups.emplace(std::string(def.group), group).first;
            order.emplace_back(def.group);
        }
        TGroup& group = found->second;
        AddControl(def, group.box, store);
        QWidget* control = m_controls[std::string(def.key)];
        if (auto* check = qobject_cast<QCheckBox*>(control)) {
            group.checks->addWidget(check, group.checkCount / 2, group.checkCount % 2);
            ++group.checkCount;
        } else {
            auto* label = new QLabel(Tr(def.caption, def.caption), group.box);
            label->setObjectName(ElementName(def.key) + QStringLiteral("Label"));
            label->setBuddy(control);
            group.rows->addRow(label, control);
        }
        Load(def, store);
    }
    // The Display page's four groups stand two by two: one above the other
    // they are taller than a screen at large fonts.
    auto* grid = new QGridLayout;
    const int columns = page == TOptionsPage::Display ? 2 : 1;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        grid->addWidget(boxes[i], static_cast<int>(i) / columns, static_cast<int>(i) % columns);
    }
    layout->addLayout(grid);
    layout->addStretch(1);

    // The margin position and gutter width are checked only while their
    // part is visible, so they follow the check box.
    const auto follow = [this](std::string_view check, std::string_view field) {
        auto* box = qobject_cast<QCheckBox*>(Control(check));
        QWidget* edit = Control(field);
        if (box != nullptr && edit != nullptr) {
            edit->setEnabled(box->isChecked());
            connect(box, &QCheckBox::toggled, edit, &QWidget::setEnabled);
        }
    };
    follow("VisibleMargin", "MarginPosition");
    follow("VisibleGutter", "GutterWidth");
}

void TOptionsCatalogPage::AddControl(const TOptionDef& def, QWidget* groupBox, TSettingsStore&)
{
    QWidget* control = nullptr;
    switch (def.kind) {
    case TOptionKind::Bool:
    case TOptionKind::InvertedBool:
        control = new QCheckBox(Tr(def.caption, def.caption), groupBox);
        break;
    case TOptionKind::TopBottom: {
        auto* pair = new QWidget(groupBox);
        auto* row = new QHBoxLayout(pair);
        row->setContentsMargins(0, 0, 0, 0);
        auto* top = new QRadioButton(Tr("Top", "Top"), pair);
        top->setObjectName(QStringLiteral("OptTabsTop"));
        auto* bottom = new QRadioButton(Tr("Bottom", "Bottom"), pair);
        bottom->setObjectName(QStringLiteral("OptTabsBottom"));
        row->addWidget(top);
        row->addWidget(bottom);
        row->addStretch(1);
        control = pair;
        break;
    }
    case TOptionKind::Number:
        control = new QLineEdit(groupBox);
        break;
    case TOptionKind::Choice:
    case TOptionKind::ValueChoice: {
        auto* combo = new QComboBox(groupBox);
        for (const std::string& entry : OptionChoices(def)) {
            combo->addItem(def.kind == TOptionKind::Choice ? Tr(entry, entry) : QString::fromStdString(entry));
        }
        control = combo;
        break;
    }
    case TOptionKind::Color:
        control = new TColorBox(groupBox);
        break;
    case TOptionKind::PenStyle:
        control = NewPenStyleCombo(groupBox);
        break;
    case TOptionKind::BrushStyle:
        control = NewBrushStyleCombo(groupBox);
        break;
    case TOptionKind::Language: {
        auto* combo = new QComboBox(groupBox);
        combo->addItem(Tr("EnglishBuiltIn", "English (built in)"), QString());
        for (const std::string& name : Translator().AvailableLanguages()) {
            combo->addItem(FromUtf8(name), FromUtf8(name + ".lng"));
        }
        control = combo;
        break;
    }
    case TOptionKind::NoControl:
        return;
    }
    control->setObjectName(ElementName(def.key));
    m_controls[std::string(def.key)] = control;
}

void TOptionsCatalogPage::Load(const TOptionDef& def, TSettingsStore& store)
{
    QWidget* control = Control(def.key);
    switch (def.kind) {
    case TOptionKind::Bool:
        qobject_cast<QCheckBox*>(control)->setChecked(ReadOptionBool(store, def));
        break;
    case TOptionKind::InvertedBool:
        qobject_cast<QCheckBox*>(control)->setChecked(!ReadOptionBool(store, def));
        break;
    case TOptionKind::TopBottom: {
        const bool top = ReadOptionBool(store, def);
        control->findChild<QRadioButton*>(QStringLiteral("OptTabsTop"))->setChecked(top);
        control->findChild<QRadioButton*>(QStringLiteral("OptTabsBottom"))->setChecked(!top);
        break;
    }
    case TOptionKind::Number:
        if (def.key == "TabStops") {
            qobject_cast<QLineEdit*>(control)->setText(
                FromUtf8(SanitizeTabStops(store.ReadString(def.section, def.key, def.defaultValue))));
        } else {
            qobject_cast<QLineEdit*>(control)->setText(QString::number(ReadOptionInteger(store, def)));
        }
        break;
    case TOptionKind::Choice:
    case TOptionKind::PenStyle:
    case TOptionKind::BrushStyle:
        qobject_cast<QComboBox*>(control)->setCurrentIndex(ReadOptionInteger(store, def) - def.minimum);
        break;
    case TOptionKind::ValueChoice: {
        auto* combo = qobject_cast<QComboBox*>(control);
        combo->setCurrentIndex(std::max(0, combo->findText(QString::number(ReadOptionInteger(store, def)))));
        break;
    }
    case TOptionKind::Color:
        qobject_cast<TColorBox*>(control)->SetColor(static_cast<std::uint32_t>(ReadOptionInteger(store, def)));
        break;
    case TOptionKind::Language: {
        // The language the program runs in; a file that is not found stays
        // listed under its own name, so OK does not change it behind the user's back.
        auto* combo = qobject_cast<QComboBox*>(control);
        const QString current = FromUtf8(Translator().CurrentLanguage());
        int index = combo->findData(current);
        if (index < 0) {
            combo->addItem(current, current);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
        break;
    }
    case TOptionKind::NoControl:
        break;
    }
}

QWidget* TOptionsCatalogPage::Control(std::string_view key) const
{
    const auto found = m_controls.find(key);
    return found == m_controls.end() ? nullptr : found->second;
}

bool TOptionsCatalogPage::Store(TSettingsStore& store, QString& error)
{
    bool ok = true;
    for (const TOptionDef& def : OptionDefs()) {
        if (def.page != m_page) {
            continue;
        }
        QWidget* control = Control(def.key);
        switch (def.kind) {
        case TOptionKind::Bool:
            ok = store.WriteBool(def.section, def.key, qobject_cast<QCheckBox*>(control)->isChecked()) && ok;
            break;
        case TOptionKind::InvertedBool:
            ok = store.WriteBool(def.section, def.key, !qobject_cast<QCheckBox*>(control)->isChecked()) && ok;
            break;
        case TOptionKind::NoControl:
            ok = store.WriteString(def.section, def.key, m_unchanged[std::string(def.key)]) && ok;
            break;
        case TOptionKind::TopBottom:
            ok = store.WriteBool(
                     def.section, def.key, control->findChild<QRadioButton*>(QStringLiteral("OptTabsTop"))->isChecked())
                && ok;
            break;
        case TOptionKind::Number: {
            const std::string text = ToUtf8(qobject_cast<QLineEdit*>(control)->text().trimmed());
            std::int32_t value = 0;
            if (def.key == "TabStops" || !ParseOptionInteger(text, value)) {
                ok = store.WriteString(def.section, def.key, text) && ok;
            } else {
                ok = store.WriteInteger(def.section, def.key, value) && ok;
            }
            break;
        }
        case TOptionKind::Choice:
        case TOptionKind::PenStyle:
        case TOptionKind::BrushStyle:
            ok = store.WriteInteger(
                     def.section, def.key, qobject_cast<QComboBox*>(control)->currentIndex() + def.minimum)
                && ok;
            break;
        case TOptionKind::ValueChoice:
            ok = store.WriteInteger(def.section, def.key, qobject_cast<QComboBox*>(control)->currentText().toInt())
                && ok;
            break;
        case TOptionKind::Color:
            ok = store.WriteInteger(
                     def.section, def.key, static_cast<std::int32_t>(qobject_cast<TColorBox*>(control)->Color()))
                && ok;
            break;
        case TOptionKind::Language:
            ok = store.WriteString(
                     def.section, def.key, ToUtf8(qobject_cast<QComboBox*>(control)->currentData().toString()))
                && ok;
            break;
        }
    }
    if (!ok) {
        error = FromUtf8(store.LastError());
    }
    return ok;
}

void TOptionsCatalogPage::FillInput(TOptionsInput& input) const
{
    const auto text = [this](std::string_view key, std::string& into) {
        if (auto* edit = qobject_cast<QLineEdit*>(Control(key))) {
            into = ToUtf8(edit->text());
        }
    };
    const auto checked = [this](std::string_view key, bool& into) {
        if (auto* box = qobject_cast<QCheckBox*>(Control(key))) {
            into = box->isChecked();
        }
    };
    text("BlockIndent", input.blockIndent);
    text("TabStops", input.tabStops);
    text("SpacesInTab", input.tabSize);
    text("MarginPosition", input.marginPosition);
    text("GutterWidth", input.gutterWidth);
    checked("VisibleMargin", input.marginEnabled);
    checked("VisibleGutter", input.gutterEnabled);
}

QLineEdit* TOptionsCatalogPage::Field(TOptionsField field) const
{
    switch (field) {
    case TOptionsField::BlockIndent:
        return qobject_cast<QLineEdit*>(Control("BlockIndent"));
    case TOptionsField::TabStops:
        return qobject_cast<QLineEdit*>(Control("TabStops"));
    case TOptionsField::TabSize:
        return qobject_cast<QLineEdit*>(Control("SpacesInTab"));
    case TOptionsField::MarginPosition:
        return qobject_cast<QLineEdit*>(Control("MarginPosition"));
    case TOptionsField::GutterWidth:
        return qobject_cast<QLineEdit*>(Control("GutterWidth"));
    default:
        return nullptr;
    }
}

} // namespace quillet
