// moru find-dialog. The library's dialog component plays the user from the script file that the
// environment variable MORU_DIALOG_SCRIPT names; this command sets it, launches the dialog as a
// host does, and prints what its callbacks receive, in order.

#include "DialogCommands.h"

#include "Commands.h"
#include "HostLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace moru::host {

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Quoted(const char* text) { return text ? "\"" + Printable(text) + "\"" : "-"; }

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// One callback the host received: its name, then its arguments by name.
void PrintCallback(const std::string& callback, const Fields& fields)
{
    std::string line = callback;
    for (const auto& [name, value] : fields) line += "  " + name + " " + value;
    std::printf("%s\n", line.c_str());
}

// The host's initial selection, handed out by index.
std::vector<std::string>& Selection()
{
    static std::vector<std::string> selection;
    return selection;
}

const char* MORU_CDECL EnumSelected(int index)
{
    const auto& selection = Selection();
    return index >= 0 && static_cast<std::size_t>(index) < selection.size() ? selection[static_cast<std::size_t>(index)].c_str()
                                                                           : nullptr;
}

int MORU_CDECL AddedShort(const char* databank, const char* alias, int row)
{
    PrintCallback("compound added", {{"row", std::to_string(row)}, {"databank", Quoted(databank)}, {"alias", Quoted(alias)}});
    return 0;
}

int MORU_CDECL AddedFull(const char* databank, const char* alias, int row, const char* name, const char* casNumber,
                         const char* compoundClass, const char* matchedSynonym, double molecularWeight,
                         double boilingPoint, int compoundId)
{
    PrintCallback("compound added", {{"row", std::to_string(row)},
                                     {"databank", Quoted(databank)},
                                     {"alias", Quoted(alias)},
                                     {"name", Quoted(name)},
                                     {"cas", Quoted(casNumber)},
                                     {"class", Quoted(compoundClass)},
                                     {"synonym", Quoted(matchedSynonym)},
                                     {"mw", Number(molecularWeight)},
                                     {"tb", Number(boilingPoint)},
                                     {"id", std::to_string(compoundId)}});
    return 0;
}

void MORU_CDECL DatabanksSelected(char** monikers, int count)
{
    Fields fields{{"count", std::to_string(count)}};
    for (int i = 0; i < count && monikers; ++i) fields.emplace_back("databank", Quoted(monikers[i]));
    PrintCallback("databanks selected", fields);
}

void MORU_CDECL HelpRequested(int helpId) { PrintCallback("help requested", {{"topic", std::to_string(helpId)}}); }

// Set in the process's own environment, where the library's component reads it.
void SetScript(const std::string& path)
{
#ifdef _WIN32
    SetEnvironmentVariableA("MORU_DIALOG_SCRIPT", path.c_str());
#else
    setenv("MORU_DIALOG_SCRIPT", path.c_str(), 1);
#endif
}

int FindDialog(const DialogCommands& c)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(c.script, error)) throw std::invalid_argument("no script file " + c.script);
    SetScript(HostPath(std::filesystem::absolute(c.script, error).generic_string()));
    Selection() = c.selected;
    const char* search = c.search.c_str();
    if (c.variant == "plain")
        MORU_EXPORT_OF(LaunchFindDialog)(&AddedShort, &EnumSelected, &DatabanksSelected, c.replaceRow, search);
    else if (c.variant == "window")
        MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&AddedFull, &EnumSelected, &DatabanksSelected, c.replaceRow,
                                                       search, "moru", "moru find-dialog");
    else
        MORU_EXPORT_OF(LaunchFindDialogWithKELDA)(&AddedFull, &EnumSelected, &DatabanksSelected, c.replaceRow, search,
                                                  "moru", "moru find-dialog", &HelpRequested);
    PrintCallback("dialog closed", {});
    return 0;
}

} // namespace

void AddDialogCommands(CLI::App& app, DialogCommands& c, std::string& config)
{
    c.findDialog = app.add_subcommand("find-dialog", "open the find dialog, play its user from a script, print the callbacks");
    c.findDialog->add_option("CONFIG", config, "the configuration file")->required();
    c.findDialog->add_option("--script", c.script, "the user's actions, one a line (see the README)")->required();
    c.findDialog->add_option("--variant", c.variant, "plain, window or kelda: which launch to use")
        ->capture_default_str()
        ->check(CLI::IsMember({"plain", "window", "kelda"}));
    c.findDialog->add_option("--row", c.replaceRow, "the host row that the first added compound replaces")
        ->capture_default_str();
    c.findDialog->add_option("--search", c.search, "the initial search string");
    c.findDialog->add_option("--select", c.selected, "an initially selected databank, as \"ALIAS BANK\"");
}

std::optional<int> RunDialogCommands(const DialogCommands& c)
{
    if (*c.findDialog) return FindDialog(c);
    return std::nullopt;
}

} // namespace moru::host
