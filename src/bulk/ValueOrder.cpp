#include "bulk/ValueOrder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace moru::bulk {

namespace {

// Below this many entries a comparison sort costs less than the radix sort's counting.
constexpr std::size_t kRadixFrom = 2048;
// At most this many bits of the rank per pass: 4096 counters, which stay in the first-level cache.
constexpr int kMostDigitBits = 12;

bool ByKeyThenDatabank(const EngineValueEntry& x, const EngineValueEntry& y)
{
    return x.key != y.key ? x.key < y.key : x.databankPosition < y.databankPosition;
}

// A least-significant-digit radix sort on the rank (key, databank position) made one number: each
// pass is stable, so entries of equal rank keep the order they were given in.
void RadixSort(std::vector<EngineValueEntry>& entries)
{
    const auto [minKey, maxKey] =
        std::minmax_element(entries.begin(), entries.end(), [](const auto& x, const auto& y) { return x.key < y.key; });
    const auto [minBank, maxBank] =
        std::minmax_element(entries.begin(), entries.end(),
                            [](const auto& x, const auto& y) { return x.databankPosition < y.databankPosition; });
    const std::int64_t lowestKey = minKey->key, lowestBank = minBank->databankPosition;
    // Both ranges are below 2^32, so the rank fits 64 bits.
    const auto bankRange = static_cast<std::uint64_t>(std::int64_t{maxBank->databankPosition} - lowestBank) + 1;
    const auto rankOf = [&](const EngineValueEntry& entry) {
        return static_cast<std::uint64_t>(std::int64_t{entry.key} - lowestKey) * bankRange +
               static_cast<std::uint64_t>(std::int64_t{entry.databankPosition} - lowestBank);
    };
    const std::uint64_t highest =
        static_cast<std::uint64_t>(std::int64_t{maxKey->key} - lowestKey) * bankRange + (bankRange - 1);
    const int bits = std::max(static_cast<int>(std::bit_width(highest)), 1);
    const int passes = (bits + kMostDigitBits - 1) / kMostDigitBits;
    const int digitBits = (bits + passes - 1) / passes;
    const std::size_t buckets = std::size_t{1} << digitBits;
    const std::uint64_t mask = buckets - 1;

    // Every pass's counts in one read of the entries.
    std::vector<std::uint32_t> counts(buckets * static_cast<std::size_t>(passes), 0);
    for (const EngineValueEntry& entry : entries) {
        std::uint64_t rank = rankOf(entry);
        for (int pass = 0; pass < passes; ++pass, rank >>= digitBits)
            ++counts[static_cast<std::size_t>(pass) * buckets + (rank & mask)];
    }
    const std::size_t n = entries.size();
    std::vector<EngineValueEntry> other(n);
    for (int pass = 0; pass < passes; ++pass) {
        std::uint32_t* count = counts.data() + static_cast<std::size_t>(pass) * buckets;
        const int shift = pass * digitBits;
        // A digit that every entry shares moves nothing.
        if (count[(rankOf(entries.front()) >> shift) & mask] == n) continue;
        std::uint32_t next = 0;
        for (std::size_t b = 0; b < buckets; ++b) next += std::exchange(count[b], next);
        for (const EngineValueEntry& entry : entries) other[count[(rankOf(entry) >> shift) & mask]++] = entry;
        entries.swap(other);
    }
}

} // namespace

void KeepEarliestOfEachKey(std::vector<EngineValueEntry>& entries)
{
    if (entries.size() < kRadixFrom) std::stable_sort(entries.begin(), entries.end(), ByKeyThenDatabank);
    else RadixSort(entries);
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const EngineValueEntry& x, const EngineValueEntry& y) { return x.key == y.key; }),
                  entries.end());
    entries.shrink_to_fit();
}

} // namespace moru::bulk
