// Seeded random edits checked against a plain line list: every step must match,
// undoing everything must give back the original and redoing everything the
// edited text.
#include "support/BufferText.h"
#include "text/MemoSource.h"

#include <gtest/gtest.h>
#include <random>

namespace quillet {
namespace {

using test::JoinedLines;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += (i ? "\n" : "") + lines[i];
    }
    return out;
}

void RunRandomEdits(unsigned seed, bool groupUndo)
{
    std::mt19937 rng(seed);
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.SetOptions(groupUndo ? (kDefaultStringsOptions | soGroupUndo) : (kDefaultStringsOptions & ~soGroupUndo));
    const std::string original = "int main()\n{\n\treturn 0;\t// done\n}\n\nlast\tline";
    s.LoadFromText(original);
    std::vector<std::string> model = {"int main()", "{", "\treturn 0;\t// done", "}", "", "last\tline"};
    const char* pieces[] = {"x", "ab", "\t", " ", "{}", "\tq\t", "\x01\xff"};
    for (int step = 0; step < 3000; ++step) {
        if (model.empty()) {
            model.push_back("");
        }
        int line = pick(static_cast<int>(model.size()));
        std::string& text = model[static_cast<std::size_t>(line)];
        int raw = pick(static_cast<int>(text.size()) + 1);
        int col = tabs::RawToCol(text, raw, s.TabStops());
        s.JumpTo(col, line);
        ASSERT_EQ(s.GetCaretPoint(), (TTextPoint{col, line})) << "step " << step;
        switch (pick(4)) {
        case 0: {
            std::string piece = pieces[pick(7)];
            s.Insert(piece);
            text.insert(static_cast<std::size_t>(raw), piece);
            break;
        }
        case 1: {
            int n = 1 + pick(3);
            s.DeleteRight(n);
            text.erase(static_cast<std::size_t>(raw), static_cast<std::size_t>(n));
            break;
        }
        case 2: {
            s.BreakLine();
            std::string tail = text.substr(static_cast<std::size_t>(raw));
            text.resize(static_cast<std::size_t>(raw));
            model.insert(model.begin() + line + 1, tail);
            break;
        }
        default:
            if (line + 1 < static_cast<int>(model.size())) {
                s.JumpTo(tabs::DisplayLength(text, s.TabStops()), line);
                s.JoinLines();
                text += model[static_cast<std::size_t>(line) + 1];
                model.erase(model.begin() + line + 1);
            }
            break;
        }
        if (model.size() == 1 && model[0].empty()) {
            model.clear();
        }
        ASSERT_EQ(JoinedLines(s), Joined(model)) << "step " << step;
    }
    const std::string edited = JoinedLines(s);
    while (s.UndoAvailable()) {
        s.Undo();
    }
    EXPECT_EQ(JoinedLines(s),
        Joined(std::vector<std::string>{"int main()", "{", "\treturn 0;\t// done", "}", "", "last\tline"}));
    EXPECT_FALSE(s.Modified());
    while (s.RedoAvailable()) {
        s.Redo();
    }
    EXPECT_EQ(JoinedLines(s), edited);
    EXPECT_TRUE(s.Modified());
}

TEST(MemoSourceRandom, UndoAllAndRedoAllRoundTrip)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        RunRandomEdits(seed, false);
        RunRandomEdits(seed + 100, true);
    }
}

} // namespace
} // namespace quillet
