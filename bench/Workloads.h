#pragma once

// The work the benchmarks and the instruction guard measure, each on two sides: the library
// through its C interface, as a host calls it, and the fastest raw SQLite program we could write
// for the same answer on the same file.

#include <sqlite3.h>

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace moru::bench {

// What a pass returned, one line per value: compound position, second compound's position (-1 for
// a unary value), property position, databank position and the numbers, bit for bit (a binary
// value's as the set of their magnitudes). Two passes agree when their dumps are equal.
using Dump = std::set<std::string>;

// The engine's three lists: databanks as "ALIAS.BANK" in list order, compound identifiers (CAS
// numbers) and property names.
struct EngineLists {
    std::vector<std::string> databanks;
    std::vector<std::string> compounds;
    std::vector<std::string> properties;
};

// The engine's whole pass through the exports on a connected library: load the lists, read every
// found compound and property, fetch and read every scalar, vector and binary value. Returns the
// number of values read; 0 when the lists did not load.
std::size_t LibraryEnginePass(const EngineLists& lists, Dump* dump = nullptr);

// The same values read raw from the database file (opened on each pass): every value of the
// listed properties among the listed compounds, the databank earliest in the list winning.
// Seek: one prepared statement per databank and property through the index; scan: one pass over
// the value table with the filters in C++.
enum class RawPlan { Seek, Scan };
std::size_t RawEnginePass(const std::string& databasePath, const EngineLists& lists, RawPlan plan,
                          Dump* dump = nullptr);

// A host's search through the exports: the compound of `text` (any identifier) in the databank
// reference, its details copied out, the handle released. Returns the compound index, 0 without a hit.
int LibrarySearch(const char* databankReference, const std::string& text);

// The raw side of a search: the compounds with any identifier (or one of `type`) equal to `text`
// that the databank holds, each with all its identifiers, on a connection of its own.
class RawSearch {
public:
    // `oneTransaction`: each search's statements share one read transaction (one lock of the file
    // instead of one a statement).
    RawSearch(const std::string& databasePath, const std::string& databankName, bool oneTransaction = true);
    ~RawSearch();
    RawSearch(const RawSearch&) = delete;
    RawSearch& operator=(const RawSearch&) = delete;

    // The identifiers of every hit; the first hit's compound index in `firstHit` (0 without one).
    std::size_t Search(const std::string& text, const char* type, int* firstHit = nullptr);
    // The first name of a compound index, empty when the compound does not exist.
    std::string NameOf(int id);

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_find = nullptr;
    sqlite3_stmt* m_held = nullptr;
    sqlite3_stmt* m_identifiers = nullptr;
    sqlite3_stmt* m_exists = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    int m_databankId = 0;
    std::vector<int> m_ids;
    std::vector<std::pair<std::string, std::string>> m_identifierValues;
};

} // namespace moru::bench
