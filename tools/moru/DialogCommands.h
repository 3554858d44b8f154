#pragma once

// moru find-dialog: opens the find-compounds dialog for a person, or lets a script play its user,
// and prints every callback the host received (as it comes, for a person).

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace moru::host {

struct DialogCommands {
    CLI::App* findDialog = nullptr;
    std::string script, variant = "kelda", search;
    std::vector<std::string> selected;
    int replaceRow = 0;
};

// Adds the command; it takes the configuration into `config`.
void AddDialogCommands(CLI::App& app, DialogCommands& commands, std::string& config);

// Runs the command when chosen, once the databases are connected and listed; nullopt otherwise.
std::optional<int> RunDialogCommands(const DialogCommands& commands);

} // namespace moru::host
