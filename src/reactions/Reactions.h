#pragma once

// The reactions that can take place among the host's compounds, collected database by database
// and read back one by one.

#include "service/Database.h"

#include <memory>
#include <string>
#include <vector>

namespace moru::reactions {

// The collected reactions behind one handle, in a fixed order.
struct ReactionSet {
    std::vector<service::ReactionRecord> reactions;
};

enum SearchType : int {
    EveryReaction = 0, // every reaction that names one of the compounds
    Widening = 1,      // only reactions that can run, widening the compounds by their species
};

// Whether a reaction can run with the compounds at hand: a dissociation ("DISS") needs all its
// reactants; another reaction needs all its reactants or all its products. Membership is exact.
bool IsValidReaction(const service::ReactionRecord& reaction, const std::vector<std::string>& compounds);

// Collects the reactions of the databanks ("DB.BANK" references) among the compounds. Null, noting
// why, when a databank is not in the catalogue; raises for a reference without a full stop, one
// repeated in any letter case, a database without reactions, and whatever the service raises.
std::shared_ptr<ReactionSet> GetAllReactionObjects(std::vector<std::string> compoundList,
                                                   const std::vector<std::string>& databankList,
                                                   const std::string& compoundIdType, int searchType);

// The reaction at `position`; null, noting why, for a negative position or one at or past the end.
const service::ReactionRecord* ReactionAt(const ReactionSet& set, int position);

// Whether hosts can read the reaction whole into the arrays and buffers whose sizes the interface
// fixes: false, noting why, for a species alias of 20 bytes or more in the host's code page.
// Raises for species without their coefficients and for a reaction beyond the host limits.
bool FitsTheHost(const service::ReactionRecord& reaction);

} // namespace moru::reactions
