#include "app/ui/WidgetTranslation.h"
#include "core/Translations.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;

template <typename T> T* Named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

TEST(TranslationWidgets, WindowIsTranslatedByElementNameAndBack)
{
    TTempDir dir;
    dir.Write("Test.lng",
        "[Translations]\nOptionsForm=Optionen\nbCancel=\ngbEditor=Editor-Optionen\ncbWrap=&Umbruch\n"
        "lblFont=Schrift:\ntsGeneral=Allgemein\nFileExit=&Beenden\nFileExitHint=Beenden|Quillet beenden\n"
        "SelectCustomColor=Farbe w\xC3\xA4hlen\n");
    Translator().SetLanguageFolders({dir.Path()});

    QDialog form;
    form.setObjectName("OptionsForm");
    form.setWindowTitle("Options");
    auto* cancel = Named<QPushButton>(&form, "bCancel");
    cancel->setText("Cancel");
    auto* group = Named<QGroupBox>(&form, "gbEditor");
    group->setTitle(" Editor options ");
    auto* wrap = Named<QCheckBox>(group, "cbWrap");
    wrap->setText("&Word wrap");
    auto* label = Named<QLabel>(&form, "lblFont");
    label->setText("Font:");
    auto* tabs = Named<QTabWidget>(&form, "pcPages");
    tabs->addTab(Named<QWidget>(tabs, "tsGeneral"), "General");
    auto* unnamed = new QLabel("Stays", &form);
    auto* picker = Named<QToolButton>(&form, "tbColor");
    picker->setProperty("quilletColorPicker", true);
    picker->setToolTip("Custom colour");
    auto* exit = new QAction("E&xit", &form);
    exit->setObjectName("FileExit");
    exit->setProperty("quilletHint", "Exit|Exit application");

    ResetLang("Test.lng");
    nactiResource(&form);
    EXPECT_EQ(form.windowTitle(), "Optionen");
    EXPECT_EQ(cancel->text(), "Cancel"); // empty translation keeps the default
    EXPECT_EQ(group->title(), " Editor-Optionen ");
    EXPECT_EQ(wrap->text(), "&Umbruch");
    EXPECT_EQ(label->text(), "Schrift:");
    EXPECT_EQ(tabs->tabText(0), "Allgemein");
    EXPECT_EQ(unnamed->text(), "Stays");
    EXPECT_EQ(picker->toolTip(), QString::fromUtf8("Farbe w\xC3\xA4hlen"));
    EXPECT_EQ(exit->text(), "&Beenden");
    EXPECT_EQ(exit->toolTip(), "Beenden");
    EXPECT_EQ(exit->statusTip(), "Quillet beenden");

    // Back to the built-in language: the English texts return at once.
    ResetLang("");
    nactiResource(&form);
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(group->title(), " Editor options ");
    EXPECT_EQ(wrap->text(), "&Word wrap");
    EXPECT_EQ(tabs->tabText(0), "General");
    EXPECT_EQ(picker->toolTip(), "Custom colour");
    EXPECT_EQ(exit->toolTip(), "Exit");
    EXPECT_EQ(exit->statusTip(), "Exit application");
    Translator().SetLanguageFolders({});
}

// Every shipped language file loads without a diagnostic, keeps the
// placeholders of the English texts it translates, and names existing keys.
TEST(TranslationWidgets, ShippedLanguageFilesAreClean)
{
    const std::filesystem::path folder = std::filesystem::path(QUILLET_SOURCE_DIR) / "Languages";
    TTranslator translator;
    translator.SetLanguageFolders({folder});
    const auto languages = translator.AvailableLanguages();
    ASSERT_FALSE(languages.empty());
    for (const std::string& language : languages) {
        SCOPED_TRACE(language);
        translator.ResetLang(language + ".lng");
        EXPECT_EQ(translator.LangStr("MenuFile", "&File").find('&') != std::string::npos, true);
        EXPECT_EQ(
            FormatChecked(
                translator.LangStr("CouldNotOpen", "Could not open file \"%s\"."), "Could not open file \"%s\".", {"X"})
                    .find("X")
                != std::string::npos,
            true);
        EXPECT_NE(
            translator.LangStr("SaveProject", "Save changes to project \"%s\"?"), "Save changes to project \"%s\"?");
        EXPECT_TRUE(translator.Diagnostics().empty()) << translator.Diagnostics().front();
    }
}

} // namespace
} // namespace quillet
