#include "Workloads.h"

#include "MoruIntegration.h"
#include "Schema.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <tuple>

namespace moru::bench {

namespace {

// Keeps a result alive without the benchmark library, so that the guard can link without it.
volatile double g_sink = 0;

// Numbers are written bit for bit (hexadecimal); a binary value's as the set of their magnitudes,
// since the library lays them out by the property's elements and their symmetry.
std::string Exactly(double number)
{
    char text[40];
    std::snprintf(text, sizeof text, " %a", number);
    return text;
}

void Note(Dump* dump, int compound1, int compound2, int property, int databank, const std::vector<double>& numbers)
{
    if (!dump) return;
    std::string line = std::to_string(compound1) + " " + std::to_string(compound2) + " " + std::to_string(property) +
                       " " + std::to_string(databank) + " :";
    if (compound2 < 0) {
        for (double number : numbers) line += Exactly(number);
    } else {
        std::set<double> magnitudes;
        for (double number : numbers) {
            if (number != MORU_MISSING_NUMBER) magnitudes.insert(std::fabs(number));
        }
        for (double number : magnitudes) line += Exactly(number);
    }
    dump->insert(std::move(line));
}

// A found compound's line: its position, index, name, alias, CAS number and class.
void NoteCompound(Dump* dump, int position, int index, const char* name, const char* alias, const char* cas,
                  double compoundClass)
{
    if (!dump) return;
    dump->insert("compound " + std::to_string(position) + " " + std::to_string(index) + " " + name + "|" + alias + "|" +
                 cas + "|" + Exactly(compoundClass));
}

std::vector<const char*> HostList(const std::vector<std::string>& texts)
{
    std::vector<const char*> list;
    list.reserve(texts.size() + 1);
    for (const auto& text : texts) list.push_back(text.c_str());
    list.push_back(nullptr);
    return list;
}

} // namespace

std::size_t LibraryEnginePass(const EngineLists& lists, Dump* dump)
{
    auto banks = HostList(lists.databanks), compounds = HostList(lists.compounds),
         properties = HostList(lists.properties);
    if (Optimized_InitializeAllLists(banks.data(), compounds.data(), properties.data()) != 1) return 0;

    int handle = 0, position = 0, index = 0, count = 0;
    char database[20], name[256], alias[256], cas[256];
    double compoundClass = 0, kelda = 0, plx = 0;
    const int found = Optimized_GetAllCompoundsIdentifiers(&handle);
    for (int i = 0; i < found; ++i) {
        if (Optimized_GetNextCompoundIdentifier(handle, i, &position, database, &index, name, alias, cas,
                                                &compoundClass, &kelda, &plx) == 1)
            NoteCompound(dump, position, index, name, alias, cas, compoundClass);
    }
    Optimized_ReleaseHandle(handle);
    const int propertyCount = Optimized_GetAllProperties(&handle);
    for (int i = 0; i < propertyCount; ++i) Optimized_GetNextProperty(handle, i, &position, &count);
    Optimized_ReleaseHandle(handle);

    std::size_t values = 0;
    double sum = 0, numbers[64];
    int databank = 0, compound1 = 0, compound2 = 0, property = 0, size = 0;
    const int scalars = Optimized_GetAllScalarPropertyValues(&handle);
    for (int i = 0; i < scalars; ++i) {
        if (Optimized_GetNextScalarPropertyValue(handle, i, &databank, &compound1, &property, numbers) != 1) continue;
        ++values;
        sum += numbers[0];
        if (dump) Note(dump, compound1, -1, property, databank, {numbers[0]});
    }
    Optimized_ReleaseHandle(handle);
    const int vectors = Optimized_GetAllVectorPropertyValues(&handle);
    for (int i = 0; i < vectors; ++i) {
        size = 64;
        if (Optimized_GetNextVectorPropertyValue(handle, i, &size, &databank, &compound1, &property, numbers) != 1)
            continue;
        ++values;
        sum += numbers[0];
        if (dump) Note(dump, compound1, -1, property, databank, {numbers, numbers + size});
    }
    Optimized_ReleaseHandle(handle);
    const int binaries = Optimized_GetAllBinaryPropertyValues(&handle);
    for (int i = 0; i < binaries; ++i) {
        size = 64;
        if (Optimized_GetNextBinaryPropertyValue(handle, i, &size, &databank, &compound1, &compound2, &property,
                                                 numbers) != 1)
            continue;
        ++values;
        sum += numbers[0];
        if (dump) Note(dump, compound1, compound2, property, databank, {numbers, numbers + size});
    }
    Optimized_ReleaseHandle(handle);
    Optimized_UnInitializeAllLists();
    g_sink = g_sink + sum;
    return values;
}

namespace {

// A value kept flat: its numbers and labels (none for a unary value) at offsets of shared vectors.
struct RawValue {
    int compound1, compound2, property, databank;
    std::uint32_t numbersFirst, numbersCount, labelsFirst, labelsCount;
};

// Grows a table indexed by a small id and sets one entry.
void SetAt(std::vector<int>& table, int id, int value)
{
    if (id < 0) return;
    if (id >= static_cast<int>(table.size())) table.resize(static_cast<std::size_t>(id) + 1, -1);
    table[static_cast<std::size_t>(id)] = value;
}

int At(const std::vector<int>& table, int id)
{
    return id >= 0 && id < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(id)] : -1;
}

} // namespace

// Values live in flat vectors indexed by compound, property and databank id; the compounds are
// found with one prepared statement bound per identifier, and each found compound's name, alias,
// CAS number and class read as the engine's pass hands them out.
std::size_t RawEnginePass(const std::string& databasePath, const EngineLists& lists, RawPlan plan, Dump* dump)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT min(compound_id) FROM identifier WHERE search_key = ?1", -1, &select, nullptr);
    std::vector<int> positionOf;              // compound id -> list position, -1 when not listed
    std::vector<std::pair<int, int>> foundAt; // list position, compound id
    for (std::size_t i = 0; i < lists.compounds.size(); ++i) {
        sqlite3_bind_text(select, 1, lists.compounds[i].c_str(), -1, SQLITE_STATIC);
        if (sqlite3_step(select) == SQLITE_ROW && sqlite3_column_type(select, 0) != SQLITE_NULL) {
            const int id = sqlite3_column_int(select, 0);
            if (At(positionOf, id) < 0) SetAt(positionOf, id, static_cast<int>(i));
            foundAt.emplace_back(static_cast<int>(i), id);
        }
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);

    // Each found compound's first name, alias and CAS number, and its class.
    sqlite3_stmt* engine = nullptr;
    sqlite3_prepare_v2(db, sqlite::sql::SelectIdentifiersOfCompound, -1, &select, nullptr);
    sqlite3_prepare_v2(db, "SELECT class_number FROM compound_engine WHERE compound_id = ?1", -1, &engine, nullptr);
    std::string name, alias, cas;
    double classes = 0;
    for (const auto& [position, id] : foundAt) {
        bool hasName = false, hasAlias = false, hasCas = false;
        name.clear();
        alias.clear();
        cas.clear();
        sqlite3_bind_int(select, 1, id);
        while (sqlite3_step(select) == SQLITE_ROW && !(hasName && hasAlias && hasCas)) {
            const char* type = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
            const char* value = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
            if (!hasName && platform::EqualsIgnoringCase(type, "NAME")) hasName = true, name = value;
            else if (!hasAlias && platform::EqualsIgnoringCase(type, "ALIAS")) hasAlias = true, alias = value;
            else if (!hasCas && platform::EqualsIgnoringCase(type, "CASRN")) hasCas = true, cas = value;
        }
        sqlite3_reset(select);
        double compoundClass = 0;
        if (engine) {
            sqlite3_bind_int(engine, 1, id);
            if (sqlite3_step(engine) == SQLITE_ROW) compoundClass = sqlite3_column_double(engine, 0);
            sqlite3_reset(engine);
        }
        classes += compoundClass;
        if (hasName && hasAlias)
            NoteCompound(dump, position, id, name.c_str(), alias.c_str(), cas.c_str(), compoundClass);
    }
    sqlite3_finalize(select);
    sqlite3_finalize(engine);

    std::vector<int> propertyPosition, databankPosition;
    std::vector<std::pair<int, int>> properties;                // id, position
    std::vector<int> elementCounts(lists.properties.size(), 1); // by position
    sqlite3_prepare_v2(db, "SELECT id, name, element_count FROM property WHERE data_type = 1", -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
        const int id = sqlite3_column_int(select, 0);
        const std::string_view name = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
        for (std::size_t p = 0; p < lists.properties.size(); ++p) {
            if (lists.properties[p] != name) continue;
            SetAt(propertyPosition, id, static_cast<int>(p));
            properties.emplace_back(id, static_cast<int>(p));
            elementCounts[p] = sqlite3_column_int(select, 2);
        }
    }
    sqlite3_finalize(select);
    std::vector<std::pair<int, int>> databanks; // id, position
    sqlite3_prepare_v2(db, "SELECT id, name FROM databank", -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
        const int id = sqlite3_column_int(select, 0);
        const std::string_view name = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
        for (std::size_t d = 0; d < lists.databanks.size(); ++d) {
            const std::string& reference = lists.databanks[d];
            const auto dot = reference.find('.');
            if (dot == std::string::npos || std::string_view(reference).substr(dot + 1) != name) continue;
            SetAt(databankPosition, id, static_cast<int>(d));
            databanks.emplace_back(id, static_cast<int>(d));
        }
    }
    sqlite3_finalize(select);

    std::vector<RawValue> values;
    std::vector<std::optional<double>> numbers;
    std::vector<int> labels;
    auto take = [&](sqlite3_stmt* row, int databank, int property, int c1Column) {
        const int p1 = At(positionOf, sqlite3_column_int(row, c1Column));
        if (p1 < 0) return;
        int p2 = -1;
        const auto labelsFirst = static_cast<std::uint32_t>(labels.size());
        if (sqlite3_column_type(row, c1Column + 1) != SQLITE_NULL) {
            p2 = At(positionOf, sqlite3_column_int(row, c1Column + 1));
            if (p2 < 0) return;
            sqlite::DecodeLabelsInto(sqlite3_column_blob(row, c1Column + 2), sqlite3_column_bytes(row, c1Column + 2),
                                     labels);
        }
        const auto numbersFirst = static_cast<std::uint32_t>(numbers.size());
        sqlite::DecodeNumbersInto(sqlite3_column_blob(row, c1Column + 3), sqlite3_column_bytes(row, c1Column + 3),
                                  numbers);
        values.push_back({p1, p2, property, databank, numbersFirst,
                          static_cast<std::uint32_t>(numbers.size()) - numbersFirst, labelsFirst,
                          static_cast<std::uint32_t>(labels.size()) - labelsFirst});
    };
    if (plan == RawPlan::Scan) {
        sqlite3_prepare_v2(db,
                           "SELECT databank_id, property_id, compound1_id, compound2_id, labels, numbers FROM value "
                           "WHERE kind = 1 AND compound3_id IS NULL",
                           -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            const int property = At(propertyPosition, sqlite3_column_int(select, 1));
            const int databank = At(databankPosition, sqlite3_column_int(select, 0));
            if (property >= 0 && databank >= 0) take(select, databank, property, 2);
        }
    } else {
        sqlite3_prepare_v2(db,
                           "SELECT compound1_id, compound2_id, labels, numbers FROM value "
                           "WHERE databank_id = ?1 AND property_id = ?2 AND kind = 1 AND compound3_id IS NULL",
                           -1, &select, nullptr);
        for (const auto& [databankId, databank] : databanks) {
            for (const auto& [propertyId, property] : properties) {
                sqlite3_bind_int(select, 1, databankId);
                sqlite3_bind_int(select, 2, propertyId);
                while (sqlite3_step(select) == SQLITE_ROW) take(select, databank, property, 0);
                sqlite3_reset(select);
            }
        }
    }
    sqlite3_finalize(select);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    // The earliest databank for each compound (or pair) and property.
    std::sort(values.begin(), values.end(), [](const RawValue& x, const RawValue& y) {
        return std::tie(x.compound1, x.compound2, x.property, x.databank, x.numbersFirst) <
               std::tie(y.compound1, y.compound2, y.property, y.databank, y.numbersFirst);
    });
    values.erase(std::unique(values.begin(), values.end(),
                             [](const RawValue& x, const RawValue& y) {
                                 return x.compound1 == y.compound1 && x.compound2 == y.compound2 &&
                                        x.property == y.property;
                             }),
                 values.end());
    double sum = classes;
    for (const RawValue& value : values) {
        if (value.numbersCount > 0 && numbers[value.numbersFirst]) sum += *numbers[value.numbersFirst];
    }
    g_sink = g_sink + sum;
    if (dump) {
        for (const RawValue& value : values) {
            // A unary value as the engine reads it: element k under label k + 1 (the first of a
            // repeated label), the marker where there is none; one element: the lowest label's.
            std::vector<std::pair<int, double>> byLabel;
            for (std::uint32_t k = 0; k < value.numbersCount; ++k) {
                const int label = value.labelsCount == 0  ? static_cast<int>(k) + 1
                                  : k < value.labelsCount ? labels[value.labelsFirst + k]
                                                          : -1;
                const auto& number = numbers[value.numbersFirst + k];
                if (label >= 0 && number) byLabel.emplace_back(label, *number);
            }
            std::stable_sort(byLabel.begin(), byLabel.end(),
                             [](const auto& x, const auto& y) { return x.first < y.first; });
            std::vector<double> laidOut;
            const int elements = elementCounts[static_cast<std::size_t>(value.property)];
            if (value.compound2 >= 0) {
                for (const auto& [label, number] : byLabel) laidOut.push_back(number);
            } else if (elements == 1) {
                if (!byLabel.empty()) laidOut.push_back(byLabel.front().second);
            } else {
                laidOut.assign(static_cast<std::size_t>(std::max(elements, 0)), MORU_MISSING_NUMBER);
                for (auto entry = byLabel.rbegin(); entry != byLabel.rend(); ++entry) {
                    if (entry->first >= 1 && entry->first <= elements)
                        laidOut[static_cast<std::size_t>(entry->first - 1)] = entry->second;
                }
            }
            Note(dump, value.compound1, value.compound2, value.property, value.databank, laidOut);
        }
    }
    return values.size();
}

int LibrarySearch(const char* databankReference, const std::string& text)
{
    const char* searchSource[] = {databankReference, nullptr};
    char dbName[256], dbankName[256], name[256], alias[256], cas[256], propName[256];
    int index = 0, handle = 0;
    double value = 0;
    FoundCompounds_Find(searchSource, text.c_str(), nullptr, &handle);
    if (FoundCompounds_GetObjectDetails(handle, dbName, dbankName, &index, name, alias, cas, propName, &value) != 1)
        index = 0;
    FoundCompounds_ReleaseHandle(handle);
    return index;
}

RawSearch::RawSearch(const std::string& databasePath, const std::string& databankName, bool oneTransaction)
{
    sqlite3_open_v2(databasePath.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_prepare_v2(m_db, sqlite::sql::FindCompoundsByKey, -1, &m_find, nullptr);
    sqlite3_prepare_v2(m_db, sqlite::sql::DatabankHasCompound, -1, &m_held, nullptr);
    sqlite3_prepare_v2(m_db, sqlite::sql::SelectIdentifiersOfCompound, -1, &m_identifiers, nullptr);
    sqlite3_prepare_v2(m_db, sqlite::sql::CompoundExists, -1, &m_exists, nullptr);
    if (oneTransaction) {
        sqlite3_prepare_v2(m_db, "BEGIN", -1, &m_begin, nullptr);
        sqlite3_prepare_v2(m_db, "COMMIT", -1, &m_commit, nullptr);
    }
    sqlite3_stmt* id = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT id FROM databank WHERE name = ?1", -1, &id, nullptr);
    sqlite3_bind_text(id, 1, databankName.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(id) == SQLITE_ROW) m_databankId = sqlite3_column_int(id, 0);
    sqlite3_finalize(id);
}

RawSearch::~RawSearch()
{
    for (auto* statement : {m_find, m_held, m_identifiers, m_exists, m_begin, m_commit}) sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

std::size_t RawSearch::Search(const std::string& text, const char* type, int* firstHit)
{
    if (firstHit) *firstHit = 0;
    const std::string key = sqlite::SearchKey(text);
    if (m_begin) {
        sqlite3_step(m_begin);
        sqlite3_reset(m_begin);
    }
    sqlite3_reset(m_find);
    sqlite3_bind_text(m_find, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_STATIC);
    m_ids.clear();
    while (sqlite3_step(m_find) == SQLITE_ROW) {
        if (!*type || platform::EqualsIgnoringCase(reinterpret_cast<const char*>(sqlite3_column_text(m_find, 1)), type))
            m_ids.push_back(sqlite3_column_int(m_find, 0));
    }
    sqlite3_reset(m_find);
    std::sort(m_ids.begin(), m_ids.end());
    m_ids.erase(std::unique(m_ids.begin(), m_ids.end()), m_ids.end());
    std::size_t values = 0;
    for (int id : m_ids) {
        sqlite3_reset(m_held);
        sqlite3_bind_int(m_held, 1, m_databankId);
        sqlite3_bind_int(m_held, 2, id);
        if (sqlite3_step(m_held) != SQLITE_ROW) continue;
        if (firstHit && !*firstHit) *firstHit = id;
        sqlite3_reset(m_identifiers);
        sqlite3_bind_int(m_identifiers, 1, id);
        m_identifierValues.clear();
        while (sqlite3_step(m_identifiers) == SQLITE_ROW) {
            m_identifierValues.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(m_identifiers, 0)),
                                            reinterpret_cast<const char*>(sqlite3_column_text(m_identifiers, 1)));
        }
        values += m_identifierValues.size();
    }
    sqlite3_reset(m_held);
    sqlite3_reset(m_identifiers);
    if (m_commit) {
        sqlite3_step(m_commit);
        sqlite3_reset(m_commit);
    }
    return values;
}

std::string RawSearch::NameOf(int id)
{
    sqlite3_reset(m_exists);
    sqlite3_bind_int(m_exists, 1, id);
    if (sqlite3_step(m_exists) != SQLITE_ROW) return {};
    sqlite3_reset(m_identifiers);
    sqlite3_bind_int(m_identifiers, 1, id);
    std::string name;
    while (sqlite3_step(m_identifiers) == SQLITE_ROW) {
        if (platform::EqualsIgnoringCase(reinterpret_cast<const char*>(sqlite3_column_text(m_identifiers, 0)),
                                         "NAME")) {
            name = reinterpret_cast<const char*>(sqlite3_column_text(m_identifiers, 1));
            break;
        }
    }
    sqlite3_reset(m_identifiers);
    return name;
}

} // namespace moru::bench
