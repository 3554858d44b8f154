#include "BinaryCommands.h"

#include "HostLibrary.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace moru::host {

namespace {

constexpr double kMissing = 1e35;

std::string Number(double value)
{
    if (value == kMissing) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::pair<std::string, std::string> Split(const std::string& reference)
{
    const auto stop = reference.find('.');
    if (stop == std::string::npos) throw std::invalid_argument("a databank is named DB.BANK, not " + reference);
    return {reference.substr(0, stop), reference.substr(stop + 1)};
}

int ShowRegression(const BinaryCommands& c)
{
    int handle = 0;
    if (!MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObject)(c.reference.c_str(), c.model.c_str(),
                                                                     c.first.c_str(), c.second.c_str(), c.type.c_str(),
                                                                     &handle)) {
        std::printf("  regression information: cannot be read\n");
        return 1;
    }
    int kind = 0;
    char fields[15][256];
    char table[2048], citations[4096], basis[256];
    MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObjectDetails)(
        handle, &kind, fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8],
        fields[9], fields[10], fields[11], fields[12], table, citations, basis, 256, sizeof table, sizeof citations);
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
    static const char* const kinds[] = {"none", "vapour-liquid", "liquid-liquid", "Henry's law", "NIST regression"};
    std::printf("  regression information: %s\n", kind >= 0 && kind <= 4 ? kinds[kind] : "?");
    if (kind == 0) return 0;
    static const char* const labels[] = {"sigma", "temperature range", "pressure range", "composition range",
                                         "liquid 1 composition range", "liquid 2 composition range",
                                         "Henry's constant range", "Henry's constant deviations",
                                         "temperature deviations", "pressure deviations", "composition deviations",
                                         "liquid 1 deviations", "liquid 2 deviations"};
    if (basis[0]) std::printf("    %-30s %s\n", "first compound", basis);
    for (int i = 0; i < 13; ++i) {
        if (fields[i][0]) std::printf("    %-30s %s\n", labels[i], fields[i]);
    }
    if (table[0]) std::printf("    %-30s %s\n", "deviations by property", table);
    if (citations[0]) std::printf("    %-30s %s\n", "citations", citations);
    return 0;
}

int ShowParameters(const BinaryCommands& c)
{
    const auto [database, databank] = Split(c.reference);
    int condensed = 0, handle = 0;
    if (!MORU_EXPORT_OF(InteractionParameters_GetBinaryIp)(database.c_str(), databank.c_str(), c.model.c_str(),
                                                           c.first.c_str(), c.second.c_str(), c.type.c_str(),
                                                           &condensed, &handle)) {
        std::printf("  %s: cannot be asked\n", c.reference.c_str());
        return 1;
    }
    if (handle == 0) {
        std::printf("  %s %s: no parameters for %s / %s\n", c.reference.c_str(), c.model.c_str(), c.first.c_str(),
                    c.second.c_str());
        return 1;
    }
    std::vector<double> values(static_cast<std::size_t>(MORU_EXPORT_OF(InteractionParameterValueObject_NumberOfElements)(handle)));
    MORU_EXPORT_OF(InteractionParameterValueObject_Parameters)(handle, values.data());
    MORU_EXPORT_OF(InteractionParameterValueObject_ReleaseHandle)(handle);
    std::printf("  %s %s, %s (i) / %s (j): %zu numbers, element by element ij then ji\n   ", c.reference.c_str(),
                c.model.c_str(), c.first.c_str(), c.second.c_str(), values.size());
    for (double value : values) std::printf(" %s", Number(value).c_str());
    std::printf("\n");
    return ShowRegression(c);
}

// One matrix per parameter and element: row i, column j holds the part for the order (i, j).
int ShowPairs(const BinaryCommands& c)
{
    const auto [database, databank] = Split(c.reference);
    int bankType = 0, table = 0;
    const int count = MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)(database.c_str(), databank.c_str(),
                                                                             &bankType, &table);
    std::vector<std::string> properties;
    std::vector<char> name(4096);
    for (int position = 0; position < count; ++position) {
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name.data()) == 1) properties.emplace_back(name.data());
    }
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);

    std::vector<const char*> working, banks{c.reference.c_str(), nullptr}, propertyList;
    for (const auto& compound : c.compounds) working.push_back(compound.c_str());
    for (const auto& property : properties) propertyList.push_back(property.c_str());
    working.push_back(nullptr);
    propertyList.push_back(nullptr);
    int type = 1, condensed = 0, handle = 0;
    if (!MORU_EXPORT_OF(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects)(
            working.data(), c.type.c_str(), banks.data(), propertyList.data(), &type, &condensed, &handle)) {
        std::printf("  %s: cannot be asked\n", c.reference.c_str());
        return 1;
    }
    // By property position, then element: the matrix of parts.
    const std::size_t n = c.compounds.size();
    std::map<int, std::vector<std::vector<std::vector<double>>>> matrices;
    int c1, c2, c3, c4, bank, prop, size, regInfo, values = 0;
    std::vector<double> numbers(4096);
    while (MORU_EXPORT_OF(BinaryPropertyValueObjects_GetNextPropertyValueObject)(handle, &c1, &c2, &c3, &c4, &bank, &prop,
                                                                                  &size, &regInfo, numbers.data()) == 1) {
        ++values;
        auto& elements = matrices[prop];
        const auto elementCount = static_cast<std::size_t>(size / 2);
        if (elements.size() < elementCount)
            elements.resize(elementCount, std::vector<std::vector<double>>(n, std::vector<double>(n, kMissing)));
        for (std::size_t e = 0; e < elementCount; ++e) {
            elements[e][static_cast<std::size_t>(c1)][static_cast<std::size_t>(c2)] = numbers[2 * e];
            elements[e][static_cast<std::size_t>(c2)][static_cast<std::size_t>(c1)] = numbers[2 * e + 1];
        }
    }
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
    std::printf("  %s: %d binary values among %zu compounds\n", c.reference.c_str(), values, n);
    for (const auto& [property, elements] : matrices) {
        for (std::size_t e = 0; e < elements.size(); ++e) {
            std::printf("\n  %s, element %zu (row i, column j: the part for i with j)\n  %-16s",
                        properties[static_cast<std::size_t>(property)].c_str(), e + 1, "");
            for (const auto& compound : c.compounds) std::printf(" %14.14s", compound.c_str());
            std::printf("\n");
            for (std::size_t i = 0; i < n; ++i) {
                std::printf("  %-16.16s", c.compounds[i].c_str());
                for (std::size_t j = 0; j < n; ++j) std::printf(" %14s", Number(elements[e][i][j]).c_str());
                std::printf("\n");
            }
        }
    }
    return 0;
}

} // namespace

void AddBinaryCommands(CLI::App& app, BinaryCommands& c, std::string& config)
{
    c.binary = app.add_subcommand("binary", "a binary parameter set of two compounds, with its regression information");
    c.pairs = app.add_subcommand("pairs", "every binary value of a databank among compounds, as a matrix per parameter");
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
