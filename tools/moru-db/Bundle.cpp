#include "MoruDb.h"
#include "platform/Files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

namespace moru::dbtool {

namespace {

using Row = std::map<std::string, std::string>;

// Rows of a tab-separated file with one header line; no quoting (fields hold neither tabs nor newlines).
std::vector<Row> ReadTable(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    auto split = [](const std::string& line) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        while (true) {
            auto tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        return fields;
    };
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto header = split(line);
    std::vector<Row> rows;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        auto fields = split(line);
        Row row;
        for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = i < fields.size() ? fields[i] : "";
        rows.push_back(std::move(row));
    }
    return rows;
}

Json Number(const std::string& text)
{
    if (text.empty()) return nullptr;
    return std::strtod(text.c_str(), nullptr);
}

struct Databank {
    Json Record;
    std::vector<int> Compounds;
    std::map<int, bool> Held;
    std::map<std::tuple<std::string, int, int>, std::size_t> PairValues;

    void Hold(int compound)
    {
        if (!Held[compound]) {
            Held[compound] = true;
            Compounds.push_back(compound);
        }
    }
};

struct BinaryModel {
    const char* Name;
    std::vector<std::pair<const char*, int>> Elements; // element name and symmetry code
    const char* Units;
};

// Binary parameters: one value per unordered pair, in the order the pair first appears; a row
// for (i, j) fills the IJ label of its element, a row for (j, i) the JI label.
const BinaryModel kBinaryModels[] = {
    // Tmin is the lower temperature limit of the pair: one number for both orders.
    {"PRKIJ", {{"kij", 1}, {"tmin", 2}}, "-"},
    {"NRTL", {{"bij", 0}, {"alphaij", 2}}, "K"},
    {"UNIQUAC", {{"bij", 0}}, "K"},
    {"WILSON", {{"aij", 0}, {"bij", 0}}, "-"},
};

int BinaryElementIndex(const std::string& modelName, const std::string& element)
{
    for (const auto& model : kBinaryModels) {
        if (modelName != model.Name) continue;
        for (std::size_t i = 0; i < model.Elements.size(); ++i) {
            if (element == model.Elements[i].first) return static_cast<int>(i);
        }
    }
    throw std::runtime_error("unknown binary element " + modelName + "/" + element);
}

void AddLabel(Json& value, int label, Json number)
{
    value["labels"].push_back(label);
    value["numbers"].push_back(std::move(number));
}

// The bundle's tables read one after the other into the parts of one source.
class BundleReader {
public:
    explicit BundleReader(std::filesystem::path root) : m_root(std::move(root)) {}

    Json Source()
    {
        ReadCompounds();
        ReadPureConstants();
        ReadCorrelations();
        ReadBinaryParameters();
        ReadReactions();
        Json source;
        source["format"] = "moru-property-db 1";
        source["database"] = {{"alias", "BUNDLE"},
                              {"description", "Shared physical-property data bundle"},
                              {"version", 2020},
                              {"access", {{"ZRSIMULATOR", true}, {"ZRVIEWER", true}}}};
        source["properties"] = std::move(m_properties);
        source["compounds"] = std::move(m_compounds);
        source["databanks"] = DatabankList();
        return source;
    }

private:
    void ReadCompounds()
    {
        static const std::pair<const char*, const char*> identifierColumns[] = {
            {"NAME", "name"},       {"ALIAS", "alias"},   {"CASRN", "cas"},   {"IUPAC_NAME", "iupac_name"},
            {"FORMULA", "formula"}, {"SMILES", "smiles"}, {"INCHI", "inchi"}, {"INCHIKEY", "inchikey"}};
        for (const auto& row : ReadTable(m_root / "compounds.tsv")) {
            int id = static_cast<int>(m_compounds.size()) + 1;
            Json identifiers = Json::object();
            for (const auto& [type, column] : identifierColumns) {
                const std::string& value = row.at(column);
                if (!value.empty()) identifiers[type] = Json::array({value});
            }
            Json compound{{"id", id}, {"identifiers", std::move(identifiers)}};
            if (!row.at("smiles").empty())
                compound["structures"] = Json::array({{{"type", 2}, {"text", row.at("smiles")}}});
            m_compounds.push_back(std::move(compound));
            m_byCas[row.at("cas")] = id;
            m_byAlias[row.at("alias")] = id;
        }
    }

    void ReadPureConstants()
    {
        for (const auto& row : ReadTable(m_root / "pure_constants.tsv")) {
            const std::string& name = row.at("property");
            if (!m_knownProperties[name]) {
                m_knownProperties[name] = true;
                m_properties.push_back({{"name", name},
                                        {"dataType", 1},
                                        {"interactionType", 0},
                                        {"elementCount", 1},
                                        {"units", Json::array({{{"row", name}, {"default", row.at("units")}}})}});
            }
            auto& databank = DatabankFor(row.at("source"), "PURE");
            int compound = CompoundOf(row.at("cas"));
            databank.Hold(compound);
            databank.Record["values"].push_back(
                {{"property", name}, {"compound", compound}, {"numbers", Json::array({Number(row.at("value"))})}});
        }
    }

    // A correlation's value holds its coefficients in the order of its equation form, then the
    // lower and upper end of its validity range (Tmin, Tmax in K; null when the source gives none).
    // The equation form is data of its own: a text value of the companion property NAME_EQUATION.
    void ReadCorrelations()
    {
        for (const auto& row : ReadTable(m_root / "pure_correlations.tsv")) {
            const std::string& name = row.at("property");
            const std::string formName = name + "_EQUATION";
            Json coefficients = Json::parse(row.at("coeffs"));
            if (!m_knownProperties[name]) {
                m_knownProperties[name] = true;
                m_properties.push_back({{"name", name},
                                        {"dataType", 1},
                                        {"interactionType", 0},
                                        {"elementCount", static_cast<int>(coefficients.size()) + 2},
                                        {"units", Json::array({{{"row", name}, {"default", row.at("units")}},
                                                               {{"row", "TEMPERATURE"}, {"default", "K"}}})}});
                m_properties.push_back(
                    {{"name", formName}, {"dataType", 2}, {"interactionType", 0}, {"elementCount", 1}});
            }
            auto& databank = DatabankFor(row.at("source"), "PURE");
            int compound = CompoundOf(row.at("cas"));
            databank.Hold(compound);
            Json numbers = Json::array();
            for (const auto& coefficient : coefficients) numbers.push_back(coefficient.get<double>());
            numbers.push_back(Number(row.at("tmin")));
            numbers.push_back(Number(row.at("tmax")));
            databank.Record["values"].push_back(
                {{"property", name}, {"compound", compound}, {"numbers", std::move(numbers)}});
            databank.Record["values"].push_back(
                {{"property", formName}, {"compound", compound}, {"text", row.at("equation")}});
        }
    }

    void ReadBinaryParameters()
    {
        for (const auto& model : kBinaryModels) {
            Json elements = Json::array();
            for (std::size_t i = 0; i < model.Elements.size(); ++i) {
                elements.push_back({{"ij", static_cast<int>(2 * i + 1)},
                                    {"ji", static_cast<int>(2 * i + 2)},
                                    {"symmetry", model.Elements[i].second}});
            }
            m_properties.push_back({{"name", model.Name},
                                    {"dataType", 1},
                                    {"interactionType", 1},
                                    {"elementCount", static_cast<int>(model.Elements.size())},
                                    {"units", Json::array({{{"row", model.Name}, {"default", model.Units}}})},
                                    {"elements", std::move(elements)}});
        }
        for (const auto& row : ReadTable(m_root / "binary_params.tsv")) ReadBinaryRow(row);
    }

    void ReadBinaryRow(const Row& row)
    {
        const std::string& model = row.at("model");
        auto& databank = DatabankFor(row.at("source"), "BINARY");
        if (!databank.Record.contains("binaryInfo")) {
            Json info = {{"parameter", model}};
            if (model == "PRKIJ") info["vaporModel"] = "PR";
            else info["gammaModel"] = model;
            databank.Record["binaryInfo"] = Json::array({std::move(info)});
        }
        int first = CompoundOf(row.at("cas1")), second = CompoundOf(row.at("cas2"));
        databank.Hold(first);
        databank.Hold(second);
        bool reversed = false;
        auto key = std::make_tuple(model, first, second);
        auto found = databank.PairValues.find(key);
        if (found == databank.PairValues.end()) {
            found = databank.PairValues.find(std::make_tuple(model, second, first));
            reversed = found != databank.PairValues.end();
        }
        if (found == databank.PairValues.end()) {
            found = databank.PairValues.emplace(key, databank.Record["values"].size()).first;
            databank.Record["values"].push_back({{"property", model},
                                                 {"compounds", Json::array({first, second})},
                                                 {"labels", Json::array()},
                                                 {"numbers", Json::array()}});
        }
        Json& value = databank.Record["values"][found->second];
        int element = BinaryElementIndex(model, row.at("element"));
        AddLabel(value, 2 * element + (reversed ? 2 : 1), Number(row.at("value")));
        if (!row.at("tmin").empty())
            AddLabel(value, 2 * BinaryElementIndex(model, "tmin") + (reversed ? 2 : 1), Number(row.at("tmin")));
    }

    void ReadReactions()
    {
        auto& reactionBank = DatabankFor("PHREEQC", "REACTION");
        int reactionId = 0;
        for (const auto& row : ReadTable(m_root / "reactions.tsv")) {
            Json species = Json::array();
            for (const auto& term : Json::parse(row.at("stoich"))) {
                Json item{{"name", term[0]}};
                auto linked = m_byAlias.find(term[0].get<std::string>());
                if (linked != m_byAlias.end()) {
                    item["compound"] = linked->second;
                    reactionBank.Hold(linked->second);
                }
                item["coefficient"] = term[1].get<double>();
                species.push_back(std::move(item));
            }
            // Equilibrium constants: log K at 25 °C, reaction enthalpy in kJ/mol, then A1 to A6 of the
            // analytical expression; absent ones are null. Every constant of the set stands on one basis,
            // molality: aqueous species enter by their activities on the molal scale (mol/kg of water),
            // and the phase of a PHASES reaction by its own activity (a gas by its partial pressure in
            // atm, a pure mineral as 1).
            Json eqConsts = Json::array({Number(row.at("log_k")), Number(row.at("delta_h_kJmol"))});
            Json analytic = row.at("analytic").empty() ? Json::array() : Json::parse(row.at("analytic"));
            for (std::size_t i = 0; i < 6; ++i)
                eqConsts.push_back(i < analytic.size() ? Json(analytic[i].get<double>()) : Json(nullptr));
            reactionBank.Record["reactions"].push_back({{"id", ++reactionId},
                                                        {"name", row.at("id")},
                                                        {"type", row.at("type")},
                                                        {"basis", "MOLALITY"},
                                                        {"equation", row.at("equation")},
                                                        {"species", std::move(species)},
                                                        {"eqConsts", std::move(eqConsts)}});
        }
    }

    Json DatabankList()
    {
        Json databankList = Json::array();
        for (const auto& name : m_databankOrder) {
            auto& databank = m_databanks[name];
            Json record;
            // Members in the documented order: the held compounds come before the values.
            for (auto& [key, member] : databank.Record.items()) {
                if (key == "values" || key == "reactions") continue;
                record[key] = member;
            }
            if (!databank.Compounds.empty()) record["compounds"] = databank.Compounds;
            if (!databank.Record["values"].empty()) record["values"] = std::move(databank.Record["values"]);
            if (databank.Record.contains("reactions")) record["reactions"] = std::move(databank.Record["reactions"]);
            databankList.push_back(std::move(record));
        }
        return databankList;
    }

    Databank& DatabankFor(const std::string& name, const char* type)
    {
        auto& databank = m_databanks[name];
        if (databank.Record.is_null()) {
            m_databankOrder.push_back(name);
            databank.Record = {{"name", name}, {"id", static_cast<int>(m_databankOrder.size())}};
            if (std::string(type) == "PURE") {
                databank.Record["pureInfo"] = {
                    {"displayName", name}, {"product", "Bundle"}, {"databankType", type}, {"helpCode", 0}};
            }
            databank.Record["values"] = Json::array();
        }
        return databank;
    }

    int CompoundOf(const std::string& cas) const
    {
        auto found = m_byCas.find(cas);
        if (found == m_byCas.end()) throw std::runtime_error("the bundle names the unknown compound " + cas);
        return found->second;
    }

    std::filesystem::path m_root;
    Json m_compounds = Json::array();
    Json m_properties = Json::array();
    std::map<std::string, int> m_byCas;
    std::map<std::string, int> m_byAlias;
    std::map<std::string, bool> m_knownProperties;
    std::vector<std::string> m_databankOrder;
    std::map<std::string, Databank> m_databanks;
};

} // namespace

Json ConvertBundle(const std::string& directory) { return BundleReader(platform::PathFromUtf8(directory)).Source(); }

} // namespace moru::dbtool
