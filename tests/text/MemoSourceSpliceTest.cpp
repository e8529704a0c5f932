// Block deletes and multi-line pastes are spliced in one step; the same edits
// can also run line by line through the editing primitives. Seeded random
// documents, selections and pastes go through both routes, which must agree
// on the text, style bytes, caret, selection, tracked positions, bookmarks and
// line decoration, and one Undo must give back the original text exactly.
#include "support/BufferText.h"
#include "text/MemoSource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace quillet {
namespace {

using test::JoinedLines;

// Everything the two routes must agree on, as one comparable string.
// Style bytes are left out after an undo without stored colours: the restored
// lines then get none, where the per-line route copied neighbouring bytes.
std::string State(TMemoSource& s, const std::vector<TPosition*>& positions, bool styles)
{
    std::string out = JoinedLines(s) + "\n--\n";
    for (int i = 0; i < s.GetStrCount(); ++i) {
        const std::string style = s.GetStoredColorData(i);
        if (styles && style.find_first_not_of('\0') != std::string::npos) {
            out += std::to_string(i) + ":" + style + "\n";
        }
        if (s.GetImageBits(i) || s.GetLineTextStyle(i) || s.Lines().GetObject(i)) {
            out += "deco " + std::to_string(i) + " " + std::to_string(s.GetImageBits(i)) + " "
                + std::to_string(s.GetLineTextStyle(i)) + " " + std::to_string(s.Lines().GetObject(i)) + "\n";
        }
    }
    auto point = [](TTextPoint p) {
        return "(" + std::to_string(p.col) + "," + std::to_string(p.line) + ")";
    };
    out += "caret " + point(s.GetCaretPoint()) + " sel " + std::to_string(static_cast<int>(s.SelectionKind())) + " "
        + point(s.SelStart()) + point(s.SelEnd()) + "\n";
    for (const TPosition* p : positions) {
        out += "pos " + point(p->Point()) + "\n";
    }
    for (const TMemoSource::TBookmark& b : s.Bookmarks()) {
        out += "mark " + std::to_string(b.number) + point({b.col, b.line}) + "\n";
    }
    out += s.Modified() ? "modified\n" : "unmodified\n";
    return out;
}

// Random text with what makes column arithmetic hard: tabs, trailing blanks,
// empty lines.
std::string RandomLine(std::mt19937& rng)
{
    const char* pieces[] = {"a", "bc", "\t", " ", "  ", "xyz", "\t\t", "q"};
    std::string line;
    const int n = static_cast<int>(rng() % 7);
    for (int i = 0; i < n; ++i) {
        line += pieces[rng() % 8];
    }
    return line;
}

struct TRoute {
    TMemoSource source;
    std::vector<TPosition*> positions;
};

class TTwoRoutes {
public:
    TTwoRoutes(unsigned seed, bool keepBlanks)
        : m_rng(seed)
    {
        const int lineCount = 2 + Pick(12);
        std::string text;
        for (int i = 0; i < lineCount; ++i) {
            text += RandomLine(m_rng) + (i + 1 < lineCount ? "\n" : "");
        }
        m_original = text;
        m_routes[1].source.SetSplicedBlockEdits(false);
        std::vector<TTextPoint> tracked;
        for (int i = 0; i < 4; ++i) {
            tracked.push_back({Pick(14), Pick(lineCount + 1)});
        }
        const int styledLine = Pick(lineCount);
        for (TRoute& r : m_routes) {
            r.source.SetKeepTrailingBlanks(keepBlanks);
            r.source.LoadFromText(text);
            for (TTextPoint p : tracked) {
                r.positions.push_back(r.source.CopyPosition(p));
            }
            r.source.SetStyleBytes(styledLine, 0, "\x03\x04");
            r.source.SetImageBit(styledLine, 2, true);
            r.source.Lines().PutObject(lineCount - 1, 77);
            r.source.JumpTo(1, lineCount - 1);
            r.source.SetBookMark(3);
            r.source.JumpTo(0, 1);
            r.source.SetBookMark(5);
        }
        m_original = JoinedLines(m_routes[0].source);
    }

    int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    std::string Line() { return RandomLine(m_rng); }
    TTextPoint RandomPoint()
    {
        const int line = Pick(m_routes[0].source.GetStrCount());
        return {Pick(m_routes[0].source.LineLength(line) + 3), line};
    }

    template <class F> void Apply(const F& edit)
    {
        for (TRoute& r : m_routes) {
            edit(r.source);
        }
    }
    void ExpectSame(const char* what, bool styles = true)
    {
        SCOPED_TRACE(what);
        EXPECT_EQ(State(m_routes[0].source, m_routes[0].positions, styles),
            State(m_routes[1].source, m_routes[1].positions, styles));
    }
    TMemoSource& Spliced() { return m_routes[0].source; }
    const std::string& Original() const { return m_original; }

private:
    std::mt19937 m_rng;
    TRoute m_routes[2];
    std::string m_original;
};

TEST(MemoSourceSplice, DeleteAndPasteAgreeWithTheLineByLineRoute)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        for (bool keepBlanks : {false, true}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " keep blanks " << keepBlanks);
            TTwoRoutes t(seed, keepBlanks);
            TTextPoint a = t.RandomPoint();
            TTextPoint b = t.RandomPoint();
            if (b < a) {
                std::swap(a, b);
            }
            std::vector<std::string> paste;
            const int pasteLines = 2 + t.Pick(4);
            for (int i = 0; i < pasteLines; ++i) {
                paste.push_back(i == 1 && t.Pick(3) == 0 ? std::string() : t.Line());
            }
            const int operation = t.Pick(3);
            // While trailing blanks are kept, a paste past the line end or
            // inside a tab pads with spaces that outlive the undo, as typing
            // there does.
            std::string_view startLine = t.Spliced().GetRawLine(a.line);
            const TTabStops& stops = t.Spliced().TabStops();
            const bool pasteInsideText = a.col <= tabs::DisplayLength(startLine, stops)
                && tabs::RawToCol(startLine, tabs::ColToRaw(startLine, a.col, stops), stops) == a.col;
            const bool exactUndo =
                !keepBlanks || operation == 0 || (operation == 2 && a.line != b.line) || pasteInsideText;
            SCOPED_TRACE(testing::Message()
                << "operation " << operation << " from " << a.col << "," << a.line << " to " << b.col << "," << b.line);
            t.Apply([&](TMemoSource& s) {
                s.SetSelection(TSelKind::selStream, a.col, a.line, b.col, b.line);
                switch (operation) {
                case 0:
                    s.DeleteBlock();
                    break;
                case 1:
                    s.JumpTo(a.col, a.line);
                    s.PasteBlockFromStrings(paste, false);
                    break;
                default:
                    // Replacing the selection with lines, as the line-rewriting commands do.
                    s.BeginUpdate(38);
                    s.BeginUndoBlock();
                    s.DeleteBlock();
                    s.JumpTo(a.col, a.line);
                    s.PasteBlockFromStrings(paste, false);
                    s.EndUndoBlock();
                    s.EndUpdate();
                    break;
                }
            });
            t.ExpectSame("after the edit");
            t.Apply([](TMemoSource& s) {
                s.Undo();
            });
            t.ExpectSame("after undo", false);
            if (exactUndo) {
                EXPECT_EQ(JoinedLines(t.Spliced()), t.Original());
            }
            EXPECT_FALSE(t.Spliced().Modified());
            t.Apply([](TMemoSource& s) {
                s.Redo();
            });
            t.ExpectSame("after redo");
        }
    }
}

TEST(MemoSourceSplice, DeletingABlockThatStartsPastTheLineEndUndoesItsPadding)
{
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.LoadFromText("ab\ncdef\ngh");
    s.SetSelection(TSelKind::selStream, 5, 0, 2, 1);
    s.DeleteBlock();
    EXPECT_EQ(JoinedLines(s), "ab   ef\ngh");
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "ab\ncdef\ngh");
}

TEST(MemoSourceSplice, UndoOfAPastePastTheLineEndOrInsideATabAddsNoPadding)
{
    for (TTextPoint at : {TTextPoint{6, 1}, TTextPoint{4, 0}}) {
        SCOPED_TRACE(at.col);
        TMemoSource s;
        s.LoadFromText("ab\n\tc");
        s.JumpTo(at.col, at.line);
        s.PasteBlockFromStrings({"x", "y"}, false);
        s.Undo();
        EXPECT_EQ(JoinedLines(s), "ab\n\tc");
    }
}

TEST(MemoSourceSplice, LargeBlockReplacedAndRestoredInOneUndoStep)
{
    std::string text;
    std::vector<std::string> reversed;
    for (int i = 0; i < 20000; ++i) {
        text += "line " + std::to_string(i) + (i % 3 ? "\tx" : "") + "\n";
        reversed.push_back("line " + std::to_string(i) + (i % 3 ? "\tx" : ""));
    }
    std::reverse(reversed.begin(), reversed.end());
    reversed.emplace_back();
    TMemoSource s;
    s.LoadFromText(text);
    const std::string original = JoinedLines(s);
    s.SetSelection(TSelKind::selStream, 0, 0, 0, 20000);
    s.BeginUpdate(38);
    s.DeleteBlock();
    s.JumpTo(0, 0);
    s.PasteBlockFromStrings(reversed, false);
    s.EndUpdate();
    EXPECT_EQ(s.GetRawLine(0), "line 19999\tx");
    EXPECT_EQ(s.GetRawLine(19999), "line 0");
    EXPECT_LT(s.UndoList().Count(), 10u);
    s.Undo();
    EXPECT_EQ(JoinedLines(s), original);
    EXPECT_FALSE(s.Modified());
    EXPECT_FALSE(s.UndoAvailable());
}

} // namespace
} // namespace quillet
