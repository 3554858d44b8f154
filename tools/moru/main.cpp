// moru: a command-line host of the library. It loads MoruIntegration at run time and drives it
// through its C interface only, as a flowsheet simulator does.

#include "BinaryCommands.h"
#include "BulkCommands.h"
#include "Commands.h"
#include "DialogCommands.h"
#include "HostLibrary.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

struct DatabankReference {
    std::string database, databank;
};

// Why `reference` does not name one databank as DB.BANK, or empty. More parts are refused rather
// than dropped, so that the databank searched is the one the user named.
std::string ReferenceProblem(const std::string& reference)
{
    const auto stop = reference.find('.');
    if (stop == std::string::npos || reference.find('.', stop + 1) != std::string::npos)
        return "a databank is named DB.BANK, with one full stop, not " + reference;
    return {};
}

DatabankReference SplitReference(const std::string& reference)
{
    if (auto problem = ReferenceProblem(reference); !problem.empty()) throw std::invalid_argument(problem);
    const auto stop = reference.find('.');
    return {reference.substr(0, stop), reference.substr(stop + 1)};
}

std::string Show(const char* text) { return text ? "\"" + Printable(text) + "\"" : "-"; }

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
        std::printf("  [%s] %s\n", label, Printable(text.c_str()).c_str());
    }
    // The two result lists have no release function of their own: the databank family's, the
    // family of the session they describe, releases them.
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
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
                Printable(alias).c_str(), Printable(bank).c_str(), Show(base).c_str(), Show(display).c_str(), Show(type).c_str(),
                Show(product).c_str(), Show(prompt).c_str(), Show(helpFile).c_str(), helpCode,
                password ? "set" : "-");
    std::printf("      pure information %s, %d binary parameter sets, %d reactions, simulator %s, viewer %s\n",
                pure ? "yes" : "no", binaryCount, reactions, simulator ? "yes" : "no", viewer ? "yes" : "no");
    return 0;
}

int MORU_CALL PrintBinaryParameter(const char* alias, const char* bank, const char* parameter, const char* gamma,
                                   const char* vapor)
{
    std::printf("  %s.%s  binary parameter %s (activity model %s, vapour model %s)\n", Printable(alias).c_str(),
                Printable(bank).c_str(), Printable(parameter).c_str(), Show(gamma).c_str(), Show(vapor).c_str());
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
    std::printf("  %s.%s: %d properties, %s\n", Printable(bank.database.c_str()).c_str(),
                Printable(bank.databank.c_str()).c_str(), count, type >= 0 && type <= 3 ? kTypes[type] : "?");
    std::vector<char> name(4096);
    for (int position = 0; position < count; ++position) {
        // Cleared before each call, so that a name the library leaves untouched never shows the last one.
        std::fill(name.begin(), name.end(), '\0');
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name.data()) == 1)
            std::printf("    %s\n", Printable(name.data()).c_str());
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
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle); // on every path: releasing 0 does nothing
        std::printf("  \"%s\": not found in %s\n", Printable(text.c_str()).c_str(), Printable(reference.c_str()).c_str());
        return 1;
    }
    char db[256] = "", bank[256] = "", name[256] = "", alias[256] = "", cas[256] = "", property[256] = "";
    int index = 0;
    double value = 0;
    MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
    std::printf("  \"%s\": compound %d in %s.%s: name \"%s\", alias \"%s\", CAS %s\n", Printable(text.c_str()).c_str(),
                index, Printable(db).c_str(), Printable(bank).c_str(), Printable(name).c_str(), Printable(alias).c_str(),
                cas[0] ? Printable(cas).c_str() : "-");
    return 0;
}

int ListCompounds(const std::string& reference, int limit)
{
    const char* source[] = {reference.c_str(), nullptr};
    int handle = 0, count = 0;
    if (!MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count)) {
        MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle); // on every path: releasing 0 does nothing
        return 1;
    }
    std::printf("  %d compounds\n", count);
    char name[256], alias[256], cas[256];
    for (int position = 0; position < count && position < limit; ++position) {
        name[0] = alias[0] = cas[0] = '\0';
        if (MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, position, name, alias, cas))
            std::printf("    %-40s %-16s %s\n", Printable(name).c_str(), Printable(alias).c_str(),
                        cas[0] ? Printable(cas).c_str() : "-");
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
        std::printf("  compound %d: no %s in %s.%s\n", index, Printable(type.c_str()).c_str(),
                    Printable(bank.database.c_str()).c_str(), Printable(bank.databank.c_str()).c_str());
        return 1;
    }
    std::printf("  compound %d (%s): %s %s\n", index, Printable(name).c_str(), Printable(type.c_str()).c_str(),
                Printable(value).c_str());
    return 0;
}

int ShowIndex(const DatabankReference& bank, const std::string& type, const std::string& value)
{
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)(bank.database.c_str(), bank.databank.c_str(), type.c_str(), value.c_str(),
                                           &index);
    std::printf("  %s \"%s\": compound %d\n", Printable(type.c_str()).c_str(), Printable(value.c_str()).c_str(), index);
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

// The decimal whole numbers from `least` to the largest int; the message names the range.
CLI::Validator WholeNumber(int least)
{
    const std::string range = "a whole number from " + std::to_string(least) + " to " + std::to_string(INT_MAX);
    return CLI::Validator(
        [least, range](std::string& text) {
            int number = 0;
            const char* end = text.data() + text.size();
            const auto [stop, failure] = std::from_chars(text.data(), end, number);
            if (failure == std::errc() && stop == end && number >= least) return std::string();
            return text + " is not " + range;
        },
        "", "WholeNumber");
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

#ifndef _WIN32
// The library beside the program, as in the build tree, else where an installation puts it.
std::string LibraryDirectory(const std::string& programDirectory)
{
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::path(programDirectory) / kLibraryFile, error)) return programDirectory;
    return (std::filesystem::path(programDirectory) / MORU_INSTALLED_LIBRARY_DIR).lexically_normal().string();
}
#endif

} // namespace

int main(int argc, char** argv)
{
    CLI::App app("moru: a host of MoruIntegration that drives the library through its C interface only", "moru");
    // Paths are written the Unix way also for the Windows build under Wine: "/" never starts an option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);

    std::string config, reference, text, type, value;
    std::vector<std::string> compoundNames;
    int count = 20, index = 0;
    bool widen = false;
    const CLI::Validator databankName([](std::string& name) { return ReferenceProblem(name); }, "DB.BANK");

    CLI::App* help = app.add_subcommand("help", "show this help");
    CLI::App* demo = app.add_subcommand("demo", "connect, list, search and convert (default CONFIG: the sample database)");
    demo->add_option("CONFIG", config, "the configuration file");
    CLI::App* connect = app.add_subcommand("connect", "connect and show each database's result");
    CLI::App* databanks = app.add_subcommand("databanks", "list every databank with its settings");
    CLI::App* properties = app.add_subcommand("properties", "a databank's type and property names");
    CLI::App* find = app.add_subcommand("find", "search compounds");
    CLI::App* compounds = app.add_subcommand("compounds", "list the compounds of a database");
    CLI::App* identifier = app.add_subcommand("identifier", "an identifier of a compound index");
    CLI::App* lookup = app.add_subcommand("index", "the compound index of an identifier value");
    CLI::App* reactions = app.add_subcommand("reactions", "the reactions among compounds, as equations");
    for (CLI::App* command : {connect, databanks, properties, find, compounds, identifier, lookup, reactions})
        command->add_option("CONFIG", config, "the configuration file")->required();
    properties->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    find->add_option("DB.BANK", reference, "the databank to search")->required()->check(databankName);
    find->add_option("TEXT", text, "the text to find")->required();
    const CLI::Option* findType = find->add_option("TYPE", type, "the identifier type: NAME, ALIAS, CASRN, ...");
    compounds->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    compounds->add_option("COUNT", count, "how many to list")->capture_default_str()->check(WholeNumber(0));
    identifier->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    identifier->add_option("INDEX", index, "the compound index")->required()->check(WholeNumber(INT_MIN));
    identifier->add_option("TYPE", type, "the identifier type: NAME, ALIAS, CASRN, ...")->required();
    lookup->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    lookup->add_option("TYPE", type, "the identifier type: NAME, ALIAS, CASRN, ...")->required();
    lookup->add_option("VALUE", value, "the identifier value")->required();
    reactions->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    reactions->add_option("COMPOUND", compoundNames, "the compounds (\"H2O\" is always added)")->required();
    reactions->add_flag("--widen", widen, "only reactions that can run, widening the compounds by their species");
    std::string compoundType = "ALIAS";
    reactions->add_option("--type", compoundType, "the identifier type the compounds are written in")
        ->capture_default_str();
    std::string property, database;
    CLI::App* values = app.add_subcommand("values", "a compound's pure property values with their units");
    values->add_option("CONFIG", config, "the configuration file")->required();
    values->add_option("DB.BANK", reference, "the databank")->required()->check(databankName);
    values->add_option("COMPOUND", text, "the compound: a name, CAS number, alias or synonym")->required();
    values->add_option("PROPERTY", property, "only this property");
    CLI::App* structure = app.add_subcommand("structure", "a compound's structure texts");
    structure->add_option("CONFIG", config, "the configuration file")->required();
    structure->add_option("DB", database, "the database alias")->required();
    structure->add_option("COMPOUND", text, "the compound: a name, CAS number, alias or synonym")->required();
    BinaryCommands binaryCommands;
    AddBinaryCommands(app, binaryCommands, config);
    BulkCommand bulkCommand;
    AddBulkCommand(app, bulkCommand, config);
    DialogCommands dialogCommands;
    AddDialogCommands(app, dialogCommands, config);

    const std::string usage = app.help();
    if (argc < 2) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    const std::vector<const CLI::App*> commands{help,      demo,       connect,   databanks, properties,
                                                find,      compounds,  identifier, lookup,  reactions,
                                                values,    structure,  binaryCommands.binary, binaryCommands.pairs,
                                                bulkCommand.bulk,
                                                dialogCommands.findDialog};
    if (argv[1][0] != '-' &&
        std::none_of(commands.begin(), commands.end(), [&](const CLI::App* command) { return command->check_name(argv[1]); })) {
        std::fprintf(stderr, "moru: %s is not a command (moru --help lists the commands)\n", argv[1]);
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error); // --help
        std::fprintf(stderr, "moru: %s (moru --help lists the commands)\n", error.what());
        return 2;
    }
    if (*help) {
        std::fputs(usage.c_str(), stdout);
        return 0;
    }

    try {
        const std::string directory = ProgramDirectory(argv[0]);
#ifdef _WIN32
        HostLibrary::Instance(""); // the loader looks beside the program first
#else
        HostLibrary::Instance(LibraryDirectory(directory));
#endif
        if (*demo) {
            const auto sample = (std::filesystem::path(directory) / ".." / "sample" / "databases.json").lexically_normal();
            return Demo(config.empty() ? sample.string() : config);
        }
        const bool connected = Connect(config, static_cast<bool>(*connect));
        if (*connect) return connected ? 0 : 1;
        RegisterDatabanks();
        if (*databanks) {
            ListDatabanks();
            return 0;
        }
        if (*values) {
            const auto bank = SplitReference(reference);
            return ShowValues(bank.database, bank.databank, text, property);
        }
        if (*structure) return ShowStructure(database, text);
        if (auto result = RunBinaryCommands(binaryCommands)) return *result;
        if (auto result = RunBulkCommand(bulkCommand)) return *result;
        if (auto result = RunDialogCommands(dialogCommands)) return *result;
        if (*properties) return ShowProperties(SplitReference(reference));
        if (*find) return FindCompound(reference, text, findType->count() > 0 ? type.c_str() : nullptr);
        if (*compounds) return ListCompounds(reference, count);
        if (*identifier) return ShowIdentifier(SplitReference(reference), index, type);
        if (*reactions) return ShowReactions(reference, compoundNames, compoundType, widen);
        return ShowIndex(SplitReference(reference), type, value);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "moru: %s\n", error.what());
        return 2;
    }
}
