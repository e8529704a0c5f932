#include "app/ui/Tray.h"

#include "app/GlobalOptions.h"
#include "app/ui/CommandActions.h"
#include "app/ui/QuilletMainForm.h"
#include "platform/fake/FakeGlobalHotKey.h"
#include "platform/qt/X11GlobalHotKey.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace quillet {
namespace {

// --- The hot key contract, for every implementation --------------------------

template <typename T> std::unique_ptr<IGlobalHotKey> MakeHotKey();

struct TUnsupportedFake { };
struct TSupportedFake { };

template <> std::unique_ptr<IGlobalHotKey> MakeHotKey<TUnsupportedFake>()
{
    auto fake = std::make_unique<TFakeGlobalHotKey>();
    fake->supported = false;
    return fake;
}

template <> std::unique_ptr<IGlobalHotKey> MakeHotKey<TSupportedFake>()
{
    return std::make_unique<TFakeGlobalHotKey>();
}

// The desktop's own: under the offscreen test platform it has no X server.
template <> std::unique_ptr<IGlobalHotKey> MakeHotKey<TX11GlobalHotKey>()
{
    return CreateDesktopGlobalHotKey();
}

template <typename T> class GlobalHotKeyContract : public ::testing::Test {
};

using THotKeyKinds = ::testing::Types<TUnsupportedFake, TSupportedFake, TX11GlobalHotKey>;
TYPED_TEST_SUITE(GlobalHotKeyContract, THotKeyKinds);

TYPED_TEST(GlobalHotKeyContract, RegistersOnlyWhereSupportedAndReleasesCleanly)
{
    const std::unique_ptr<IGlobalHotKey> hotKey = MakeHotKey<TypeParam>();
    const THotKey key{THotKey::kControl | THotKey::kShift, 'C'};
    hotKey->Unregister(); // harmless before anything is registered
    std::string error;
    const bool registered = hotKey->Register(
        key, [] {}, error);
    EXPECT_EQ(registered, hotKey->IsSupported());
    EXPECT_EQ(hotKey->IsRegistered(), registered);
    EXPECT_EQ(error.empty(), registered) << error;
    hotKey->Unregister();
    hotKey->Unregister();
    EXPECT_FALSE(hotKey->IsRegistered());
}

// --- The tray ------------------------------------------------------------------

TEST(Tray, WithoutATrayTheWindowIsOnlyMinimized)
{
    TFakeGlobalHotKey hotKey;
    TQuilletMainForm form;
    form.SetGlobalHotKey(&hotKey);
    form.Tray().SetAvailability([] {
        return false;
    });
    form.show();
    form.UpdateCommands();
    EXPECT_FALSE(form.CommandActions().Action("MinimizeToSystray")->isEnabled());

    form.MinimizeToTray();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(form.isHidden()); // the taskbar button stays
    EXPECT_FALSE(form.Tray().IsInTray());
    EXPECT_EQ(hotKey.registrations, 0);

    // The minimize button with the tray option set: still an ordinary minimize.
    form.DoslaZprava();
    EXPECT_FALSE(form.isMinimized());
    TGlobalOptions options = form.Options();
    options.minimizeToSysTray = true;
    form.ApplyGlobalOptions(options);
    form.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isHidden());
    EXPECT_FALSE(form.Tray().IsInTray());
}

TEST(Tray, TrayAndHotKeyBringTheWindowBackAsItWas)
{
    TFakeGlobalHotKey hotKey;
    TQuilletMainForm form;
    form.SetGlobalHotKey(&hotKey);
    form.Tray().SetAvailability([] {
        return true;
    });
    form.showMaximized();
    form.UpdateCommands();
    QAction* toTray = form.CommandActions().Action("MinimizeToSystray");
    ASSERT_TRUE(toTray->isEnabled());

    toTray->trigger();
    EXPECT_TRUE(form.Tray().IsInTray());
    EXPECT_TRUE(form.isHidden());
    ASSERT_NE(form.Tray().Icon(), nullptr);
    EXPECT_TRUE(form.Tray().Icon()->isVisible());
    EXPECT_EQ(form.Tray().Icon()->toolTip(), "Quillet 4.1");
    EXPECT_TRUE(hotKey.IsRegistered());
    EXPECT_EQ(hotKey.Key(), (THotKey{THotKey::kControl | THotKey::kShift, 'C'}));
    // The tray menu: Open, Exit, a separator and About.
    QMenu* menu = form.Tray().Icon()->contextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_EQ(menu->actions()[0]->objectName(), "TrayOpen");

    // The hot key restores it maximized, hides the icon and lets the key go.
    EXPECT_TRUE(hotKey.Press());
    EXPECT_FALSE(form.Tray().IsInTray());
    EXPECT_FALSE(form.isHidden());
    EXPECT_TRUE(form.isMaximized());
    EXPECT_FALSE(form.Tray().Icon()->isVisible());
    EXPECT_FALSE(hotKey.IsRegistered());

    // The minimize button goes to the tray while the option is set; the
    // activation message of a later start brings the window back.
    form.showNormal();
    TGlobalOptions options = form.Options();
    options.minimizeToSysTray = true;
    form.ApplyGlobalOptions(options);
    form.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.Tray().IsInTray());
    EXPECT_TRUE(form.isHidden());
    form.DoslaZprava();
    EXPECT_FALSE(form.Tray().IsInTray());
    EXPECT_FALSE(form.isHidden());
    EXPECT_FALSE(form.isMinimized());
    EXPECT_FALSE(form.isMaximized());

    // A hot key held by another program leaves the tray menu as the way back.
    hotKey.taken = true;
    form.MinimizeToTray();
    EXPECT_TRUE(form.Tray().IsInTray());
    EXPECT_FALSE(form.Tray().HotKeyError().empty());
    EXPECT_FALSE(hotKey.Press());
    form.CommandActions().Action("TrayOpen")->trigger();
    EXPECT_FALSE(form.Tray().IsInTray());
    EXPECT_FALSE(form.isHidden());
}

TEST(Tray, ClosingTheWindowReleasesTheHotKey)
{
    TFakeGlobalHotKey hotKey;
    {
        TQuilletMainForm form;
        form.SetGlobalHotKey(&hotKey);
        form.Tray().SetAvailability([] {
            return true;
        });
        form.show();
        form.MinimizeToTray();
        EXPECT_TRUE(hotKey.IsRegistered());
    }
    EXPECT_FALSE(hotKey.IsRegistered());
}

// Not part of the offscreen run: under an X server (QT_QPA_PLATFORM=xcb, as
// scripts/screenshots-main.sh sets it) with xdotool installed, a key press
// sent through the server reaches the registered handler.
TEST(X11GlobalHotKeyLive, GrabbedKeyReachesTheProgram)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        GTEST_SKIP() << "needs an X server and xdotool";
    }
    const std::unique_ptr<IGlobalHotKey> hotKey = CreateDesktopGlobalHotKey();
    ASSERT_TRUE(hotKey->IsSupported());
    int presses = 0;
    std::string error;
    ASSERT_TRUE(hotKey->Register(
        {THotKey::kControl | THotKey::kShift, 'C'},
        [&] {
            ++presses;
        },
        error))
        << error;
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+shift+c")});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return presses > 0;
        },
        3000));
    EXPECT_EQ(presses, 1);
    hotKey->Unregister();
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+shift+c")});
    QTest::qWait(300);
    EXPECT_EQ(presses, 1);
}

} // namespace
} // namespace quillet
