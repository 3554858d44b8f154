#pragma once

// What the simulation engine's one-pass retrieval asks of the database service: the rows a database
// holds for a list of compound identifiers, property names and databanks. A backend only reads
// rows; which of them the engine keeps, and under which positions, is decided above it.

#include "service/Model.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace moru::service {

// One compound a database found for an identifier it was asked about.
struct EngineCompoundRow {
    int identifier = 0; // the identifier's place in the list asked about
    int compoundIndex = 0;
    std::optional<std::string> name;
    std::optional<std::string> alias;
    std::optional<std::string> casNo; // absent when the compound has no CAS number
    double classNumber = 0.0;
    // Read only when asked for; 0 otherwise, and when the database stores none.
    double keldaIndex = 0.0;
    double plxIndex = 0.0;
};

// The values one read asks for: those of the named properties stored in the databanks of `run`
// (all of this database) for the compounds of `compounds`.
struct EngineValueQuery {
    const std::vector<std::string>& properties; // property names as the database spells them
    const std::vector<int>& compounds;          // compound indices, ascending
    const std::vector<DatabankPtr>& run;        // databanks, in the order they were listed
};

// One stored value. Its elements are numbers[k] under labels[k]; an absent number is nullopt. A
// unary value has no labels: its element k has label k + 1. The spans live until the call returns.
struct EngineValueRow {
    int databank = 0;   // place in the query's run
    int property = 0;   // place in the query's properties
    int compound = 0;   // compound index
    int compound2 = -1; // the second compound's index of a binary value; -1 for a unary value
    std::span<const int> labels;
    std::span<const std::optional<double>> numbers;
};

// Takes the rows of a value read.
class IEngineValueSink {
public:
    virtual void Take(const EngineValueRow& row) = 0;

protected:
    ~IEngineValueSink() = default;
};

class IBulkManager {
public:
    virtual ~IBulkManager() = default;

    // Finds the identifiers (each exactly as written, as an identifier of any type) in this database:
    // one row for each identifier found. The flags ask for the KELDA and PLX indices.
    virtual std::vector<EngineCompoundRow> OptimizedFind(const std::vector<std::string>& identifiers, bool keldaIndex,
                                                         bool plxIndex) = 0;

    // Every property of the database, whatever databank holds its values; nullopt when it has no
    // property list.
    virtual std::optional<std::vector<PropertyPtr>> GetAllProperties() = 0;

    // Hands `sink` the values the query asks for, in any order: the
    // unary ones of the properties (scalar and vector), or those of two compounds (binary),
    // each stored for two compounds of the query in the order the databank stores them. Values of
    // other compounds may be handed too; they are dropped.
    virtual void OptimizedGetAllScalarPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink) = 0;
    virtual void OptimizedGetAllVectorPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink) = 0;
    virtual void OptimizedGetAllBinaryPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink) = 0;

    // Whether this backend reads the values of every kind together more cheaply than kind by kind:
    // then the engine asks for every kind at the first fetch of a load, with
    // OptimizedGetAllKindsOfPropertyValues, and keeps what it does not hand out yet.
    virtual bool ReadsAllKindsTogether() const { return false; }
    // Hands `sink` the values of every kind of the query's properties in one read, as the three
    // reads above would: a property's unary values (compound2 -1, no labels) and its values of two
    // compounds. Asked only of a backend that reads all kinds together.
    virtual void OptimizedGetAllKindsOfPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
    {
        static_cast<void>(query);
        static_cast<void>(sink);
    }
};

} // namespace moru::service
