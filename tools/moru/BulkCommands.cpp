#include "BulkCommands.h"

#include "Commands.h"
#include "HostLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
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

// The most a compound file may hold: a few hundred thousand identifiers. More (a device that never
// ends, a file of gigabytes) is refused rather than read until memory runs out.
constexpr std::size_t kMaxCompoundFileBytes = std::size_t{16} << 20;

// A file's lines (without a final carriage return), or the comma-separated items of the text when
// no such file exists.
std::vector<std::string> ReadCompounds(const std::string& fileOrList)
{
    std::ifstream file(fileOrList, std::ios::binary);
    if (!file) return SplitAtCommas(fileOrList);
    std::string text;
    char chunk[65536];
    while (text.size() <= kMaxCompoundFileBytes && file.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
        if (!file) break;
    }
    if (text.size() > kMaxCompoundFileBytes) {
        throw CommandFailure("the compound file " + Printable(fileOrList) + " holds more than " +
                             std::to_string(kMaxCompoundFileBytes >> 20) + " MiB");
    }
    std::vector<std::string> identifiers;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) identifiers.push_back(line);
    }
    return identifiers;
}

// A host list: the strings and a terminating null pointer.
std::vector<const char*> HostList(const std::vector<std::string>& items)
{
    std::vector<const char*> list;
    list.reserve(items.size() + 1);
    for (const auto& item : items) list.push_back(item.c_str());
    list.push_back(nullptr);
    return list;
}

// Shows how far a long read has come, on a terminal only, at most every few thousand values.
class Progress {
public:
    Progress(const char* what, int total)
        : m_what(what), m_total(total), m_shown(total >= 20000 && MORU_ISATTY(MORU_FILENO(stderr)))
    {}
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

Json Numbers(const double* values, int count)
{
    Json numbers = Json::array();
    for (int i = 0; i < count; ++i) numbers.push_back(JsonNumber(values[i]));
    return numbers;
}

struct Counts {
    int compoundsFound = 0, propertiesFound = 0, scalar = 0, vector = 0, binary = 0;
    long long read = 0;
    Json values = Json::array(); // each value read, with --values only
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
                counts.values.push_back({{"kind", "scalar"},
                                         {"compound", compound},
                                         {"property", property},
                                         {"databank", databank},
                                         {"numbers", Numbers(values.data(), 1)}});
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
                counts.values.push_back({{"kind", "vector"},
                                         {"compound", compound},
                                         {"property", property},
                                         {"databank", databank},
                                         {"numbers", Numbers(values.data(), size)}});
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
                counts.values.push_back({{"kind", "binary"},
                                         {"compound", compound},
                                         {"compound2", compound2},
                                         {"property", property},
                                         {"databank", databank},
                                         {"numbers", Numbers(values.data(), size)}});
        }
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
}

// Each value (with --values), then the summary.
void PrintPass(const Json& pass)
{
    for (const auto& value : pass.value("values", Json::array())) {
        std::string numbers;
        for (const auto& number : value["numbers"]) numbers += (numbers.empty() ? "" : " ") + TextOf(number);
        if (value["kind"] == "binary")
            std::printf("binary  compounds %d %d  property %d  databank %d  %s\n", value["compound"].get<int>(),
                        value["compound2"].get<int>(), value["property"].get<int>(), value["databank"].get<int>(),
                        numbers.c_str());
        else
            std::printf("%s  compound %d  property %d  databank %d  %s\n", value["kind"].get<std::string>().c_str(),
                        value["compound"].get<int>(), value["property"].get<int>(), value["databank"].get<int>(),
                        numbers.c_str());
    }
    std::printf("compounds found: %d of %d\n", pass["compounds_found"].get<int>(), pass["compounds_listed"].get<int>());
    std::printf("properties found: %d of %d\n", pass["properties_found"].get<int>(),
                pass["properties_listed"].get<int>());
    std::printf("values read: %lld (%d scalar, %d vector, %d binary)\n", pass["values_read"].get<long long>(),
                pass["scalar"].get<int>(), pass["vector"].get<int>(), pass["binary"].get<int>());
    std::printf("time: %.3f s\n", pass["seconds"].get<double>());
}

int RunPass(const BulkCommand& c)
{
    const std::vector<std::string> compounds = ReadCompounds(c.compounds);
    const std::vector<std::string> properties = SplitAtCommas(c.properties);
    if (compounds.empty()) throw std::invalid_argument("--compounds names no compound");
    if (properties.empty()) throw std::invalid_argument("--properties names no property");
    const auto start = std::chrono::steady_clock::now();
    auto banks = HostList(c.databanks), compoundList = HostList(compounds), propertyList = HostList(properties);
    if (MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks.data(), compoundList.data(), propertyList.data()) != 1)
        throw CommandFailure(
            "the lists cannot be loaded: a databank is unknown, or a databank or property is named twice");
    Counts counts;
    ReadPass(c, properties.size(), counts);
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    Json document = {{"compounds_listed", compounds.size()},
                     {"compounds_found", counts.compoundsFound},
                     {"properties_listed", properties.size()},
                     {"properties_found", counts.propertiesFound},
                     {"values_read", counts.read},
                     {"scalar", counts.scalar},
                     {"vector", counts.vector},
                     {"binary", counts.binary},
                     {"seconds", seconds}};
    if (c.showValues) document["values"] = std::move(counts.values);
    return Print(std::move(document), PrintPass);
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
