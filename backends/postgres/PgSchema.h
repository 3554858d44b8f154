#pragma once

// Every SQL text of the server backend: the schema that the loader creates, equal in content to a
// database file's, and the service's queries. Lists of ids and keys travel as one array parameter,
// so that a statement reads a whole set. Names and values reach these statements only as
// parameters.

#include "common/Statements.h"

namespace moru::postgres::sql {

// The tables of a database, in the order the loader fills them; created inside the schema that the
// connection's search path names.
inline constexpr const char* kTables[] = {"meta",
                                          "databank",
                                          "pure_info",
                                          "binary_info",
                                          "property",
                                          "unit_row",
                                          "property_element",
                                          "compound",
                                          "identifier",
                                          "structure",
                                          "compound_databank",
                                          "value",
                                          "regression",
                                          "regression_range",
                                          "regression_deviation",
                                          "regression_citation",
                                          "reaction",
                                          "reaction_species",
                                          "compound_engine"};

inline constexpr const char* CreateSchema = R"SQL(
CREATE TABLE meta (key text PRIMARY KEY, value text NOT NULL);
CREATE TABLE databank (id integer PRIMARY KEY, position integer NOT NULL, name text NOT NULL, base_name text,
  description text);
CREATE TABLE pure_info (databank_id integer PRIMARY KEY, password text, display_name text, product text,
  databank_type text, prompt text, help_file text, help_code integer NOT NULL);
CREATE TABLE binary_info (databank_id integer NOT NULL, position integer NOT NULL, parameter_name text,
  gamma_model text, vapor_model text, PRIMARY KEY (databank_id, position));
CREATE TABLE property (id integer PRIMARY KEY, name text NOT NULL, data_type integer NOT NULL,
  interaction_type integer NOT NULL, element_count integer NOT NULL);
CREATE TABLE unit_row (property_id integer NOT NULL, position integer NOT NULL, name text NOT NULL,
  default_uom text NOT NULL, PRIMARY KEY (property_id, position));
CREATE TABLE property_element (property_id integer NOT NULL, position integer NOT NULL, label_ij integer NOT NULL,
  label_ji integer NOT NULL, symmetry integer NOT NULL, PRIMARY KEY (property_id, position));
CREATE TABLE compound (id integer PRIMARY KEY, position integer NOT NULL, class text);
CREATE TABLE identifier (compound_id integer NOT NULL, type_position integer NOT NULL, position integer NOT NULL,
  type text NOT NULL, value text NOT NULL, search_key text NOT NULL,
  PRIMARY KEY (compound_id, type_position, position));
CREATE TABLE structure (compound_id integer NOT NULL, position integer NOT NULL, type integer NOT NULL,
  text text NOT NULL, PRIMARY KEY (compound_id, type));
CREATE TABLE compound_databank (databank_id integer NOT NULL, compound_id integer NOT NULL,
  position integer NOT NULL, PRIMARY KEY (databank_id, compound_id));
CREATE TABLE value (id bigint PRIMARY KEY, databank_id integer NOT NULL, property_id integer NOT NULL,
  compound1_id integer NOT NULL, compound2_id integer, compound3_id integer, compound4_id integer,
  kind integer NOT NULL, labels bytea, numbers bytea, text text, texts bytea);
CREATE TABLE regression (value_id bigint PRIMARY KEY, kind integer NOT NULL, first_compound text,
  sigma double precision);
CREATE TABLE regression_range (value_id bigint NOT NULL, position integer NOT NULL, name text NOT NULL,
  lower double precision, upper double precision, PRIMARY KEY (value_id, position));
CREATE TABLE regression_deviation (value_id bigint NOT NULL, position integer NOT NULL, name text NOT NULL,
  points integer, aard double precision, aad double precision, max_deviation double precision,
  PRIMARY KEY (value_id, position));
CREATE TABLE regression_citation (value_id bigint NOT NULL, position integer NOT NULL, text text NOT NULL,
  PRIMARY KEY (value_id, position));
CREATE TABLE reaction (id integer PRIMARY KEY, databank_id integer NOT NULL, position integer NOT NULL, name text,
  type text NOT NULL, basis text NOT NULL, equation text, eq_consts bytea NOT NULL,
  symmetric_eq_consts bytea NOT NULL);
CREATE TABLE reaction_species (reaction_id integer NOT NULL, position integer NOT NULL, name text NOT NULL,
  compound_id integer, coefficient double precision NOT NULL, PRIMARY KEY (reaction_id, position));
CREATE TABLE compound_engine (compound_id integer PRIMARY KEY, class_number double precision,
  kelda_index double precision, plx_index double precision);
)SQL";

using common::sql::CreateIndexes;
using common::sql::SelectDatabanks;
using common::sql::SelectFormat;
using common::sql::SelectMeta;
using common::sql::SelectProperties;

inline constexpr const char* SelectAllUnitRows =
    "SELECT property_id, name, default_uom FROM unit_row ORDER BY property_id, position";
inline constexpr const char* SelectAllPropertyElements =
    "SELECT property_id, label_ij, label_ji, symmetry FROM property_element ORDER BY property_id, position";
inline constexpr const char* SelectIdentifierTypes = "SELECT DISTINCT type FROM identifier ORDER BY type";

// Compounds.
inline constexpr const char* FindCompoundsByKey =
    "SELECT compound_id, type FROM identifier WHERE search_key = $1::text ORDER BY compound_id";
inline constexpr const char* SelectIdentifiersOfCompound =
    "SELECT type, value FROM identifier WHERE compound_id = $1::integer ORDER BY type_position, position";
inline constexpr const char* SelectIdentifiersOfCompounds =
    "SELECT compound_id, type, value FROM identifier WHERE compound_id = ANY($1::integer[]) "
    "ORDER BY compound_id, type_position, position";
inline constexpr const char* SelectCompoundsOfDatabanks =
    "SELECT databank_id, compound_id FROM compound_databank WHERE databank_id = ANY($1::integer[]) "
    "AND compound_id = ANY($2::integer[])";
inline constexpr const char* CompoundExists = "SELECT 1 FROM compound WHERE id = $1::integer";
inline constexpr const char* DatabankHasCompound =
    "SELECT 1 FROM compound_databank WHERE databank_id = $1::integer AND compound_id = $2::integer";
inline constexpr const char* SelectCompoundsOfDatabank =
    "SELECT compound_id FROM compound_databank WHERE databank_id = $1::integer ORDER BY position";
inline constexpr const char* SelectAllCompoundIds = "SELECT id FROM compound ORDER BY position";
inline constexpr const char* SelectIdentifiersOfDatabankCompounds =
    "SELECT cd.compound_id, i.type, i.value FROM compound_databank cd LEFT JOIN identifier i "
    "ON i.compound_id = cd.compound_id WHERE cd.databank_id = $1::integer "
    "ORDER BY cd.position, i.type_position, i.position";
inline constexpr const char* SelectCompoundClass = "SELECT class FROM compound WHERE id = $1::integer";
inline constexpr const char* SelectStructureOfType =
    "SELECT text FROM structure WHERE compound_id = $1::integer AND type = $2::integer";

// Pure values.
inline constexpr const char* SelectUnaryValue =
    "SELECT kind, numbers, text, texts FROM value WHERE databank_id = $1::integer AND compound1_id = $2::integer "
    "AND property_id = $3::integer AND compound2_id IS NULL";
inline constexpr const char* SelectUnaryValuesOfCompounds =
    "SELECT compound1_id, kind, numbers, text, texts FROM value WHERE databank_id = $1::integer "
    "AND property_id = $2::integer AND compound1_id = ANY($3::integer[]) AND compound2_id IS NULL";
inline constexpr const char* SelectUnaryValuesOfCompound =
    "SELECT property_id, kind, numbers, text, texts FROM value WHERE databank_id = $1::integer "
    "AND compound1_id = $2::integer AND compound2_id IS NULL ORDER BY property_id";
inline constexpr const char* SelectPropertiesWithData =
    "SELECT DISTINCT property_id FROM value WHERE databank_id = $1::integer ORDER BY property_id";

// Databank information.
inline constexpr const char* SelectPureInfo =
    "SELECT password, display_name, product, databank_type, prompt, help_file, help_code FROM pure_info "
    "WHERE databank_id = $1::integer";
inline constexpr const char* SelectBinaryInfo =
    "SELECT parameter_name, gamma_model, vapor_model FROM binary_info WHERE databank_id = $1::integer "
    "ORDER BY position";

// Reactions.
inline constexpr const char* CountReactions = "SELECT count(*) FROM reaction";
inline constexpr const char* CountReactionsOfDatabank = "SELECT count(*) FROM reaction WHERE databank_id = $1::integer";
inline constexpr const char* SelectReactionsOfCompounds =
    "SELECT DISTINCT r.id FROM reaction_species rs JOIN reaction r ON r.id = rs.reaction_id "
    "WHERE r.databank_id = ANY($1::integer[]) AND (rs.compound_id = ANY($2::integer[]) "
    "OR (rs.compound_id IS NULL AND rs.name = ANY($3::text[]))) ORDER BY r.id";
inline constexpr const char* SelectReactions =
    "SELECT id, type, basis, eq_consts, symmetric_eq_consts FROM reaction WHERE id = ANY($1::integer[]) ORDER BY id";
inline constexpr const char* SelectSpeciesOfReactions =
    "SELECT reaction_id, name, compound_id, coefficient FROM reaction_species "
    "WHERE reaction_id = ANY($1::integer[]) ORDER BY reaction_id, position";

// Binary and pair values.
inline constexpr const char* SelectPropertyElements =
    "SELECT label_ij, label_ji, symmetry FROM property_element WHERE property_id = $1::integer ORDER BY position";
inline constexpr const char* SelectBinaryValue =
    "SELECT id, labels, numbers, EXISTS (SELECT 1 FROM regression WHERE value_id = value.id) FROM value "
    "WHERE databank_id = $1::integer AND compound1_id = $2::integer AND property_id = $3::integer "
    "AND compound2_id = $4::integer AND compound3_id IS NULL";
inline constexpr const char* SelectPairValueOfTwo =
    "SELECT id FROM value WHERE databank_id = $1::integer AND compound1_id = $2::integer "
    "AND property_id = $3::integer AND compound2_id IS NULL AND compound3_id = $4::integer AND compound4_id IS NULL";
// The values of one property whose first compound is among the working ones, in the order a
// database file's index gives them for each first compound.
inline constexpr const char* SelectValuesOfFirstCompounds =
    "SELECT compound1_id, compound2_id, compound3_id, compound4_id, labels, numbers, "
    "EXISTS (SELECT 1 FROM regression WHERE value_id = value.id) FROM value "
    "WHERE databank_id = $1::integer AND property_id = $2::integer AND compound1_id = ANY($3::integer[]) "
    "ORDER BY compound1_id, compound2_id NULLS FIRST, compound3_id NULLS FIRST, compound4_id NULLS FIRST";
inline constexpr const char* SelectRegression =
    "SELECT kind, first_compound, sigma FROM regression WHERE value_id = $1::bigint";
inline constexpr const char* SelectRegressionRanges =
    "SELECT name, lower, upper FROM regression_range WHERE value_id = $1::bigint ORDER BY position";
inline constexpr const char* SelectRegressionDeviations =
    "SELECT name, points, aard, aad, max_deviation FROM regression_deviation WHERE value_id = $1::bigint "
    "ORDER BY position";
inline constexpr const char* SelectRegressionCitations =
    "SELECT text FROM regression_citation WHERE value_id = $1::bigint ORDER BY position";

// Which data a call reads: the schema the search path names (its oid changes when moru-db push swaps
// in new data), the name a pass's schema has now (the replaced one keeps its oid under a new name),
// and the schema for the rest of the call.
inline constexpr const char* SelectSchemaOfCall =
    "SELECT oid::bigint FROM pg_namespace WHERE nspname = current_schema()";
inline constexpr const char* SelectSchemaName = "SELECT nspname::text FROM pg_namespace WHERE oid = $1::bigint::oid";
inline constexpr const char* ReadSchemaInCall = "SELECT set_config('search_path', quote_ident($1::text), true)";

// The engine's bulk retrieval: one statement per set, one per kind of value for all the databanks.
inline constexpr const char* FindFirstCompoundsByKeys =
    "SELECT search_key, min(compound_id) FROM identifier WHERE search_key = ANY($1::text[]) GROUP BY search_key";
inline constexpr const char* SelectCompoundsEngine =
    "SELECT compound_id, class_number, kelda_index, plx_index FROM compound_engine "
    "WHERE compound_id = ANY($1::integer[])";
inline constexpr const char* SelectEngineUnaryValues =
    "SELECT databank_id, property_id, compound1_id, numbers FROM value WHERE databank_id = ANY($1::integer[]) "
    "AND property_id = ANY($2::integer[]) AND compound1_id = ANY($3::integer[]) AND compound2_id IS NULL AND kind = 1";
inline constexpr const char* SelectEngineBinaryValues =
    "SELECT databank_id, property_id, compound1_id, compound2_id, labels, numbers FROM value "
    "WHERE databank_id = ANY($1::integer[]) "
    "AND property_id = ANY($2::integer[]) AND compound1_id = ANY($3::integer[]) "
    "AND compound2_id = ANY($3::integer[]) AND compound3_id IS NULL AND kind = 1";

} // namespace moru::postgres::sql
