#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "binary/BinaryValueSets.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "platform/Diagnostics.h"

using namespace moru;

namespace {

void WriteEntry(const binary::PlacedEntry& entry, int* comp1Index, int* comp2Index, int* comp3Index, int* comp4Index,
                int* dbankIndex, int* propIndex, int* valueSize, double* propValues)
{
    *comp1Index = entry.compoundPositions[0];
    *comp2Index = entry.compoundPositions[1];
    *comp3Index = entry.compoundPositions[2];
    *comp4Index = entry.compoundPositions[3];
    *dbankIndex = entry.databankPosition;
    *propIndex = entry.propertyPosition;
    *valueSize = static_cast<int>(entry.numbers.size());
    interop::WriteNumbers(entry.numbers, propValues);
}

} // namespace

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
    const char** workingCompoundPairArr, const char* compoundIdType, const char** dbankArr, const char** propertyArr,
    int* interactionType, int* bCondensedForViewing, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(workingCompoundPairArr, compoundIdType, dbankArr, propertyArr, interactionType,
                                       bCondensedForViewing, objectHandle),
                        0, [&] {
                            if (!objectHandle) return 0;
                            *objectHandle = 0;
                            if (!workingCompoundPairArr || !dbankArr || !propertyArr || !bCondensedForViewing ||
                                !interactionType)
                                return 0;
                            *objectHandle = interop::GetHandleFromObject(binary::GetAllBinaryPropertyValueObjects(
                                interop::ReadHostList(workingCompoundPairArr), interop::FromHost(compoundIdType),
                                interop::ReadHostList(dbankArr), interop::ReadHostList(propertyArr), *interactionType,
                                *bCondensedForViewing));
                            return 1;
                        });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject(int objectHandle, int* comp1Index,
                                                                             int* comp2Index, int* comp3Index,
                                                                             int* comp4Index, int* dbankIndex,
                                                                             int* propIndex, int* valueSize,
                                                                             int* hasRegInfo, double* propValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex,
                                       propIndex, valueSize, hasRegInfo, propValues),
                        0, [&] {
                            if (objectHandle == 0 || !comp1Index || !comp2Index || !comp3Index || !comp4Index ||
                                !dbankIndex || !propIndex || !valueSize || !propValues)
                                return 0;
                            // Read for every entry: no share is taken, and nothing here releases a handle.
                            auto* const values =
                                interop::PeekObjectFromHandle<binary::BinaryPropertyValueObjects>(objectHandle);
                            if (!values) return 0;
                            if (values->AtEnd()) return -1;
                            // Only an entry to deliver needs the flag: the end of the list is reported without it.
                            if (!hasRegInfo) return 0;
                            const auto entry = values->PlaceServiceValue();
                            if (!entry) return 0;
                            *hasRegInfo = entry->hasRegressionInfo ? 1 : 0;
                            WriteEntry(*entry, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex, propIndex,
                                       valueSize, propValues);
                            values->Advance();
                            return 1;
                        });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(int objectHandle, int* comp1Index,
                                                                                   int* comp2Index, int* comp3Index,
                                                                                   int* comp4Index, int* dbankIndex,
                                                                                   int* propIndex, int* valueSize,
                                                                                   double* propValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex,
                                       propIndex, valueSize, propValues),
                        0, [&] {
                            if (objectHandle == 0 || !comp1Index || !comp2Index || !comp3Index || !comp4Index ||
                                !dbankIndex || !propIndex || !valueSize || !propValues)
                                return 0;
                            // Read for every entry: no share is taken, and nothing here releases a handle.
                            auto* const values =
                                interop::PeekObjectFromHandle<binary::BinaryPropertyValueObjects>(objectHandle);
                            if (!values) return 0;
                            if (values->AtEnd()) return -1;
                            const auto entry = values->PlaceEnginePairValue();
                            if (!entry) return 0;
                            WriteEntry(*entry, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex, propIndex,
                                       valueSize, propValues);
                            values->Advance();
                            return 1;
                        });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        const auto values = interop::GetObjectFromHandle<binary::BinaryPropertyValueObjects>(objectHandle);
        return values ? static_cast<int>(values->Count()) : 0;
    });
}

MORU_API void MORU_CALL BinaryPropertyValueObjects_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
