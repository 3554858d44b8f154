#pragma once

// Every SQL text of the property database: the schema that `moru-db build` creates, the statements
// that fill and dump it, and the queries of the service. Nothing else in the product writes SQL.
// Identifiers, names and values reach these statements only as bound parameters.

#include "common/Statements.h"
#include "common/Stored.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::sqlite {

// The format record, the search keys and the encoding of values are every backend's.
using common::AsciiSearchKey;
using common::DecodeLabels;
using common::DecodeLabelsInto;
using common::DecodeNumbers;
using common::DecodeNumbersInto;
using common::DecodeTexts;
using common::EncodeLabels;
using common::EncodeNumbers;
using common::EncodeTexts;
using common::FormatName;
using common::SearchFoldingKey;
using common::SearchKey;
using common::UnicodeSimpleFolding;
using common::ValueKind;
using common::ValueNumbers;
using common::ValueText;
using common::ValueTexts;

namespace sql {

inline constexpr const char* CreateSchema = R"SQL(
CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE databank (
  id INTEGER PRIMARY KEY, position INTEGER NOT NULL, name TEXT NOT NULL UNIQUE COLLATE NOCASE,
  base_name TEXT, description TEXT);
CREATE TABLE pure_info (
  databank_id INTEGER PRIMARY KEY REFERENCES databank(id), password TEXT, display_name TEXT,
  product TEXT, databank_type TEXT, prompt TEXT, help_file TEXT, help_code INTEGER NOT NULL);
CREATE TABLE binary_info (
  databank_id INTEGER NOT NULL REFERENCES databank(id), position INTEGER NOT NULL,
  parameter_name TEXT, gamma_model TEXT, vapor_model TEXT,
  PRIMARY KEY (databank_id, position)) WITHOUT ROWID;
CREATE TABLE property (
  id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE, data_type INTEGER NOT NULL,
  interaction_type INTEGER NOT NULL, element_count INTEGER NOT NULL);
CREATE TABLE unit_row (
  property_id INTEGER NOT NULL REFERENCES property(id), position INTEGER NOT NULL,
  name TEXT NOT NULL, default_uom TEXT NOT NULL, PRIMARY KEY (property_id, position)) WITHOUT ROWID;
CREATE TABLE property_element (
  property_id INTEGER NOT NULL REFERENCES property(id), position INTEGER NOT NULL,
  label_ij INTEGER NOT NULL, label_ji INTEGER NOT NULL, symmetry INTEGER NOT NULL,
  PRIMARY KEY (property_id, position)) WITHOUT ROWID;
CREATE TABLE compound (id INTEGER PRIMARY KEY, position INTEGER NOT NULL, class TEXT);
CREATE TABLE identifier (
  compound_id INTEGER NOT NULL REFERENCES compound(id), type_position INTEGER NOT NULL,
  position INTEGER NOT NULL, type TEXT NOT NULL COLLATE NOCASE, value TEXT NOT NULL,
  search_key TEXT NOT NULL, PRIMARY KEY (compound_id, type_position, position)) WITHOUT ROWID;
CREATE TABLE structure (
  compound_id INTEGER NOT NULL REFERENCES compound(id), position INTEGER NOT NULL,
  type INTEGER NOT NULL, text TEXT NOT NULL, PRIMARY KEY (compound_id, type)) WITHOUT ROWID;
CREATE TABLE compound_databank (
  databank_id INTEGER NOT NULL REFERENCES databank(id), compound_id INTEGER NOT NULL REFERENCES compound(id),
  position INTEGER NOT NULL, PRIMARY KEY (databank_id, compound_id)) WITHOUT ROWID;
CREATE TABLE value (
  id INTEGER PRIMARY KEY, databank_id INTEGER NOT NULL REFERENCES databank(id),
  property_id INTEGER NOT NULL REFERENCES property(id), compound1_id INTEGER NOT NULL,
  compound2_id INTEGER, compound3_id INTEGER, compound4_id INTEGER,
  kind INTEGER NOT NULL, labels BLOB, numbers BLOB, text TEXT, texts BLOB);
CREATE TABLE regression (
  value_id INTEGER PRIMARY KEY REFERENCES value(id), kind INTEGER NOT NULL, first_compound TEXT,
  sigma REAL);
CREATE TABLE regression_range (
  value_id INTEGER NOT NULL, position INTEGER NOT NULL, name TEXT NOT NULL, lower REAL, upper REAL,
  PRIMARY KEY (value_id, position)) WITHOUT ROWID;
CREATE TABLE regression_deviation (
  value_id INTEGER NOT NULL, position INTEGER NOT NULL, name TEXT NOT NULL, points INTEGER,
  aard REAL, aad REAL, max_deviation REAL, PRIMARY KEY (value_id, position)) WITHOUT ROWID;
CREATE TABLE regression_citation (
  value_id INTEGER NOT NULL, position INTEGER NOT NULL, text TEXT NOT NULL,
  PRIMARY KEY (value_id, position)) WITHOUT ROWID;
CREATE TABLE reaction (
  id INTEGER PRIMARY KEY, databank_id INTEGER NOT NULL REFERENCES databank(id), position INTEGER NOT NULL,
  name TEXT, type TEXT NOT NULL, basis TEXT NOT NULL, equation TEXT, eq_consts BLOB NOT NULL,
  symmetric_eq_consts BLOB NOT NULL);
CREATE TABLE reaction_species (
  reaction_id INTEGER NOT NULL REFERENCES reaction(id), position INTEGER NOT NULL, name TEXT NOT NULL,
  compound_id INTEGER, coefficient REAL NOT NULL, PRIMARY KEY (reaction_id, position)) WITHOUT ROWID;
)SQL";

// Tables that databases built by earlier versions lack; the service reads such a database as if
// these were empty.
inline constexpr const char* CreateOptionalSchema = R"SQL(
CREATE TABLE compound_engine (
  compound_id INTEGER PRIMARY KEY REFERENCES compound(id), class_number REAL, kelda_index REAL, plx_index REAL);
)SQL";

using common::sql::CreateIndexes;
// After the indexes: the query planner's statistics, stored in the file.
inline constexpr const char* Analyze = "ANALYZE";

// Filling (moru-db build).
inline constexpr const char* InsertMeta = "INSERT INTO meta (key, value) VALUES (?1, ?2)";
inline constexpr const char* InsertDatabank =
    "INSERT INTO databank (id, position, name, base_name, description) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertPureInfo =
    "INSERT INTO pure_info (databank_id, password, display_name, product, databank_type, prompt, help_file, "
    "help_code) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
inline constexpr const char* InsertBinaryInfo =
    "INSERT INTO binary_info (databank_id, position, parameter_name, gamma_model, vapor_model) "
    "VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertProperty =
    "INSERT INTO property (id, name, data_type, interaction_type, element_count) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertUnitRow =
    "INSERT INTO unit_row (property_id, position, name, default_uom) VALUES (?1, ?2, ?3, ?4)";
inline constexpr const char* InsertPropertyElement =
    "INSERT INTO property_element (property_id, position, label_ij, label_ji, symmetry) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertCompound = "INSERT INTO compound (id, position, class) VALUES (?1, ?2, ?3)";
inline constexpr const char* InsertIdentifier =
    "INSERT INTO identifier (compound_id, type_position, position, type, value, search_key) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6)";
inline constexpr const char* InsertStructure =
    "INSERT INTO structure (compound_id, position, type, text) VALUES (?1, ?2, ?3, ?4)";
inline constexpr const char* InsertCompoundDatabank =
    "INSERT INTO compound_databank (databank_id, compound_id, position) VALUES (?1, ?2, ?3)";
inline constexpr const char* InsertValue =
    "INSERT INTO value (id, databank_id, property_id, compound1_id, compound2_id, compound3_id, compound4_id, "
    "kind, labels, numbers, text, texts) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)";
inline constexpr const char* InsertRegression =
    "INSERT INTO regression (value_id, kind, first_compound, sigma) VALUES (?1, ?2, ?3, ?4)";
inline constexpr const char* InsertRegressionRange =
    "INSERT INTO regression_range (value_id, position, name, lower, upper) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertRegressionDeviation =
    "INSERT INTO regression_deviation (value_id, position, name, points, aard, aad, max_deviation) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";
inline constexpr const char* InsertRegressionCitation =
    "INSERT INTO regression_citation (value_id, position, text) VALUES (?1, ?2, ?3)";
inline constexpr const char* InsertReaction =
    "INSERT INTO reaction (id, databank_id, position, name, type, basis, equation, eq_consts, symmetric_eq_consts) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";
inline constexpr const char* InsertReactionSpecies =
    "INSERT INTO reaction_species (reaction_id, position, name, compound_id, coefficient) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* InsertCompoundEngine =
    "INSERT INTO compound_engine (compound_id, class_number, kelda_index, plx_index) VALUES (?1, ?2, ?3, ?4)";

// Reading whole tables in stored order (moru-db dump and info; the service reads the small ones at open).
using common::sql::SelectDatabanks;
// The databanks in stored order, which the service puts in their positions' order itself: SQLite
// would sort them with a temporary tree, which costs more than the sort of a few dozen records.
inline constexpr const char* SelectDatabanksUnordered =
    "SELECT id, name, base_name, description, position FROM databank";
using common::sql::SelectMeta;
inline constexpr const char* SelectPureInfo =
    "SELECT password, display_name, product, databank_type, prompt, help_file, help_code FROM pure_info "
    "WHERE databank_id = ?1";
inline constexpr const char* SelectBinaryInfo =
    "SELECT parameter_name, gamma_model, vapor_model FROM binary_info WHERE databank_id = ?1 ORDER BY position";
// The listing asks for every databank's information: the service reads each table whole, once.
inline constexpr const char* SelectAllPureInfo =
    "SELECT databank_id, password, display_name, product, databank_type, prompt, help_file, help_code "
    "FROM pure_info";
inline constexpr const char* SelectAllBinaryInfo =
    "SELECT databank_id, parameter_name, gamma_model, vapor_model FROM binary_info ORDER BY databank_id, position";
using common::sql::SelectProperties;
inline constexpr const char* SelectUnitRows =
    "SELECT name, default_uom FROM unit_row WHERE property_id = ?1 ORDER BY position";
inline constexpr const char* SelectPropertyElements =
    "SELECT label_ij, label_ji, symmetry FROM property_element WHERE property_id = ?1 ORDER BY position";
inline constexpr const char* SelectCompounds = "SELECT id, class FROM compound ORDER BY position";
inline constexpr const char* SelectCompoundClass = "SELECT class FROM compound WHERE id = ?1";
inline constexpr const char* SelectStructures =
    "SELECT type, text FROM structure WHERE compound_id = ?1 ORDER BY position";
inline constexpr const char* SelectValuesOfDatabank =
    "SELECT id, property_id, compound1_id, compound2_id, compound3_id, compound4_id, kind, labels, numbers, text, "
    "texts FROM value WHERE databank_id = ?1 ORDER BY id";
inline constexpr const char* SelectRegression =
    "SELECT kind, first_compound, sigma FROM regression WHERE value_id = ?1";
inline constexpr const char* SelectRegressionRanges =
    "SELECT name, lower, upper FROM regression_range WHERE value_id = ?1 ORDER BY position";
inline constexpr const char* SelectRegressionDeviations =
    "SELECT name, points, aard, aad, max_deviation FROM regression_deviation WHERE value_id = ?1 ORDER BY position";
inline constexpr const char* SelectRegressionCitations =
    "SELECT text FROM regression_citation WHERE value_id = ?1 ORDER BY position";
inline constexpr const char* SelectReactionsOfDatabank =
    "SELECT id, name, type, basis, equation, eq_consts, symmetric_eq_consts FROM reaction WHERE databank_id = ?1 "
    "ORDER BY position";
inline constexpr const char* SelectReactionSpecies =
    "SELECT name, compound_id, coefficient FROM reaction_species WHERE reaction_id = ?1 ORDER BY position";
inline constexpr const char* CountRows =
    "SELECT (SELECT count(*) FROM compound), (SELECT count(*) FROM property), (SELECT count(*) FROM databank), "
    "(SELECT count(*) FROM value), (SELECT count(*) FROM reaction), (SELECT count(*) FROM identifier), "
    "(SELECT count(*) FROM structure)";

// Queries of the service.
// What exceeds a host limit (moru-db check): rows of what is counted, its count, the most at ?1.
inline constexpr const char* BeyondReactionSpecies =
    "SELECT 'reaction ' || reaction_id, count(*) FROM reaction_species GROUP BY reaction_id HAVING count(*) > ?1";
inline constexpr const char* BeyondEquilibriumConstants =
    "SELECT 'reaction ' || id, max(length(eq_consts), length(symmetric_eq_consts)) / 8 FROM reaction "
    "WHERE max(length(eq_consts), length(symmetric_eq_consts)) / 8 > ?1";
inline constexpr const char* BeyondSpeciesAliasBytes =
    "SELECT 'reaction ' || reaction_id || ', species ' || (position + 1), length(CAST(name AS BLOB)) "
    "FROM reaction_species WHERE length(CAST(name AS BLOB)) > ?1";
inline constexpr const char* BeyondPropertyNameBytes =
    "SELECT 'property ' || id, length(CAST(name AS BLOB)) FROM property WHERE length(CAST(name AS BLOB)) > ?1";
inline constexpr const char* BeyondUnitRows =
    "SELECT 'property ' || property_id, count(*) FROM unit_row GROUP BY property_id HAVING count(*) > ?1";
inline constexpr const char* BeyondUnaryElements =
    "SELECT 'property ' || id, element_count FROM property WHERE interaction_type = 0 AND element_count > ?1 "
    "UNION ALL SELECT 'value ' || v.id, length(v.numbers) / 8 FROM value AS v JOIN property AS p ON p.id = v.property_id "
    "WHERE p.interaction_type = 0 AND length(v.numbers) / 8 > ?1";
// Identifier types are matched by the library's folding, not by the column's NOCASE, which folds
// ASCII letters only: the queries by search key and by compound return the type to compare in C++,
// and the rest compare fold_case(type) with a folded text.
// In index order: the caller orders the few compounds itself, cheaper than SQLite's sorter.
inline constexpr const char* FindCompoundsByKey = "SELECT compound_id, type FROM identifier WHERE search_key = ?1";
inline constexpr const char* SelectIdentifiersOfCompound =
    "SELECT type, value FROM identifier WHERE compound_id = ?1 ORDER BY type_position, position";
// A spelling differing in ASCII case only is found at once through NOCASE; the folded comparison
// scans for the rest.
inline constexpr const char* SelectIdentifierType = "SELECT type FROM identifier WHERE type = ?1 LIMIT 1";
inline constexpr const char* SelectIdentifierTypeFolded =
    "SELECT type FROM identifier WHERE fold_case(type) = ?1 LIMIT 1";
inline constexpr const char* CompoundExists = "SELECT 1 FROM compound WHERE id = ?1";
inline constexpr const char* DatabankHasCompound =
    "SELECT 1 FROM compound_databank WHERE databank_id = ?1 AND compound_id = ?2";
inline constexpr const char* SelectCompoundsOfDatabank =
    "SELECT compound_id FROM compound_databank WHERE databank_id = ?1 ORDER BY position";
inline constexpr const char* SelectAllCompoundIds = "SELECT id FROM compound ORDER BY position";
inline constexpr const char* SelectNamesOfDatabankCompounds =
    "SELECT cd.compound_id, "
    "(SELECT value FROM identifier WHERE compound_id = cd.compound_id AND fold_case(type) = 'name' "
    " ORDER BY type_position, position LIMIT 1), "
    "(SELECT value FROM identifier WHERE compound_id = cd.compound_id AND fold_case(type) = 'alias' "
    " ORDER BY type_position, position LIMIT 1) "
    "FROM compound_databank cd WHERE cd.databank_id = ?1 ORDER BY cd.position";
inline constexpr const char* SelectUnaryValue =
    "SELECT kind, numbers, text, texts FROM value WHERE databank_id = ?1 AND compound1_id = ?2 "
    "AND property_id = ?3 AND compound2_id IS NULL";
inline constexpr const char* SelectPropertiesWithData =
    "SELECT DISTINCT property_id FROM value WHERE databank_id = ?1 ORDER BY property_id";
inline constexpr const char* CountReactionsByDatabank =
    "SELECT databank_id, count(*) FROM reaction GROUP BY databank_id";
inline constexpr const char* SelectReactionsOfCompound =
    "SELECT r.id, r.databank_id FROM reaction_species rs JOIN reaction r ON r.id = rs.reaction_id "
    "WHERE rs.compound_id = ?1";
inline constexpr const char* SelectReactionsOfSpeciesName =
    "SELECT r.id, r.databank_id FROM reaction_species rs JOIN reaction r ON r.id = rs.reaction_id "
    "WHERE rs.name = ?1 AND rs.compound_id IS NULL";
inline constexpr const char* SelectReaction =
    "SELECT type, basis, eq_consts, symmetric_eq_consts FROM reaction WHERE id = ?1";
inline constexpr const char* SelectUnaryValuesOfCompound =
    "SELECT property_id, kind, numbers, text, texts FROM value WHERE databank_id = ?1 AND compound1_id = ?2 "
    "AND compound2_id IS NULL ORDER BY property_id";
inline constexpr const char* SelectStructureOfType = "SELECT text FROM structure WHERE compound_id = ?1 AND type = ?2";

// Binary and pair values. Each query walks the value_by_compound index from the databank, the first
// compound and the property.
inline constexpr const char* SelectBinaryValue =
    "SELECT id, labels, numbers, EXISTS (SELECT 1 FROM regression WHERE value_id = value.id) FROM value "
    "WHERE databank_id = ?1 AND compound1_id = ?2 AND property_id = ?3 AND compound2_id = ?4 "
    "AND compound3_id IS NULL";
inline constexpr const char* SelectPairValueOfTwo =
    "SELECT id FROM value WHERE databank_id = ?1 AND compound1_id = ?2 AND property_id = ?3 "
    "AND compound2_id IS NULL AND compound3_id = ?4 AND compound4_id IS NULL";
inline constexpr const char* DatabankHasPropertyValues =
    "SELECT 1 FROM value WHERE databank_id = ?1 AND property_id = ?2 LIMIT 1";
// The values of one property in one databank whose first compound is in a set (?3, a JSON array of
// compound ids), in one statement: the first compound through value_by_compound and, for binary
// values, the second tested on the index entry before its row is read. The binary statements read
// compounds 1 and 2 only, which are all a binary value has. Values of a databank and property that
// hold no regression information are read without their ids, which only that information needs.
inline constexpr const char* SelectBinaryValuesOfCompoundSet =
    "SELECT compound1_id, compound2_id, labels, numbers, id FROM value "
    "WHERE databank_id = ?1 AND compound1_id IN (SELECT value FROM json_each(?3)) AND property_id = ?2 "
    "AND compound2_id IN (SELECT value FROM json_each(?3)) AND compound3_id IS NULL";
inline constexpr const char* SelectBinaryValuesOfCompoundSetWithoutIds =
    "SELECT compound1_id, compound2_id, labels, numbers FROM value "
    "WHERE databank_id = ?1 AND compound1_id IN (SELECT value FROM json_each(?3)) AND property_id = ?2 "
    "AND compound2_id IN (SELECT value FROM json_each(?3)) AND compound3_id IS NULL";
inline constexpr const char* SelectPairValuesOfCompoundSet =
    "SELECT compound1_id, compound2_id, compound3_id, compound4_id, labels, numbers, id FROM value "
    "WHERE databank_id = ?1 AND compound1_id IN (SELECT value FROM json_each(?3)) AND property_id = ?2 "
    "AND compound3_id IS NOT NULL";
inline constexpr const char* SelectPairValuesOfCompoundSetWithoutIds =
    "SELECT compound1_id, compound2_id, compound3_id, compound4_id, labels, numbers FROM value "
    "WHERE databank_id = ?1 AND compound1_id IN (SELECT value FROM json_each(?3)) AND property_id = ?2 "
    "AND compound3_id IS NOT NULL";
inline constexpr const char* SelectValuesWithRegression =
    "SELECT r.value_id, v.databank_id, v.property_id FROM regression r JOIN value v ON v.id = r.value_id";
// Bulk retrieval. compound_engine is absent from databases built before it existed.
inline constexpr const char* HasCompoundEngine =
    "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'compound_engine'";
// The numeric unary values of one property in one databank, through value_by_property; prepared
// once per connection.
inline constexpr const char* SelectEngineUnaryValues =
    "SELECT compound1_id, numbers FROM value WHERE databank_id = ?1 AND property_id = ?2 AND compound2_id IS NULL "
    "AND kind = 1";
// The compound with the lowest index under one search key.
inline constexpr const char* FindFirstCompoundByKey = "SELECT min(compound_id) FROM identifier WHERE search_key = ?1";
inline constexpr const char* SelectCompoundEngine =
    "SELECT class_number, kelda_index, plx_index FROM compound_engine WHERE compound_id = ?1";
// The element descriptions of every property, read once when the properties are.
inline constexpr const char* SelectAllPropertyElements =
    "SELECT property_id, label_ij, label_ji, symmetry FROM property_element ORDER BY property_id, position";
// The binary values of one property in one databank: as above.
inline constexpr const char* SelectEngineBinaryValues =
    "SELECT compound1_id, compound2_id, labels, numbers FROM value WHERE databank_id = ?1 AND property_id = ?2 "
    "AND compound2_id IS NOT NULL AND compound3_id IS NULL AND kind = 1";
// Every numeric value of one or two compounds: for a read of every kind in one pass over the
// table, and through value_by_property for one databank and property.
inline constexpr const char* SelectEngineValues =
    "SELECT databank_id, property_id, compound1_id, compound2_id, labels, numbers FROM value "
    "WHERE kind = 1 AND (compound3_id IS NULL OR compound2_id IS NULL)";
inline constexpr const char* SelectEngineValuesOfProperty =
    "SELECT compound1_id, compound2_id, labels, numbers FROM value WHERE databank_id = ?1 AND property_id = ?2 "
    "AND kind = 1 AND (compound3_id IS NULL OR compound2_id IS NULL)";
// What ANALYZE (run by the build) recorded of value_by_property: the rows of the table, and on
// average of a databank and of a databank's property. Absent from a database never analysed.
inline constexpr const char* SelectValueStatistics =
    "SELECT stat FROM sqlite_stat1 WHERE tbl = 'value' AND idx = 'value_by_property'";

} // namespace sql

} // namespace moru::sqlite
