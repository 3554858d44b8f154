#include "Access.h"

#include "PgConnection.h"
#include "PgService.h"

#include "platform/Text.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace moru::dbtool {

using postgres::PgConnection;
using postgres::PgParams;

// The databank table decides: a databank is seen when it names no reader or one of the roles that
// the connected role belongs to (pg_roles, since a role dropped later must not break every query).
// Every other table shows only rows of databanks seen. A compound that belongs to databanks, none
// of them seen, is hidden with its identifiers and structures; compound_databank itself stays
// readable (ids only), since telling that apart needs every membership.
const char* const kRestrictAccessSql = R"SQL(
CREATE TABLE databank_reader (databank_id integer NOT NULL, role_name text NOT NULL,
  PRIMARY KEY (databank_id, role_name));
CREATE INDEX compound_databank_by_compound ON compound_databank (compound_id);

ALTER TABLE databank ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON databank FOR SELECT USING (
  NOT EXISTS (SELECT 1 FROM databank_reader r WHERE r.databank_id = databank.id)
  OR EXISTS (SELECT 1 FROM databank_reader r JOIN pg_roles g ON g.rolname = r.role_name
             WHERE r.databank_id = databank.id AND pg_has_role(g.oid, 'MEMBER')));

ALTER TABLE pure_info ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON pure_info FOR SELECT USING (databank_id IN (SELECT id FROM databank));
ALTER TABLE binary_info ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON binary_info FOR SELECT USING (databank_id IN (SELECT id FROM databank));
ALTER TABLE value ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON value FOR SELECT USING (databank_id IN (SELECT id FROM databank));
ALTER TABLE reaction ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON reaction FOR SELECT USING (databank_id IN (SELECT id FROM databank));

ALTER TABLE regression ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON regression FOR SELECT USING (EXISTS (SELECT 1 FROM value v WHERE v.id = value_id));
ALTER TABLE regression_range ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON regression_range FOR SELECT USING (EXISTS (SELECT 1 FROM value v WHERE v.id = value_id));
ALTER TABLE regression_deviation ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON regression_deviation FOR SELECT USING (EXISTS (SELECT 1 FROM value v WHERE v.id = value_id));
ALTER TABLE regression_citation ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON regression_citation FOR SELECT USING (EXISTS (SELECT 1 FROM value v WHERE v.id = value_id));
ALTER TABLE reaction_species ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON reaction_species FOR SELECT USING (EXISTS (SELECT 1 FROM reaction r WHERE r.id = reaction_id));

ALTER TABLE compound ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON compound FOR SELECT USING (
  NOT EXISTS (SELECT 1 FROM compound_databank m WHERE m.compound_id = compound.id)
  OR EXISTS (SELECT 1 FROM compound_databank m JOIN databank d ON d.id = m.databank_id
             WHERE m.compound_id = compound.id));
ALTER TABLE identifier ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON identifier FOR SELECT USING (EXISTS (SELECT 1 FROM compound c WHERE c.id = compound_id));
ALTER TABLE structure ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON structure FOR SELECT USING (EXISTS (SELECT 1 FROM compound c WHERE c.id = compound_id));
ALTER TABLE compound_engine ENABLE ROW LEVEL SECURITY;
CREATE POLICY seen ON compound_engine FOR SELECT USING (EXISTS (SELECT 1 FROM compound c WHERE c.id = compound_id));
)SQL";

Restriction ParseRestriction(const std::string& text)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw std::runtime_error("a restriction is written DATABANK=ROLE[,ROLE...], not \"" + text + "\"");
    Restriction restriction{text.substr(0, equals), {}};
    const std::string roles = text.substr(equals + 1);
    std::size_t start = 0;
    while (start < roles.size()) {
        const auto comma = std::min(roles.find(',', start), roles.size());
        const std::string role = roles.substr(start, comma - start);
        if (role.empty())
            throw std::runtime_error("the restriction of " + restriction.Databank + " names an empty role");
        restriction.Roles.push_back(role);
        start = comma + 1;
    }
    if (!roles.empty() && roles.back() == ',')
        throw std::runtime_error("the restriction of " + restriction.Databank + " names an empty role");
    return restriction;
}

std::vector<Restriction> CurrentRestrictions(PgConnection& server, const std::string& schema)
{
    const auto table = server.RunOnce("SELECT to_regclass(quote_ident($1::text) || '.databank_reader') IS NOT NULL",
                                      PgParams().Text(schema));
    if (table.Rows() == 0 || table.Int(0, 0) == 0) return {};
    const std::string qualified = postgres::QuotedIdentifier(schema);
    const auto rows =
        server.RunOnce("SELECT d.name, r.role_name FROM " + qualified + ".databank_reader r JOIN " + qualified +
                       ".databank d ON d.id = r.databank_id ORDER BY d.position, r.role_name");
    std::vector<Restriction> restrictions;
    for (int r = 0; r < rows.Rows(); ++r) {
        if (restrictions.empty() || restrictions.back().Databank != rows.Text(r, 0))
            restrictions.push_back({rows.Text(r, 0), {}});
        restrictions.back().Roles.push_back(rows.Text(r, 1));
    }
    return restrictions;
}

std::vector<std::string> ApplyRestrictions(PgConnection& server, const std::vector<Restriction>& kept,
                                           const std::vector<Restriction>& given)
{
    // By databank, letter case aside as the service names them; the given ones last, so they win.
    std::map<std::string, Restriction> byDatabank;
    for (const auto* list : {&kept, &given}) {
        for (const auto& restriction : *list) {
            if (!postgres::Storable(restriction.Databank))
                throw std::runtime_error("a databank name is not UTF-8 text");
            byDatabank[platform::FoldCase(restriction.Databank)] = restriction;
        }
    }
    const bool anyRole = std::any_of(byDatabank.begin(), byDatabank.end(),
                                     [](const auto& entry) { return !entry.second.Roles.empty(); });
    if (!anyRole) return {};

    server.Execute(kRestrictAccessSql);
    const auto databanks = server.RunOnce("SELECT id, name FROM databank");
    std::vector<std::string> roles;
    for (const auto& entry : byDatabank) {
        const std::string& folded = entry.first;
        const Restriction& restriction = entry.second;
        int databankId = 0;
        bool found = false;
        for (int r = 0; r < databanks.Rows() && !found; ++r) {
            if (platform::FoldCase(databanks.Text(r, 1)) == folded) {
                databankId = databanks.Int(r, 0);
                found = true;
            }
        }
        if (!found) {
            // A kept restriction of a databank that the new data no longer has lapses with it.
            if (std::find_if(given.begin(), given.end(), [&](const Restriction& g) {
                    return platform::FoldCase(g.Databank) == folded;
                }) == given.end())
                continue;
            throw std::runtime_error("the database has no databank " + restriction.Databank + " to restrict");
        }
        for (const auto& role : restriction.Roles) {
            if (!postgres::Storable(role)) throw std::runtime_error("a role name is not UTF-8 text");
            if (server.RunOnce("SELECT 1 FROM pg_roles WHERE rolname = $1::text", PgParams().Text(role)).Rows() == 0)
                throw std::runtime_error("the server has no role " + role + " to read " + restriction.Databank);
            server.RunOnce("INSERT INTO databank_reader (databank_id, role_name) VALUES ($1::integer, $2::text) "
                           "ON CONFLICT DO NOTHING",
                           PgParams().Int(databankId).Text(role));
            if (std::find(roles.begin(), roles.end(), role) == roles.end()) roles.push_back(role);
        }
    }
    return roles;
}

} // namespace moru::dbtool
