#include "MoruDb.h"
#include "SourceChecks.h"

#include "Checks.h"
#include "Schema.h"
#include "Sqlite.h"

#include "platform/Files.h"
#include "service/HostLimits.h"
#include "service/Reactions.h"
#include "service/ResultText.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <fstream>
#include <array>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace moru::dbtool {

using sqlite::Connection;
using sqlite::SearchKey;
namespace sql = sqlite::sql;

namespace {

struct PropertyInfo {
    int Id = 0;
    int DataType = -1;
    int InteractionType = 0;
    int ElementCount = 0;
    std::set<int> Labels;
};

// Writes the source into the database while its checks validate it; the caller throws the file away
// when any error was found.
class Writer : SourceChecks {
public:
    Writer(Connection& db, SourceErrors& errors) : SourceChecks(errors), m_db(db) {}

    void Root(const Json& root)
    {
        if (!Expect(root, "", "an object", root.is_object())) return;
        Known(root, "", {"format", "database", "properties", "compounds", "databanks"});
        auto format = Text(root, "", "format", true);
        if (format && *format != sqlite::FormatName) {
            Error("format", "must be \"" + std::string(sqlite::FormatName) + "\"");
        }
        if (const Json* database = Object(root, "", "database", true)) Database(*database, "database");
        if (const Json* properties = List(root, "", "properties", false)) {
            for (std::size_t i = 0; i < properties->size(); ++i) Property((*properties)[i], Item("properties", i), i);
        }
        if (const Json* compounds = List(root, "", "compounds", false)) {
            for (std::size_t i = 0; i < compounds->size(); ++i) Compound((*compounds)[i], Item("compounds", i), i);
        }
        if (const Json* databanks = List(root, "", "databanks", false)) {
            for (std::size_t i = 0; i < databanks->size(); ++i) Databank((*databanks)[i], Item("databanks", i), i);
        }
    }

private:
    void Database(const Json& database, const std::string& path)
    {
        Known(database, path, {"alias", "description", "version", "password", "access"});
        auto& insert = m_db.Cached(sql::InsertMeta);
        insert.Bind(1, "format").Bind(2, sqlite::FormatName).Execute();
        m_db.Cached(sql::InsertMeta).Bind(1, sqlite::SearchFoldingKey).Bind(2, sqlite::UnicodeSimpleFolding).Execute();
        if (auto alias = Text(database, path, "alias", true)) {
            if (alias->empty() || alias->find('.') != std::string::npos || alias->find(' ') != std::string::npos) {
                Error(Member(path, "alias"), "must be a non-empty name without full stops or blanks");
            }
            if (auto problem = UnaddressableName(*alias)) Error(Member(path, "alias"), *problem);
            if (alias->size() >= service::kAliasLimit) {
                Error(Member(path, "alias"), "must be shorter than " + std::to_string(service::kAliasLimit) + " bytes");
            }
            m_db.Cached(sql::InsertMeta).Bind(1, "alias").Bind(2, *alias).Execute();
        }
        if (auto description = Text(database, path, "description", false)) {
            m_db.Cached(sql::InsertMeta).Bind(1, "description").Bind(2, *description).Execute();
        }
        if (auto version = Integer(database, path, "version", true)) {
            m_db.Cached(sql::InsertMeta).Bind(1, "version").Bind(2, std::to_string(*version)).Execute();
        }
        if (auto password = Text(database, path, "password", false)) {
            if (password->empty())
                Error(Member(path, "password"), "must not be empty: an empty password protects nothing");
            m_db.Cached(sql::InsertMeta).Bind(1, "password").Bind(2, *password).Execute();
        }
        if (const Json* access = Object(database, path, "access", false)) {
            for (const auto& [name, value] : access->items()) {
                if (!Expect(value, Member(Member(path, "access"), name.c_str()), "a boolean", value.is_boolean()))
                    continue;
                m_db.Cached(sql::InsertMeta).Bind(1, "access." + name).Bind(2, value.get<bool>() ? "1" : "0").Execute();
            }
        }
    }

    void Property(const Json& property, const std::string& path, std::size_t index)
    {
        if (!Expect(property, path, "an object", property.is_object())) return;
        Known(property, path, {"name", "dataType", "interactionType", "elementCount", "units", "elements"});
        PropertyInfo info;
        info.Id = static_cast<int>(index) + 1;
        auto name = Text(property, path, "name", true);
        auto dataType = Integer(property, path, "dataType", true);
        auto interactionType = Integer(property, path, "interactionType", true);
        auto elementCount = Integer(property, path, "elementCount", true);
        if (name && name->empty()) Error(Member(path, "name"), "must not be empty");
        if (name && !m_properties.emplace(SearchKey(*name), PropertyInfo{}).second) {
            Error(Member(path, "name"), "repeats the property \"" + *name + "\"");
            name.reset();
        }
        if (dataType && *dataType != -1 && (*dataType < 1 || *dataType > 3)) {
            Error(Member(path, "dataType"), "must be -1 (unspecified), 1 (numbers), 2 (text) or 3 (text list)");
        }
        if (interactionType && *interactionType != 0 && *interactionType != 1 && *interactionType != 3) {
            Error(Member(path, "interactionType"), "must be 0 (one compound), 1 (two compounds) or 3 (pair values)");
        }
        if (elementCount && *elementCount < 1) Error(Member(path, "elementCount"), "must be at least 1");
        info.DataType = dataType.value_or(-1);
        info.InteractionType = interactionType.value_or(0);
        info.ElementCount = elementCount.value_or(1);
        m_db.Cached(sql::InsertProperty)
            .Bind(1, info.Id)
            .Bind(2, name.value_or("?" + std::to_string(info.Id)))
            .Bind(3, info.DataType)
            .Bind(4, info.InteractionType)
            .Bind(5, info.ElementCount)
            .Execute();
        if (const Json* units = List(property, path, "units", false)) {
            for (std::size_t i = 0; i < units->size(); ++i) {
                const Json& unit = (*units)[i];
                std::string unitPath = Item(Member(path, "units"), i);
                if (!Expect(unit, unitPath, "an object", unit.is_object())) continue;
                Known(unit, unitPath, {"row", "default"});
                auto row = Text(unit, unitPath, "row", true);
                auto defaultUnit = Text(unit, unitPath, "default", true);
                m_db.Cached(sql::InsertUnitRow)
                    .Bind(1, info.Id)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, row.value_or(""))
                    .Bind(4, defaultUnit.value_or(""))
                    .Execute();
            }
        }
        const Json* elements = List(property, path, "elements", info.InteractionType != 0);
        if (elements) {
            if (static_cast<int>(elements->size()) != info.ElementCount) {
                Error(Member(path, "elements"), "must hold elementCount (" + std::to_string(info.ElementCount) +
                                                    ") entries, not " + std::to_string(elements->size()));
            }
            for (std::size_t i = 0; i < elements->size(); ++i) {
                const Json& element = (*elements)[i];
                std::string elementPath = Item(Member(path, "elements"), i);
                if (!Expect(element, elementPath, "an object", element.is_object())) continue;
                Known(element, elementPath, {"ij", "ji", "symmetry"});
                auto ij = Integer(element, elementPath, "ij", true);
                auto ji = Integer(element, elementPath, "ji", true);
                auto symmetry = Integer(element, elementPath, "symmetry", true);
                if (symmetry && (*symmetry < -1 || *symmetry > 3)) {
                    Error(Member(elementPath, "symmetry"), "must be a symmetry code from -1 to 3");
                }
                if (ij) info.Labels.insert(*ij);
                if (ji) info.Labels.insert(*ji);
                m_db.Cached(sql::InsertPropertyElement)
                    .Bind(1, info.Id)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, ij.value_or(0))
                    .Bind(4, ji.value_or(0))
                    .Bind(5, symmetry.value_or(-1))
                    .Execute();
            }
        }
        HostLimits(property, path, name, info);
        if (name) m_properties[SearchKey(*name)] = info;
    }

    // Hosts read some outputs into buffers and arrays whose size the interface fixes instead of
    // passing it; a database must stay within those limits.
    void HostLimits(const Json& property, const std::string& path, const std::optional<std::string>& name,
                    const PropertyInfo& info)
    {
        if (name) Limit(Member(path, "name"), service::HostLimit::PropertyNameBytes, name->size());
        if (property.contains("units") && property["units"].is_array()) {
            Limit(Member(path, "units"), service::HostLimit::UnitRows, property["units"].size());
        }
        if (info.InteractionType == 0 && info.ElementCount > 0) {
            Limit(Member(path, "elementCount"), service::HostLimit::UnaryElements,
                  static_cast<std::size_t>(info.ElementCount));
        }
    }

    void Limit(const std::string& path, service::HostLimit limit, std::size_t count)
    {
        if (auto reason = service::BeyondHostLimit(limit, count)) Error(path, *reason);
    }

    // What the simulation engine reads of a compound beside its identifiers: its class as a number
    // and its KELDA and PLX indices; all optional.
    void EngineIndices(const Json& compound, const std::string& path, int compoundId)
    {
        auto classNumber = Number(compound, path, "classNumber", false);
        auto kelda = Number(compound, path, "keldaIndex", false);
        auto plx = Number(compound, path, "plxIndex", false);
        if (!classNumber && !kelda && !plx) return;
        m_db.Cached(sql::InsertCompoundEngine)
            .Bind(1, compoundId)
            .Bind(2, classNumber)
            .Bind(3, kelda)
            .Bind(4, plx)
            .Execute();
    }

    void Compound(const Json& compound, const std::string& path, std::size_t index)
    {
        if (!Expect(compound, path, "an object", compound.is_object())) return;
        Known(compound, path, {"id", "class", "identifiers", "structures", "classNumber", "keldaIndex", "plxIndex"});
        // A compound without a sound id still gets one of its own, so that its errors are all found.
        int compoundId = -static_cast<int>(index) - 1;
        if (const auto id = Integer(compound, path, "id", true)) {
            if (*id < 1) Error(Member(path, "id"), "must be 1 or more");
            else if (!m_compounds.insert(*id).second)
                Error(Member(path, "id"), "repeats the compound id " + std::to_string(*id));
            else compoundId = *id;
        }
        auto compoundClass = Text(compound, path, "class", false);
        m_db.Cached(sql::InsertCompound)
            .Bind(1, compoundId)
            .Bind(2, static_cast<int>(index))
            .Bind(3, compoundClass)
            .Execute();
        EngineIndices(compound, path, compoundId);

        if (const Json* identifiers = Object(compound, path, "identifiers", true)) {
            int typePosition = 0;
            std::set<std::string> types;
            for (const auto& [type, values] : identifiers->items()) {
                std::string typePath = Member(Member(path, "identifiers"), type.c_str());
                if (type.empty() || !types.insert(SearchKey(type)).second) {
                    Error(typePath, "is an empty or repeated identifier type");
                }
                if (!Expect(values, typePath, "a list of texts", values.is_array())) continue;
                auto texts = Texts(values, typePath);
                if (texts.empty()) Error(typePath, "must hold at least one value");
                for (std::size_t i = 0; i < texts.size(); ++i) {
                    // A host that reuses its buffers would show the previous compound's text.
                    if (texts[i].empty()) Error(Item(typePath, i), "must not be empty");
                    if (SearchKey(type) == "casrn") {
                        if (auto problem = CheckCasNumber(texts[i]); !problem.empty())
                            Error(Item(typePath, i), problem);
                    }
                    m_db.Cached(sql::InsertIdentifier)
                        .Bind(1, compoundId)
                        .Bind(2, typePosition)
                        .Bind(3, static_cast<int>(i))
                        .Bind(4, type)
                        .Bind(5, texts[i])
                        .Bind(6, SearchKey(texts[i]))
                        .Execute();
                }
                ++typePosition;
            }
        }
        if (const Json* structures = List(compound, path, "structures", false)) {
            std::set<int> types;
            for (std::size_t i = 0; i < structures->size(); ++i) {
                const Json& structure = (*structures)[i];
                std::string structurePath = Item(Member(path, "structures"), i);
                if (!Expect(structure, structurePath, "an object", structure.is_object())) continue;
                Known(structure, structurePath, {"type", "text"});
                auto type = Integer(structure, structurePath, "type", true);
                auto text = Text(structure, structurePath, "text", true);
                if (!type || !text) continue;
                if (!types.insert(*type).second) {
                    Error(Member(structurePath, "type"), "repeats the structure type " + std::to_string(*type));
                    continue;
                }
                m_db.Cached(sql::InsertStructure)
                    .Bind(1, compoundId)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, *type)
                    .Bind(4, *text)
                    .Execute();
            }
        }
    }

    // What a databank tells of its pure and binary data: passwords, prompts, models.
    void DatabankInfo(const Json& databank, const std::string& path, int id)
    {
        if (const Json* pure = Object(databank, path, "pureInfo", false)) {
            std::string purePath = Member(path, "pureInfo");
            Known(*pure, purePath,
                  {"password", "displayName", "product", "databankType", "prompt", "helpFile", "helpCode"});
            m_db.Cached(sql::InsertPureInfo)
                .Bind(1, id)
                .Bind(2, Text(*pure, purePath, "password", false))
                .Bind(3, Text(*pure, purePath, "displayName", false))
                .Bind(4, Text(*pure, purePath, "product", false))
                .Bind(5, Text(*pure, purePath, "databankType", false))
                .Bind(6, Text(*pure, purePath, "prompt", false))
                .Bind(7, Text(*pure, purePath, "helpFile", false))
                .Bind(8, Integer(*pure, purePath, "helpCode", true).value_or(0))
                .Execute();
        }
        if (const Json* binary = List(databank, path, "binaryInfo", false)) {
            for (std::size_t i = 0; i < binary->size(); ++i) {
                const Json& entry = (*binary)[i];
                std::string entryPath = Item(Member(path, "binaryInfo"), i);
                if (!Expect(entry, entryPath, "an object", entry.is_object())) continue;
                Known(entry, entryPath, {"parameter", "gammaModel", "vaporModel"});
                m_db.Cached(sql::InsertBinaryInfo)
                    .Bind(1, id)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, Text(entry, entryPath, "parameter", false))
                    .Bind(4, Text(entry, entryPath, "gammaModel", false))
                    .Bind(5, Text(entry, entryPath, "vaporModel", false))
                    .Execute();
            }
        }
    }

    void Databank(const Json& databank, const std::string& path, std::size_t index)
    {
        if (!Expect(databank, path, "an object", databank.is_object())) return;
        Known(databank, path,
              {"name", "id", "baseName", "description", "pureInfo", "binaryInfo", "compounds", "values", "reactions"});
        auto name = Text(databank, path, "name", true);
        auto id = Integer(databank, path, "id", true);
        if (name && (name->empty() || name->find('.') != std::string::npos)) {
            Error(Member(path, "name"), "must be a non-empty name without full stops");
        }
        if (name) {
            if (auto problem = UnaddressableName(*name)) Error(Member(path, "name"), *problem);
        }
        if (name && !m_databankNames.insert(SearchKey(*name)).second) {
            Error(Member(path, "name"), "repeats the databank \"" + *name + "\"");
            return;
        }
        if (id && !m_databankIds.insert(*id).second) {
            Error(Member(path, "id"), "repeats the databank id " + std::to_string(*id));
            return;
        }
        if (!name || !id) return;
        m_db.Cached(sql::InsertDatabank)
            .Bind(1, *id)
            .Bind(2, static_cast<int>(index))
            .Bind(3, *name)
            .Bind(4, Text(databank, path, "baseName", false))
            .Bind(5, Text(databank, path, "description", false))
            .Execute();

        DatabankInfo(databank, path, *id);
        std::set<int> held;
        if (const Json* compounds = List(databank, path, "compounds", false)) {
            for (std::size_t i = 0; i < compounds->size(); ++i) {
                std::string itemPath = Item(Member(path, "compounds"), i);
                auto compound = Integer((*compounds)[i], itemPath);
                if (!compound) continue;
                if (!m_compounds.count(*compound)) {
                    Error(itemPath, "names the unknown compound " + std::to_string(*compound));
                } else if (!held.insert(*compound).second) {
                    Error(itemPath, "repeats the compound " + std::to_string(*compound));
                } else {
                    m_db.Cached(sql::InsertCompoundDatabank)
                        .Bind(1, *id)
                        .Bind(2, *compound)
                        .Bind(3, static_cast<int>(i))
                        .Execute();
                }
            }
        }
        if (const Json* values = List(databank, path, "values", false)) {
            std::map<ValueKey, std::size_t> seen;
            for (std::size_t i = 0; i < values->size(); ++i) {
                Value((*values)[i], Item(Member(path, "values"), i), *id, held, seen, i);
            }
        }
        if (const Json* reactions = List(databank, path, "reactions", false)) {
            for (std::size_t i = 0; i < reactions->size(); ++i) {
                Reaction((*reactions)[i], Item(Member(path, "reactions"), i), *id, i);
            }
        }
    }

    using ValueKey = std::tuple<int, int, int, int, int>;
    // Compounds by slot (1 to 4); 0 marks an empty slot.
    using Slots = std::array<int, 4>;

    void Value(const Json& value, const std::string& path, int databankId, const std::set<int>& held,
               std::map<ValueKey, std::size_t>& seen, std::size_t index)
    {
        if (!Expect(value, path, "an object", value.is_object())) return;
        Known(value, path, {"property", "compound", "compounds", "labels", "numbers", "text", "texts", "regression"});
        auto propertyName = Text(value, path, "property", true);
        if (!propertyName) return;
        auto found = m_properties.find(SearchKey(*propertyName));
        if (found == m_properties.end()) {
            Error(Member(path, "property"), "names the unknown property \"" + *propertyName + "\"");
            return;
        }
        const PropertyInfo& property = found->second;
        Slots slots{};
        if (!ValueCompounds(value, path, property, held, slots)) return;
        if (!FirstOfItsKind(path, property, slots, seen, index)) return;
        auto kind = ValueKind(value, path, property, *propertyName);
        if (!kind) return;

        auto& insert = m_db.Cached(sql::InsertValue);
        long long valueId = ++m_valueCount;
        insert.Bind(1, valueId).Bind(2, databankId).Bind(3, property.Id);
        for (int i = 0; i < 4; ++i) {
            if (slots[static_cast<std::size_t>(i)] != 0) insert.Bind(4 + i, slots[static_cast<std::size_t>(i)]);
        }
        insert.Bind(8, *kind);
        if (*kind == sqlite::ValueNumbers) {
            if (!BindNumbers(insert, value, path, property, *propertyName)) return;
        } else if (*kind == sqlite::ValueText) {
            insert.Bind(11, Text(value, path, "text", true).value_or(""));
        } else if (const Json* list = List(value, path, "texts", true)) {
            insert.BindBlob(12, sqlite::EncodeTexts(Texts(*list, Member(path, "texts"))));
        }
        insert.Execute();
        if (const Json* regression = Object(value, path, "regression", false)) {
            Regression(*regression, Member(path, "regression"), valueId);
        }
    }

    // Fills the slots of a value's compounds; false when it names none, or its compounds are malformed.
    bool ValueCompounds(const Json& value, const std::string& path, const PropertyInfo& property,
                        const std::set<int>& held, Slots& slots)
    {
        bool named = false;
        auto checkCompound = [&](const Json& item, const std::string& itemPath, std::size_t slot) {
            auto compound = Integer(item, itemPath);
            if (!compound) return;
            if (!m_compounds.count(*compound))
                Error(itemPath, "names the unknown compound " + std::to_string(*compound));
            else if (!held.count(*compound)) {
                Error(itemPath,
                      "names compound " + std::to_string(*compound) + ", which the databank's compounds do not list");
            }
            slots[slot] = *compound;
            named = true;
        };
        if (property.InteractionType == 0) {
            if (value.contains("compounds"))
                Error(Member(path, "compounds"), "belongs to values of two or more compounds");
            if (value.contains("labels")) Error(Member(path, "labels"), "belongs to values of two or more compounds");
            if (value.contains("regression"))
                Error(Member(path, "regression"), "belongs to values of two or more compounds");
            if (const Json* compound = Find(value, path, "compound", true))
                checkCompound(*compound, Member(path, "compound"), 0);
        } else {
            if (value.contains("compound"))
                Error(Member(path, "compound"), "belongs to values of one compound; use \"compounds\"");
            if (!PairCompounds(value, path, property.InteractionType, checkCompound)) return false;
        }
        return named;
    }

    // False, with the error, when an earlier value of the databank holds the same property of the
    // same compounds, in either order for a pair.
    bool FirstOfItsKind(const std::string& path, const PropertyInfo& property, const Slots& slots,
                        std::map<ValueKey, std::size_t>& seen, std::size_t index)
    {
        ValueKey key{property.Id, slots[0], slots[1], slots[2], slots[3]};
        if (auto [earlier, added] = seen.emplace(key, index); !added) {
            Error(path, "repeats the value of values[" + std::to_string(earlier->second) + "]");
            return false;
        }
        // A pair is stored in one order; the service answers the other order from it.
        if (property.InteractionType != 0) {
            ValueKey other = property.InteractionType == 1
                                 ? std::make_tuple(property.Id, slots[1], slots[0], 0, 0)
                                 : std::make_tuple(property.Id, slots[2], slots[3], slots[0], slots[1]);
            if (auto earlier = seen.find(other); other != key && earlier != seen.end()) {
                Error(path, "stores the pair of values[" + std::to_string(earlier->second) +
                                "] in the other order; store one order only");
                return false;
            }
        }
        return true;
    }

    // The stored kind of a value (numbers, text or texts), when it holds exactly one that its
    // property takes.
    std::optional<int> ValueKind(const Json& value, const std::string& path, const PropertyInfo& property,
                                 const std::string& propertyName)
    {
        int kinds = value.contains("numbers") + value.contains("text") + value.contains("texts");
        if (kinds != 1) {
            Error(path, "must hold exactly one of \"numbers\", \"text\" and \"texts\"");
            return std::nullopt;
        }
        int kind = value.contains("numbers") ? sqlite::ValueNumbers
                   : value.contains("text")  ? sqlite::ValueText
                                             : sqlite::ValueTexts;
        if (property.DataType != -1 && property.DataType != kind) {
            Error(path, "holds a value of another kind than the data type " + std::to_string(property.DataType) +
                            " of property \"" + propertyName + "\"");
            return std::nullopt;
        }
        if (property.InteractionType != 0 && kind != sqlite::ValueNumbers) {
            Error(path, "values of two or more compounds must be numbers");
            return std::nullopt;
        }
        return kind;
    }

    // Binds a value's numbers, and a pair's labels; false when the value has no list of numbers.
    bool BindNumbers(sqlite::Statement& insert, const Json& value, const std::string& path,
                     const PropertyInfo& property, const std::string& propertyName)
    {
        const Json* list = List(value, path, "numbers", true);
        if (!list) return false;
        auto numbers = Numbers(*list, Member(path, "numbers"));
        const bool unary = property.InteractionType == 0;
        if (unary && static_cast<int>(numbers.size()) != property.ElementCount) {
            Error(Member(path, "numbers"), "must hold elementCount (" + std::to_string(property.ElementCount) +
                                               ") numbers, not " + std::to_string(numbers.size()));
        }
        if (!unary) {
            std::vector<int> labels;
            if (const Json* labelList = List(value, path, "labels", true)) {
                labels = Labels(*labelList, Member(path, "labels"), property, propertyName);
                if (labels.size() != numbers.size())
                    Error(Member(path, "labels"), "must hold one label for each number");
            }
            insert.BindBlob(9, sqlite::EncodeLabels(labels));
        }
        insert.BindBlob(10, sqlite::EncodeNumbers(numbers));
        return true;
    }

    std::vector<int> Labels(const Json& labelList, const std::string& listPath, const PropertyInfo& property,
                            const std::string& propertyName)
    {
        std::vector<int> labels;
        std::set<int> distinct;
        for (std::size_t i = 0; i < labelList.size(); ++i) {
            std::string labelPath = Item(listPath, i);
            auto label = Integer(labelList[i], labelPath);
            if (!label) continue;
            if (!property.Labels.count(*label)) {
                Error(labelPath, "is not a label of the elements of property \"" + propertyName + "\"");
            } else if (!distinct.insert(*label).second) {
                Error(labelPath, "repeats the label " + std::to_string(*label));
            }
            labels.push_back(*label);
        }
        return labels;
    }

    // The compounds of a binary value, a list of exactly two; of a pair value, an object naming its
    // slots: "1" and "3" always, "2" and "4" optionally.
    template <class Check>
    bool PairCompounds(const Json& value, const std::string& path, int interactionType, Check& check)
    {
        std::string listPath = Member(path, "compounds");
        if (interactionType == 1) {
            const Json* list = List(value, path, "compounds", true);
            if (!list) return false;
            if (list->size() != 2) {
                Error(listPath, "must name exactly two compounds");
                return false;
            }
            for (std::size_t i = 0; i < 2; ++i) check((*list)[i], Item(listPath, i), i);
            return true;
        }
        const Json* slots = Object(value, path, "compounds", true);
        if (!slots) return false;
        Known(*slots, listPath, {"1", "2", "3", "4"});
        static const char* const names[] = {"1", "2", "3", "4"};
        for (std::size_t i = 0; i < 4; ++i) {
            if (const Json* compound = Find(*slots, listPath, names[i], i == 0 || i == 2)) {
                check(*compound, Member(listPath, names[i]), i);
            }
        }
        return slots->contains("1") && slots->contains("3");
    }

    // A range or deviation name of regression information, checked against its kind's names.
    void RegressionName(std::optional<int> kind, const std::optional<std::string>& name, const std::string& namePath,
                        bool isRange, std::set<std::string>& used)
    {
        // Which ranges and deviations each kind has; NIST deviations are named by their property.
        static const std::map<int, std::pair<std::set<std::string>, std::set<std::string>>> named = {
            {1, {{"Temp", "Pres", "X"}, {"Temp", "Pres", "X"}}},
            {2, {{"Temp", "X1", "X2"}, {"X1", "X2"}}},
            {3, {{"Temp", "Pres", "X", "Henry"}, {"Henry"}}},
            {4, {{"Temp", "Pres", "X"}, {}}},
        };
        if (!name) return;
        if (!used.insert(*name).second) Error(namePath, "repeats \"" + *name + "\"");
        auto kindNames = kind ? named.find(*kind) : named.end();
        if (kindNames == named.end()) return;
        const auto& allowed = isRange ? kindNames->second.first : kindNames->second.second;
        if (*kind == 4 && !isRange) {
            if (name->empty()) Error(namePath, "must name the regressed property");
            return;
        }
        if (!allowed.count(*name)) {
            std::string list;
            for (const auto& known : allowed) list += (list.empty() ? "" : ", ") + known;
            Error(namePath, "\"" + *name + "\" is no " + (isRange ? "range" : "deviation") + " of kind " +
                                std::to_string(*kind) + " (" + list + ")");
        }
    }

    void Regression(const Json& regression, const std::string& path, long long valueId)
    {
        Known(regression, path, {"kind", "firstCompound", "sigma", "ranges", "deviations", "citations"});
        auto kind = Integer(regression, path, "kind", true);
        if (kind && (*kind < 1 || *kind > 4)) {
            Error(Member(path, "kind"), "must be 1 (vapour-liquid), 2 (liquid-liquid), 3 (Henry) or 4 (NIST)");
        }
        auto checkName = [&](const std::optional<std::string>& name, const std::string& namePath, bool isRange,
                             std::set<std::string>& used) { RegressionName(kind, name, namePath, isRange, used); };
        if (kind && *kind != 4 && regression.contains("citations")) {
            Error(Member(path, "citations"), "belong to regression information of kind 4 (NIST)");
        }
        std::set<std::string> rangeNames, deviationNames;
        m_db.Cached(sql::InsertRegression)
            .Bind(1, valueId)
            .Bind(2, kind.value_or(0))
            .Bind(3, Text(regression, path, "firstCompound", false))
            .Bind(4, Number(regression, path, "sigma", false))
            .Execute();
        if (const Json* ranges = List(regression, path, "ranges", false)) {
            for (std::size_t i = 0; i < ranges->size(); ++i) {
                const Json& range = (*ranges)[i];
                std::string rangePath = Item(Member(path, "ranges"), i);
                if (!Expect(range, rangePath, "an object", range.is_object())) continue;
                Known(range, rangePath, {"name", "lower", "upper"});
                auto rangeName = Text(range, rangePath, "name", true);
                checkName(rangeName, Member(rangePath, "name"), true, rangeNames);
                m_db.Cached(sql::InsertRegressionRange)
                    .Bind(1, valueId)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, rangeName.value_or(""))
                    .Bind(4, Number(range, rangePath, "lower", true))
                    .Bind(5, Number(range, rangePath, "upper", true))
                    .Execute();
            }
        }
        if (const Json* deviations = List(regression, path, "deviations", false)) {
            for (std::size_t i = 0; i < deviations->size(); ++i) {
                const Json& deviation = (*deviations)[i];
                std::string deviationPath = Item(Member(path, "deviations"), i);
                if (!Expect(deviation, deviationPath, "an object", deviation.is_object())) continue;
                Known(deviation, deviationPath, {"name", "points", "aard", "aad", "max"});
                auto deviationName = Text(deviation, deviationPath, "name", true);
                checkName(deviationName, Member(deviationPath, "name"), false, deviationNames);
                m_db.Cached(sql::InsertRegressionDeviation)
                    .Bind(1, valueId)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, deviationName.value_or(""))
                    .Bind(4, Integer(deviation, deviationPath, "points", true))
                    .Bind(5, Number(deviation, deviationPath, "aard", true))
                    .Bind(6, Number(deviation, deviationPath, "aad", true))
                    .Bind(7, Number(deviation, deviationPath, "max", true))
                    .Execute();
            }
        }
        if (const Json* citations = List(regression, path, "citations", false)) {
            auto texts = Texts(*citations, Member(path, "citations"));
            for (std::size_t i = 0; i < texts.size(); ++i) {
                m_db.Cached(sql::InsertRegressionCitation)
                    .Bind(1, valueId)
                    .Bind(2, static_cast<int>(i))
                    .Bind(3, texts[i])
                    .Execute();
            }
        }
    }

    void Reaction(const Json& reaction, const std::string& path, int databankId, std::size_t index)
    {
        if (!Expect(reaction, path, "an object", reaction.is_object())) return;
        Known(reaction, path, {"id", "name", "type", "basis", "equation", "species", "eqConsts", "symmetricEqConsts"});
        auto id = Integer(reaction, path, "id", true);
        if (!id) return;
        if (!m_reactions.insert(*id).second) {
            Error(Member(path, "id"), "repeats the reaction id " + std::to_string(*id));
            return;
        }
        std::vector<std::optional<double>> eqConsts, symmetricEqConsts;
        if (const Json* list = List(reaction, path, "eqConsts", false))
            eqConsts = Numbers(*list, Member(path, "eqConsts"));
        if (const Json* list = List(reaction, path, "symmetricEqConsts", false)) {
            symmetricEqConsts = Numbers(*list, Member(path, "symmetricEqConsts"));
        }
        // Hosts receive a reaction in arrays of fixed size: what does not fit is refused here.
        Limit(Member(path, "eqConsts"), service::HostLimit::EquilibriumConstants, eqConsts.size());
        Limit(Member(path, "symmetricEqConsts"), service::HostLimit::EquilibriumConstants, symmetricEqConsts.size());
        m_db.Cached(sql::InsertReaction)
            .Bind(1, *id)
            .Bind(2, databankId)
            .Bind(3, static_cast<int>(index))
            .Bind(4, Text(reaction, path, "name", false))
            .Bind(5, Text(reaction, path, "type", true).value_or(""))
            .Bind(6, Text(reaction, path, "basis", true).value_or(""))
            .Bind(7, Text(reaction, path, "equation", false))
            .BindBlob(8, sqlite::EncodeNumbers(eqConsts))
            .BindBlob(9, sqlite::EncodeNumbers(symmetricEqConsts))
            .Execute();
        const Json* species = List(reaction, path, "species", true);
        if (!species) return;
        if (species->empty()) Error(Member(path, "species"), "must name at least one species");
        Limit(Member(path, "species"), service::HostLimit::ReactionSpecies, species->size());
        for (std::size_t i = 0; i < species->size(); ++i) {
            const Json& item = (*species)[i];
            std::string itemPath = Item(Member(path, "species"), i);
            if (!Expect(item, itemPath, "an object", item.is_object())) continue;
            Known(item, itemPath, {"name", "compound", "coefficient"});
            auto compound = Integer(item, itemPath, "compound", false);
            if (compound && !m_compounds.count(*compound)) {
                Error(Member(itemPath, "compound"), "names the unknown compound " + std::to_string(*compound));
            }
            const std::string name = Text(item, itemPath, "name", true).value_or("");
            Limit(Member(itemPath, "name"), service::HostLimit::SpeciesAliasBytes, name.size());
            m_db.Cached(sql::InsertReactionSpecies)
                .Bind(1, *id)
                .Bind(2, static_cast<int>(i))
                .Bind(3, name)
                .Bind(4, compound)
                .Bind(5, Number(item, itemPath, "coefficient", true).value_or(0.0))
                .Execute();
        }
    }

    Connection& m_db;
    std::map<std::string, PropertyInfo> m_properties;
    std::set<int> m_compounds;
    std::set<std::string> m_databankNames;
    std::set<int> m_databankIds;
    std::set<int> m_reactions;
    long long m_valueCount = 0;
};

} // namespace

namespace {

// Why the build may not replace what stands at `outputPath`, or nullopt.
std::optional<std::string> ReplacementProblem(const std::string& outputPath, bool replaceAnyFile)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(platform::PathFromUtf8(outputPath), error);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (std::filesystem::is_directory(status)) return outputPath + " is a directory";
    if (replaceAnyFile) return std::nullopt;
    try {
        sqlite::CheckDatabaseFile(outputPath);
        Connection existing(outputPath, Connection::Mode::ReadOnly);
        sqlite::CheckDatabaseFormat(existing);
        return std::nullopt;
    } catch (const std::exception&) {
        return outputPath + " exists and is not a database of this service; moru-db replaces only its own databases "
                            "(--force replaces any file)";
    }
}

// A new file beside `outputPath` whose name no other file has: moru-db writes only there.
std::string MakeBuildFile(const std::string& outputPath)
{
    static std::mt19937_64 generator{
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.moru-db-build", static_cast<unsigned long long>(generator()));
        std::string candidate = outputPath + suffix;
        std::error_code error;
        if (std::filesystem::exists(platform::PathFromUtf8(candidate), error) || error) continue;
        // Made empty here, so that the build never opens a file someone else made meanwhile.
        std::ofstream made(platform::PathFromUtf8(candidate), std::ios::binary | std::ios::app);
        if (made && std::filesystem::file_size(platform::PathFromUtf8(candidate), error) == 0 && !error)
            return candidate;
    }
    throw std::runtime_error("cannot make a new file beside " + outputPath);
}

} // namespace

std::optional<std::string> TextOutputProblem(const std::string& outputPath, bool replaceExisting)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(platform::PathFromUtf8(outputPath), error);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (std::filesystem::is_directory(std::filesystem::status(platform::PathFromUtf8(outputPath), error)))
        return outputPath + " is a directory";
    if (replaceExisting) return std::nullopt;
    return outputPath + " exists; moru-db does not replace it without --force";
}

void WriteTextFile(const std::string& text, const std::string& outputPath, bool replaceExisting)
{
    if (auto problem = TextOutputProblem(outputPath, replaceExisting)) throw std::runtime_error(*problem);
    const std::string partial = MakeBuildFile(outputPath);
    std::error_code ignored;
    {
        std::ofstream file(platform::PathFromUtf8(partial), std::ios::binary | std::ios::trunc);
        file << text;
        file.close(); // a full disk may show only here
        if (!file) {
            std::filesystem::remove(platform::PathFromUtf8(partial), ignored);
            throw std::runtime_error("cannot write " + partial);
        }
    }
    std::error_code renamed;
    std::filesystem::rename(platform::PathFromUtf8(partial), platform::PathFromUtf8(outputPath), renamed);
    if (renamed) {
        std::filesystem::remove(platform::PathFromUtf8(partial), ignored);
        throw std::runtime_error("cannot rename the finished file to " + outputPath + ": " + renamed.message());
    }
}

bool SameFile(const std::string& first, const std::string& second)
{
    std::error_code error;
    return std::filesystem::equivalent(platform::PathFromUtf8(first), platform::PathFromUtf8(second), error) && !error;
}

SourceErrors BuildDatabase(const Json& source, const std::string& outputPath, bool replaceAnyFile)
{
    SourceErrors errors;
    if (auto problem = ReplacementProblem(outputPath, replaceAnyFile)) return {{"", *problem}};
    std::string partial;
    std::error_code ignored;
    try {
        partial = MakeBuildFile(outputPath);
        Connection db(partial, Connection::Mode::Create);
        db.Execute("PRAGMA journal_mode = OFF");
        db.Execute(sql::CreateSchema);
        db.Execute(sql::CreateOptionalSchema);
        db.Execute("BEGIN");
        Writer(db, errors).Root(source);
        if (errors.empty()) {
            db.Execute(sql::CreateIndexes);
            db.Execute(sql::Analyze);
            db.Execute("COMMIT");
        }
    } catch (const std::exception& failure) {
        errors.push_back(
            {"", std::string("cannot write ") + (partial.empty() ? outputPath : partial) + ": " + failure.what()});
    }
    if (!errors.empty()) {
        if (!partial.empty()) std::filesystem::remove(platform::PathFromUtf8(partial), ignored);
        return errors;
    }
    std::error_code renamed;
    std::filesystem::rename(platform::PathFromUtf8(partial), platform::PathFromUtf8(outputPath), renamed);
    if (renamed) {
        std::filesystem::remove(platform::PathFromUtf8(partial), ignored);
        errors.push_back({"", "cannot rename the finished database to " + outputPath + ": " + renamed.message()});
    }
    return errors;
}

SourceErrors BuildDatabaseFromFile(const std::string& sourcePath, const std::string& outputPath, bool replaceAnyFile,
                                   std::size_t maxSourceBytes)
{
    if (SameFile(sourcePath, outputPath))
        return {{"", outputPath + " is the source itself; write the database to another file"}};
    std::ifstream file(platform::PathFromUtf8(sourcePath), std::ios::binary);
    if (!file) return {{sourcePath, "cannot be read"}};
    const auto text = platform::ReadAtMost(file, maxSourceBytes);
    if (!text)
        return {
            {sourcePath, "holds more than " + std::to_string(maxSourceBytes) + " bytes, the most a source may hold"}};
    if (file.bad()) return {{sourcePath, "cannot be read"}};
    SourceErrors errors;
    auto source = ParseSource(*text, errors);
    if (!source) return errors;
    return BuildDatabase(*source, outputPath, replaceAnyFile);
}

} // namespace moru::dbtool
