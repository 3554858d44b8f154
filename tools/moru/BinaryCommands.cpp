#include "BinaryCommands.h"

#include "Commands.h"
#include "HostLibrary.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace moru::host {

namespace {

std::string Number(const Json& value)
{
    if (value.is_null()) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value.get<double>());
    return text;
}

std::pair<std::string, std::string> Split(const std::string& reference)
{
    const auto stop = reference.find('.');
    if (stop == std::string::npos) throw std::invalid_argument("a databank is named DB.BANK, not " + reference);
    return {reference.substr(0, stop), reference.substr(stop + 1)};
}

// Labels of the regression fields in the order the export writes them; also their JSON names.
constexpr std::pair<const char*, const char*> kRegressionFields[] = {
    {"sigma", "sigma"},
    {"temperature_range", "temperature range"},
    {"pressure_range", "pressure range"},
    {"composition_range", "composition range"},
    {"liquid1_composition_range", "liquid 1 composition range"},
    {"liquid2_composition_range", "liquid 2 composition range"},
    {"henry_constant_range", "Henry's constant range"},
    {"henry_constant_deviations", "Henry's constant deviations"},
    {"temperature_deviations", "temperature deviations"},
    {"pressure_deviations", "pressure deviations"},
    {"composition_deviations", "composition deviations"},
    {"liquid1_deviations", "liquid 1 deviations"},
    {"liquid2_deviations", "liquid 2 deviations"}};

Json CollectRegression(const BinaryCommands& c)
{
    int handle = 0;
    if (!MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObject)(
            c.reference.c_str(), c.model.c_str(), c.first.c_str(), c.second.c_str(), c.type.c_str(), &handle))
        throw CommandFailure("the regression information of " + Printable(c.reference) + " cannot be read");
    int kind = 0;
    char fields[15][256];
    char table[2048], citations[4096], basis[256];
    MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObjectDetails)
    (handle, &kind, fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8],
     fields[9], fields[10], fields[11], fields[12], table, citations, basis, 256, sizeof table, sizeof citations);
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
    static const char* const kinds[] = {"none", "vapour-liquid", "liquid-liquid", "Henry's law", "NIST regression"};
    Json regression{{"kind", kind >= 0 && kind <= 4 ? Json(kinds[kind]) : Json(nullptr)}, {"kind_code", kind}};
    if (kind == 0) return regression;
    regression["first_compound"] = basis[0] ? Json(basis) : Json(nullptr);
    Json filled = Json::object();
    for (std::size_t i = 0; i < std::size(kRegressionFields); ++i)
        if (fields[i][0]) filled[kRegressionFields[i].first] = fields[i];
    regression["fields"] = filled;
    regression["deviations_by_property"] = table[0] ? Json(table) : Json(nullptr);
    regression["citations"] = citations[0] ? Json(citations) : Json(nullptr);
    return regression;
}

void PrintRegression(const Json& regression)
{
    std::printf("  regression information: %s\n",
                regression["kind"].is_null() ? "?" : TextOf(regression["kind"]).c_str());
    if (regression["kind_code"] == 0) return;
    if (!regression["first_compound"].is_null())
        std::printf("    %-30s %s\n", "first compound", TextOf(regression["first_compound"]).c_str());
    for (const auto& [name, label] : kRegressionFields) {
        if (regression["fields"].contains(name))
            std::printf("    %-30s %s\n", label, TextOf(regression["fields"][name]).c_str());
    }
    if (!regression["deviations_by_property"].is_null())
        std::printf("    %-30s %s\n", "deviations by property", TextOf(regression["deviations_by_property"]).c_str());
    if (!regression["citations"].is_null())
        std::printf("    %-30s %s\n", "citations", TextOf(regression["citations"]).c_str());
}

void PrintParameters(const Json& document)
{
    std::printf("  %s %s, %s (i) / %s (j): %zu numbers, element by element ij then ji\n   ",
                TextOf(document["databank"]).c_str(), TextOf(document["model"]).c_str(),
                TextOf(document["compounds"][0]).c_str(), TextOf(document["compounds"][1]).c_str(),
                document["parameters"].size());
    for (const auto& value : document["parameters"]) std::printf(" %s", Number(value).c_str());
    std::printf("\n");
    PrintRegression(document["regression"]);
}

int ShowParameters(const BinaryCommands& c)
{
    const auto [database, databank] = Split(c.reference);
    RequireDatabank(database, databank);
    int condensed = 0, handle = 0;
    if (!MORU_EXPORT_OF(InteractionParameters_GetBinaryIp)(database.c_str(), databank.c_str(), c.model.c_str(),
                                                           c.first.c_str(), c.second.c_str(), c.type.c_str(),
                                                           &condensed, &handle))
        throw CommandFailure("the binary parameters of " + Printable(c.reference) + " cannot be asked");
    if (handle == 0) {
        // A compound not found by the identifier type in use is the likelier mistake: say so.
        for (const std::string* compound : {&c.first, &c.second}) {
            if (!DatabaseHoldsCompound(database, c.type, *compound)) {
                throw CommandFailure("\"" + Printable(*compound) + "\": no compound of " + Printable(database) +
                                     " has that " + Printable(c.type) + " (--type names the identifier type)");
            }
        }
        throw CommandFailure(Printable(c.reference) + " " + Printable(c.model) + ": no parameters for " +
                             Printable(c.first) + " / " + Printable(c.second));
    }
    std::vector<double> values(
        static_cast<std::size_t>(MORU_EXPORT_OF(InteractionParameterValueObject_NumberOfElements)(handle)));
    MORU_EXPORT_OF(InteractionParameterValueObject_Parameters)(handle, values.data());
    MORU_EXPORT_OF(InteractionParameterValueObject_ReleaseHandle)(handle);
    Json parameters = Json::array();
    for (double value : values) parameters.push_back(JsonNumber(value));
    return Print(Json{{"databank", c.reference},
                      {"model", c.model},
                      {"type", c.type},
                      {"compounds", {c.first, c.second}},
                      {"parameters", parameters},
                      {"regression", CollectRegression(c)}},
                 PrintParameters);
}

void PrintPairs(const Json& document)
{
    const Json& compounds = document["compounds"];
    std::printf("  %s: %d binary values among %zu compounds\n", TextOf(document["databank"]).c_str(),
                document["count"].get<int>(), compounds.size());
    for (const auto& matrix : document["matrices"]) {
        std::printf("\n  %s, element %d (row i, column j: the part for i with j)\n  %-16s",
                    TextOf(matrix["property"]).c_str(), matrix["element"].get<int>(), "");
        for (const auto& compound : compounds) std::printf(" %14.14s", TextOf(compound).c_str());
        std::printf("\n");
        for (std::size_t i = 0; i < compounds.size(); ++i) {
            std::printf("  %-16.16s", TextOf(compounds[i]).c_str());
            for (const auto& value : matrix["rows"][i]) std::printf(" %14s", Number(value).c_str());
            std::printf("\n");
        }
    }
}

// One matrix per parameter and element: row i, column j holds the part for the order (i, j).
int ShowPairs(const BinaryCommands& c)
{
    const auto [database, databank] = Split(c.reference);
    RequireDatabank(database, databank);
    int bankType = 0, table = 0;
    const int count =
        MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)(database.c_str(), databank.c_str(), &bankType, &table);
    std::vector<std::string> properties;
    std::vector<char> name(4096);
    for (int position = 0; position < count; ++position) {
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name.data()) == 1)
            properties.emplace_back(name.data());
    }
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);

    std::vector<const char*> working, banks{c.reference.c_str(), nullptr}, propertyList;
    for (const auto& compound : c.compounds) working.push_back(compound.c_str());
    for (const auto& property : properties) propertyList.push_back(property.c_str());
    working.push_back(nullptr);
    propertyList.push_back(nullptr);
    int type = 1, condensed = 0, handle = 0;
    if (!MORU_EXPORT_OF(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects)(
            working.data(), c.type.c_str(), banks.data(), propertyList.data(), &type, &condensed, &handle))
        throw CommandFailure("the binary values of " + Printable(c.reference) + " cannot be asked");
    // By property position, then element: the matrix of parts.
    const std::size_t n = c.compounds.size();
    std::map<int, std::vector<Json>> matrices;
    int c1, c2, c3, c4, bank, prop, size, regInfo, values = 0;
    std::vector<double> numbers(4096);
    Json emptyMatrix = Json::array();
    for (std::size_t i = 0; i < n; ++i) {
        emptyMatrix.push_back(Json::array());
        for (std::size_t j = 0; j < n; ++j) emptyMatrix.back().push_back(nullptr);
    }
    while (MORU_EXPORT_OF(BinaryPropertyValueObjects_GetNextPropertyValueObject)(
               handle, &c1, &c2, &c3, &c4, &bank, &prop, &size, &regInfo, numbers.data()) == 1) {
        ++values;
        auto& elements = matrices[prop];
        const auto elementCount = static_cast<std::size_t>(size / 2);
        if (elements.size() < elementCount) elements.resize(elementCount, emptyMatrix);
        for (std::size_t e = 0; e < elementCount; ++e) {
            elements[e][static_cast<std::size_t>(c1)][static_cast<std::size_t>(c2)] = JsonNumber(numbers[2 * e]);
            elements[e][static_cast<std::size_t>(c2)][static_cast<std::size_t>(c1)] = JsonNumber(numbers[2 * e + 1]);
        }
    }
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
    Json matrixList = Json::array();
    for (const auto& [property, elements] : matrices) {
        for (std::size_t e = 0; e < elements.size(); ++e) {
            matrixList.push_back(Json{{"property", properties[static_cast<std::size_t>(property)]},
                                      {"element", static_cast<int>(e + 1)},
                                      {"rows", elements[e]}});
        }
    }
    Json compounds = c.compounds;
    return Print(Json{{"databank", c.reference},
                      {"type", c.type},
                      {"compounds", compounds},
                      {"count", values},
                      {"matrices", matrixList}},
                 PrintPairs);
}

} // namespace

void AddBinaryCommands(CLI::App& app, BinaryCommands& c, std::string& config)
{
    c.binary = app.add_subcommand("binary", "a binary parameter set of two compounds, with its regression information");
    c.pairs =
        app.add_subcommand("pairs", "every binary value of a databank among compounds, as a matrix per parameter");
    for (CLI::App* command : {c.binary, c.pairs}) {
        command->add_option("CONFIG", config, "the configuration file")->required();
        command->add_option("DB.BANK", c.reference, "the databank")->required();
        command->add_option("--type", c.type, "the identifier type of the compounds")->capture_default_str();
    }
    c.binary->add_option("MODEL", c.model, "the parameter, such as NRTL")->required();
    c.binary->add_option("COMPOUND1", c.first, "compound i")->required();
    c.binary->add_option("COMPOUND2", c.second, "compound j")->required();
    c.pairs->add_option("COMPOUND", c.compounds, "the compounds")->required();
}

std::optional<int> RunBinaryCommands(const BinaryCommands& c)
{
    if (*c.binary) return ShowParameters(c);
    if (*c.pairs) return ShowPairs(c);
    return std::nullopt;
}

} // namespace moru::host
