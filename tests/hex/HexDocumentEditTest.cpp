// Typing, deleting, selecting and the move rule of the hex editor's document.
#include "HexFixture.h"

namespace quillet::test {
namespace {

using HexDocumentEdit = THexFixture;

TEST_F(HexDocumentEdit, EmptyDocumentTakesBytesOnlyInInsertMode)
{
    doc.CreateEmptyFile("new.bin");
    EXPECT_TRUE(doc.ReadOnlyFile());
    EXPECT_EQ(doc.RowCount(), 1);
    EXPECT_FALSE(doc.SelectCell({4, 0}, false, false));
    EXPECT_FALSE(doc.SelectCell({35, 0}, false, false));
    Type("41");
    EXPECT_EQ(doc.GetDataSize(), 0u);
    EXPECT_FALSE(doc.Modified());

    doc.KeyDown(THexKey::Insert, hmNone);
    Type("4");
    EXPECT_EQ(Content(), "\x40");
    EXPECT_EQ(doc.Cursor(), (THexCell{3, 0}));
    // The low nibble of the last byte appends a zero byte and selects it.
    Type("1");
    EXPECT_EQ(Content(), std::string("\x41\x00", 2));
    EXPECT_EQ(doc.Cursor(), (THexCell{4, 0}));
    EXPECT_EQ(doc.GetSelCount(), 1);
    EXPECT_TRUE(doc.IsSelected(1));
    // The next digit replaces the selected zero byte.
    Type("42");
    EXPECT_EQ(Content(), std::string("\x41\x42\x00", 3));
}

TEST_F(HexDocumentEdit, OverwriteTypingInBothFields)
{
    Load(std::string(4, '\0'));
    Type("4");
    EXPECT_EQ(Content(), std::string("\x40\0\0\0", 4));
    EXPECT_EQ(doc.Cursor(), (THexCell{3, 0}));
    Type("1f");
    EXPECT_EQ(Content(), std::string("\x41\xF0\0\0", 4));
    EXPECT_TRUE(doc.ChangedMark(0));
    EXPECT_TRUE(doc.ChangedMark(1));
    EXPECT_FALSE(doc.ChangedMark(2));
    Type("xz"); // not hexadecimal: ignored
    EXPECT_EQ(doc.Cursor(), (THexCell{5, 0}));

    doc.KeyDown(THexKey::Tab, hmNone);
    EXPECT_TRUE(doc.InCharField());
    EXPECT_EQ(doc.CursorOffset(), 1);
    Type("AB");
    doc.TypeChar(7); // a control code is refused in the character field
    EXPECT_EQ(Content(),
        std::string("\x41"
                    "AB\0",
            4));
    EXPECT_EQ(doc.CursorOffset(), 3);
    doc.KeyDown(THexKey::T, hmCtrl);
    EXPECT_FALSE(doc.InCharField());

    // Typing the same value writes no undo record.
    const std::string before = doc.UndoDescription();
    doc.SetSelStart(0);
    Type("4");
    EXPECT_EQ(doc.UndoDescription(), before);

    doc.SetReadOnlyView(true);
    doc.SetSelStart(3);
    Type("FF");
    EXPECT_EQ(Content()[3], '\0');
}

TEST_F(HexDocumentEdit, InsertModeTypingInsertsWholeBytes)
{
    Load("XY");
    doc.KeyDown(THexKey::Insert, hmNone);
    EXPECT_TRUE(doc.GetIsInsertMode());
    Type("41");
    EXPECT_EQ(Content(), "AXY");
    EXPECT_EQ(doc.CursorOffset(), 1);
    EXPECT_FALSE(doc.ChangedMark(0)); // no marks in insert mode
    doc.KeyDown(THexKey::Tab, hmNone);
    Type("q");
    EXPECT_EQ(Content(), "AqXY");
    EXPECT_EQ(doc.CursorOffset(), 2);

    doc.SetAllowInsertMode(false);
    EXPECT_FALSE(doc.GetIsInsertMode());
}

TEST_F(HexDocumentEdit, BackspaceAndDelete)
{
    Load("abcdef");
    // Overwrite mode: Backspace only moves left within the row.
    doc.SetSelStart(2);
    doc.KeyDown(THexKey::Backspace, hmNone);
    EXPECT_EQ(doc.Cursor(), (THexCell{5, 0}));
    doc.KeyDown(THexKey::Delete, hmNone);
    EXPECT_EQ(Content(), "abcdef");
    doc.KeyDown(THexKey::Delete, hmCtrl);
    EXPECT_EQ(Content(), "acdef");

    doc.KeyDown(THexKey::Insert, hmNone);
    // Insert mode: a selection goes, then the byte before it: two undo steps.
    doc.SetSelStart(2);
    doc.SetSelEnd(3);
    doc.KeyDown(THexKey::Backspace, hmNone);
    EXPECT_EQ(Content(), "af");
    EXPECT_EQ(doc.CursorOffset(), 1);
    doc.Undo();
    EXPECT_EQ(Content(), "acf");
    doc.Undo();
    EXPECT_EQ(Content(), "acdef");
    doc.SetSelStart(0);
    doc.KeyDown(THexKey::Backspace, hmNone);
    EXPECT_EQ(Content(), "acdef"); // nothing before offset 0
    doc.KeyDown(THexKey::Delete, hmNone);
    EXPECT_EQ(Content(), "cdef");
}

TEST_F(HexDocumentEdit, MoveRuleKeepsTheCursorOnData)
{
    Load(std::string(17, 'x'));
    EXPECT_EQ(doc.RowCount(), 2);
    const THexGrid& grid = doc.Grid();
    struct Case {
        const char* name;
        THexCell target;
        bool button;
        bool accepted;
        THexCell result;
    };
    const Case cases[] = {
        {"blank of the short row", {6, 1}, false, true, {2, 1}},
        {"blank character cell", {40, 1}, false, true, {35, 1}},
        {"gap column by key", {grid.GapCol(), 0}, false, false, {2, 0}},
        {"gap column by mouse", {grid.GapCol(), 0}, true, true, {33, 0}},
        {"marker column", {1, 0}, false, true, {2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.SelectCell({2, 0}, false, false);
        EXPECT_EQ(doc.SelectCell(c.target, false, c.button), c.accepted);
        doc.MouseUp();
        EXPECT_EQ(doc.Cursor(), c.result);
    }
}

TEST_F(HexDocumentEdit, NavigationKeys)
{
    Load(std::string(40, 'x'));
    doc.SetViewRows(0, 2);
    struct Case {
        const char* name;
        std::int64_t from;
        THexKey key;
        unsigned mods;
        THexCell to;
    };
    const Case cases[] = {
        {"right to low nibble", 0, THexKey::Right, hmNone, {3, 0}},
        {"left from high to previous low", 1, THexKey::Left, hmNone, {3, 0}},
        {"left at the start stays", 0, THexKey::Left, hmNone, {2, 0}},
        {"down", 1, THexKey::Down, hmNone, {4, 1}},
        {"down on the last row stays", 33, THexKey::Down, hmNone, {4, 2}},
        {"up", 17, THexKey::Up, hmNone, {4, 0}},
        {"home", 20, THexKey::Home, hmNone, {2, 1}},
        {"end", 20, THexKey::End, hmNone, {32, 1}},
        {"end of a short row", 33, THexKey::End, hmNone, {16, 2}},
        {"ctrl end", 3, THexKey::End, hmCtrl, {16, 2}},
        {"ctrl home", 30, THexKey::Home, hmCtrl, {2, 0}},
        {"ctrl right in a short row", 32, THexKey::Right, hmCtrl, {16, 2}},
        {"page down", 0, THexKey::PageDown, hmNone, {2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.SetSelStart(c.from);
        doc.KeyDown(c.key, c.mods);
        EXPECT_EQ(doc.Cursor(), c.to);
    }
}

TEST_F(HexDocumentEdit, ShiftSelectionInBothModes)
{
    Load("0123456789");
    struct Case {
        const char* name;
        bool insert;
        std::int64_t from;
        THexKey key;
        int presses;
        std::int64_t start, end;
    };
    const Case cases[] = {
        {"overwrite right", false, 2, THexKey::Down, 0, 2, 2},
        {"overwrite: two cells right covers both bytes", false, 2, THexKey::Right, 2, 2, 3},
        {"insert: the byte under the cursor is not selected", true, 2, THexKey::Right, 2, 2, 2},
        {"insert: left selects the byte before", true, 5, THexKey::Left, 1, 4, 4},
        {"insert: further left", true, 5, THexKey::Left, 3, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (doc.GetIsInsertMode() != c.insert) {
            doc.KeyDown(THexKey::Insert, hmNone);
        }
        doc.SetSelStart(c.from);
        doc.KeyDown(THexKey::Shift, hmShift);
        for (int i = 0; i < c.presses; ++i) {
            doc.KeyDown(c.key, hmShift);
        }
        doc.KeyUp(THexKey::Shift);
        if (c.presses == 0) {
            EXPECT_FALSE(doc.HasSelection());
            continue;
        }
        EXPECT_TRUE(doc.HasSelection());
        EXPECT_EQ(std::min(doc.GetSelStart(), doc.GetSelEnd()), c.start);
        EXPECT_EQ(doc.SelLow() + doc.GetSelCount() - 1, c.end);
    }
    // A plain key clears the selection in overwrite mode.
    if (doc.GetIsInsertMode()) {
        doc.KeyDown(THexKey::Insert, hmNone);
    }
    Select(1, 4);
    EXPECT_EQ(doc.GetSelStart(), 1);
    EXPECT_EQ(doc.GetSelEnd(), 4);
    doc.KeyDown(THexKey::Right, hmNone);
    EXPECT_FALSE(doc.HasSelection());
}

TEST_F(HexDocumentEdit, MouseDragSelects)
{
    Load(std::string(32, 'x'));
    doc.MouseDown({4, 0}, false);
    doc.MouseMove({10, 0});
    doc.MouseMove({4, 1});
    doc.MouseUp();
    EXPECT_EQ(doc.SelLow(), 1);
    EXPECT_EQ(doc.GetSelCount(), 17);
    doc.MouseDown({2, 0}, false);
    EXPECT_FALSE(doc.HasSelection());
}

TEST_F(HexDocumentEdit, BuffersAndSelectionEdits)
{
    Load("abcdef");
    const std::uint8_t xy[] = {'X', 'Y'};
    doc.SetSelStart(2);
    ASSERT_TRUE(doc.InsertBuffer(xy, 2, 2));
    EXPECT_EQ(Content(), "abXYcdef");
    EXPECT_EQ(doc.SelLow(), 2); // inserted at the cursor: the new bytes are the selection
    EXPECT_EQ(doc.GetSelCount(), 2);
    ASSERT_TRUE(doc.ReplaceSelection(xy, 1));
    EXPECT_EQ(Content(), "abXcdef");
    EXPECT_EQ(doc.GetSelCount(), 1);
    ASSERT_TRUE(doc.DeleteSelection());
    EXPECT_EQ(Content(), "abcdef");
    ASSERT_TRUE(doc.AppendBuffer(xy, 2));
    EXPECT_EQ(Content(), "abcdefXY");
    EXPECT_EQ(doc.CursorOffset(), 6);
    EXPECT_EQ(doc.GetSelCount(), 2);
    Select(0, 7);
    doc.SetAsText("new");
    EXPECT_EQ(Content(), "new");
    // An empty replacement only deletes.
    Select(0, 1);
    ASSERT_TRUE(doc.ReplaceSelection(nullptr, 0));
    EXPECT_EQ(Content(), "w");
    EXPECT_EQ(doc.UndoDescription(), "Byte(s) removed");
}

TEST_F(HexDocumentEdit, ArgumentChecks)
{
    Load("abc");
    EXPECT_THROW(doc.SetSelStart(3), THexArgumentError);
    EXPECT_THROW(doc.SetSelEnd(-1), THexArgumentError);
    EXPECT_THROW(doc.GetMemory(3), THexArgumentError);
    EXPECT_THROW(doc.BufferFromFile(-1, 1), THexArgumentError);
    EXPECT_THROW(doc.SetMarker(10, 0), THexArgumentError);
    EXPECT_THROW(doc.SetMarker(-1, 0), THexArgumentError);
    EXPECT_THROW(doc.SetBytesPerLine(0), THexArgumentError);
    EXPECT_THROW(doc.SetBytesPerLine(257), THexArgumentError);
    doc.SetBytesPerLine(4);
    doc.SetBytesPerColumn(9);
    EXPECT_EQ(doc.Grid().bytesPerColumn, 4);
    doc.SetBytesPerColumn(0);
    EXPECT_EQ(doc.Grid().bytesPerColumn, 1);
    EXPECT_EQ(doc.GetMemory(2), 'c');
    EXPECT_EQ(doc.BufferFromFile(1, 10), (std::vector<std::uint8_t>{'b', 'c'}));
}

TEST_F(HexDocumentEdit, BytesPerLineKeepsTheCursorOffsetAndField)
{
    Load(std::string(100, 'x'));
    doc.SetSelStart(37);
    doc.KeyDown(THexKey::Tab, hmNone);
    doc.SetBytesPerLine(32);
    EXPECT_EQ(doc.CursorOffset(), 37);
    EXPECT_TRUE(doc.InCharField());
    EXPECT_EQ(doc.Cursor().row, 1);
}

TEST_F(HexDocumentEdit, MarkersToggleOneToNineThenZero)
{
    Load(std::string(200, 'x'));
    for (int row = 0; row < 10; ++row) {
        doc.ToggleMarker(row);
    }
    EXPECT_EQ(doc.GetMarker(1), 0);
    EXPECT_EQ(doc.GetMarker(9), 8);
    EXPECT_EQ(doc.GetMarker(0), 9);
    doc.ToggleMarker(11); // all ten taken
    for (int i = 0; i <= 9; ++i) {
        EXPECT_NE(doc.GetMarker(i), 11);
    }
    doc.ToggleMarker(4);
    EXPECT_EQ(doc.GetMarker(5), -1);
    EXPECT_EQ(doc.CellLook({1, 0}).text, "1");
    EXPECT_TRUE(doc.CellLook({1, 0}).marker);
}

TEST_F(HexDocumentEdit, CellLookColours)
{
    Load(std::string("\x01\x41\x42\x43\x44", 5));
    const std::uint8_t z = 0x7A;
    doc.ChangeByte(0x41, z, 1);
    EXPECT_EQ(doc.CellLook({36, 0}).text, "z");
    EXPECT_EQ(doc.CellLook({35, 0}).text, ".");
    doc.SetMaskWhiteSpaces(false);
    EXPECT_EQ(doc.CellLook({35, 0}).text, "\x01");
    EXPECT_EQ(doc.CellLook({4, 0}).textColor, THexColorRole::ChangedText);
    EXPECT_EQ(doc.CellLook({2, 0}).textColor, THexColorRole::OddColumn);
    EXPECT_EQ(doc.CellLook({6, 0}).textColor, THexColorRole::EvenColumn);
    Select(2, 3);
    EXPECT_EQ(doc.CellLook({6, 0}).textColor, THexColorRole::EvenComplement);
    EXPECT_EQ(doc.CellLook({6, 0}).backColor, THexColorRole::EvenColumn);
    EXPECT_EQ(doc.CellLook({37, 0}).backColor, THexColorRole::Font);
    EXPECT_EQ(doc.CellLook({12, 0}).text, " "); // past the data
    doc.CreateEmptyFile("");
    EXPECT_EQ(doc.CellLook({0, 0}).text, "0x0:");
    EXPECT_EQ(doc.CellLook({5, 0}).text, "   ");
}

} // namespace
} // namespace quillet::test
