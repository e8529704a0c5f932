// One contract for every IClipboard: the Qt clipboard (on the test's platform)
// and the in-memory fake.
#include "platform/fake/FakeClipboard.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

namespace quillet {
namespace {

class TQtClipboardWorld {
public:
    IClipboard& Clipboard() { return m_clipboard; }
    // Another writer of the clipboard in this process: offscreen, the
    // clipboard never leaves it.
    void ForeignCopy(const char* text) { QApplication::clipboard()->setText(QString::fromLatin1(text)); }
    // Qt tells of a change through its event loop.
    void Settle() { QApplication::processEvents(); }

private:
    TQtClipboard m_clipboard;
};

class TFakeClipboardWorld {
public:
    IClipboard& Clipboard() { return m_clipboard; }
    void ForeignCopy(const char* text) { m_clipboard.SimulateForeignCopy(text); }
    void Settle() { }

private:
    TFakeClipboard m_clipboard;
};

template <typename TWorld> class ClipboardContract : public ::testing::Test {
protected:
    TWorld world;
};

using TWorlds = ::testing::Types<TQtClipboardWorld, TFakeClipboardWorld>;
TYPED_TEST_SUITE(ClipboardContract, TWorlds);

TYPED_TEST(ClipboardContract, TextGoesInAndComesBackOwnedByUs)
{
    IClipboard& clipboard = this->world.Clipboard();
    clipboard.SetText("one\r\ntwo \xE9");
    this->world.Settle();
    ASSERT_TRUE(clipboard.HasText());
    EXPECT_EQ(clipboard.GetText(), "one\r\ntwo \xE9");
    EXPECT_TRUE(clipboard.OwnedByThisProgram());

    clipboard.SetTextAndRtf("plain", "{\\rtf1 plain}");
    this->world.Settle();
    EXPECT_EQ(clipboard.GetText(), "plain") << "the plain text travels beside its RTF";

    clipboard.Clear();
    this->world.Settle();
    EXPECT_FALSE(clipboard.HasText());
    EXPECT_EQ(clipboard.GetText(), std::nullopt);
}

TYPED_TEST(ClipboardContract, ChangesAreReportedForOurCopiesAndOthers)
{
    IClipboard& clipboard = this->world.Clipboard();
    int changes = 0;
    clipboard.SetChangedHandler([&changes] {
        ++changes;
    });
    clipboard.SetText("ours");
    this->world.Settle();
    EXPECT_GE(changes, 1);

    const int before = changes;
    this->world.ForeignCopy("theirs");
    this->world.Settle();
    EXPECT_GT(changes, before);
    EXPECT_EQ(clipboard.GetText(), "theirs");
    clipboard.SetChangedHandler({});
}

} // namespace
} // namespace quillet
