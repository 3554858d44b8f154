#include "bulk/ValueOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

using moru::bulk::EngineValueEntry;
using moru::bulk::KeepEarliestOfEachKey;

namespace {

// Entries as the collectors make them: `first` grows in the order they were read.
std::vector<EngineValueEntry> ReadInOrder(std::size_t count, int keyLow, int keyHigh, int bankLow, int bankHigh,
                                          unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> key(keyLow, keyHigh), bank(bankLow, bankHigh), length(0, 3);
    std::vector<EngineValueEntry> entries;
    std::uint32_t first = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto size = static_cast<std::uint32_t>(length(random));
        entries.push_back({key(random), bank(random), first, size});
        first += size;
    }
    return entries;
}

// What the handle must hand out: per key the entry of the lowest databank position, and of those
// the one read first.
std::vector<EngineValueEntry> Expected(std::vector<EngineValueEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const auto& x, const auto& y) {
        return x.key != y.key ? x.key < y.key : x.databankPosition < y.databankPosition;
    });
    std::vector<EngineValueEntry> kept;
    for (const auto& entry : entries) {
        if (kept.empty() || kept.back().key != entry.key) kept.push_back(entry);
    }
    return kept;
}

void ExpectSame(const std::vector<EngineValueEntry>& actual, const std::vector<EngineValueEntry>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].key, expected[i].key) << "at " << i;
        EXPECT_EQ(actual[i].databankPosition, expected[i].databankPosition) << "at " << i;
        EXPECT_EQ(actual[i].first, expected[i].first) << "at " << i;
        EXPECT_EQ(actual[i].count, expected[i].count) << "at " << i;
        if (::testing::Test::HasFailure()) return;
    }
}

struct Shape {
    const char* what;
    std::size_t count;
    int keyLow, keyHigh, bankLow, bankHigh;
};

} // namespace

// Small tables and large ones (sorted by their digits), dense and sparse keys, keys that span the
// whole signed range as binary keys may, databanks missing from the list (-1), a single databank,
// a single key: each kept entry is the one the engine must read.
TEST(ValueOrder, KeepsTheEarliestDatabanksFirstReadValueOfEachKey)
{
    const Shape shapes[] = {
        {"empty", 0, 0, 10, 0, 3},
        {"small, many repeats", 300, 0, 40, 0, 5},
        {"just below the radix size", 2047, 0, 3000, 0, 57},
        {"unary keys of a large pass", 150000, 0, 4000 * 27, 0, 57},
        {"dense keys, every databank", 20000, 0, 500, 0, 57},
        {"wide binary keys", 60000, 0, INT_MAX, 0, 57},
        {"databanks not listed", 10000, 0, 2000, -1, 3},
        {"one databank", 10000, 0, 50000, 7, 7},
        {"one key", 5000, 123456, 123456, 0, 20},
        {"keys high up only", 8000, INT_MAX - 5000, INT_MAX, 0, 2},
    };
    unsigned seed = 1;
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        auto entries = ReadInOrder(shape.count, shape.keyLow, shape.keyHigh, shape.bankLow, shape.bankHigh, seed++);
        const auto expected = Expected(entries);
        KeepEarliestOfEachKey(entries);
        ExpectSame(entries, expected);
    }
}

// Entries of one key and databank that share their numbers' place (values without numbers) are
// kept in the order they were read, whatever their number.
TEST(ValueOrder, EqualEntriesStayInReadOrder)
{
    for (std::size_t count : {std::size_t{10}, std::size_t{5000}}) {
        std::vector<EngineValueEntry> entries;
        for (std::size_t i = 0; i < count; ++i)
            entries.push_back({static_cast<int>(count - i) % 7, 3, 100, static_cast<std::uint32_t>(i)});
        KeepEarliestOfEachKey(entries);
        ASSERT_EQ(entries.size(), 7u);
        for (int key = 0; key < 7; ++key) {
            EXPECT_EQ(entries[static_cast<std::size_t>(key)].key, key);
            // The first read of each key: i = (count - key) mod 7 smallest.
            std::uint32_t firstRead = 0;
            while (static_cast<int>(count - firstRead) % 7 != key) ++firstRead;
            EXPECT_EQ(entries[static_cast<std::size_t>(key)].count, firstRead);
        }
    }
}
