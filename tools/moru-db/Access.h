#pragma once

// Who may read which databank of a server schema: the server's own row-level security, keyed by
// the table databank_reader. A databank without rows there is read by every role that may read the
// schema; one with rows only by members of the roles they name.

#include <string>
#include <vector>

namespace moru::postgres {
class PgConnection;
}

namespace moru::dbtool {

// "DATABANK=ROLE[,ROLE...]": the databank read only by these roles; no role opens it to every reader.
struct Restriction {
    std::string Databank;
    std::vector<std::string> Roles;
};

// Parses "DATABANK=ROLE[,ROLE...]"; throws std::runtime_error saying what is wrong.
Restriction ParseRestriction(const std::string& text);

// The statements that turn the restrictions on in the schema that the search path names: the
// table databank_reader and a policy on every table. Nothing is restricted until databank_reader
// has rows; an administrator runs the same text by hand.
extern const char* const kRestrictAccessSql;

// The restrictions of the schema `schema` as they stand, by databank name (empty when it has none
// or does not exist), read as the loader, which row-level security does not limit.
std::vector<Restriction> CurrentRestrictions(postgres::PgConnection& server, const std::string& schema);

// Sets the restrictions in the schema that the search path names, which holds a loaded database:
// `kept` first, then `given`, which replace kept ones of the same databank. Throws when a databank
// or a role does not exist. Returns every role that restrictions name, which must then be granted
// the schema.
std::vector<std::string> ApplyRestrictions(postgres::PgConnection& server, const std::vector<Restriction>& kept,
                                           const std::vector<Restriction>& given);

} // namespace moru::dbtool
