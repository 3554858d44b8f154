// moru-db: builds property databases from their JSON source, describes them and writes them back.

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Pull.h"
#include "Push.h"
#include "common/Configuration.h"
#include "platform/Files.h"
#include "Printable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

using moru::tools::Printable;

// The arguments as UTF-8, the text of every path inside the tool. On Windows argv holds the ANSI
// code page's text, which cannot name every file: the wide command line is read instead.
std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
#ifdef _WIN32
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> arguments;
        for (int i = 0; i < count; ++i)
            arguments.push_back(moru::platform::Utf8FromPath(std::filesystem::path(wide[i])));
        LocalFree(wide);
        return arguments;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

int Write(const moru::dbtool::Json& source, const std::string& path, bool replace)
{
    std::string text = source.dump(2) + "\n";
    if (path.empty()) {
        std::cout << text;
        return 0;
    }
    moru::dbtool::WriteTextFile(text, path, replace);
    return 0;
}

// Refuses an output that may not be written before any work is done; status 1.
bool RefuseOutput(const std::string& path, bool replace)
{
    if (path.empty()) return false;
    const auto problem = moru::dbtool::TextOutputProblem(path, replace);
    if (problem) std::cerr << "moru-db: " << Printable(*problem) << "\n";
    return problem.has_value();
}

struct Commands {
    CLI::App *build = nullptr, *info = nullptr, *dump = nullptr, *check = nullptr, *convert = nullptr, *push = nullptr,
             *pull = nullptr;
    std::string input, output, url, schema;
    std::vector<std::string> readers, restrictions;
    bool force = false;
};

void AddCommands(CLI::App& app, Commands& c)
{
    c.build = app.add_subcommand("build", "validate the source and build the database");
    c.build->add_option("SOURCE.json", c.input, "the source")->required();
    c.build->add_option("OUTPUT.db", c.output, "the database to write")->required();
    c.build->add_flag("--force", c.force, "replace OUTPUT.db even when it is not a database of this service");
    c.info = app.add_subcommand("info", "summarise a database");
    c.info->add_option("DATABASE.db", c.input, "the database")->required();
    c.dump = app.add_subcommand("dump", "write the source of a database (default: to standard output)");
    c.dump->add_option("DATABASE.db", c.input, "the database")->required();
    c.dump->add_option("OUT.json", c.output, "the source to write");
    c.dump->add_flag("--force", c.force, "replace OUT.json when it exists");
    c.check = app.add_subcommand("check", "check every page of a database and what makes it one of this service; "
                                          "a server's database is read whole and checked the same way");
    c.check->add_option("DATABASE", c.input, "the database file, or a server postgresql://USER@HOST:PORT/DBNAME")
        ->required();
    c.check->add_option("--schema", c.schema, "the schema of a server (default: the server's search path)");
    c.convert = app.add_subcommand("convert-bundle", "turn the shared data bundle into a source");
    c.convert->add_option("DIR", c.input, "the directory of the bundle")->required();
    c.convert->add_option("OUT.json", c.output, "the source to write")->required();
    c.convert->add_flag("--force", c.force, "replace OUT.json when it exists");
    c.push = app.add_subcommand("push", "load a database, or the database of a source, into a schema of a PostgreSQL "
                                        "server, replacing what the schema held in one transaction");
    c.push->add_option("SOURCE", c.input, "a database file, or a source (SOURCE.json)")->required();
    c.push->add_option("URL", c.url, "the server, postgresql://USER@HOST:PORT/DBNAME")->required();
    c.push->add_option("--schema", c.schema, "the schema to fill")->required();
    c.pull = app.add_subcommand("pull", "write the database of a schema of a PostgreSQL server as a source");
    c.pull->add_option("URL", c.url, "the server, postgresql://USER@HOST:PORT/DBNAME")->required();
    c.pull->add_option("--schema", c.schema, "the schema to read")->required();
    c.pull->add_option("OUT.json", c.output, "the source to write")->required();
    c.pull->add_flag("--force", c.force, "replace OUT.json when it exists");
    c.push->add_option("--grant", c.readers, "a role that may read the schema (repeatable)");
    c.push->add_option("--restrict", c.restrictions,
                       "DATABANK=ROLE[,ROLE...]: only these roles see the databank (repeatable; DATABANK= lifts a "
                       "restriction that the schema replaced had)");
}

// True when the file begins as every SQLite database does.
bool IsDatabaseFile(const std::string& path)
{
    std::ifstream file(moru::platform::PathFromUtf8(path), std::ios::binary);
    char header[16] = {};
    file.read(header, sizeof header);
    return file.gcount() == sizeof header && std::string(header, sizeof header) == std::string("SQLite format 3\0", 16);
}

// A database on a server rather than a file.
bool IsServer(const std::string& input)
{
    return input.starts_with("postgresql://") || input.starts_with("postgres://");
}

int Push(const Commands& c)
{
    std::vector<moru::dbtool::Restriction> restrictions;
    for (const auto& text : c.restrictions) restrictions.push_back(moru::dbtool::ParseRestriction(text));
    if (IsDatabaseFile(c.input)) {
        moru::dbtool::PushDatabase(c.input, c.url, c.schema, c.readers, restrictions);
    } else {
        // A source is built into a database of its own first, beside the temporary files.
        const auto built = std::filesystem::temp_directory_path() /
                           ("moru-db-push-" + std::to_string(std::hash<std::string>{}(c.input + c.schema)) + ".db");
        const std::string builtPath = moru::platform::Utf8FromPath(built);
        auto errors = moru::dbtool::BuildDatabaseFromFile(c.input, builtPath, true);
        for (const auto& error : errors)
            std::cerr << Printable(c.input) << ": " << Printable(moru::dbtool::Format(error)) << "\n";
        if (!errors.empty()) {
            std::cerr << "moru-db: " << errors.size() << " error(s); nothing was loaded\n";
            return 1;
        }
        try {
            moru::dbtool::PushDatabase(builtPath, c.url, c.schema, c.readers, restrictions);
        } catch (...) {
            std::error_code ignored;
            std::filesystem::remove(built, ignored);
            throw;
        }
        std::error_code ignored;
        std::filesystem::remove(built, ignored);
    }
    std::cout << "loaded into schema " << Printable(c.schema) << "\n";
    return 0;
}

int Run(const Commands& c)
{
    if (*c.build) {
        auto errors = moru::dbtool::BuildDatabaseFromFile(c.input, c.output, c.force);
        for (const auto& error : errors)
            std::cerr << Printable(c.input) << ": " << Printable(moru::dbtool::Format(error)) << "\n";
        if (!errors.empty()) {
            std::cerr << "moru-db: " << errors.size() << " error(s); no database was written\n";
            return 1;
        }
        return 0;
    }
    if (*c.push) return Push(c);
    if (*c.pull) {
        if (RefuseOutput(c.output, c.force)) return 1;
        return Write(moru::dbtool::PullSource(c.url, c.schema), c.output, c.force);
    }
    if (*c.check && !IsServer(c.input) && !c.schema.empty()) {
        std::cerr << "moru-db: --schema names a schema of a server; " << Printable(c.input) << " is a file\n";
        return 2;
    }
    if (*c.check && IsServer(c.input)) {
        const std::string server = moru::common::UrlWithoutPassword(c.input);
        const auto problems = moru::dbtool::CheckServerDatabase(
            c.input, c.schema.empty() ? std::nullopt : std::optional<std::string>(c.schema));
        for (const auto& problem : problems) std::cerr << Printable(server) << ": " << Printable(problem) << "\n";
        if (!problems.empty()) return 1;
        std::cout << Printable(server) << ": sound\n";
        return 0;
    }
    if (*c.info) {
        std::cout << moru::tools::PrintableLines(moru::dbtool::DescribeDatabase(c.input));
        return 0;
    }
    if (*c.check) {
        const auto problems = moru::dbtool::CheckDatabase(c.input);
        for (const auto& problem : problems) std::cerr << Printable(c.input) << ": " << Printable(problem) << "\n";
        if (!problems.empty()) return 1;
        std::cout << Printable(c.input) << ": sound\n";
        return 0;
    }
    if (*c.dump) {
        if (!c.output.empty() && moru::dbtool::SameFile(c.input, c.output)) {
            std::cerr << "moru-db: " << Printable(c.output)
                      << " is the database itself; write the source to another file\n";
            return 1;
        }
        if (RefuseOutput(c.output, c.force)) return 1;
        return Write(moru::dbtool::DumpDatabase(c.input), c.output, c.force);
    }
    if (RefuseOutput(c.output, c.force)) return 1;
    return Write(moru::dbtool::ConvertBundle(c.input), c.output, c.force);
}

} // namespace

int main(int argc, char** nativeArgv)
{
    std::vector<std::string> arguments = Utf8Arguments(argc, nativeArgv);
    std::vector<char*> argumentPointers;
    argumentPointers.reserve(arguments.size() + 1);
    for (auto& argument : arguments) argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);
    argc = static_cast<int>(arguments.size());
    char** argv = argumentPointers.data();

    CLI::App app("moru-db: builds property databases from their JSON source, describes them and writes them back",
                 "moru-db");
    app.require_subcommand(1);
    app.set_version_flag("--version", "moru-db " MORU_VERSION_TEXT);
    // Paths are written the Unix way also for the Windows build under Wine: "/" never starts an option.
    app.allow_windows_style_options(false);
    Commands c;
    AddCommands(app, c);

    if (argc < 2) {
        std::cerr << app.help();
        return 2;
    }
    const std::vector<const CLI::App*> commands{c.build, c.info, c.dump, c.check, c.convert, c.push, c.pull};
    if (argv[1][0] != '-' && std::none_of(commands.begin(), commands.end(),
                                          [&](const CLI::App* command) { return command->check_name(argv[1]); })) {
        std::cerr << "moru-db: " << Printable(argv[1]) << " is not a command (moru-db --help lists the commands)\n";
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error); // --help
        std::cerr << "moru-db: " << Printable(error.what()) << " (moru-db --help lists the commands)\n";
        return 2;
    }
    try {
        return Run(c);
    } catch (const std::exception& failure) {
        std::cerr << "moru-db: " << Printable(failure.what()) << "\n";
        return 1;
    }
}
