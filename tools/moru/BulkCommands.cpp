#include "BulkCommands.h"

#include "Commands.h"
#include "HostLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <io.h>
#define MORU_ISATTY _isatty
#define MORU_FILENO _fileno
#else
#include <unistd.h>
#define MORU_ISATTY isatty
#define MORU_FILENO fileno
#endif

namespace moru::host {

namespace {

constexpr double kMissing = 1e35;

std::vector<std::string> SplitAtCommas(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = std::min(list.find(',', start), list.size());
        if (comma > start) items.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

// A file's lines (without a final carriage return), or the comma-separated items of the text when
// no such file exists.
std::vector<std::string> ReadCompounds(const std::string& fileOrList)
{
    std::ifstream file(fileOrList);
    if (!file) return SplitAtCommas(fileOrList);
    std::vector<std::string> identifiers;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) identifiers.push_back(line);
    }
    return identifiers;
}

// A host list: the strings and a terminating null pointer.
std::vector<const char*> HostList(const std::vector<std::string>& items)
{
    std::vector<const char*> list;
    for (const auto& item : items) list.push_back(item.c_str());
    list.push_back(nullptr);
    return list;
}

// Shows how far a long read has come, on a terminal only, at most every few thousand values.
class Progress {
public:
    Progress(const char* what, int total)
        : m_what(what), m_total(total), m_shown(total >= 20000 && MORU_ISATTY(MORU_FILENO(stderr)))
    {
    }
    void Step(int done)
    {
        if (m_shown && done % 4096 == 0) std::fprintf(stderr, "\r%s: %d of %d", m_what, done, m_total);
    }
    ~Progress()
    {
        if (m_shown) std::fprintf(stderr, "\r%*s\r", 60, "");
    }

private:
    const char* m_what;
    int m_total;
    bool m_shown;
};

std::string Numbers(const double* values, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        char number[32] = "-";
        if (values[i] != kMissing) std::snprintf(number, sizeof number, "%.6g", values[i]);
        text += (i ? " " : "") + std::string(number);
    }
    return text;
}

struct Counts {
    int compoundsFound = 0, propertiesFound = 0, scalar = 0, vector = 0, binary = 0;
    long long read = 0;
};

void ReadPass(const BulkCommand& c, std::size_t propertyCount, Counts& counts)
{
    int handle = 0;
    counts.compoundsFound = MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    std::vector<int> elements(propertyCount, 1);
    counts.propertiesFound = MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle);
    for (int i = 0; i < counts.propertiesFound; ++i) {
        int position = -1, count = 0;
        if (MORU_EXPORT_OF(Optimized_GetNextProperty)(handle, i, &position, &count) == 1 && position >= 0 &&
            static_cast<std::size_t>(position) < propertyCount) {
            elements[static_cast<std::size_t>(position)] = std::max(count, 1);
        }
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    int largest = 1;
    for (int count : elements) largest = std::max(largest, count);
    std::vector<double> values(2 * static_cast<std::size_t>(largest));

    int databank = 0, compound = 0, compound2 = 0, property = 0, size = 0;
    counts.scalar = MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle);
    {
        Progress progress("scalar values", counts.scalar);
        for (int i = 0; i < counts.scalar; ++i, progress.Step(i)) {
            if (MORU_EXPORT_OF(Optimized_GetNextScalarPropertyValue)(handle, i, &databank, &compound, &property,
                                                                    values.data()) != 1)
                continue;
            ++counts.read;
            if (c.showValues)
                std::printf("scalar  compound %d  property %d  databank %d  %s\n", compound, property, databank,
                            Numbers(values.data(), 1).c_str());
        }
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    counts.vector = MORU_EXPORT_OF(Optimized_GetAllVectorPropertyValues)(&handle);
    {
        Progress progress("vector values", counts.vector);
        for (int i = 0; i < counts.vector; ++i, progress.Step(i)) {
            size = largest;
            if (MORU_EXPORT_OF(Optimized_GetNextVectorPropertyValue)(handle, i, &size, &databank, &compound, &property,
                                                                    values.data()) != 1)
                continue;
            ++counts.read;
            if (c.showValues)
                std::printf("vector  compound %d  property %d  databank %d  %s\n", compound, property, databank,
                            Numbers(values.data(), size).c_str());
        }
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    counts.binary = MORU_EXPORT_OF(Optimized_GetAllBinaryPropertyValues)(&handle);
    {
        Progress progress("binary values", counts.binary);
        for (int i = 0; i < counts.binary; ++i, progress.Step(i)) {
            if (MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValue)(handle, i, &size, &databank, &compound, &compound2,
                                                                    &property, values.data()) != 1)
                continue;
            ++counts.read;
            if (c.showValues)
                std::printf("binary  compounds %d %d  property %d  databank %d  %s\n", compound, compound2, property,
                            databank, Numbers(values.data(), size).c_str());
        }
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
}

int RunPass(const BulkCommand& c)
{
    const std::vector<std::string> compounds = ReadCompounds(c.compounds);
    const std::vector<std::string> properties = SplitAtCommas(c.properties);
    if (compounds.empty()) throw std::invalid_argument("--compounds names no compound");
    if (properties.empty()) throw std::invalid_argument("--properties names no property");
    const auto start = std::chrono::steady_clock::now();
    auto banks = HostList(c.databanks), compoundList = HostList(compounds), propertyList = HostList(properties);
    if (MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks.data(), compoundList.data(), propertyList.data()) != 1) {
        std::fprintf(stderr, "moru: the lists cannot be loaded: a databank is unknown, or a databank or property "
                             "is named twice\n");
        return 1;
    }
    Counts counts;
    ReadPass(c, properties.size(), counts);
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("compounds found: %d of %zu\n", counts.compoundsFound, compounds.size());
    std::printf("properties found: %d of %zu\n", counts.propertiesFound, properties.size());
    std::printf("values read: %lld (%d scalar, %d vector, %d binary)\n", counts.read, counts.scalar, counts.vector,
                counts.binary);
    std::printf("time: %.3f s\n", seconds);
    return 0;
}

} // namespace

void AddBulkCommand(CLI::App& app, BulkCommand& c, std::string& config)
{
    c.bulk = app.add_subcommand("bulk", "the simulation engine's pass: every value of compounds and properties");
    c.bulk->add_option("CONFIG", config, "the configuration file")->required();
    c.bulk->add_option("DB.BANK", c.databanks, "the databanks, in order of precedence")
        ->required()
        ->check(CLI::Validator(
            [](std::string& name) {
                return name.find('.') == std::string::npos ? "a databank is named DB.BANK, not " + name : std::string();
            },
            "DB.BANK"));
    c.bulk->add_option("--compounds", c.compounds, "a file of identifiers, one a line, or a list: a,b,c")->required();
    c.bulk->add_option("--properties", c.properties, "the properties: a,b,c")->required();
    c.bulk->add_flag("--values", c.showValues, "print every value with its positions");
}

std::optional<int> RunBulkCommand(const BulkCommand& c)
{
    if (!*c.bulk) return std::nullopt;
    return RunPass(c);
}

} // namespace moru::host
