#include "text/ClipboardHistory.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

TEST(ClipboardHistory, NewTextsShiftThroughTheSlots)
{
    TClipboardHistory history;
    EXPECT_FALSE(history.AnySlotFilled());
    EXPECT_TRUE(history.ClipboardChanged("one"));
    EXPECT_TRUE(history.ClipboardChanged("two"));
    EXPECT_TRUE(history.ClipboardChanged("three"));
    EXPECT_FALSE(history.ClipboardChanged("three")); // same as slot 1: nothing moves
    EXPECT_EQ(history.Slot(1), "three");
    EXPECT_EQ(history.Slot(2), "two");
    EXPECT_EQ(history.Slot(3), "one");
    EXPECT_TRUE(history.IsSlotEmpty(4));
    EXPECT_EQ(history.PasteAllText(), "threetwoone");

    // Equal to an older slot is still new; the oldest text falls out.
    history.ClipboardChanged("one");
    history.ClipboardChanged("five");
    EXPECT_EQ(history.Slot(1), "five");
    EXPECT_EQ(history.Slot(4), "two");
    EXPECT_EQ(history.PasteAllText(), "fiveonethreetwo");
    // Comparison is exact: a case change is a new text.
    EXPECT_TRUE(history.ClipboardChanged("FIVE"));

    // An emptied clipboard (also after Delete All Clipboards) is no new text.
    EXPECT_FALSE(history.ClipboardChanged(""));
    history.Clear();
    EXPECT_FALSE(history.AnySlotFilled());
    EXPECT_EQ(history.PasteAllText(), "");
    EXPECT_TRUE(history.IsSlotEmpty(0));
    EXPECT_TRUE(history.IsSlotEmpty(5));
}

TEST(ClipboardHistory, HintsShowAShortPreviewAndTheCaption)
{
    TClipboardHistory history;
    EXPECT_EQ(history.Hint(2, "Paste Clipboard 2"), "|Paste Clipboard 2");
    history.ClipboardChanged("a|b");
    EXPECT_EQ(history.Hint(1, "Paste Clipboard 1"), "alb|Paste Clipboard 1");
    EXPECT_EQ(history.Slot(1), "a|b");

    // A long text is cut in the hint only; the slot keeps every byte.
    const std::string big(100000, 'x');
    history.ClipboardChanged(big);
    const std::string hint = history.Hint(1, "Caption");
    EXPECT_EQ(hint, std::string(TClipboardHistory::kHintMaxChars, 'x') + "...|Caption");
    EXPECT_EQ(history.Slot(1), big);

    // Many short lines are cut by line count; CR LF shows as one line break.
    std::string lines;
    for (int i = 0; i < 20; ++i) {
        lines += "line\r\n";
    }
    const std::string preview = TClipboardHistory::Preview(lines);
    EXPECT_EQ(preview, "line\nline\nline\nline\nline\nline\nline\nline...");
    EXPECT_EQ(TClipboardHistory::Preview("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

} // namespace
} // namespace quillet
