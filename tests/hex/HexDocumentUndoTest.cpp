// The undo stream: every record kind, the 100-record cap and state restore.
#include "HexFixture.h"

#include <random>

namespace quillet::test {
namespace {

using HexDocumentUndo = THexFixture;

struct TSnapshot {
    std::string content;
    std::int64_t cursor;
    bool charField;
    std::int64_t anchor, selStart, selEnd;
    friend bool operator==(const TSnapshot&, const TSnapshot&) = default;
};

TSnapshot Take(THexFixture& f, THexDocument& doc)
{
    (void)f;
    std::string content;
    if (doc.GetDataSize() > 0) {
        const auto bytes = doc.BufferFromFile(0, static_cast<std::int64_t>(doc.GetDataSize()));
        content.assign(bytes.begin(), bytes.end());
    }
    return {content,
        doc.CursorOffset(),
        doc.InCharField(),
        doc.HasSelection() ? doc.GetSelStart() : -1,
        doc.HasSelection() ? doc.SelLow() : 0,
        doc.HasSelection() ? doc.SelLow() + doc.GetSelCount() : 0};
}

// One single-record edit of kind (step mod 5); every seventh delete and
// replace moves more than the stream keeps inline, so the side file is used.
void Edit(THexDocument& doc, int step, std::mt19937& random)
{
    const auto size = static_cast<std::int64_t>(doc.GetDataSize());
    const std::int64_t at = static_cast<std::int64_t>(random() % static_cast<unsigned>(size - 1));
    const bool large = step % 7 == 0 && size > 200'000;
    const std::int64_t span = large ? 70'000 : 1 + static_cast<std::int64_t>(random() % 5);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(1 + random() % (large ? 80'000 : 6)));
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    doc.SetSelStart(at);
    switch (step % 5) {
    case 0:
        ASSERT_TRUE(doc.ChangeByte(doc.GetMemory(at), static_cast<std::uint8_t>(doc.GetMemory(at) + 1), at));
        break;
    case 1:
        doc.SetSelEnd(std::min(at + span - 1, size - 1));
        ASSERT_TRUE(doc.DeleteSelection());
        break;
    case 2:
        ASSERT_TRUE(doc.InsertBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()), at));
        break;
    case 3:
        doc.SetSelEnd(std::min(at + span - 1, size - 1));
        ASSERT_TRUE(doc.ReplaceSelection(bytes.data(), static_cast<std::int64_t>(bytes.size())));
        break;
    case 4:
        ASSERT_TRUE(doc.AppendBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size())));
        break;
    }
}

TEST_F(HexDocumentUndo, HundredUndosOfHundredFiftyEditsReturnToEditFifty)
{
    std::string start(400'000, '\0');
    std::mt19937 random(15);
    for (char& c : start) {
        c = static_cast<char>(random());
    }
    Load(start);
    TSnapshot afterFifty;
    for (int step = 1; step <= 150; ++step) {
        SCOPED_TRACE(step);
        Edit(doc, step, random);
        ASSERT_TRUE(doc.CanUndo());
        if (step == 50) {
            afterFifty = Take(*this, doc);
        }
    }
    for (int i = 0; i < 100; ++i) {
        ASSERT_NE(doc.UndoDescription(), "No Undo") << i;
        doc.Undo();
    }
    // Each edit first placed the cursor, so the bytes are what edit 50 left.
    EXPECT_TRUE(Take(*this, doc).content == afterFifty.content);
    EXPECT_EQ(doc.UndoDescription(), "No Undo");
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_TRUE(Take(*this, doc).content == afterFifty.content);
    EXPECT_EQ(doc.UndoDescription(), "No Undo");
}

TEST_F(HexDocumentUndo, EachKindRestoresBytesStateAndDescription)
{
    Load("abcdef");
    const std::uint8_t xy[] = {'X', 'Y'};
    struct Case {
        const char* description;
        std::int64_t selFrom, selTo;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"Byte changed",
            3,
            4,
            [&] {
                doc.ChangeByte('c', 'Z', 2);
            }},
        {"Byte(s) removed",
            1,
            3,
            [&] {
                doc.DeleteSelection();
            }},
        {"Insert buffer",
            3,
            4,
            [&] {
                doc.InsertBuffer(xy, 2, 4);
            }},
        {"Replace selection",
            4,
            1,
            [&] {
                doc.ReplaceSelection(xy, 1);
            }},
        {"Append buffer",
            3,
            4,
            [&] {
                doc.AppendBuffer(xy, 2);
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        Select(c.selFrom, c.selTo);
        const TSnapshot before = Take(*this, doc);
        const bool modified = doc.Modified();
        c.edit();
        EXPECT_EQ(doc.UndoDescription(), c.description);
        EXPECT_TRUE(doc.Modified());
        doc.Undo();
        EXPECT_TRUE(Take(*this, doc) == before);
        EXPECT_EQ(doc.Modified(), modified);
    }
    EXPECT_EQ(doc.UndoDescription(), "No Undo");
}

TEST_F(HexDocumentUndo, ChangedMarkComesBackWithTheByte)
{
    Load("abc");
    doc.ChangeByte('b', 'x', 1);
    doc.ChangeByte('x', 'y', 1);
    doc.Undo();
    EXPECT_TRUE(doc.ChangedMark(1)); // the byte was already marked before the second change
    doc.Undo();
    EXPECT_FALSE(doc.ChangedMark(1));
    EXPECT_EQ(Content(), "abc");
}

TEST_F(HexDocumentUndo, CapKeepsTheNewestHundred)
{
    Load(std::string(10, 'a'));
    for (int i = 0; i < 101; ++i) {
        doc.ChangeByte(doc.GetMemory(0), static_cast<std::uint8_t>(i), 0);
    }
    for (int i = 0; i < 100; ++i) {
        doc.Undo();
    }
    EXPECT_EQ(doc.GetMemory(0), 0); // the state after the first edit
    EXPECT_EQ(doc.UndoDescription(), "No Undo");
}

TEST_F(HexDocumentUndo, NewDocumentOffersUndoOnlyOnceEdited)
{
    doc.CreateEmptyFile("x");
    EXPECT_FALSE(doc.CanUndo());
    doc.Undo();
    EXPECT_EQ(doc.UndoDescription(), "No Undo");
    const std::uint8_t b = 7;
    EXPECT_FALSE(doc.ChangeByte(0, 7, 0)); // nothing to change in an empty document
    ASSERT_TRUE(doc.InsertBuffer(&b, 1, 0));
    EXPECT_TRUE(doc.CanUndo());
    doc.Undo();
    EXPECT_EQ(doc.GetDataSize(), 0u);
}

} // namespace
} // namespace quillet::test
