#pragma once

// The configuration file that names the databases to connect, read alike for every backend, and
// the default one written for a new user.

#include <optional>
#include <string>
#include <vector>

namespace moru::common {

// What a configuration entry asks for: a database file (Path) or a database on a server (Url,
// "postgresql://USER@HOST:PORT/DBNAME", with the schema that holds it).
struct DatabaseEntry {
    std::string Alias;
    std::string Path;
    std::string Url;
    std::optional<std::string> Schema;
    std::optional<std::string> Password;

    bool OnServer() const { return !Url.empty(); }
};

// Parses a configuration text; throws ServiceError for text that is not a valid configuration.
std::vector<DatabaseEntry> ParseConfiguration(const std::string& text);

// The entry as a result text names it: the alias and the file, or the server address without any
// password it may carry.
std::string Describe(const DatabaseEntry& entry);

// A server address with the password left out, wherever it was written (user:password@, or a
// password parameter).
std::string UrlWithoutPassword(const std::string& url);

// Why an alias cannot name a database, or nullopt when it can.
std::optional<std::string> AliasProblem(const std::string& alias);

// The warning that the last CreateConfigurationFile left, or empty; taking it clears it.
std::string TakeDefaultConfigurationWarning();

// Where CreateConfigurationFile writes: MORU_CONFIG_FILE when set, else the per-user location
// (%APPDATA%\MoruIntegration\databases.json, $XDG_CONFIG_HOME or ~/.config/moru-integration/databases.json).
// Empty when no location can be determined.
std::string DefaultConfigurationPath();

// Writes the default configuration where none exists yet, as well as it can: a failure never fails
// the initialisation, it ends the next initialisation's result text as a warning entry.
void CreateDefaultConfigurationFile();

} // namespace moru::common
