#pragma once

// Reading a database back from a PostgreSQL server: as a database file, as a source, and through
// the checks of a file.

#include "MoruDb.h"

#include <optional>
#include <string>
#include <vector>

namespace moru::dbtool {

// Writes the database of the schema `schema` (the server's search path when nullopt) of the server
// at `url` into a new database file at `databasePath`, reading every table in one snapshot. The
// connection only reads: a role sees what its grants and the databank restrictions let it see.
// Throws std::runtime_error saying what failed, without any password; the file is then removed.
void PullDatabase(const std::string& url, const std::optional<std::string>& schema, const std::string& databasePath);

// The source of the schema's database, in the form that `moru-db dump` writes.
Json PullSource(const std::string& url, const std::optional<std::string>& schema);

// The problems of the schema's database, found by the checks of a database file; empty when it is
// sound. A schema that cannot be read at all is one problem.
std::vector<std::string> CheckServerDatabase(const std::string& url, const std::optional<std::string>& schema);

} // namespace moru::dbtool
