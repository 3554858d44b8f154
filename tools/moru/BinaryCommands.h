#pragma once

// moru binary and moru pairs: binary parameter sets, their regression information, and every
// binary value among a list of compounds.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace moru::host {

struct BinaryCommands {
    CLI::App* binary = nullptr;
    CLI::App* pairs = nullptr;
    std::string reference, model, first, second, type = "NAME";
    std::vector<std::string> compounds;
};

// Adds both commands; each takes the configuration into `config`.
void AddBinaryCommands(CLI::App& app, BinaryCommands& commands, std::string& config);

// Runs the command chosen, once the databases are connected and listed; nullopt when neither was.
std::optional<int> RunBinaryCommands(const BinaryCommands& commands);

} // namespace moru::host
