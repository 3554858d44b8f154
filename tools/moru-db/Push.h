#pragma once

// Loading a database file into a PostgreSQL server.

#include "Access.h"

#include <string>
#include <vector>

namespace moru::dbtool {

// Copies the database file at `databasePath` into the schema `schema` of the server at `url`: into
// a new schema first, checked there (format record and row counts), then swapped in by renaming,
// all in one transaction, so that readers see the old database or the new one whole, never a part.
// Each of `readerRoles` may then read the schema. `restrictions` limit databanks to roles (see
// Access.h), which are granted the schema too; those of the schema replaced are kept unless given
// anew for the same databank. Throws std::runtime_error saying what failed; the
// server is then left as it was.
void PushDatabase(const std::string& databasePath, const std::string& url, const std::string& schema,
                  const std::vector<std::string>& readerRoles = {}, const std::vector<Restriction>& restrictions = {});

} // namespace moru::dbtool
