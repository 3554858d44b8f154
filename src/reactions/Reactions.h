#pragma once

// The reactions that can take place among the host's compounds, collected database by database
// and read back one by one.

#include "service/Database.h"

#include <string>
#include <vector>

namespace moru::reactions {

using namespace moru::service;

// The collected reactions behind one handle, in a fixed order.
struct ReactionSet {
    std::vector<ReactionRecord> reactions;
};

enum SearchType : int {
    EveryReaction = 0, // every reaction that names one of the compounds
    Widening = 1,      // only reactions that can run, widening the compounds by their species
};

// Whether a reaction can run with the compounds at hand: a dissociation ("DISS") needs all its
// reactants; another reaction needs all its reactants or all its products. Membership is exact.
bool IsValidReaction(const ReactionRecord& reaction, const std::vector<std::string>& compounds);

// Collects the reactions of the databanks ("DB.BANK" references) among the compounds and writes the
// handle of the set; returns the number of reactions. -1 when a databank is not in the catalogue;
// raises for a reference without a full stop, one repeated in any letter case, a database without
// reactions, and whatever the service raises.
int GetAllReactionObjects(std::vector<std::string> compoundList, const std::vector<std::string>& databankList,
                          const std::string& compoundIdType, int searchType, int& objectHandle);

// Host buffers that one reaction is read into; all but `symmetricEqConsts` are non-null.
struct ReactionBuffers {
    char* type;           // 256 bytes
    char* basis;          // 256 bytes
    int* compListSize;
    char** compAliases;   // one 20-byte buffer per species
    double* stoicCoeffs;
    double* eqConsts;
    double* symmetricEqConsts;
};

// 1 with the reaction at `position` written, -1 at or past the end, 0 for a negative position, a
// handle that holds no reaction set, or a reaction the buffers cannot take whole (a null alias
// buffer, an alias of 20 bytes or more, symmetric constants without their array): nothing is
// written then.
int GetNextReactionObject(int objectHandle, int position, const ReactionBuffers& buffers);

} // namespace moru::reactions
