// A text document window coloured by a shipped definition: the attribute bytes
// of the buffer, the colours painted on screen, the Syntax menu and the view
// commands.
#include "text/ui/SyntaxAttach.h"

#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/SyntaxParser.h"
#include "syntax/TextStyles.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

class SyntaxAttachTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalog.LoadAll();
        context.catalog = &catalog;
        context.styles = &styles;
        context.OnError = [this](const QString& message) {
            errors.push_back(message);
        };
        form = new TChildForm();
        form->resize(600, 300);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        ApplyTextStyles(*form, styles);
        form->Memo().SetOption(moColorSyntax, true);
        form->Memo1().SetOption(moColorSyntax, true);
    }
    void TearDown() override
    {
        form->MemoSource().SetModified(false);
        delete form;
    }

    // Pixels of the character cell at (line, col) of the main view.
    QImage Cell(int line, int col)
    {
        TTarnMemo& view = form->Memo();
        view.viewport()->repaint();
        const QImage shot = view.viewport()->grab().toImage();
        const auto from = view.TextToPixelPoint({col, line});
        const auto to = view.TextToPixelPoint({col + 1, line});
        if (!from || !to) {
            ADD_FAILURE() << "cell not on screen";
            return {};
        }
        const qreal ratio = shot.devicePixelRatio();
        return shot.copy(
            QRect(QPoint(from->x(), from->y()) * ratio, QSize(to->x() - from->x(), view.LineHeight()) * ratio));
    }
    // Whether some pixel of the image is close to colour.
    static bool HasColour(const QImage& image, QColor colour)
    {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                        + std::abs(c.blue() - colour.blue())
                    < 60) {
                    return true;
                }
            }
        }
        return false;
    }

    TSchemeCatalog catalog{{test::DataPath("../..")}};
    TTextStyles styles;
    TSyntaxContext context;
    std::vector<QString> errors;
    TChildForm* form = nullptr;
};

TEST_F(SyntaxAttachTest, CppDocumentIsColouredOnScreen)
{
    form->MemoSource().LoadFromText("int main() { return 0; } // note\n");
    form->SetFileName("/tmp/does-not-exist/x.CPP");
    ASSERT_TRUE(ChooseSyntax(*form, context));
    TSyntaxParser* parser = DocumentParser(*form);
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(DocumentSyntaxFile(*form), "C++.def");
    EXPECT_EQ(form->Status().syntax, QStringLiteral("C++"));

    const std::string attrs = form->MemoSource().GetRawColorData(0);
    ASSERT_EQ(attrs.size(), 32u);
    const auto at = [&](std::size_t i) {
        return static_cast<std::uint8_t>(attrs[i]);
    };
    EXPECT_EQ(at(0), at(13)) << "int and return share the keyword attribute";
    EXPECT_NE(at(0), at(4)) << "an identifier is not a keyword";
    EXPECT_EQ(parser->GetFont(at(13))->color, clBlue);
    EXPECT_EQ(parser->GetFont(at(28))->color, clGray);
    EXPECT_TRUE(parser->GetFont(at(28))->italic);

    EXPECT_TRUE(HasColour(Cell(0, 0), Qt::blue)) << "keyword painted blue";
    EXPECT_FALSE(HasColour(Cell(0, 5), Qt::blue)) << "identifier not blue";
    EXPECT_TRUE(HasColour(Cell(0, 29), QColor(0x80, 0x80, 0x80))) << "comment painted grey";

    // A dark preset reaches both the view's background and the highlighter.
    styles.ApplyPreset(3);
    ApplyTextStyles(*form, styles);
    const QImage keyword = Cell(0, 0);
    EXPECT_TRUE(HasColour(keyword, QColor(0, 255, 255))) << "keyword painted aqua";
    EXPECT_EQ(keyword.pixelColor(keyword.width() - 1, 0), QColor(Qt::black)) << "keyword on the Plain Text background";

    // Colour syntax off: the same text in the view's plain colours.
    ViewColorSyntaxExecute(form);
    EXPECT_FALSE(ViewColorSyntaxUpdate(form).checked);
    EXPECT_FALSE(HasColour(Cell(0, 0), QColor(0, 255, 255)));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SyntaxAttachTest, DefinitionThatFailsToLoadLeavesPlainText)
{
    test::TTempDir dir;
    dir.Write("Syntax Definitions/Bad.def", "object TPersHolder\n  P.Name = 'Bad\n");
    TSchemeCatalog bad({dir.Path()});
    context.catalog = &bad;
    ASSERT_TRUE(ZmenSyntaxParser(*form, "C++.def", TSyntaxContext{&catalog, &styles, {}, {}, {}}));

    for (const char* name : {"Bad.def", "Missing.def", "../Syntax Definitions/Bad.def"}) {
        SCOPED_TRACE(name);
        errors.clear();
        EXPECT_FALSE(ZmenSyntaxParser(*form, name, context));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(
            errors[0], QStringLiteral("File \"%1\" corrupted or invalid file format.").arg(QString::fromUtf8(name)));
        EXPECT_EQ(DocumentParser(*form), nullptr);
        EXPECT_EQ(form->MemoSource().SyntaxParser(), nullptr);
    }
}

TEST_F(SyntaxAttachTest, SyntaxMenuItemsAndTemplates)
{
    std::vector<std::filesystem::path> templates;
    context.OnTemplates = [&](TChildForm&, const std::filesystem::path& file) {
        templates.push_back(file);
    };
    QMenu menu;
    QAction* none = menu.addAction(QStringLiteral("None (Plain Text)"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Configure..."));
    TSyntaxMenu syntax(menu, *none, context);
    TChildForm* active = nullptr;
    syntax.ActiveForm = [&] {
        return active;
    };
    syntax.Rebuild();
    syntax.Rebuild(); // rebuilding replaces, never duplicates
    ASSERT_EQ(syntax.Items().size(), catalog.Entries().size());
    EXPECT_EQ(menu.actions().size(), static_cast<qsizetype>(catalog.Entries().size() + 3));
    EXPECT_EQ(menu.actions().indexOf(none), static_cast<qsizetype>(catalog.Entries().size()));
    EXPECT_FALSE(syntax.Items()[0]->isEnabled()) << "no text document";
    EXPECT_FALSE(none->isEnabled());

    active = form;
    syntax.UpdateItems();
    EXPECT_TRUE(none->isChecked()) << "plain text document";
    syntax.Choose(QStringLiteral("python"));
    ASSERT_NE(DocumentParser(*form), nullptr);
    EXPECT_EQ(DocumentSyntaxFile(*form), "Python.def");
    EXPECT_FALSE(none->isChecked());
    int checked = 0;
    for (QAction* item : syntax.Items()) {
        if (item->isChecked()) {
            ++checked;
            EXPECT_EQ(item->text(), QStringLiteral("Python"));
        }
    }
    EXPECT_EQ(checked, 1);
    ASSERT_EQ(templates.size(), 1u);
    EXPECT_EQ(templates.back(), std::filesystem::path("Code Templates/Python.tpl"));

    syntax.ChooseNone();
    EXPECT_EQ(DocumentParser(*form), nullptr);
    EXPECT_TRUE(none->isChecked());
    EXPECT_TRUE(templates.back().empty());
    EXPECT_TRUE(form->Status().syntax.isEmpty());
}

// A large document opens quickly because nothing is coloured until a view
// asks: attaching colours no line, and the first line asked for colours
// through the 100 lines after it, enough for the screen.
TEST_F(SyntaxAttachTest, AttachingColoursLazily)
{
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += "int x" + std::to_string(i) + " = " + std::to_string(i) + "; /* note */\n";
    }
    form->MemoSource().LoadFromText(text);
    ASSERT_TRUE(ZmenSyntaxParser(*form, "C++.def", context));
    TMemoSource& source = form->MemoSource();
    EXPECT_EQ(source.ParsedUpTo(), 0);
    EXPECT_FALSE(source.IsLineParsed(0));
    for (int line = 0; line < 60; ++line) {
        EXPECT_EQ(source.GetRawColorData(line).size(), source.GetRawLine(line).size());
    }
    EXPECT_EQ(source.ParsedUpTo(), 101);
    EXPECT_FALSE(source.IsLineParsed(4999));
}

TEST(SyntaxAttachIcon, ExtensionOfTheFirstEntry)
{
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::string extension;
    };
    const Case cases[] = {
        {"first mask of the first entry", {"C++ files (*.cpp)|*.cpp;*.h", "Z|*.z"}, ".cpp"},
        {"entries are sorted: the first is alphabetical", {"Z files|*.z", "A files|*.a;*.b"}, ".a"},
        {"blanks around the mask", {"Text|  *.txt ;*.t"}, ".txt"},
        {"no masks", {"Text files"}, ""},
        {"no entries", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSyntaxScheme scheme;
        for (const std::string& entry : c.entries) {
            scheme.AddExtension(entry);
        }
        EXPECT_EQ(DefinitionIconExtension(scheme), c.extension);
    }
}

TEST_F(SyntaxAttachTest, WindowIconFollowsTheDefinition)
{
    const auto image = [](const QIcon& icon) {
        return icon.pixmap(16, 16).toImage();
    };
    ASSERT_TRUE(ZmenSyntaxParser(*form, "Python.def", context));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_EQ(image(form->windowIcon()), image(DefinitionIcon(DocumentParser(*form)->SyntaxScheme())));
    SyntaxNone(*form, context);
    EXPECT_EQ(image(form->windowIcon()), image(GenericTextIcon()));
}

TEST_F(SyntaxAttachTest, ViewCommandsChangeBothViewsTogether)
{
    EXPECT_FALSE(ViewSpecialSymbolsUpdate(nullptr).enabled);
    ViewSpecialSymbolsExecute(nullptr); // harmless without a document
    const bool before = ViewSpecialSymbolsUpdate(form).checked;
    ViewSpecialSymbolsExecute(form);
    EXPECT_EQ(ViewSpecialSymbolsUpdate(form).checked, !before);
    EXPECT_EQ(HasOption(form->Memo1().Options(), moDrawSpecialSymbols), !before);
    const bool colour = ViewColorSyntaxUpdate(form).checked;
    ViewColorSyntaxExecute(form);
    EXPECT_EQ(HasOption(form->Memo().Options(), moColorSyntax), !colour);
    EXPECT_EQ(HasOption(form->Memo1().Options(), moColorSyntax), !colour);
    const bool urls = ViewHighlightURLsUpdate(form).checked;
    ViewHighlightURLsExecute(form);
    EXPECT_EQ(form->MemoSource().HighlightUrls(), !urls);
}

} // namespace
} // namespace quillet
