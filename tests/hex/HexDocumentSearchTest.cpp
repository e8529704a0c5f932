// Find, Seek and the find, replace and preset steps of binary search.
#include "HexFixture.h"
#include "hex/BinarySearch.h"

namespace quillet::test {
namespace {

using HexDocumentSearch = THexFixture;

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST_F(HexDocumentSearch, FindAcrossCacheAndBlockBoundaries)
{
    std::string data(9u << 20, 'x');
    const std::int64_t offsets[] = {
        65536 - 3, (4 << 20) - 5, (8 << 20) - 1, static_cast<std::int64_t>(data.size()) - 7};
    for (std::int64_t at : offsets) {
        data.replace(static_cast<std::size_t>(at), 7, "needle!");
    }
    Load(data);
    // The exact search and the one ignoring case take different routes.
    for (const bool ignoreCase : {false, true}) {
        std::int64_t from = 0;
        for (std::int64_t at : offsets) {
            SCOPED_TRACE(testing::Message() << at << (ignoreCase ? " ignoring case" : " exact"));
            std::vector<std::uint8_t> pattern = Bytes(ignoreCase ? "NeeDLE!" : "needle!");
            const std::int64_t found = doc.Find(pattern, ignoreCase, static_cast<std::int64_t>(data.size()), from);
            EXPECT_EQ(found, at);
            from = found + 1;
        }
    }
    // Painting reads through the 64 KB window on both sides of the boundary.
    EXPECT_EQ(doc.CachedByte(65536 - 3), 'n');
    EXPECT_EQ(doc.CachedByte(65536 + 3), '!');
    EXPECT_EQ(doc.CachedByte(0), 'x');
}

TEST_F(HexDocumentSearch, FindRangeAndCase)
{
    Load("xxAbyyab");
    struct Case {
        const char* name;
        std::string pattern;
        bool ignoreCase;
        std::int64_t last, first, result;
    };
    const Case cases[] = {
        {"exact", "ab", false, 99, 0, 6},
        {"ignoring case through the lower-case map", "ab", true, 99, 0, 2},
        {"the match must end by the last offset", "ab", false, 6, 0, -1},
        {"first offset excludes earlier matches", "Ab", false, 99, 3, -1},
        {"range too short for the pattern", "Aby", false, 3, 2, -1},
        {"a start before 0 starts at 0", "xx", false, 99, -5, 0},
        {"empty pattern", "", false, 99, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> pattern = Bytes(c.pattern);
        EXPECT_EQ(doc.Find(pattern, c.ignoreCase, c.last, c.first), c.result);
    }
}

TEST_F(HexDocumentSearch, SeekOrigins)
{
    Load("0123456789");
    struct Case {
        std::int64_t offset;
        int origin;
        bool strict;
        bool ok;
        std::int64_t cursor;
    };
    const Case cases[] = {
        {-5, 1, true, false, 3},
        {-5, 1, false, true, 0},
        {2, 1, true, true, 5},
        {7, 0, true, true, 7},
        {10, 0, true, false, 3},
        {10, 0, false, true, 9},
        {-1, 2, true, true, 8},
        {0, 9, true, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " origin " << c.origin << " strict " << c.strict);
        doc.SetSelStart(3);
        EXPECT_EQ(doc.Seek(c.offset, c.origin, c.strict), c.ok);
        EXPECT_EQ(doc.CursorOffset(), c.cursor);
    }
    doc.CreateEmptyFile("");
    EXPECT_FALSE(doc.Seek(0, 0, false));
}

TEST_F(HexDocumentSearch, FindDataInTextAndHexWithEachScopeAndOrigin)
{
    Load("AB..ab..AB..ab");
    struct Case {
        const char* name;
        std::string text;
        bool asText, caseSensitive, selection, entire;
        std::int64_t cursor, selFrom, selTo;
        std::int64_t result;
    };
    const Case cases[] = {
        {"text, global, entire scope", "ab", true, true, false, true, 5, -1, -1, 4},
        {"text ignoring case, global, from cursor", "ab", true, false, false, false, 5, -1, -1, 8},
        {"from cursor misses a match before the cursor", "ab", true, true, false, false, 13, -1, -1, -1},
        {"hex, global, entire", "6162", false, false, false, true, 9, -1, -1, 4},
        {"hex is always exact", "4142", false, false, false, true, 1, -1, -1, 0},
        {"selection, entire scope", "ab", true, false, true, true, 0, 6, 13, 8},
        {"selection, from cursor inside it", "ab", true, true, true, false, 0, 6, 13, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBinarySearchState state;
        state.asText = c.asText;
        state.caseSensitive = c.asText ? c.caseSensitive : true;
        state.selectionScope = c.selection;
        state.entireScope = c.entire;
        state.bytes = SearchTextToBytes(c.text, c.asText);
        if (c.selFrom >= 0) {
            doc.SetSelStart(c.selFrom);
            doc.SetSelEnd(c.selTo);
            // The cursor for "From cursor" is the anchor's end here.
        } else {
            doc.SetSelStart(c.cursor);
        }
        const std::optional<TSearchRange> range = SearchRange(doc, state);
        ASSERT_TRUE(range);
        EXPECT_EQ(FindAndSelect(doc, state, range->first, range->last), c.result);
        if (c.result >= 0) {
            EXPECT_EQ(doc.SelLow(), c.result);
            EXPECT_EQ(doc.GetSelCount(), 2);
            EXPECT_EQ(doc.CursorOffset(), c.result + 1);
        }
    }
    TBinarySearchState state;
    state.selectionScope = true;
    doc.SetSelStart(0);
    EXPECT_FALSE(SearchRange(doc, state)); // "Tried to search marked block but it is invalid."
}

TEST_F(HexDocumentSearch, FindNextResumesAfterTheSelectedMatch)
{
    Load("abXabXab");
    TBinarySearchState state;
    EXPECT_EQ(FindNext(doc, state), -1); // nothing searched yet
    state.bytes = Bytes("ab");
    EXPECT_EQ(FindNext(doc, state), 0);
    EXPECT_EQ(FindNext(doc, state), 3);
    EXPECT_EQ(FindNext(doc, state), 6);
    EXPECT_EQ(FindNext(doc, state), -1);
    EXPECT_EQ(state.lastMatch, -1);
    // In insert mode the cursor goes past the match, or onto its last byte at the end.
    doc.KeyDown(THexKey::Insert, hmNone);
    doc.SetSelStart(0);
    state.lastMatch = 6;
    EXPECT_EQ(FindNext(doc, state), 6);
    EXPECT_EQ(doc.CursorOffset(), 7);
}

TEST_F(HexDocumentSearch, ReplaceAllResumesAfterTheReplacementWithAFixedEnd)
{
    Load("\x41\x41\x41");
    TBinarySearchState state;
    state.asText = false;
    state.entireScope = true;
    state.bytes = SearchTextToBytes("41", false);
    state.replacement = SearchTextToBytes("4142", false);
    const auto range = SearchRange(doc, state);
    EXPECT_EQ(ReplaceLoop(doc, state, *range, true, {}, {}), 2);
    EXPECT_EQ(Content(), "\x41\x42\x41\x42\x41");
}

TEST_F(HexDocumentSearch, ReplacePromptAnswers)
{
    struct Case {
        const char* name;
        bool replaceAll;
        std::vector<TReplaceAnswer> answers;
        std::string result;
        std::size_t asked;
    };
    const Case cases[] = {
        {"OK replaces the first match only", false, {TReplaceAnswer::Yes}, "Z.a.a", 1},
        {"OK with No skips it and stops", false, {TReplaceAnswer::No}, "a.a.a", 1},
        {"Replace All: yes, no, yes", true, {TReplaceAnswer::Yes, TReplaceAnswer::No, TReplaceAnswer::Yes}, "Z.a.Z", 3},
        {"Cancel ends the loop", true, {TReplaceAnswer::Yes, TReplaceAnswer::Cancel}, "Z.a.a", 2},
        {"All stops asking", true, {TReplaceAnswer::No, TReplaceAnswer::All}, "a.Z.Z", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("a.a.a");
        TBinarySearchState state;
        state.prompt = true;
        state.caseSensitive = true;
        state.entireScope = true;
        state.bytes = Bytes("a");
        state.replacement = Bytes("Z");
        std::size_t asked = 0;
        int pumps = 0;
        const auto ask = [&] {
            return c.answers.at(asked++);
        };
        ReplaceLoop(doc, state, *SearchRange(doc, state), c.replaceAll, ask, [&] {
            ++pumps;
        });
        EXPECT_EQ(Content(), c.result);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(pumps > 0, c.replaceAll && c.asked > 1);
    }
}

TEST_F(HexDocumentSearch, ReplaceAllInASelectionStaysInsideIt)
{
    // The selection holds "aaaa"; the bytes after it must survive a shorter replacement.
    Load("xaaaaaaaa");
    TBinarySearchState state;
    state.caseSensitive = true;
    state.selectionScope = true;
    state.entireScope = true;
    state.bytes = Bytes("aa");
    state.replacement = Bytes("b");
    doc.SetSelStart(1);
    doc.SetSelEnd(4);
    const auto range = SearchRange(doc, state);
    ASSERT_TRUE(range);
    EXPECT_EQ(ReplaceLoop(doc, state, *range, true, {}, {}), 2);
    EXPECT_EQ(Content(), "xbbaaaa");
}

TEST_F(HexDocumentSearch, EmptyReplacementOnlyDeletes)
{
    Load("a-b-c");
    TBinarySearchState state;
    state.entireScope = true;
    state.bytes = Bytes("-");
    EXPECT_EQ(ReplaceLoop(doc, state, *SearchRange(doc, state), true, {}, {}), 2);
    EXPECT_EQ(Content(), "abc");
}

TEST_F(HexDocumentSearch, ReplaceOfAMatchEndingTheData)
{
    Load("xxab");
    TBinarySearchState state;
    state.entireScope = true;
    state.bytes = Bytes("ab");
    state.replacement = Bytes("CDE");
    ReplaceLoop(doc, state, *SearchRange(doc, state), false, {}, {});
    EXPECT_EQ(Content(), "xxCDE");
}

TEST_F(HexDocumentSearch, FindPresetTakesAtMost256Bytes)
{
    Load(std::string(1000, 'q'));
    doc.SetSelStart(10);
    EXPECT_EQ(FindPreset(doc), "qq");
    doc.SetSelEnd(900);
    EXPECT_EQ(FindPreset(doc)->size(), 256u);
    doc.SetSelStart(998);
    EXPECT_FALSE(FindPreset(doc));
}

} // namespace
} // namespace quillet::test
