#pragma once

// moru bulk: the simulation engine's whole pass over lists of databanks, compounds and properties.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace moru::host {

struct BulkCommand {
    CLI::App* bulk = nullptr;
    std::vector<std::string> databanks;
    std::string compounds;  // a file of identifiers, one a line, or a comma-separated list
    std::string properties; // a comma-separated list
    bool showValues = false;
};

// Adds the command; it takes the configuration into `config`.
void AddBulkCommand(CLI::App& app, BulkCommand& command, std::string& config);

// Runs the pass once the databases are connected and listed; nullopt when the command was not chosen.
std::optional<int> RunBulkCommand(const BulkCommand& command);

} // namespace moru::host
