#include "app/WindowState.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <ostream>

namespace quillet {

void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.width << "x" << r.height << "}";
}

namespace {

using test::TTempDir;

TEST(WindowState, FitToScreens)
{
    // A 1920x1080 primary screen with a 30-pixel panel at the top, and a
    // 1280x1024 screen to its right.
    const std::vector<TRect> screens{{0, 30, 1920, 1050}, {1920, 0, 1280, 1024}};
    struct Case {
        const char* name;
        TRect stored;
        TRect expected;
    };
    const Case cases[] = {
        {"on screen stays as it is", {100, 100, 800, 600}, {100, 100, 800, 600}},
        {"on the second screen stays there", {2000, 50, 800, 600}, {2000, 50, 800, 600}},
        {"under the panel moves down", {100, 0, 800, 600}, {100, 30, 800, 600}},
        {"far off to the right lands on the nearest screen", {9000, 100, 800, 600}, {2400, 100, 800, 600}},
        {"far off above and left lands on the primary", {-5000, -5000, 800, 600}, {0, 30, 800, 600}},
        {"from a larger monitor shrinks to the screen", {0, 0, 2560, 1440}, {0, 30, 1920, 1050}},
        {"mostly on the second screen moves fully onto it", {3000, 500, 800, 600}, {2400, 424, 800, 600}},
        {"too small grows to the minimum", {100, 100, 10, 5}, {100, 100, 400, 300}},
        {"negative size grows to the minimum", {100, 100, -800, -600}, {100, 100, 400, 300}},
        {"extreme values stay usable", {INT_MAX, INT_MIN, INT_MAX, INT_MAX}, {1920, 0, 1280, 1024}},
        {"lowest values stay usable", {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {0, 30, 400, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitToScreens(c.stored, screens, 400, 300), c.expected);
    }
    // A screen smaller than the minimum gets a window of its size; without
    // screens only the minimum applies.
    EXPECT_EQ(FitToScreens({50, 50, 800, 600}, {{0, 0, 320, 240}}, 400, 300), (TRect{0, 0, 320, 240}));
    EXPECT_EQ(FitToScreens({-50, 50, 10, 600}, {}, 400, 300), (TRect{-50, 50, 400, 600}));
    // Empty screen rectangles are not screens.
    EXPECT_EQ(
        FitToScreens({-50, 50, 800, 600}, {{0, 0, 0, 0}, {100, 0, 1000, 800}}, 400, 300), (TRect{100, 50, 800, 600}));
}

TEST(WindowState, CentredBoundsRoundHalvesToEven)
{
    EXPECT_EQ(CentredBounds({0, 0, 1280, 900}, 1000, 700), (TRect{140, 100, 1000, 700}));
    EXPECT_EQ(CentredBounds({0, 0, 1001, 703}, 1000, 700), (TRect{0, 2, 1000, 700})); // 0.5 -> 0, 1.5 -> 2
    EXPECT_EQ(CentredBounds({1920, 30, 800, 600}, 1000, 700), (TRect{1820, -20, 1000, 700}));
}

TEST(WindowState, PositionRoundTripThroughBothStoreForms)
{
    const TPositionState state{{-12, 40, 1024, 768}, true, TChildState::Minimized};
    const TAsciiTableState ascii{true, true, 300, -20};
    for (const TSettingsForm form : {TSettingsForm::ProgramIni, TSettingsForm::PerUser}) {
        SCOPED_TRACE(form == TSettingsForm::ProgramIni ? "program ini" : "per-user store");
        TTempDir dir;
        const auto file = dir.Path() / "q.ini";
        {
            TSettingsStore store(file, form);
            ASSERT_TRUE(WritePositionState(store, state));
            ASSERT_TRUE(WriteAsciiTableState(store, ascii));
        }
        const std::string text = TTempDir::Read(file);
        for (const char* line : {"MainLeft=-12\n",
                 "MainTop=40\n",
                 "MainWidth=1024\n",
                 "MainHeight=768\n",
                 "MainState=1\n",
                 "ChildState=2\n",
                 "AsciiTable=1\n",
                 "AsciiTableLeft=300\n",
                 "AsciiTableTop=-20\n"}) {
            EXPECT_NE(text.find(line), std::string::npos) << line;
        }
        TSettingsStore store(file, form);
        const TPositionState read = ReadPositionState(store, {1, 2, 3, 4});
        EXPECT_EQ(read.mainBounds, state.mainBounds);
        EXPECT_TRUE(read.mainMaximized);
        EXPECT_EQ(read.childState, TChildState::Minimized);
        const TAsciiTableState readAscii = ReadAsciiTableState(store);
        EXPECT_FALSE(readAscii.created);
        EXPECT_TRUE(readAscii.open);
        EXPECT_EQ(readAscii.left, 300);
        EXPECT_EQ(readAscii.top, -20);
    }
}

TEST(WindowState, MissingOrCorruptKeysGiveTheDefaults)
{
    TTempDir dir;
    const auto file = dir.Write("q.ini",
        "[Position]\n"
        "MainLeft=abc\n"
        "MainWidth=99999999999\n"
        "MainHeight=500\n"
        "MainState=2\n"
        "ChildState=7\n"
        "AsciiTable=yes\n");
    TSettingsStore store(file, TSettingsForm::PerUser);
    const TPositionState read = ReadPositionState(store, {10, 20, 1000, 700});
    EXPECT_EQ(read.mainBounds, (TRect{10, 20, 1000, 500}));
    EXPECT_FALSE(read.mainMaximized);
    EXPECT_EQ(read.childState, TChildState::Maximized);
    const TAsciiTableState ascii = ReadAsciiTableState(store);
    EXPECT_FALSE(ascii.open);
    EXPECT_EQ(ascii.left, 0);

    // A run that never created the ASCII table leaves its keys alone.
    ASSERT_TRUE(WriteAsciiTableState(store, {false, true, 5, 5}));
    EXPECT_EQ(store.ReadString("Position", "AsciiTable", ""), "yes");
    EXPECT_FALSE(store.SectionExists("Recent"));
}

} // namespace
} // namespace quillet
