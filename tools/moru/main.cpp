// moru: a command-line host of the library. It loads MoruIntegration at run time and drives it
// through its C interface only, as a flowsheet simulator does.

#include "HostLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

constexpr const char* kUsage =
    "usage: moru COMMAND ...\n"
    "  moru demo [CONFIG]                         connect, list, search and convert on a configuration\n"
    "                                             (default: the sample database built beside moru)\n"
    "  moru connect CONFIG                        connect and show each database's result\n"
    "  moru databanks CONFIG                      list every databank with its settings\n"
    "  moru properties CONFIG DB.BANK             a databank's type and property names\n"
    "  moru find CONFIG DB.BANK TEXT [TYPE]       search compounds (TYPE: NAME, ALIAS, CASRN, ...)\n"
    "  moru compounds CONFIG DB.BANK [COUNT]      list the compounds of a database\n"
    "  moru identifier CONFIG DB.BANK INDEX TYPE  an identifier of a compound index\n"
    "  moru index CONFIG DB.BANK TYPE VALUE       the compound index of an identifier value\n";

struct DatabankReference {
    std::string database, databank;
};

DatabankReference SplitReference(const std::string& reference)
{
    const auto stop = reference.find('.');
    if (stop == std::string::npos) throw std::invalid_argument("a databank is named DB.BANK, not " + reference);
    return {reference.substr(0, stop), reference.substr(stop + 1)};
}

std::string Show(const char* text) { return text ? "\"" + std::string(text) + "\"" : "-"; }

// ---- connecting ------------------------------------------------------------------------------

bool Connect(const std::string& config, bool verbose)
{
    const std::string path = HostPath(config);
    int size = 0, success = 0, codes = 0;
    const int messages = MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(path.c_str(), "", &size, &success, &codes);
    int codePosition = 0;
    for (int position = 0; position < size && verbose; ++position) {
        const int bytes = MORU_EXPORT_OF(GetNextDatabaseErrorMessageSize)(messages, position);
        std::string message(bytes > 0 ? static_cast<std::size_t>(bytes) : 1, '\0');
        if (bytes > 0) MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, position, message.data(), bytes);
        // Messages ending ".rxm" carry no code: only the others advance through the code list.
        const std::string text = message.c_str();
        const bool coded = text.size() < 4 || text.substr(text.size() - 4) != ".rxm";
        const int code = coded ? MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, codePosition++) : -1;
        const char* label = code == 0 ? "connected" : code == 1 ? "secured" : code == 2 ? "error" : "note";
        std::printf("  [%s] %s\n", label, text.c_str());
    }
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(codes);
    return success == 1;
}

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

// Names resolve only for databanks the host has been shown.
void RegisterDatabanks() { MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&IgnoreDatabank)); }

// ---- commands --------------------------------------------------------------------------------

int MORU_CALL PrintDatabank(const char* bank, const char* alias, const char* password, const char* display,
                            const char* base, const char* helpFile, int helpCode, const char* product,
                            const char* type, const char* prompt, int pure, int binaryCount, int reactions,
                            int simulator, int viewer)
{
    std::printf("  %s.%s  base %s, display %s, type %s, product %s, prompt %s, help %s/%d, password %s\n",
                alias ? alias : "-", bank ? bank : "-", Show(base).c_str(), Show(display).c_str(), Show(type).c_str(),
                Show(product).c_str(), Show(prompt).c_str(), Show(helpFile).c_str(), helpCode,
                password ? "set" : "-");
    std::printf("      pure information %s, %d binary parameter sets, %d reactions, simulator %s, viewer %s\n",
                pure ? "yes" : "no", binaryCount, reactions, simulator ? "yes" : "no", viewer ? "yes" : "no");
    return 0;
}

int MORU_CALL PrintBinaryParameter(const char* alias, const char* bank, const char* parameter, const char* gamma,
                                   const char* vapor)
{
    std::printf("  %s.%s  binary parameter %s (activity model %s, vapour model %s)\n", alias, bank, parameter,
                Show(gamma).c_str(), Show(vapor).c_str());
    return 0;
}

void ListDatabanks()
{
    MORU_EXPORT_OF(ListMoruDatabanks_WithDBAccessFlag)(reinterpret_cast<void*>(&PrintDatabank), nullptr,
                                                       reinterpret_cast<void*>(&PrintBinaryParameter), 1);
}

int ShowProperties(const DatabankReference& bank)
{
    int type = 0, table = 0;
    const int count = MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)(bank.database.c_str(),
                                                                             bank.databank.c_str(), &type, &table);
    static const char* const kTypes[] = {"no pure or binary properties", "pure", "binary", "pure and binary"};
    std::printf("  %s.%s: %d properties, %s\n", bank.database.c_str(), bank.databank.c_str(), count,
                type >= 0 && type <= 3 ? kTypes[type] : "?");
    std::vector<char> name(4096);
    for (int position = 0; position < count; ++position) {
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name.data()) == 1)
            std::printf("    %s\n", name.data());
    }
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
    return count > 0 ? 0 : 1;
}

int FindCompound(const std::string& reference, const std::string& text, const char* type)
{
    const char* source[] = {reference.c_str(), nullptr};
    int handle = 0;
    const int found = type ? MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, text.c_str(), type, nullptr, &handle)
                           : MORU_EXPORT_OF(FoundCompounds_Find)(source, text.c_str(), nullptr, &handle);
    if (!found) {
        std::printf("  \"%s\": not found in %s\n", text.c_str(), reference.c_str());
        return 1;
    }
    char db[256], bank[256], name[256], alias[256], cas[256], property[256];
    int index = 0;
    double value = 0;
    MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
    std::printf("  \"%s\": compound %d in %s.%s: name \"%s\", alias \"%s\", CAS %s\n", text.c_str(), index, db, bank,
                name, alias, cas[0] ? cas : "-");
    return 0;
}

int ListCompounds(const std::string& reference, int limit)
{
    const char* source[] = {reference.c_str(), nullptr};
    int handle = 0, count = 0;
    if (!MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count)) return 1;
    std::printf("  %d compounds\n", count);
    char name[256], alias[256], cas[256];
    for (int position = 0; position < count && position < limit; ++position) {
        if (MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, position, name, alias, cas))
            std::printf("    %-40s %-16s %s\n", name, alias, cas[0] ? cas : "-");
    }
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);
    return 0;
}

int ShowIdentifier(const DatabankReference& bank, int index, const std::string& type)
{
    char name[256] = "", value[4096] = "";
    MORU_EXPORT_OF(GetIdValueFromDbank)(bank.database.c_str(), bank.databank.c_str(), type.c_str(), index, name,
                                        sizeof name, value, sizeof value);
    if (!value[0]) {
        std::printf("  compound %d: no %s in %s.%s\n", index, type.c_str(), bank.database.c_str(), bank.databank.c_str());
        return 1;
    }
    std::printf("  compound %d (%s): %s %s\n", index, name, type.c_str(), value);
    return 0;
}

int ShowIndex(const DatabankReference& bank, const std::string& type, const std::string& value)
{
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)(bank.database.c_str(), bank.databank.c_str(), type.c_str(), value.c_str(),
                                           &index);
    std::printf("  %s \"%s\": compound %d\n", type.c_str(), value.c_str(), index);
    return index != 0 ? 0 : 1;
}

int Demo(const std::string& config)
{
    std::printf("Connecting %s\n", config.c_str());
    if (!Connect(config, true)) return 1;
    std::printf("\nDatabanks\n");
    ListDatabanks();
    std::printf("\nProperties\n");
    ShowProperties({"SAMPLE", "PURE"});
    std::printf("\nSearching SAMPLE.PURE\n");
    FindCompound("SAMPLE.PURE", "7732-18-5", "CASRN");
    FindCompound("SAMPLE.PURE", "ethanol", nullptr);
    FindCompound("SAMPLE.PURE", "wood alcohol", nullptr);
    FindCompound("SAMPLE.PURE", "unobtainium", nullptr);
    std::printf("\nIdentifier conversion\n");
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)("SAMPLE", "PURE", "CASRN", "64-17-5", &index);
    ShowIdentifier({"SAMPLE", "PURE"}, index, "INCHI");
    ShowIndex({"SAMPLE", "PURE"}, "CASRN", "64-17-5");
    std::printf("\nThe first compounds of SAMPLE\n");
    ListCompounds("SAMPLE.PURE", 8);
    return 0;
}

// The directory that holds this program: the library and the sample database stand beside it.
std::string ProgramDirectory(const char* argv0)
{
    std::error_code error;
#ifndef _WIN32
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path().string();
#endif
    return std::filesystem::absolute(argv0, error).parent_path().string();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "help" || args[0] == "--help") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    try {
        const std::string directory = ProgramDirectory(argv[0]);
#ifdef _WIN32
        HostLibrary::Instance(""); // the loader looks beside the program first
#else
        HostLibrary::Instance(directory);
#endif
        const std::string& command = args[0];
        if (command == "demo") {
            const auto sample = (std::filesystem::path(directory) / ".." / "sample" / "databases.json").lexically_normal();
            return Demo(args.size() > 1 ? args[1] : sample.string());
        }
        if (args.size() < 2) throw std::invalid_argument("moru " + command + " needs a configuration file");
        const bool connected = Connect(args[1], command == "connect");
        if (command == "connect") return connected ? 0 : 1;
        RegisterDatabanks();
        if (command == "databanks") {
            ListDatabanks();
            return 0;
        }
        if (command == "properties" && args.size() == 3) return ShowProperties(SplitReference(args[2]));
        if (command == "find" && (args.size() == 4 || args.size() == 5))
            return FindCompound(args[2], args[3], args.size() == 5 ? args[4].c_str() : nullptr);
        if (command == "compounds" && (args.size() == 3 || args.size() == 4))
            return ListCompounds(args[2], args.size() == 4 ? std::atoi(args[3].c_str()) : 20);
        if (command == "identifier" && args.size() == 5)
            return ShowIdentifier(SplitReference(args[2]), std::atoi(args[3].c_str()), args[4]);
        if (command == "index" && args.size() == 5) return ShowIndex(SplitReference(args[2]), args[3], args[4]);
        std::fputs(kUsage, stderr);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "moru: %s\n", error.what());
        return 2;
    }
}
