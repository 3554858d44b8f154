#include "MoruDb.h"

#include "Checks.h"
#include "Schema.h"
#include "Sqlite.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <sstream>

namespace moru::dbtool {

using sqlite::Connection;
using sqlite::Statement;
namespace sql = sqlite::sql;

namespace {

Json Numbers(const Statement& row, int column)
{
    Json list = Json::array();
    const auto bytes = row.BlobView(column);
    for (const auto& number : sqlite::DecodeNumbers(bytes.data, bytes.size)) {
        if (number) list.push_back(*number);
        else list.push_back(nullptr);
    }
    return list;
}

void PutText(Json& object, const char* name, const std::optional<std::string>& text)
{
    if (text) object[name] = *text;
}

// The engine fields of a compound, those that are stored.
void PutEngineFields(Connection& db, Json& compound, int id)
{
    auto& row = db.Cached(sql::SelectCompoundEngine).Bind(1, id);
    if (!row.Step()) return;
    const char* names[] = {"classNumber", "keldaIndex", "plxIndex"};
    for (int i = 0; i < 3; ++i) {
        if (auto number = row.OptionalDouble(i)) compound[names[i]] = *number;
    }
}

void PutList(Json& object, const char* name, Json list)
{
    if (!list.empty()) object[name] = std::move(list);
}

Json Regression(Connection& db, long long valueId)
{
    auto& head = db.Cached(sql::SelectRegression).Bind(1, valueId);
    if (!head.Step()) return nullptr;
    Json regression;
    regression["kind"] = head.Int(0);
    PutText(regression, "firstCompound", head.OptionalText(1));
    if (auto sigma = head.OptionalDouble(2)) regression["sigma"] = *sigma;
    Json ranges = Json::array();
    auto& rangeRows = db.Cached(sql::SelectRegressionRanges).Bind(1, valueId);
    while (rangeRows.Step())
        ranges.push_back({{"name", rangeRows.Text(0)}, {"lower", rangeRows.Double(1)}, {"upper", rangeRows.Double(2)}});
    PutList(regression, "ranges", std::move(ranges));
    Json deviations = Json::array();
    auto& deviationRows = db.Cached(sql::SelectRegressionDeviations).Bind(1, valueId);
    while (deviationRows.Step()) {
        deviations.push_back({{"name", deviationRows.Text(0)},
                              {"points", deviationRows.Int(1)},
                              {"aard", deviationRows.Double(2)},
                              {"aad", deviationRows.Double(3)},
                              {"max", deviationRows.Double(4)}});
    }
    PutList(regression, "deviations", std::move(deviations));
    Json citations = Json::array();
    auto& citationRows = db.Cached(sql::SelectRegressionCitations).Bind(1, valueId);
    while (citationRows.Step()) citations.push_back(citationRows.Text(0));
    PutList(regression, "citations", std::move(citations));
    return regression;
}

// The database opened read-only once it has shown itself a database of this service; a failure
// names the file.
std::unique_ptr<Connection> OpenChecked(const std::string& path)
{
    try {
        sqlite::CheckDatabaseFile(path);
        auto db = std::make_unique<Connection>(path, Connection::Mode::ReadOnly);
        sqlite::CheckDatabaseFormat(*db);
        return db;
    } catch (const std::exception& failure) {
        throw std::runtime_error(path + ": " + failure.what());
    }
}

// The compounds of a stored value of two or more compounds (columns 2 to 5): a list of two for a
// binary value, an object by slot for a pair value.
Json PairCompounds(const Statement& row, int interactionType)
{
    if (interactionType == 1) return Json::array({row.Int(2), row.Int(3)});
    Json slots = Json::object();
    static const char* const names[] = {"1", "2", "3", "4"};
    for (int i = 0; i < 4; ++i) {
        if (!row.IsNull(2 + i)) slots[names[i]] = row.Int(2 + i);
    }
    return slots;
}

} // namespace

std::vector<std::string> CheckDatabase(const std::string& databasePath)
{
    return sqlite::CheckDatabaseIntegrity(databasePath);
}

namespace {

Json DatabaseRecord(std::map<std::string, std::string> meta)
{
    Json database;
    database["alias"] = meta["alias"];
    if (meta.count("description")) database["description"] = meta["description"];
    database["version"] = std::stoi(meta["version"]);
    if (meta.count("password")) database["password"] = meta["password"];
    Json access = Json::object();
    for (const auto& [key, value] : meta) {
        if (key.starts_with("access.")) access[key.substr(7)] = value == "1";
    }
    if (!access.empty()) database["access"] = access;
    return database;
}

// Reads a database's tables back into the parts of its source, in the documented order.
class DatabaseDumper {
public:
    explicit DatabaseDumper(Connection& db) : m_db(db) {}

    Json Properties()
    {
        Json properties = Json::array();
        std::vector<std::pair<int, Json>> propertyRows;
        auto& propertyQuery = m_db.Cached(sql::SelectProperties);
        while (propertyQuery.Step()) {
            Json property;
            property["name"] = propertyQuery.Text(1);
            property["dataType"] = propertyQuery.Int(2);
            property["interactionType"] = propertyQuery.Int(3);
            property["elementCount"] = propertyQuery.Int(4);
            m_propertyNames[propertyQuery.Int(0)] = propertyQuery.Text(1);
            m_propertyTypes[propertyQuery.Int(0)] = propertyQuery.Int(3);
            propertyRows.emplace_back(propertyQuery.Int(0), std::move(property));
        }
        for (auto& [id, property] : propertyRows) {
            Json units = Json::array();
            auto& unitRows = m_db.Cached(sql::SelectUnitRows).Bind(1, id);
            while (unitRows.Step()) units.push_back({{"row", unitRows.Text(0)}, {"default", unitRows.Text(1)}});
            PutList(property, "units", std::move(units));
            Json elements = Json::array();
            auto& elementRows = m_db.Cached(sql::SelectPropertyElements).Bind(1, id);
            while (elementRows.Step()) {
                elements.push_back(
                    {{"ij", elementRows.Int(0)}, {"ji", elementRows.Int(1)}, {"symmetry", elementRows.Int(2)}});
            }
            PutList(property, "elements", std::move(elements));
            properties.push_back(std::move(property));
        }
        return properties;
    }

    Json Compounds()
    {
        // One pass over the identifiers, in stored order, instead of a query per compound.
        std::map<int, Json> identifiers;
        {
            Statement rows(
                m_db, "SELECT compound_id, type, value FROM identifier ORDER BY compound_id, type_position, position");
            while (rows.Step()) {
                Json& object = identifiers[rows.Int(0)];
                if (object.is_null()) object = Json::object();
                object[rows.Text(1)].push_back(rows.Text(2));
            }
        }
        Json compounds = Json::array();
        std::vector<std::pair<int, std::optional<std::string>>> compoundRows;
        auto& engineProbe = m_db.Cached(sql::HasCompoundEngine).Reset();
        const bool hasEngine = engineProbe.Step();
        engineProbe.Reset();
        auto& compoundQuery = m_db.Cached(sql::SelectCompounds);
        while (compoundQuery.Step()) compoundRows.emplace_back(compoundQuery.Int(0), compoundQuery.OptionalText(1));
        for (const auto& [id, compoundClass] : compoundRows) {
            Json compound;
            compound["id"] = id;
            PutText(compound, "class", compoundClass);
            auto found = identifiers.find(id);
            compound["identifiers"] = found == identifiers.end() ? Json::object() : std::move(found->second);
            Json structures = Json::array();
            auto& structureRows = m_db.Cached(sql::SelectStructures).Bind(1, id);
            while (structureRows.Step())
                structures.push_back({{"type", structureRows.Int(0)}, {"text", structureRows.Text(1)}});
            PutList(compound, "structures", std::move(structures));
            if (hasEngine) PutEngineFields(m_db, compound, id);
            compounds.push_back(std::move(compound));
        }
        return compounds;
    }

    Json Databanks()
    {
        Json databanks = Json::array();
        std::vector<std::tuple<int, std::string, std::optional<std::string>, std::optional<std::string>>> databankRows;
        auto& databankQuery = m_db.Cached(sql::SelectDatabanks);
        while (databankQuery.Step()) {
            databankRows.emplace_back(databankQuery.Int(0), databankQuery.Text(1), databankQuery.OptionalText(2),
                                      databankQuery.OptionalText(3));
        }
        for (const auto& [id, name, baseName, description] : databankRows) {
            Json databank;
            databank["name"] = name;
            databank["id"] = id;
            PutText(databank, "baseName", baseName);
            PutText(databank, "description", description);
            PutDatabankInfo(databank, id);
            Json held = Json::array();
            auto& heldRows = m_db.Cached(sql::SelectCompoundsOfDatabank).Bind(1, id);
            while (heldRows.Step()) held.push_back(heldRows.Int(0));
            PutList(databank, "compounds", std::move(held));
            PutList(databank, "values", Values(id));
            PutList(databank, "reactions", Reactions(id));
            databanks.push_back(std::move(databank));
        }
        return databanks;
    }

private:
    void PutDatabankInfo(Json& databank, int id)
    {
        auto& pure = m_db.Cached(sql::SelectPureInfo).Bind(1, id);
        if (pure.Step()) {
            Json info = Json::object();
            PutText(info, "password", pure.OptionalText(0));
            PutText(info, "displayName", pure.OptionalText(1));
            PutText(info, "product", pure.OptionalText(2));
            PutText(info, "databankType", pure.OptionalText(3));
            PutText(info, "prompt", pure.OptionalText(4));
            PutText(info, "helpFile", pure.OptionalText(5));
            info["helpCode"] = pure.Int(6);
            databank["pureInfo"] = std::move(info);
        }
        Json binaryInfo = Json::array();
        auto& binary = m_db.Cached(sql::SelectBinaryInfo).Bind(1, id);
        while (binary.Step()) {
            Json entry = Json::object();
            PutText(entry, "parameter", binary.OptionalText(0));
            PutText(entry, "gammaModel", binary.OptionalText(1));
            PutText(entry, "vaporModel", binary.OptionalText(2));
            binaryInfo.push_back(std::move(entry));
        }
        PutList(databank, "binaryInfo", std::move(binaryInfo));
    }

    Json Values(int databankId)
    {
        Json values = Json::array();
        std::vector<std::pair<long long, Json>> valueRows;
        auto& valueQuery = m_db.Cached(sql::SelectValuesOfDatabank).Bind(1, databankId);
        while (valueQuery.Step()) {
            Json value;
            value["property"] = m_propertyNames[valueQuery.Int(1)];
            if (m_propertyTypes[valueQuery.Int(1)] == 0) {
                value["compound"] = valueQuery.Int(2);
            } else {
                value["compounds"] = PairCompounds(valueQuery, m_propertyTypes[valueQuery.Int(1)]);
                Json labels = Json::array();
                const auto labelBytes = valueQuery.BlobView(7);
                for (int label : sqlite::DecodeLabels(labelBytes.data, labelBytes.size)) labels.push_back(label);
                value["labels"] = std::move(labels);
            }
            switch (valueQuery.Int(6)) {
            case sqlite::ValueNumbers: value["numbers"] = Numbers(valueQuery, 8); break;
            case sqlite::ValueText: value["text"] = valueQuery.Text(9); break;
            default: {
                const auto texts = valueQuery.BlobView(10);
                value["texts"] = sqlite::DecodeTexts(texts.data, texts.size);
                break;
            }
            }
            valueRows.emplace_back(valueQuery.Int64(0), std::move(value));
        }
        for (auto& [valueId, value] : valueRows) {
            Json regression = Regression(m_db, valueId);
            if (!regression.is_null()) value["regression"] = std::move(regression);
            values.push_back(std::move(value));
        }
        return values;
    }

    Json Reactions(int databankId)
    {
        Json reactions = Json::array();
        std::vector<std::pair<int, Json>> reactionRows;
        auto& reactionQuery = m_db.Cached(sql::SelectReactionsOfDatabank).Bind(1, databankId);
        while (reactionQuery.Step()) {
            Json reaction;
            reaction["id"] = reactionQuery.Int(0);
            PutText(reaction, "name", reactionQuery.OptionalText(1));
            reaction["type"] = reactionQuery.Text(2);
            reaction["basis"] = reactionQuery.Text(3);
            PutText(reaction, "equation", reactionQuery.OptionalText(4));
            reaction["species"] = Json::array();
            PutList(reaction, "eqConsts", Numbers(reactionQuery, 5));
            PutList(reaction, "symmetricEqConsts", Numbers(reactionQuery, 6));
            reactionRows.emplace_back(reactionQuery.Int(0), std::move(reaction));
        }
        for (auto& [reactionId, reaction] : reactionRows) {
            auto& species = m_db.Cached(sql::SelectReactionSpecies).Bind(1, reactionId);
            while (species.Step()) {
                Json item;
                item["name"] = species.Text(0);
                if (!species.IsNull(1)) item["compound"] = species.Int(1);
                item["coefficient"] = species.Double(2);
                reaction["species"].push_back(std::move(item));
            }
            reactions.push_back(std::move(reaction));
        }
        return reactions;
    }

    Connection& m_db;
    std::map<int, std::string> m_propertyNames;
    std::map<int, int> m_propertyTypes;
};

std::map<std::string, std::string> ReadMeta(Connection& db)
{
    std::map<std::string, std::string> meta;
    auto& metaRows = db.Cached(sql::SelectMeta);
    while (metaRows.Step()) meta[metaRows.Text(0)] = metaRows.Text(1);
    return meta;
}

} // namespace

Json DumpDatabase(const std::string& databasePath)
{
    auto connection = OpenChecked(databasePath);
    auto meta = ReadMeta(*connection);
    Json source;
    source["format"] = meta["format"];
    source["database"] = DatabaseRecord(meta);
    DatabaseDumper dumper(*connection);
    PutList(source, "properties", dumper.Properties());
    PutList(source, "compounds", dumper.Compounds());
    PutList(source, "databanks", dumper.Databanks());
    return source;
}

std::string DescribeDatabase(const std::string& databasePath)
{
    auto connection = OpenChecked(databasePath);
    Connection& db = *connection;
    std::ostringstream out;
    auto meta = ReadMeta(db);
    out << "format:      " << meta["format"] << "\nalias:       " << meta["alias"]
        << "\nversion:     " << meta["version"] << "\nsecured:     " << (meta.count("password") ? "yes" : "no") << "\n";
    auto& counts = db.Cached(sql::CountRows);
    if (counts.Step()) {
        out << "compounds:   " << counts.Int(0) << "\nproperties:  " << counts.Int(1)
            << "\ndatabanks:   " << counts.Int(2) << "\nvalues:      " << counts.Int(3)
            << "\nreactions:   " << counts.Int(4) << "\nidentifiers: " << counts.Int(5)
            << "\nstructures:  " << counts.Int(6) << "\n";
    }
    auto& databanks = db.Cached(sql::SelectDatabanks);
    while (databanks.Step()) out << "  databank " << databanks.Text(1) << " (id " << databanks.Int(0) << ")\n";
    return out.str();
}

} // namespace moru::dbtool
