#include "app/ui/DocumentTabs.h"

#include "app/GlobalOptions.h"
#include "app/ui/CommandActions.h"
#include "app/ui/QuilletMainForm.h"
#include "text/ui/ChildForm.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using TPlace = TDocumentTabs::TPlace;

TChildForm* OpenDocument(TQuilletMainForm& form, const std::string& fileName)
{
    auto* child = new TChildForm();
    child->MemoSource().LoadFromText("text\n");
    child->SetFileName(fileName);
    form.AddMdiChild(child);
    return child;
}

QStringList TabTexts(const QTabBar* bar)
{
    QStringList texts;
    for (int i = 0; i < bar->count(); ++i) {
        texts << bar->tabText(i);
    }
    return texts;
}

// Lets closed windows go away and the tabs catch up.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(DocumentTabs, TabsFollowWindowsOpeningActivatingRenamingAndClosing)
{
    TQuilletMainForm form;
    TDocumentTabs& tabs = form.DocumentTabs();
    QTabBar* top = tabs.Bar(TPlace::Top);
    QTabBar* bottom = tabs.Bar(TPlace::Bottom);
    TChildForm* one = OpenDocument(form, "/docs/one.c");
    TChildForm* two = OpenDocument(form, "/docs/sub/two.h");
    TChildForm* three = OpenDocument(form, "/docs/three.txt");
    // In creation order, the file-name part only, in both bars.
    const QStringList expected{"one.c", "two.h", "three.txt"};
    EXPECT_EQ(TabTexts(top), expected);
    EXPECT_EQ(TabTexts(bottom), expected);
    EXPECT_EQ(top->tabToolTip(1), "/docs/sub/two.h");
    EXPECT_EQ(top->currentIndex(), 2);

    // Activating a window another way selects its tab in both bars.
    form.MdiArea()->setActiveSubWindow(one);
    EXPECT_EQ(top->currentIndex(), 0);
    EXPECT_EQ(bottom->currentIndex(), 0);
    // Choosing a tab activates its window; the other bar follows.
    top->setCurrentIndex(1);
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), two);
    EXPECT_EQ(bottom->currentIndex(), 1);
    // A minimized window comes back when its tab is chosen.
    three->showMinimized();
    form.MdiArea()->setActiveSubWindow(one);
    bottom->setCurrentIndex(2);
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), three);
    EXPECT_FALSE(three->isMinimized());
    EXPECT_EQ(top->currentIndex(), 2);

    // Renaming and the modified mark reach the tab; "&" shows as itself.
    two->SetFileName("/docs/R&D notes.txt");
    two->MemoSource().SetModified(true);
    EXPECT_EQ(top->tabText(1), "R&&D notes.txt*");
    EXPECT_EQ(bottom->tabText(1), "R&&D notes.txt*");

    // Every tab has an icon: the window's own, or the generic document icon.
    const QIcon own(QStringLiteral(":/icons/file-save.svg"));
    one->setWindowIcon(own);
    EXPECT_EQ(top->tabIcon(0).cacheKey(), own.cacheKey());
    EXPECT_FALSE(top->tabIcon(2).isNull());

    // A very long name is cut to 250 characters.
    three->SetFileName("/docs/" + std::string(400, 'x'));
    EXPECT_EQ(top->tabText(2).size(), 250);

    two->MemoSource().SetModified(false);
    two->close();
    Settle();
    EXPECT_EQ(TabTexts(top), (QStringList{"one.c", QString(250, 'x')}));
    EXPECT_EQ(tabs.Windows(), (std::vector<QMdiSubWindow*>{one, three}));
    delete one;
    Settle();
    EXPECT_EQ(top->count(), 1);
    EXPECT_EQ(bottom->count(), 1);
}

TEST(DocumentTabs, MiddleClickClosesThroughTheSaveQuestionAndRightClickOffersThePopup)
{
    TQuilletMainForm form;
    form.show();
    TChildForm* first = OpenDocument(form, "/docs/first.txt");
    TChildForm* changed = OpenDocument(form, "/docs/changed.txt");
    changed->MemoSource().SetModified(true);
    form.MdiArea()->setActiveSubWindow(first);
    QStringList questions;
    int answer = QMessageBox::Cancel;
    changed->OnQuestion = [&](const QString& text, bool) {
        questions << text;
        return answer;
    };
    QTabBar* top = form.DocumentTabs().Bar(TPlace::Top);
    ASSERT_TRUE(top->isVisible());

    // Cancel keeps the document; the middle click has made it the active one.
    QTest::mouseClick(top, Qt::MiddleButton, {}, top->tabRect(1).center());
    Settle();
    EXPECT_EQ(questions, QStringList{"Save changes to \"changed.txt\"?"});
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), changed);
    EXPECT_EQ(top->count(), 2);

    answer = QMessageBox::No;
    QTest::mouseClick(top, Qt::MiddleButton, {}, top->tabRect(1).center());
    Settle();
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(top->count(), 1);
    EXPECT_EQ(form.DocumentTabs().Windows(), std::vector<QMdiSubWindow*>{first});

    // A second document for the right click: it activates and shows the
    // document pop-up menu.
    TChildForm* other = OpenDocument(form, "/docs/other.txt");
    form.MdiArea()->setActiveSubWindow(first);
    QContextMenuEvent menuEvent(
        QContextMenuEvent::Mouse, top->tabRect(1).center(), top->mapToGlobal(top->tabRect(1).center()));
    QApplication::sendEvent(top, &menuEvent);
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), other);
    EXPECT_TRUE(form.DocumentPopup()->isVisible());
    form.DocumentPopup()->hide();
}

TEST(DocumentTabs, ChosenBarAndHidingASingleTab)
{
    struct TCase {
        const char* name;
        bool documentTabs, top, hideSingle;
        int documents;
        bool topShown, bottomShown;
    };
    const TCase cases[] = {
        {"no documents: no bar", true, true, false, 0, false, false},
        {"one document, top", true, true, false, 1, true, false},
        {"one document, bottom", true, false, false, 1, false, true},
        {"one document hidden by the single-tab option", true, true, true, 1, false, false},
        {"the second document shows it", true, false, true, 2, false, true},
        {"tabs off", false, true, false, 2, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TQuilletMainForm form;
        TGlobalOptions options = form.Options();
        options.documentTabs = c.documentTabs;
        options.documentTabsPos = c.top;
        options.hide1Tabs = c.hideSingle;
        form.ApplyGlobalOptions(options);
        for (int i = 0; i < c.documents; ++i) {
            OpenDocument(form, "/docs/" + std::to_string(i) + ".txt");
        }
        EXPECT_EQ(!form.DocumentTabs().Bar(TPlace::Top)->isHidden(), c.topShown);
        EXPECT_EQ(!form.DocumentTabs().Bar(TPlace::Bottom)->isHidden(), c.bottomShown);
    }

    // Closing the second document hides the bar again under the single-tab option.
    TQuilletMainForm form;
    TGlobalOptions options = form.Options();
    options.hide1Tabs = true;
    options.documentTabs = true;
    options.documentTabsPos = true;
    form.ApplyGlobalOptions(options);
    OpenDocument(form, "/docs/a.txt");
    TChildForm* b = OpenDocument(form, "/docs/b.txt");
    QTabBar* top = form.DocumentTabs().Bar(TPlace::Top);
    EXPECT_FALSE(top->isHidden());
    b->close();
    Settle();
    EXPECT_TRUE(top->isHidden());
}

TEST(DocumentTabs, TopAndBottomTabCommandsMoveOrSwitchOffTheTabs)
{
    TQuilletMainForm form;
    TGlobalOptions options = form.Options();
    options.documentTabs = true;
    options.documentTabsPos = true;
    form.ApplyGlobalOptions(options);
    OpenDocument(form, "/docs/a.txt");
    QAction* topCommand = form.CommandActions().Action("ViewTabsTop");
    QAction* bottomCommand = form.CommandActions().Action("ViewTabsBottom");
    auto state = [&] {
        form.UpdateCommands();
        return std::tuple{form.DocumentTabs().Place(), topCommand->isChecked(), bottomCommand->isChecked()};
    };
    EXPECT_EQ(state(), std::tuple(TPlace::Top, true, false));
    bottomCommand->trigger();
    EXPECT_EQ(state(), std::tuple(TPlace::Bottom, false, true));
    EXPECT_TRUE(form.DocumentTabs().Bar(TPlace::Top)->isHidden());
    EXPECT_FALSE(form.DocumentTabs().Bar(TPlace::Bottom)->isHidden());
    bottomCommand->trigger();
    EXPECT_EQ(state(), std::tuple(TPlace::None, false, false));
    EXPECT_TRUE(form.DocumentTabs().Bar(TPlace::Bottom)->isHidden());
    topCommand->trigger();
    EXPECT_EQ(state(), std::tuple(TPlace::Top, true, false));
    EXPECT_FALSE(form.DocumentTabs().Bar(TPlace::Top)->isHidden());
}

} // namespace
} // namespace quillet
