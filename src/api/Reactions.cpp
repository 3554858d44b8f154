#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "platform/Diagnostics.h"
#include "reactions/Reactions.h"

using namespace moru;

namespace {

// Every buffer the reaction needs is checked before the first write: a half-written reaction
// would mislead the host.
bool HasBuffersFor(const service::ReactionRecord& reaction, char** compAliases, double* symmetricEqConsts)
{
    if (!reaction.SymmetricEqConsts.empty() && !symmetricEqConsts) {
        platform::NoteFailure("reaction ", reaction.Id, " has symmetric constants and no array was given for them");
        return false;
    }
    for (std::size_t i = 0; i < reaction.Synonyms.size(); ++i) {
        if (!compAliases[i]) {
            platform::NoteFailure("no alias buffer for species ", i, " of reaction ", reaction.Id);
            return false;
        }
    }
    return true;
}

} // namespace

MORU_API int MORU_CALL Reactions_GetAllReactionObjects(const char** compoundList, const char** databankList,
                                                       const char* compoundIdType, int searchType, int* objectHandle)
{
    if (!objectHandle) return -1;
    return api::Contain(MORU_ARGUMENTS(compoundList, databankList, compoundIdType, searchType, objectHandle), 0, [&] {
        *objectHandle = 0;
        if (!compoundList || !databankList || !compoundIdType) return -1;
        const auto set =
            reactions::GetAllReactionObjects(interop::ReadHostList(compoundList), interop::ReadHostList(databankList),
                                             interop::FromHost(compoundIdType), searchType);
        if (!set) return -1;
        *objectHandle = interop::GetHandleFromObject(set);
        return static_cast<int>(set->reactions.size());
    });
}

MORU_API int MORU_CALL Reactions_GetNextReactionObject(int objectHandle, int position, char* type, char* basis,
                                                       int* compListSize, char** compAliases, double* stoicCoeffs,
                                                       double* eqConsts, double* SymmetricEqConsts,
                                                       char* /*symEqConstBasis*/)
{
    return api::Contain(
        MORU_ARGUMENTS(objectHandle, position, type, basis, compListSize, compAliases, stoicCoeffs, eqConsts,
                       SymmetricEqConsts),
        0, [&] {
            if (objectHandle == 0 || !type || !basis || !compListSize || !compAliases || !stoicCoeffs || !eqConsts)
                return 0;
            const auto set = interop::GetObjectFromHandle<reactions::ReactionSet>(objectHandle);
            if (!set) return 0;
            const service::ReactionRecord* reaction = reactions::ReactionAt(*set, position);
            if (!reaction) return position < 0 ? 0 : -1;
            if (!reactions::FitsTheHost(*reaction) || !HasBuffersFor(*reaction, compAliases, SymmetricEqConsts))
                return 0;

            constexpr auto shortText = static_cast<int>(interop::FixedBuffer::ShortText);
            interop::CopySizedClosingLastByte(reaction->Type, type, shortText);
            interop::CopySizedClosingLastByte(reaction->Basis, basis, shortText);
            *compListSize = static_cast<int>(reaction->Synonyms.size());
            interop::WriteNumbers(reaction->EqConsts, eqConsts);
            if (!reaction->SymmetricEqConsts.empty())
                interop::WriteNumbers(reaction->SymmetricEqConsts, SymmetricEqConsts);
            for (std::size_t i = 0; i < reaction->Synonyms.size(); ++i) {
                stoicCoeffs[i] = reaction->Coefficients[i];
                interop::CopySized(reaction->Synonyms[i], compAliases[i],
                                   static_cast<int>(interop::FixedBuffer::SpeciesAlias));
            }
            return 1;
        });
}

MORU_API void MORU_CALL Reactions_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
