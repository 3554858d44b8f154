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
#include <optional>
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

// moru's version, then the library's as the library reports it (or why it cannot be loaded).
int PrintVersions(const std::string& libraryFile)
{
    std::printf("moru %s\n", MORU_VERSION_TEXT);
    const auto& library = HostLibrary::Instance(libraryFile);
    char version[32] = "";
    const int number = library.Get<decltype(&MoruIntegration_GetVersion)>("MoruIntegration_GetVersion")(
        version, static_cast<int>(sizeof version));
    std::printf("library %s (%d), %s\n", version, number, libraryFile.c_str());
    return 0;
}

// The options that come before the command.
struct GlobalOptions {
    bool showVersion = false;
    std::string libraryFile;
    std::string traceFile;
};

// The commands of the catalogue: connection, databanks, compounds, identifiers, values, reactions.
struct CatalogueCommands {
    CLI::App *help = nullptr, *demo = nullptr, *connect = nullptr, *databanks = nullptr, *properties = nullptr,
             *find = nullptr, *compounds = nullptr, *identifier = nullptr, *lookup = nullptr, *reactions = nullptr,
             *values = nullptr, *structure = nullptr;
    const CLI::Option* findType = nullptr;
    std::string reference, text, type, value, property, database, compoundType = "ALIAS";
    std::vector<std::string> compoundNames;
    int count = 20, index = 0;
    bool widen = false;
};

void AddGlobalOptions(CLI::App& app, GlobalOptions& options)
{
    // Paths are written the Unix way also for the Windows build under Wine: "/" never starts an option.
    app.allow_windows_style_options(false);
    app.add_flag("--json", JsonOutput(), "print one JSON document instead of text (every command)");
    app.add_flag("--version", options.showVersion, "print the versions of moru and of the library it loads");
    app.add_option("--library", options.libraryFile,
                   "the library file to load (default: the one beside moru, else in the installation's library folder)")
        ->envname("MORU_LIBRARY");
    app.add_option("--trace", options.traceFile,
                   "append the library's trace to this file: a line per call, with why a failed call failed "
                   "(as the environment variable MORU_TRACE does)");
    // --json may also follow the command and its arguments.
    app.fallthrough();
}

void AddCatalogueCommands(CLI::App& app, CatalogueCommands& c, std::string& config)
{
    const CLI::Validator databankName([](std::string& name) { return ReferenceProblem(name); }, "DB.BANK");
    c.help = app.add_subcommand("help", "show this help");
    c.demo = app.add_subcommand("demo", "connect, list, search and convert (default CONFIG: the sample database)");
    c.demo->add_option("CONFIG", config, "the configuration file");
    c.connect = app.add_subcommand("connect", "connect and show each database's result");
    c.databanks = app.add_subcommand("databanks", "list every databank with its settings");
    c.properties = app.add_subcommand("properties", "a databank's type and property names");
    c.find = app.add_subcommand("find", "search compounds");
    c.compounds = app.add_subcommand("compounds", "list the compounds of a database");
    c.identifier = app.add_subcommand("identifier", "an identifier of a compound index");
    c.lookup = app.add_subcommand("index", "the compound index of an identifier value");
    c.reactions = app.add_subcommand("reactions", "the reactions among compounds, as equations");
    for (CLI::App* command :
         {c.connect, c.databanks, c.properties, c.find, c.compounds, c.identifier, c.lookup, c.reactions})
        command->add_option("CONFIG", config, "the configuration file")->required();
    c.properties->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.find->add_option("DB.BANK", c.reference, "the databank to search")->required()->check(databankName);
    c.find->add_option("TEXT", c.text, "the text to find")->required();
    c.findType = c.find->add_option("TYPE", c.type, "the identifier type: NAME, ALIAS, CASRN, ...");
    c.compounds->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.compounds->add_option("COUNT", c.count, "how many to list")->capture_default_str()->check(WholeNumber(0));
    c.identifier->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.identifier->add_option("INDEX", c.index, "the compound index")->required()->check(WholeNumber(INT_MIN));
    c.identifier->add_option("TYPE", c.type, "the identifier type: NAME, ALIAS, CASRN, ...")->required();
    c.lookup->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.lookup->add_option("TYPE", c.type, "the identifier type: NAME, ALIAS, CASRN, ...")->required();
    c.lookup->add_option("VALUE", c.value, "the identifier value")->required();
    c.reactions->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.reactions->add_option("COMPOUND", c.compoundNames, "the compounds (\"H2O\" is always added)")->required();
    c.reactions->add_flag("--widen", c.widen, "only reactions that can run, widening the compounds by their species");
    c.reactions->add_option("--type", c.compoundType, "the identifier type the compounds are written in")
        ->capture_default_str();
    c.values = app.add_subcommand("values", "a compound's pure property values with their units");
    c.values->add_option("CONFIG", config, "the configuration file")->required();
    c.values->add_option("DB.BANK", c.reference, "the databank")->required()->check(databankName);
    c.values->add_option("COMPOUND", c.text, "the compound: a name, CAS number, alias or synonym")->required();
    c.values->add_option("PROPERTY", c.property, "only this property");
    c.structure = app.add_subcommand("structure", "a compound's structure texts");
    c.structure->add_option("CONFIG", config, "the configuration file")->required();
    c.structure->add_option("DB", c.database, "the database alias")->required();
    c.structure->add_option("COMPOUND", c.text, "the compound: a name, CAS number, alias or synonym")->required();
}

// Runs the catalogue command chosen, once the databases are connected and listed (and none of the
// other families' commands was chosen).
int RunCatalogueCommand(const CatalogueCommands& c)
{
    if (*c.databanks) return Print(CollectDatabanks(), PrintDatabanks);
    if (*c.structure) return ShowStructure(c.database, c.text);
    const auto bank = SplitReference(c.reference);
    if (*c.values) return ShowValues(bank.database, bank.databank, c.text, c.property);
    if (*c.properties) return Print(CollectProperties(bank.database, bank.databank), PrintProperties);
    if (*c.find) {
        const char* findAs = c.findType->count() > 0 ? c.type.c_str() : nullptr;
        return Print(CollectFind(bank.database, bank.databank, c.text, findAs), PrintSearch);
    }
    if (*c.compounds) return Print(CollectCompounds(bank.database, bank.databank, c.count), PrintCompounds);
    if (*c.identifier) return Print(CollectIdentifier(bank.database, bank.databank, c.index, c.type), PrintIdentifier);
    if (*c.reactions) return ShowReactions(c.reference, c.compoundNames, c.compoundType, c.widen);
    return Print(CollectIndex(bank.database, bank.databank, c.type, c.value), PrintIndex);
}

// The library file named, else the default one for a moru in `directory`.
std::string LibraryToLoad(const GlobalOptions& options, [[maybe_unused]] const std::string& directory)
{
    if (!options.libraryFile.empty()) return options.libraryFile;
#ifdef _WIN32
    return kLibraryFile; // the loader looks beside the program first
#else
    return LibraryFileIn(LibraryDirectory(directory));
#endif
}

// Nothing when `argv` chose something to run, else the status to end with (help or the refusal printed).
std::optional<int> Refusal(CLI::App& app, int argc, char** argv, const std::vector<const CLI::App*>& commands,
                           const GlobalOptions& options)
{
    if (argc < 2) {
        std::fputs(app.help().c_str(), stderr);
        return 2;
    }
    if (argv[1][0] != '-' && std::none_of(commands.begin(), commands.end(),
                                          [&](const CLI::App* command) { return command->check_name(argv[1]); })) {
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
    if (!options.showVersion && app.get_subcommands().empty()) {
        std::fprintf(stderr, "moru: a command is required (moru --help lists the commands)\n");
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app("moru: a host of MoruIntegration that drives the library through its C interface only", "moru");
    GlobalOptions options;
    AddGlobalOptions(app, options);
    std::string config;
    CatalogueCommands catalogue;
    AddCatalogueCommands(app, catalogue, config);
    BinaryCommands binaryCommands;
    AddBinaryCommands(app, binaryCommands, config);
    BulkCommand bulkCommand;
    AddBulkCommand(app, bulkCommand, config);
    DialogCommands dialogCommands;
    AddDialogCommands(app, dialogCommands, config);

    for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        command->footer("Every command also takes --json: one JSON document instead of the text.");
    app.require_subcommand(0, 1);

    const std::string usage = app.help();
    const CatalogueCommands& c = catalogue;
    const std::vector<const CLI::App*> commands{c.help,
                                                c.demo,
                                                c.connect,
                                                c.databanks,
                                                c.properties,
                                                c.find,
                                                c.compounds,
                                                c.identifier,
                                                c.lookup,
                                                c.reactions,
                                                c.values,
                                                c.structure,
                                                binaryCommands.binary,
                                                binaryCommands.pairs,
                                                bulkCommand.bulk,
                                                dialogCommands.findDialog};
    if (auto status = Refusal(app, argc, argv, commands, options)) return *status;
    if (*c.help) {
        Json list = Json::array();
        for (const CLI::App* command : commands)
            list.push_back(Json{{"name", command->get_name()}, {"description", command->get_description()}});
        return Print(Json{{"commands", list}}, [&](const Json&) { std::fputs(usage.c_str(), stdout); });
    }

    try {
        const std::string directory = ProgramDirectory(argv[0]);
        const std::string libraryFile = LibraryToLoad(options, directory);
        // The library reads its trace file's name once, as it is loaded.
        if (!options.traceFile.empty()) SetLibraryEnvironment("MORU_TRACE", options.traceFile);
        if (options.showVersion) return PrintVersions(libraryFile);
        HostLibrary::Instance(libraryFile);
        if (*c.demo) {
            const auto sample =
                (std::filesystem::path(directory) / ".." / "sample" / "databases.json").lexically_normal();
            return Demo(config.empty() ? sample.string() : config);
        }
        const Json connection = CollectConnection(config);
        if (*c.connect) return Print(connection, PrintConnection);
        if (auto result = RunBinaryCommands(binaryCommands)) return *result;
        if (auto result = RunBulkCommand(bulkCommand)) return *result;
        if (auto result = RunDialogCommands(dialogCommands)) return *result;
        return RunCatalogueCommand(catalogue);
    } catch (const CommandFailure& failure) {
        std::fprintf(stderr, "moru: %s\n", failure.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "moru: %s\n", error.what());
        return 2;
    }
}
