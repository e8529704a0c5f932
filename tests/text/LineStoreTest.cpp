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

TEST(LineStore, LoadedTextIsCopiedOnFirstWriteAndStyleFollowsItsLength)
{
    const char text[] = "alphabeta";
    std::shared_ptr<char[]> block(new char[sizeof text]);
    std::memcpy(block.get(), text, sizeof text);
    std::vector<TLineRec> recs(2);
    recs[0].ptr = block.get();
    recs[0].len = 5;
    recs[1].ptr = block.get() + 5;
    recs[1].len = 4;
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
    ASSERT_NE(taken.extra, nullptr);
    EXPECT_EQ(taken.extra->text, "middle");
    store.Insert(0, taken);
    EXPECT_EQ(store.Text(0), "middle");
    EXPECT_EQ(store.Extra(0).aux, "aux");
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
}

} // namespace
} // namespace quillet
