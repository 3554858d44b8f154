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
#include <string>
#include <utility>

namespace moru::host {

namespace {

// The callbacks the host received, in order: each an object with its name under "callback" and
// its arguments by name.
Json& Callbacks()
{
    static Json callbacks = Json::array();
    return callbacks;
}

// A callback as one line: its name, then each argument's name and value, texts quoted.
void PrintCallback(const Json& callback)
{
    auto value = [](const Json& field) { return field.is_string() ? "\"" + TextOf(field) + "\"" : TextOf(field); };
    std::string line = callback["callback"].get<std::string>();
    for (const auto& [name, field] : callback.items()) {
        if (name == "callback") continue;
        if (name == "databanks") {
            for (const auto& databank : field) line += "  databank " + value(databank);
        } else {
            line += "  " + name + " " + value(field);
        }
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void PrintCallbacks(const Json& document)
{
    for (const auto& callback : document["callbacks"]) PrintCallback(callback);
}

// A person at the window sees each callback as it comes; a script's run prints them at the end.
bool& PrintsAsReceived()
{
    static bool live = false;
    return live;
}

void Received(Json callback)
{
    if (PrintsAsReceived()) PrintCallback(callback);
    Callbacks().push_back(std::move(callback));
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
    return index >= 0 && static_cast<std::size_t>(index) < selection.size()
               ? selection[static_cast<std::size_t>(index)].c_str()
               : nullptr;
}

int MORU_CDECL AddedShort(const char* databank, const char* alias, int row)
{
    Received(
        {{"callback", "compound added"}, {"row", row}, {"databank", JsonText(databank)}, {"alias", JsonText(alias)}});
    return 0;
}

int MORU_CDECL AddedFull(const char* databank, const char* alias, int row, const char* name, const char* casNumber,
                         const char* compoundClass, const char* matchedSynonym, double molecularWeight,
                         double boilingPoint, int compoundId)
{
    Received({{"callback", "compound added"},
              {"row", row},
              {"databank", JsonText(databank)},
              {"alias", JsonText(alias)},
              {"name", JsonText(name)},
              {"cas", JsonText(casNumber)},
              {"class", JsonText(compoundClass)},
              {"synonym", JsonText(matchedSynonym)},
              {"mw", JsonNumber(molecularWeight)},
              {"tb", JsonNumber(boilingPoint)},
              {"id", compoundId}});
    return 0;
}

void MORU_CDECL DatabanksSelected(char** monikers, int count)
{
    Json databanks = Json::array();
    for (int i = 0; i < count && monikers; ++i) databanks.push_back(JsonText(monikers[i]));
    Received({{"callback", "databanks selected"}, {"count", count}, {"databanks", std::move(databanks)}});
}

void MORU_CDECL HelpRequested(int helpId) { Received({{"callback", "help requested"}, {"topic", helpId}}); }

// Set in the process's own environment, where the library's component reads it.
void SetScript(const std::string& path) { SetLibraryEnvironment("MORU_DIALOG_SCRIPT", path); }

int FindDialog(const DialogCommands& c)
{
    std::error_code error;
    if (!c.script.empty()) {
        if (!std::filesystem::is_regular_file(c.script, error))
            throw std::invalid_argument("no script file " + c.script);
        SetScript(HostPath(std::filesystem::absolute(c.script, error).generic_string()));
    } else {
        SetScript(""); // a person at the window, not a script left in the environment
        PrintsAsReceived() = !JsonOutput();
    }
    Selection() = c.selected;
    const char* search = c.search.c_str();
    if (c.variant == "plain") {
        const auto launch = MORU_EXPORT_OF(LaunchFindDialog);
        launch(&AddedShort, &EnumSelected, &DatabanksSelected, c.replaceRow, search);
    } else if (c.variant == "window") {
        const auto launch = MORU_EXPORT_OF(LaunchFindDialogWithWindowName);
        launch(&AddedFull, &EnumSelected, &DatabanksSelected, c.replaceRow, search, "moru", "moru find-dialog");
    } else {
        const auto launch = MORU_EXPORT_OF(LaunchFindDialogWithKELDA);
        launch(&AddedFull, &EnumSelected, &DatabanksSelected, c.replaceRow, search, "moru", "moru find-dialog",
               &HelpRequested);
    }
    Received({{"callback", "dialog closed"}});
    return Print({{"variant", c.variant}, {"callbacks", Callbacks()}},
                 PrintsAsReceived() ? std::function<void(const Json&)>([](const Json&) {}) : PrintCallbacks);
}

} // namespace

void AddDialogCommands(CLI::App& app, DialogCommands& c, std::string& config)
{
    c.findDialog = app.add_subcommand(
        "find-dialog", "open the find dialog for a person (or play its user from a script), print the callbacks");
    c.findDialog->add_option("CONFIG", config, "the configuration file")->required();
    c.findDialog->add_option("--script", c.script,
                             "the user's actions, one a line (see the README); without it a person uses the window");
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
