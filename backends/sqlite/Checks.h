#pragma once

// What makes a file a database of this service, checked at two depths: cheaply at every connect
// (the file itself, the format record, the tables and columns that the queries need), and fully by
// `moru-db check` (every page of the file).

#include "Sqlite.h"

#include <map>
#include <string>
#include <vector>

namespace moru::sqlite {

// Throws ServiceError saying why `path` cannot be a database file: missing, a directory, a pipe or
// device, unreadable, empty.
void CheckDatabaseFile(const std::string& path);

// Throws ServiceError when the open file is not a database of this service: another SQLite schema,
// a missing or malformed format record, a table or column that the queries need missing. Reads the
// schema and the meta records only; returns the meta records by key.
std::map<std::string, std::string> CheckDatabaseFormat(Connection& db);

// What the database holds beyond the host limits (service/HostLimits.h), each as "reaction 7: 43
// species in a reaction; hosts read at most 32"; empty when it keeps within them all.
std::vector<std::string> CheckHostLimits(Connection& db);

// Everything `CheckDatabaseFormat` checks, then every page, index and reference of the file, then
// the host limits.
// The problems found, each a sentence; empty when the file is sound.
std::vector<std::string> CheckDatabaseIntegrity(const std::string& path);

} // namespace moru::sqlite
