#pragma once

// The SQL texts that read alike in a database file and on a server: those without parameters,
// whose dialects agree. The others stand in each backend's schema, in its own placeholders.

namespace moru::common::sql {

// Created after the rows are in, which is faster than keeping them up to date row by row.
inline constexpr const char* CreateIndexes = R"SQL(
CREATE INDEX identifier_by_key ON identifier (search_key, type);
CREATE INDEX compound_databank_by_position ON compound_databank (databank_id, position);
CREATE UNIQUE INDEX value_by_compound ON value (databank_id, compound1_id, property_id, compound2_id, compound3_id, compound4_id);
CREATE INDEX value_by_property ON value (databank_id, property_id);
CREATE INDEX reaction_by_databank ON reaction (databank_id, position);
CREATE INDEX reaction_species_by_compound ON reaction_species (compound_id);
CREATE INDEX reaction_species_by_name ON reaction_species (name);
)SQL";

// Read at connect.
inline constexpr const char* SelectFormat = "SELECT value FROM meta WHERE key = 'format'";
inline constexpr const char* SelectMeta = "SELECT key, value FROM meta";
inline constexpr const char* SelectDatabanks =
    "SELECT id, name, base_name, description FROM databank ORDER BY position";
// Read when a call first needs them.
inline constexpr const char* SelectProperties =
    "SELECT id, name, data_type, interaction_type, element_count FROM property ORDER BY id";

} // namespace moru::common::sql
