// The "Replace Text" dialog: both histories, "Prompt on replace", and the two
// ways to close it (OK replaces once, Replace All everywhere).
#include "text/ui/ReplaceForm.h"

#include "SearchCommandsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace quillet {
namespace {

class ReplaceFormTest : public test::SearchUiTest {
protected:
    std::unique_ptr<TReplaceForm> Open()
    {
        auto form = std::make_unique<TReplaceForm>(Source(), Options());
        form->show();
        return form;
    }
    static void Type(QComboBox* combo, const char* text)
    {
        combo->lineEdit()->selectAll();
        if (*text == '\0') {
            QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        }
        QTest::keyClicks(combo->lineEdit(), text);
    }
};

TEST_F(ReplaceFormTest, OpensWithBothHistoriesAndThePromptSwitch)
{
    Load("\n");
    SetHistory(kSearchItemsKey, "find1\r\nfind2\r\n");
    SetHistory(kReplaceItemsKey, "with1\r\nwith2\r\n");
    Options().PromptOnReplace = true;
    Options().Origin = soFromCursor;
    Options().Scope = ssSelectedText;

    auto form = Open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Replace Text"));
    EXPECT_EQ(form->TextToFindCombo()->currentText(), QStringLiteral("find1"));
    EXPECT_EQ(form->ReplaceWithCombo()->currentText(), QStringLiteral("with1"));
    EXPECT_EQ(form->ReplaceWithCombo()->count(), 2);
    EXPECT_TRUE(form->PromptOnReplaceCheck()->isChecked());
    EXPECT_TRUE(form->FromCursorRadio()->isChecked());
    EXPECT_TRUE(form->GlobalRadio()->isChecked());

    // Both buttons need a search text; the replacement may be empty.
    EXPECT_TRUE(form->ReplaceAllButton()->isEnabled());
    Type(form->ReplaceWithCombo(), "");
    EXPECT_TRUE(form->OkButton()->isEnabled());
    Type(form->TextToFindCombo(), "");
    EXPECT_FALSE(form->OkButton()->isEnabled());
    EXPECT_FALSE(form->ReplaceAllButton()->isEnabled());
}

TEST_F(ReplaceFormTest, OkAndReplaceAllStoreTheirChoice)
{
    struct Case {
        const char* name;
        bool replaceAll;
        const char* replacement;
        const char* replaceHistory;
    };
    const Case cases[] = {
        {"OK replaces one occurrence", false, "Old", "Old\r\nnew\r\n"},
        {"Replace All replaces every one", true, "x&y", "x&y\r\nold\r\nnew\r\n"},
        {"an empty replacement is not remembered", true, "", "old\r\nnew\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("\n");
        SetHistory(kSearchItemsKey, "");
        SetHistory(kReplaceItemsKey, "old\r\nnew\r\n");
        Options().PromptOnReplace = false;
        Options().ReplaceAll = !c.replaceAll;

        auto form = Open();
        Type(form->TextToFindCombo(), "abc");
        Type(form->ReplaceWithCombo(), c.replacement);
        QTest::mouseClick(form->PromptOnReplaceCheck(), Qt::LeftButton);
        QTest::mouseClick(c.replaceAll ? form->ReplaceAllButton() : form->OkButton(), Qt::LeftButton);

        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(form->ReplaceAllChosen(), c.replaceAll);
        EXPECT_EQ(Options().ReplaceAll, c.replaceAll);
        EXPECT_EQ(Options().TextToFind, "abc");
        EXPECT_EQ(Options().ReplaceWith, c.replacement);
        EXPECT_TRUE(Options().PromptOnReplace);
        EXPECT_TRUE(Options().ShowNotFound);
        EXPECT_EQ(History(kSearchItemsKey), "abc\r\n");
        EXPECT_EQ(History(kReplaceItemsKey), c.replaceHistory);
    }
}

} // namespace
} // namespace quillet
