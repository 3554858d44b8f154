#pragma once

// The order in which a value handle hands its values out.

#include "bulk/BulkValues.h"

#include <vector>

namespace moru::bulk {

// Orders `entries` by key, and the entries of one key by their databank's position in the source
// list, entries equal in both staying in the order given; then keeps only the first entry of each
// key. Entries are given in the order they were read, so of the values under one key the one kept
// is that of the databank earliest in the list, and of that databank the one read first.
//
// Linear in the number of entries (a radix sort, a few passes over them) for all but small tables.
void KeepEarliestOfEachKey(std::vector<EngineValueEntry>& entries);

} // namespace moru::bulk
