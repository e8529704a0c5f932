#include "text/LineStore.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

std::vector<std::string> Lines(const TLineStore& store)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        out.emplace_back(store.Text(i));
    }
    return out;
}

// Inserts, erases and rewrites at random places move the gap back and forth
// and grow the array; the store must read like a plain vector throughout.
TEST(LineStore, RandomEditsMatchAPlainVector)
{
    std::mt19937 rng(1234);
    TLineStore store;
    std::vector<std::string> model;
    for (int step = 0; step < 4000; ++step) {
        const std::size_t count = model.size();
        const int op = static_cast<int>(rng() % 4);
        const std::size_t at = count == 0 ? 0 : rng() % (count + 1);
        const std::string text = "line " + std::to_string(step);
        if (op == 0 || count == 0) {
            const std::size_t n = 1 + rng() % 3;
            store.InsertEmpty(at, n);
            model.insert(model.begin() + static_cast<long>(at), n, std::string());
        } else if (op == 1 && at < count) {
            const std::size_t n = std::min<std::size_t>(1 + rng() % 2, count - at);
            store.Erase(at, n);
            model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
        } else if (at < count) {
            store.SetText(at, text);
            model[at] = text;
        }
        ASSERT_EQ(store.Count(), model.size()) << "step " << step;
    }
    EXPECT_EQ(Lines(store), model);
}

struct TModelLine {
    std::string text;
    std::string aux;
    TLineStates states;
    bool loaded = false; // the text is still read from the loaded block
};

void ExpectSameLines(const TLineStore& store, const std::vector<TModelLine>& model, int step)
{
    ASSERT_EQ(store.Count(), model.size()) << "step " << step;
    for (std::size_t i = 0; i < model.size(); ++i) {
        const TLineExtra* extra = store.Rec(i).Extra();
        ASSERT_EQ(store.Text(i), model[i].text) << "step " << step << " line " << i;
        ASSERT_EQ(extra ? extra->aux : std::string(), model[i].aux) << "step " << step << " line " << i;
        ASSERT_EQ(store.States(i).start, model[i].states.start) << "step " << step << " line " << i;
        ASSERT_EQ(store.States(i).end, model[i].states.end) << "step " << step << " line " << i;
    }
}

// Loaded lines, extras and highlighter states under random inserts, erases,
// moves of records, text rewrites, freed extras and dropped states: the gap
// moves and growth of the record array and of the state array must keep the
// three in step, as a plain vector of lines would.
TEST(LineStore, RandomOperationsKeepTextExtrasAndStatesInStep)
{
    std::mt19937 rng(99);
    std::string loaded;
    std::vector<TModelLine> model;
    for (int i = 0; i < 300; ++i) {
        model.push_back({i % 7 == 0 ? std::string() : "loaded " + std::to_string(i), {}, {}, true});
        loaded += model.back().text;
    }
    std::shared_ptr<char[]> block(new char[loaded.size() + 1]);
    std::memcpy(block.get(), loaded.c_str(), loaded.size() + 1);
    std::vector<TLineRec> recs(model.size());
    for (std::size_t i = 0, at = 0; i < model.size(); at += model[i].text.size(), ++i) {
        recs[i].SetSpan(block.get() + at, static_cast<std::uint32_t>(model[i].text.size()));
    }
    TLineStore store;
    store.Assign(block, std::move(recs));
    block.reset(); // the store keeps it alive

    for (int step = 0; step < 3000; ++step) {
        const std::size_t count = model.size();
        const std::size_t at = count == 0 ? 0 : rng() % count;
        const auto state = [&rng] {
            return rng() % 3 == 0 ? 0u : static_cast<std::uint32_t>(rng());
        };
        switch (count == 0 ? 0 : rng() % 9) {
        case 0: { // a few empty lines, up to one past the end
            const std::size_t where = count == 0 ? 0 : rng() % (count + 1);
            const std::size_t n = 1 + rng() % 40;
            store.InsertEmpty(where, n);
            model.insert(model.begin() + static_cast<long>(where), n, TModelLine{});
            break;
        }
        case 1: {
            const std::size_t n = std::min<std::size_t>(1 + rng() % 20, count - at);
            store.Erase(at, n);
            model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + n));
            break;
        }
        case 2:
            store.SetText(at, "edited " + std::to_string(step));
            model[at].text = "edited " + std::to_string(step);
            model[at].loaded = false;
            break;
        case 3:
            store.Extra(at).aux = "aux " + std::to_string(step);
            model[at].aux = "aux " + std::to_string(step);
            break;
        case 4:
        case 5: {
            const TLineStates states{state(), state()};
            store.SetStates(at, states);
            model[at].states = states;
            break;
        }
        case 6: { // a record moved elsewhere: text and extra go along, states do not
            TLineRec rec = store.Take(at);
            TModelLine line = model[at];
            model.erase(model.begin() + static_cast<long>(at));
            const std::size_t where = rng() % (model.size() + 1);
            store.Insert(where, rec);
            line.states = {};
            model.insert(model.begin() + static_cast<long>(where), line);
            break;
        }
        case 7: // the extra of a loaded line freed: its text still reads from the block
            if (model[at].loaded) {
                TLineStore::FreeExtra(store.Rec(at));
                model[at].aux.clear();
            }
            break;
        default:
            if (rng() % 20 == 0) {
                store.DropStates();
                for (TModelLine& line : model) {
                    line.states = {};
                }
            }
            break;
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSameLines(store, model, step));
    }
}

TEST(LineStore, LoadedTextIsCopiedOnFirstWriteAndStyleFollowsItsLength)
{
    const char text[] = "alphabeta";
    std::shared_ptr<char[]> block(new char[sizeof text]);
    std::memcpy(block.get(), text, sizeof text);
    std::vector<TLineRec> recs(2);
    recs[0].SetSpan(block.get(), 5);
    recs[1].SetSpan(block.get() + 5, 4);
    TLineStore store;
    store.Assign(block, std::move(recs));
    EXPECT_EQ(store.Style(0), "");

    store.MutableText(0).append("!");
    EXPECT_EQ(store.Text(0), "alpha!");
    EXPECT_EQ(store.Text(1), "beta"); // still read from the block
    EXPECT_STREQ(block.get(), "alphabeta"); // the block itself is never written

    EXPECT_EQ(store.MutableStyle(0), std::string(6, '\0'));
    store.MutableText(0).erase(0, 2);
    EXPECT_EQ(store.MutableStyle(0).size(), 4u);
}

// Loaded lines keep spare records behind them: the first inserts after a load
// reuse them instead of copying every record to a larger array.
TEST(LineStore, InsertsAfterALoadUseTheSpareRecords)
{
    std::vector<TLineRec> recs(1000);
    recs.reserve(recs.size() + TLineStore::SpareRecords(recs.size()));
    const TLineRec* data = recs.data();
    TLineStore store;
    store.Assign(nullptr, std::move(recs));
    EXPECT_EQ(&store.Rec(0), data) << "the loaded array is adopted";
    const std::size_t spare = TLineStore::SpareRecords(1000);
    for (std::size_t i = 0; i < spare; ++i) {
        store.InsertEmpty(500, 1);
    }
    EXPECT_EQ(store.Count(), 1000 + spare);
    EXPECT_EQ(&store.Rec(0), data) << "no reallocation";
    store.InsertEmpty(500, 1);
    EXPECT_EQ(store.Count(), 1001 + spare);
}

TEST(LineStore, TakenRecordKeepsItsExtraAndInsertHandsItBack)
{
    TLineStore store;
    store.InsertEmpty(0, 3);
    store.SetText(1, "middle");
    store.Extra(1).aux = "aux";
    TLineRec taken = store.Take(1);
    ASSERT_EQ(store.Count(), 2u);
    ASSERT_NE(taken.Extra(), nullptr);
    EXPECT_EQ(taken.Extra()->text, "middle");
    store.Insert(0, taken);
    EXPECT_EQ(store.Text(0), "middle");
    EXPECT_EQ(store.Extra(0).aux, "aux");
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
}

} // namespace
} // namespace quillet
