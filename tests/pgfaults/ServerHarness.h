#pragma once

// A throwaway server of these tests' own (scripts/postgres), which they may stop, restart and
// change under a host, and the library loaded as a host loads it, with its trace in a file.

#include "HostLibrary.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace moru::pgfaults {

inline std::optional<std::string> ServerLine(const char* name)
{
    std::ifstream file(std::filesystem::path(MORU_TEST_POSTGRES_DIR) / name);
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    return line;
}

// Why the tests cannot run here, or nullopt.
inline std::optional<std::string> ServerAbsent()
{
    if (auto absent = ServerLine("absent")) return *absent;
    if (!ServerLine("host")) return std::string("no test server is running (ctest starts one)");
    return std::nullopt;
}

inline std::string ServerUrl(const std::string& user)
{
    std::string host;
    for (char c : ServerLine("host").value_or("")) host += c == '/' ? std::string("%2F") : std::string(1, c);
    return "postgresql://" + user + "@" + host + ":" + ServerLine("port").value_or("") + "/postgres";
}

// Runs scripts/postgres COMMAND on this server (halt, resume, sql); true when it succeeded.
inline bool ServerScript(const std::string& command, const std::string& statements = "")
{
    std::string line =
        std::string("\"") + MORU_SOURCE_DIR + "/scripts/postgres\" " + command + " \"" + MORU_TEST_POSTGRES_DIR + "\"";
    if (!statements.empty()) line += " \"" + statements + "\"";
    return std::system((line + " >/dev/null 2>&1").c_str()) == 0;
}

// Loads `database` (a file or a source) into `schema`, readable by the reader role.
inline bool Push(const std::string& database, const std::string& schema)
{
    const std::string line = std::string("\"") + MORU_DB_PROGRAM + "\" push \"" + database + "\" \"" +
                             ServerUrl("postgres") + "\" --schema " + schema + " --grant moru_reader >/dev/null";
    return std::system(line.c_str()) == 0;
}

inline constexpr const char* kReaderPassword = "moru-reader-password";

// A configuration with one server entry for `schema` (and `url`, by default the reader's on this
// server), then `more` entries as JSON.
inline std::string ServerConfiguration(const std::filesystem::path& file, const std::string& schema,
                                       const std::string& url = "", const std::string& more = "")
{
    std::ofstream(file) << R"({"databases": [{"alias": "SAMPLE", "url": ")"
                        << (url.empty() ? ServerUrl("moru_reader") : url) << R"(", "schema": ")" << schema
                        << R"(", "password": ")" << kReaderPassword << "\"}" << more << "]}";
    return file.string();
}

inline int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                    const char*, const char*, const char*, int, int, int)
{
    return 0;
}
// Through the header's callback type, so that a wrong argument list does not compile.
inline constexpr MoruDatabankInfoCallback kIgnoreDatabank = &IgnoreDatabank;

struct Initialisation {
    int success = 0;
    std::vector<std::string> messages;
};

// Connects the databases of `configuration` and lists their databanks, as a host does.
inline Initialisation Initialise(const std::string& configuration)
{
    Initialisation result;
    int size = 0, codes = 0;
    const int messages =
        MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(configuration.c_str(), "", &size, &result.success, &codes);
    for (int i = 0; i < size; ++i) {
        char text[4096] = "";
        MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, i, text, sizeof text);
        result.messages.emplace_back(text);
    }
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(kIgnoreDatabank));
    return result;
}

// One scalar value of a bulk pass.
struct ScalarValue {
    int compound = -1, property = -1;
    double number = 0;
    bool operator==(const ScalarValue&) const = default;
};

// The start of a bulk pass as an engine makes it: the lists loaded and the compounds found. False
// when a call failed; `failedCall` receives the name of its export.
inline bool StartPass(std::vector<const char*> banks, std::vector<const char*> compounds,
                      std::vector<const char*> properties, std::string* failedCall = nullptr)
{
    banks.push_back(nullptr);
    compounds.push_back(nullptr);
    properties.push_back(nullptr);
    const char* failed = nullptr;
    int handle = 0;
    if (MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks.data(), compounds.data(), properties.data()) != 1)
        failed = "Optimized_InitializeAllLists";
    else if (const int found = MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle); found <= 0)
        failed = "Optimized_GetAllCompoundsIdentifiers";
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    if (failed && failedCall) *failedCall = failed;
    return failed == nullptr;
}

// The scalar values of the pass under way; nullopt when a call failed, as above.
inline std::optional<std::vector<ScalarValue>> ScalarValues(std::string* failedCall = nullptr)
{
    const auto failed = [&](const char* name) {
        if (failedCall) *failedCall = name;
        return std::nullopt;
    };
    int handle = 0;
    const int count = MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle);
    if (handle == 0) return failed("Optimized_GetAllScalarPropertyValues");
    std::vector<ScalarValue> values;
    for (int i = 0; i < count; ++i) {
        ScalarValue value;
        int databank = -1;
        double numbers[64];
        if (MORU_EXPORT_OF(Optimized_GetNextScalarPropertyValue)(handle, i, &databank, &value.compound, &value.property,
                                                                 numbers) != 1) {
            MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
            return failed("Optimized_GetNextScalarPropertyValue");
        }
        value.number = numbers[0];
        values.push_back(value);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    return values;
}

// A whole bulk pass over the scalar values.
inline std::optional<std::vector<ScalarValue>> ScalarPass(const std::vector<const char*>& banks,
                                                          const std::vector<const char*>& compounds,
                                                          const std::vector<const char*>& properties,
                                                          std::string* failedCall = nullptr)
{
    if (!StartPass(banks, compounds, properties, failedCall)) return std::nullopt;
    return ScalarValues(failedCall);
}

// The trace's last line of a call of `exportName`, with its result and the reason of its failure.
inline std::string TraceLineOf(const std::string& exportName)
{
    std::ifstream file(std::getenv("MORU_TRACE"));
    std::string line, last;
    while (std::getline(file, line)) {
        if (line.find(" " + exportName + "(") != std::string::npos) last = line;
    }
    return last;
}

} // namespace moru::pgfaults
