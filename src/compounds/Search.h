#pragma once

// Compound search by identifier in the host's databanks, and the details of each hit.

#include "service/Database.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace moru::compounds {

// The hits of a multiple search, behind one handle.
struct HitList {
    service::FoundCompoundsList hits;
};

// The first hit of the first database (in the order the host named them) that has any; null
// without a hit. `identifierType` empty: any identifier.
service::FoundCompoundsPtr Find(const std::vector<std::string>& searchSource, const std::string& searchText,
                                const std::string& identifierType, const std::string& outputPropertyName);

// Every hit of every database; the service leaves in `searchStrings` what the next database
// should still be asked.
std::shared_ptr<HitList> FindMultiple(const std::vector<std::string>& searchSource, const std::string& identifierType,
                                      const std::vector<std::string>& identSearchStrings,
                                      const std::string& outputPropertyName);

// The simulator's search: index, name and alias of the first match.
struct VantaMatch {
    int compoundIndex = -1;
    std::string name;
    std::string alias;
};

// The service starts from `name` and `alias`, what the host's buffers held; nullopt without a
// match.
std::optional<VantaMatch> FindVanta(const std::vector<std::string>& searchSource, const std::string& searchText,
                                    int dbankContentDataType, std::string name, std::string alias);

// A text of a hit for one of the host's fields: the hit's value, or nullopt when it has none (the
// field is then emptied).
using HitText = std::optional<std::string>;
// A field the reading of a hit reached (its text), or nullopt when a failure came first: the
// host's field then keeps what it held.
using HitField = std::optional<HitText>;

// Name, alias and CAS number of a hit, by its identifier values.
struct HitIdentifiers {
    HitField name, alias, casNumber;
    // False when an identifier had no value; the fields read before it are set.
    bool whole = false;
};

// The details of one hit, read as far as they could be.
struct HitDetails {
    std::optional<int> compoundIndex; // with compoundPosition, when the hit names its compound
    int compoundPosition = 0;
    HitText databaseAlias, databankName;
    HitField propertyName;
    std::optional<double> propertyValue;
    HitIdentifiers identifiers;
    // False when the hit cannot be read whole (a property value of other than one number, an
    // identifier without values); what was read before the failure is set.
    bool whole = false;
};

HitIdentifiers ReadIdentifiers(const service::FoundCompounds& hit);
HitDetails ReadHitDetails(const service::FoundCompounds& hit);

// The hit at a position of a list; null, noting why, when there is none.
service::FoundCompoundsPtr HitAt(const service::FoundCompoundsList& hits, int position);

} // namespace moru::compounds
