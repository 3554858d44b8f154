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

struct ValueLine {
    std::string property, value, units;
};

std::string Number(double number)
{
    if (number == MORU_MISSING_NUMBER) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", number);
    return text;
}

std::string Join(const std::vector<std::string>& parts, const char* separator)
{
    std::string joined;
    for (const auto& part : parts) joined += (joined.empty() ? "" : separator) + part;
    return joined;
}

std::string ValueOf(int handle, int type)
{
    const int count = MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle);
    if (type == 2) {
        std::vector<char> text(kTextSize, '\0');
        if (MORU_EXPORT_OF(PropertyValueObject_ValueText)(handle, text.data(), kTextSize) != 1) return "(unreadable)";
        return "\"" + std::string(text.data()) + "\"";
    }
    if (count <= 0) return "(no elements)";
    if (type == 3) {
        std::vector<std::vector<char>> buffers(static_cast<std::size_t>(count), std::vector<char>(kTextSize, '\0'));
        std::vector<char*> pointers;
        for (auto& buffer : buffers) pointers.push_back(buffer.data());
        if (MORU_EXPORT_OF(PropertyValueObject_ValueTextList)(handle, pointers.data(), kTextSize) != 1) return "(unreadable)";
        std::vector<std::string> texts;
        for (const auto& buffer : buffers) texts.push_back("\"" + std::string(buffer.data()) + "\"");
        return Join(texts, ", ");
    }
    std::vector<double> numbers(static_cast<std::size_t>(count));
    if (MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, numbers.data()) != 1) return "(unreadable)";
    std::vector<std::string> texts;
    for (double number : numbers) texts.push_back(Number(number));
    return Join(texts, ", ");
}

std::string UnitsOf(int handle)
{
    std::vector<std::vector<char>> rows(MORU_MAX_UNIT_ROWS, std::vector<char>(256, '\0'));
    std::vector<std::vector<char>> units(MORU_MAX_UNIT_ROWS, std::vector<char>(256, '\0'));
    std::vector<char*> rowPointers, unitPointers;
    for (auto& row : rows) rowPointers.push_back(row.data());
    for (auto& unit : units) unitPointers.push_back(unit.data());
    const int count = MORU_EXPORT_OF(PropertyValueObject_UnitsOfMeasure)(handle, rowPointers.data(), unitPointers.data(), 256);
    std::vector<std::string> pairs;
    for (int i = 0; i < count; ++i) {
        pairs.push_back(std::string(units[static_cast<std::size_t>(i)].data()) + " (" +
                        rows[static_cast<std::size_t>(i)].data() + ")");
    }
    return Join(pairs, ", ");
}

ValueLine Describe(int handle)
{
    ValueLine line;
    char name[MORU_MAX_PROPERTY_NAME_BYTES + 1] = "";
    MORU_EXPORT_OF(PropertyValueObject_PropertyId)(handle, name, sizeof name);
    int type = 0;
    MORU_EXPORT_OF(PropertyValueObject_Type)(handle, &type);
    line.property = name;
    line.value = ValueOf(handle, type);
    line.units = UnitsOf(handle);
    return line;
}

void Print(const std::vector<ValueLine>& lines)
{
    std::size_t nameWidth = 0, valueWidth = 0;
    std::vector<ValueLine> printable = lines;
    for (auto& line : printable) {
        line.property = Printable(line.property);
        line.value = Printable(line.value);
        line.units = Printable(line.units);
    }
    for (const auto& line : printable) {
        nameWidth = std::max(nameWidth, line.property.size());
        valueWidth = std::max(valueWidth, line.value.size());
    }
    for (const auto& line : printable) {
        if (line.units.empty()) {
            std::printf("  %-*s  %s\n", static_cast<int>(nameWidth), line.property.c_str(), line.value.c_str());
            continue;
        }
        std::printf("  %-*s  %-*s  %s\n", static_cast<int>(nameWidth), line.property.c_str(), static_cast<int>(valueWidth),
                    line.value.c_str(), line.units.c_str());
    }
}

} // namespace

int ShowValues(const std::string& database, const std::string& databank, const std::string& compound,
               const std::string& property)
{
    std::vector<ValueLine> lines;
    if (!property.empty()) {
        int handle = 0;
        if (MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)(database.c_str(), databank.c_str(), compound.c_str(),
                                                                   kAnyIdentifierType, property.c_str(), &handle) != 1) {
            std::fprintf(stderr, "moru: %s.%s is not a databank of a connected database\n", database.c_str(), databank.c_str());
            return 1;
        }
        if (handle == 0) {
            std::printf("%s has no value of %s in %s.%s\n", compound.c_str(), property.c_str(), database.c_str(),
                        databank.c_str());
            return 1;
        }
        lines.push_back(Describe(handle));
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
    } else {
        int enumerator = 0;
        if (MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)(database.c_str(), databank.c_str(), compound.c_str(),
                                                                        kAnyIdentifierType, &enumerator) != 1) {
            std::printf("%s has no values in %s.%s\n", compound.c_str(), database.c_str(), databank.c_str());
            return 1;
        }
        while (MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator) == 1) {
            int handle = 0;
            if (MORU_EXPORT_OF(PropertyValueCollectionEnum_GetItem)(enumerator, &handle) != 1) continue;
            lines.push_back(Describe(handle));
            MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
        }
        MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
    }
    std::printf("%s in %s.%s: %zu value%s\n", compound.c_str(), database.c_str(), databank.c_str(), lines.size(),
                lines.size() == 1 ? "" : "s");
    Print(lines);
    return 0;
}

int ShowStructure(const std::string& database, const std::string& compound)
{
    static const std::pair<int, const char*> types[] = {{1, "CML"}, {2, "SMILES"}};
    std::vector<char> text(4097, '\0');
    int found = 0;
    for (const auto& [type, label] : types) {
        if (!MORU_EXPORT_OF(GetMolecularStructureString)(database.c_str(), compound.c_str(), kAnyIdentifierType, type,
                                                          text.data())) {
            std::printf("%s (%d): longer than a host's 4097-byte buffer, or unreadable\n", label, type);
            continue;
        }
        if (!text[0]) continue;
        ++found;
        std::printf("%s (%d):\n%s\n", label, type, text.data());
    }
    if (!found) std::printf("%s has no structure in %s\n", compound.c_str(), database.c_str());
    return found ? 0 : 1;
}

} // namespace moru::host
