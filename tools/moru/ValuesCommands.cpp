// moru values and moru structure: a compound's pure property values and its structure texts,
// read through the value objects and the structure export as a host reads them.

#include "Commands.h"

#include "HostLibrary.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace moru::host;

namespace moru::host {

namespace {

// Any identifier type: the compound may be named by its name, CAS number, alias or a synonym.
constexpr const char* kAnyIdentifierType = "";
constexpr int kTextSize = 1024;

std::string Number(const Json& number)
{
    if (number.is_null()) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", number.get<double>());
    return text;
}

std::string Join(const std::vector<std::string>& parts, const char* separator)
{
    std::string joined;
    for (const auto& part : parts) joined += (joined.empty() ? "" : separator) + part;
    return joined;
}

// The value by its type: numbers (an array, missing ones null), a text, a list of texts; null when
// the value has no elements or cannot be read.
Json ValueOf(int handle, int type)
{
    const int count = MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle);
    if (type == 2) {
        std::vector<char> text(kTextSize, '\0');
        if (MORU_EXPORT_OF(PropertyValueObject_ValueText)(handle, text.data(), kTextSize) != 1) return nullptr;
        return text.data();
    }
    if (count <= 0) return nullptr;
    Json elements = Json::array();
    if (type == 3) {
        std::vector<std::vector<char>> buffers(static_cast<std::size_t>(count), std::vector<char>(kTextSize, '\0'));
        std::vector<char*> pointers;
        pointers.reserve(buffers.size());
        for (auto& buffer : buffers) pointers.push_back(buffer.data());
        if (MORU_EXPORT_OF(PropertyValueObject_ValueTextList)(handle, pointers.data(), kTextSize) != 1) return nullptr;
        for (const auto& buffer : buffers) elements.push_back(buffer.data());
        return elements;
    }
    std::vector<double> numbers(static_cast<std::size_t>(count));
    if (MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, numbers.data()) != 1) return nullptr;
    for (double number : numbers) elements.push_back(JsonNumber(number));
    return elements;
}

Json UnitsOf(int handle)
{
    std::vector<std::vector<char>> rows(MORU_MAX_UNIT_ROWS, std::vector<char>(256, '\0'));
    std::vector<std::vector<char>> units(MORU_MAX_UNIT_ROWS, std::vector<char>(256, '\0'));
    std::vector<char*> rowPointers, unitPointers;
    for (auto& row : rows) rowPointers.push_back(row.data());
    for (auto& unit : units) unitPointers.push_back(unit.data());
    const int count =
        MORU_EXPORT_OF(PropertyValueObject_UnitsOfMeasure)(handle, rowPointers.data(), unitPointers.data(), 256);
    Json pairs = Json::array();
    for (int i = 0; i < count; ++i) {
        const auto row = static_cast<std::size_t>(i);
        pairs.push_back(Json{{"row", rows[row].data()}, {"unit", units[row].data()}});
    }
    return pairs;
}

Json Describe(int handle)
{
    char name[MORU_MAX_PROPERTY_NAME_BYTES + 1] = "";
    MORU_EXPORT_OF(PropertyValueObject_PropertyId)(handle, name, sizeof name);
    int type = 0;
    MORU_EXPORT_OF(PropertyValueObject_Type)(handle, &type);
    static const char* const kTypes[] = {"numbers", "text", "texts"};
    return Json{{"property", name},
                {"type", type >= 1 && type <= 3 ? Json(kTypes[type - 1]) : Json(nullptr)},
                {"value", ValueOf(handle, type)},
                {"units", UnitsOf(handle)}};
}

std::string ValueText(const Json& value)
{
    if (value.is_null()) return "(no value)";
    if (value.is_string()) return "\"" + value.get<std::string>() + "\"";
    std::vector<std::string> texts;
    for (const auto& element : value)
        texts.push_back(element.is_string() ? "\"" + element.get<std::string>() + "\"" : Number(element));
    return Join(texts, ", ");
}

void PrintValues(const Json& document)
{
    struct Line {
        std::string property, value, units;
    };
    std::vector<Line> lines;
    for (const auto& value : document["values"]) {
        std::vector<std::string> units;
        for (const auto& unit : value["units"])
            units.push_back(unit["unit"].get<std::string>() + " (" + unit["row"].get<std::string>() + ")");
        lines.push_back(
            {TextOf(value["property"]), Printable(ValueText(value["value"])), Printable(Join(units, ", "))});
    }
    std::size_t nameWidth = 0, valueWidth = 0;
    for (const auto& line : lines) {
        nameWidth = std::max(nameWidth, line.property.size());
        valueWidth = std::max(valueWidth, line.value.size());
    }
    std::printf("%s in %s.%s: %zu value%s\n", TextOf(document["compound"]).c_str(),
                TextOf(document["database"]).c_str(), TextOf(document["databank"]).c_str(), lines.size(),
                lines.size() == 1 ? "" : "s");
    for (const auto& line : lines) {
        if (line.units.empty()) {
            std::printf("  %-*s  %s\n", static_cast<int>(nameWidth), line.property.c_str(), line.value.c_str());
            continue;
        }
        std::printf("  %-*s  %-*s  %s\n", static_cast<int>(nameWidth), line.property.c_str(),
                    static_cast<int>(valueWidth), line.value.c_str(), line.units.c_str());
    }
}

void PrintStructures(const Json& document)
{
    for (const auto& structure : document["structures"]) {
        std::printf("%s (%d):\n%s\n", structure["type"].get<std::string>().c_str(), structure["code"].get<int>(),
                    structure["text"].get<std::string>().c_str());
    }
}

} // namespace

int ShowValues(const std::string& database, const std::string& databank, const std::string& compound,
               const std::string& property)
{
    RequireDatabank(database, databank);
    const std::string where = Printable(compound) + " in " + Printable(database + "." + databank);
    Json values = Json::array();
    if (!property.empty()) {
        int handle = 0;
        if (MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)(database.c_str(), databank.c_str(), compound.c_str(),
                                                                   kAnyIdentifierType, property.c_str(), &handle) != 1)
            throw CommandFailure("the values of " + where + " cannot be read");
        if (handle == 0) throw CommandFailure(where + ": no value of " + Printable(property));
        values.push_back(Describe(handle));
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
    } else {
        int enumerator = 0;
        if (MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)(
                database.c_str(), databank.c_str(), compound.c_str(), kAnyIdentifierType, &enumerator) != 1)
            throw CommandFailure(where + ": not found, or no values");
        while (MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator) == 1) {
            int handle = 0;
            if (MORU_EXPORT_OF(PropertyValueCollectionEnum_GetItem)(enumerator, &handle) != 1) continue;
            values.push_back(Describe(handle));
            MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
        }
        MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
    }
    return Print(Json{{"database", database}, {"databank", databank}, {"compound", compound}, {"values", values}},
                 PrintValues);
}

int ShowStructure(const std::string& database, const std::string& compound)
{
    static const std::pair<int, const char*> types[] = {{1, "CML"}, {2, "SMILES"}};
    std::vector<char> text(4097, '\0');
    Json structures = Json::array();
    for (const auto& [type, label] : types) {
        if (!MORU_EXPORT_OF(GetMolecularStructureString)(database.c_str(), compound.c_str(), kAnyIdentifierType, type,
                                                         text.data())) {
            throw CommandFailure(std::string(label) + " structure of " + Printable(compound) +
                                 ": longer than a host's 4097-byte buffer, or unreadable");
        }
        if (text[0]) structures.push_back(Json{{"type", label}, {"code", type}, {"text", text.data()}});
    }
    if (structures.empty()) throw CommandFailure(Printable(compound) + " has no structure in " + Printable(database));
    return Print(Json{{"database", database}, {"compound", compound}, {"structures", structures}}, PrintStructures);
}

} // namespace moru::host
