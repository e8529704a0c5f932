#include "text/KeyMapping.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(KeyMapping, DefaultBindingsByExactShiftState)
{
    struct Case {
        const char* name;
        int key;
        std::uint8_t shift;
        TMemoCommand command;
    };
    const Case cases[] = {
        {"plain arrow", mkUp, ssNone, TMemoCommand::MemoCursorUp},
        {"shift arrow marks", mkRight, ssShift, TMemoCommand::MarkRight},
        {"ctrl arrow scrolls", mkDown, ssCtrl, TMemoCommand::ScrollDown},
        {"alt shift marks columns", mkLeft, ssAlt | ssShift, TMemoCommand::MarkColLeft},
        {"ctrl alt shift page", mkPageDown, ssCtrl | ssAlt | ssShift, TMemoCommand::MarkColToFileEnd},
        {"ctrl shift z redoes", 'Z', ssCtrl | ssShift, TMemoCommand::Redo},
        {"alt backspace undoes", mkBackspace, ssAlt, TMemoCommand::Undo},
        {"shift insert pastes", mkInsert, ssShift, TMemoCommand::PasteFromClipboard},
        {"ctrl 7 goes to bookmark", '7', ssCtrl, TMemoCommand::GoToBookMark7},
        {"ctrl shift 0 toggles bookmark", '0', ssCtrl | ssShift, TMemoCommand::ToggleBookMark0},
        {"ctrl bracket", '[', ssCtrl, TMemoCommand::FindNextBracket},
    };
    const TKeyMapping mapping = TKeyMapping::Create("Default");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TKeyBinding* b = mapping.Find(c.key, c.shift, 0);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->command, c.command);
    }
    // Exact shift state: Ctrl+Alt+Up has no binding even though Ctrl+Up has.
    EXPECT_EQ(mapping.Find(mkUp, ssCtrl | ssAlt, 0), nullptr);
}

TEST(KeyMapping, PrefixSequencesAndTheirEnd)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::uint8_t>> keys;
        TMemoCommand last;
        std::uint8_t stateAfter;
    };
    const Case cases[] = {
        {"ctrl k b", {{'K', ssCtrl}, {'B', ssNone}}, TMemoCommand::MarkBlockBegin, 0},
        {"ctrl k ctrl k", {{'K', ssCtrl}, {'K', ssCtrl}}, TMemoCommand::MarkBlockEnd, 0},
        {"ctrl k 3", {{'K', ssCtrl}, {'3', ssNone}}, TMemoCommand::ToggleBookMark3, 0},
        {"ctrl q ctrl c", {{'Q', ssCtrl}, {'C', ssCtrl}}, TMemoCommand::JumpToFileEnd, 0},
        {"ctrl q ctrl shift 4", {{'Q', ssCtrl}, {'4', ssCtrl | ssShift}}, TMemoCommand::ToggleBookMark4, 0},
        {"ctrl o ctrl g", {{'O', ssCtrl}, {'G', ssCtrl}}, TMemoCommand::PromptedGotoLine, 0},
        {"arrow works inside a prefix", {{'K', ssCtrl}, {mkDown, ssNone}}, TMemoCommand::MemoCursorDown, 0},
        {"prefix alone", {{'Q', ssCtrl}}, TMemoCommand::None, 2},
        {"ctrl o alone", {{'O', ssCtrl}}, TMemoCommand::None, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKeyDispatcher d(TKeyMapping::Create("Default"));
        TKeyDispatcher::TResult r;
        for (auto [key, shift] : c.keys) {
            r = d.Press(key, shift);
            EXPECT_TRUE(r.consumed);
        }
        EXPECT_EQ(r.command, c.last);
        EXPECT_EQ(d.State(), c.stateAfter);
    }
}

TEST(KeyMapping, UnboundKeyEndsPrefixAndIsSwallowed)
{
    TKeyDispatcher d(TKeyMapping::Create("Default"));
    d.Press('K', ssCtrl);
    EXPECT_FALSE(d.AcceptsCharacters());
    const auto r = d.Press('X', ssNone);
    EXPECT_TRUE(r.consumed); // no "x" is typed
    EXPECT_EQ(r.command, TMemoCommand::None);
    EXPECT_EQ(d.State(), 0);
    // Outside a prefix an unbound key is left to typing.
    EXPECT_FALSE(d.Press('X', ssNone).consumed);
    // Plain B after the prefix ended is text, not MarkBlockBegin.
    EXPECT_FALSE(d.Press('B', ssNone).consumed);
}

TEST(KeyMapping, EnterAndTabNeedWantFlagsOrCtrl)
{
    TKeyDispatcher d(TKeyMapping::Create("Default"));
    EXPECT_FALSE(d.Press(mkTab, ssNone, /*wantTabs=*/false, true).consumed);
    auto r = d.Press(mkTab, ssCtrl, false, true); // Ctrl is dropped
    EXPECT_EQ(r.command, TMemoCommand::PressTab);
    r = d.Press(mkEnter, ssNone, true, /*wantReturns=*/false);
    EXPECT_FALSE(r.consumed);
    r = d.Press(mkEnter, ssCtrl, true, false);
    EXPECT_EQ(r.command, TMemoCommand::PressEnter);
    EXPECT_EQ(d.Press(mkTab, ssShift).command, TMemoCommand::PressShiftTab);
}

TEST(KeyMapping, LaterBindingOverridesEarlier)
{
    TKeyMapping m = TKeyMapping::Create("Default");
    m.Add({'A', ssCtrl, 0, 0, TMemoCommand::MarkLine});
    EXPECT_EQ(m.Find('A', ssCtrl, 0)->command, TMemoCommand::MarkLine);
    // A binding for any state also answers inside a prefix.
    m.Add({mkF1, ssNone, kAnyKeyState, 0, TMemoCommand::KeyFindNext});
    EXPECT_NE(m.Find(mkF1, ssNone, 2), nullptr);
}

} // namespace
} // namespace quillet
