#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "bulk/BulkLists.h"
#include "bulk/BulkValues.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "platform/Diagnostics.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>

using namespace moru;

MORU_API int MORU_CALL Optimized_InitializeAllLists(const char** sourceDatabanks, const char** compoundIdentifierList,
                                                    const char** propertyList)
{
    return api::Contain(MORU_ARGUMENTS(sourceDatabanks, compoundIdentifierList, propertyList), 0, [&] {
        if (!sourceDatabanks || !compoundIdentifierList || !propertyList) {
            bulk::UnInitializeAllLists();
            return 0;
        }
        return bulk::InitializeAllLists(interop::ReadHostList(sourceDatabanks),
                                        interop::ReadHostList(compoundIdentifierList),
                                        interop::ReadHostList(propertyList))
                   ? 1
                   : 0;
    });
}

MORU_API int MORU_CALL Optimized_UnInitializeAllLists(void)
{
    return api::Contain(0, [&] {
        bulk::UnInitializeAllLists();
        return 1;
    });
}

namespace {

// Registers a table the subsystem made and gives its handle to the host: the number of entries, 0
// when there is no table.
template <class Table>
int HandOut(const std::shared_ptr<Table>& table, std::size_t entryCount, int& objectHandle)
{
    if (!table) return 0;
    objectHandle = interop::GetHandleFromObject(table);
    return static_cast<int>(entryCount);
}

// A fixed-size buffer holds "" when the text cannot be copied.
void CopyText(const std::string& text, char* buffer, interop::FixedBuffer size)
{
    buffer[0] = '\0';
    interop::CopyToFixedBuffer(text, buffer, size);
}

void CopyNumbers(std::span<const double> numbers, double* value) { std::copy(numbers.begin(), numbers.end(), value); }

} // namespace

MORU_API int MORU_CALL Optimized_GetAllCompoundsIdentifiers(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        const auto table = bulk::GetAllCompoundsIdentifiers();
        return HandOut(table, table ? table->records.size() : 0, *objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                           char* databaseName, int* compoundIndex, char* name,
                                                           char* alias, char* casno, double* compclass, double* kelidx,
                                                           double* PLXidx)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, compoundPosition, databaseName, compoundIndex, name,
                                       alias, casno, compclass, kelidx, PLXidx),
                        0, [&] {
                            if (!compoundPosition || !databaseName || !compoundIndex || !name || !alias || !casno ||
                                !compclass || !kelidx || !PLXidx) {
                                return 0;
                            }
                            auto* const table = interop::PeekObjectFromHandle<bulk::EngineCompoundTable>(objectHandle);
                            if (!table) return 0;
                            bulk::EngineCompoundPtr record;
                            const int result = bulk::GetNextCompoundIdentifier(*table, position, record);
                            if (result != 1) return result;
                            // The numbers first, then the texts in order: a record without a name or alias stops there.
                            *compoundPosition = record->compoundPosition;
                            *compclass = record->compoundClass;
                            *kelidx = record->keldaIndex;
                            *PLXidx = record->plxIndex;
                            *compoundIndex = record->compoundIndex;
                            CopyText(record->databaseName, databaseName, interop::FixedBuffer::DatabaseName);
                            if (!record->name) {
                                platform::NoteFailure("compound ", record->compoundIndex, " has no name");
                                return 0;
                            }
                            CopyText(*record->name, name, interop::FixedBuffer::ShortText);
                            if (!record->alias) {
                                platform::NoteFailure("compound ", record->compoundIndex, " has no alias");
                                return 0;
                            }
                            CopyText(*record->alias, alias, interop::FixedBuffer::ShortText);
                            // A compound without a CAS number is still a compound.
                            CopyText(record->casNo.value_or(std::string()), casno, interop::FixedBuffer::ShortText);
                            return 1;
                        });
}

MORU_API int MORU_CALL Optimized_GetAllProperties(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        const auto table = bulk::GetAllProperties();
        return HandOut(table, table ? table->properties.size() : 0, *objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextProperty(int objectHandle, int position, int* propertyPosition,
                                                 int* numOfElements)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, propertyPosition, numOfElements), 0, [&] {
        if (!propertyPosition || !numOfElements) return 0;
        auto* const table = interop::PeekObjectFromHandle<bulk::GatewayPropertyTable>(objectHandle);
        if (!table) return 0;
        return bulk::GetNextProperty(*table, position, *propertyPosition, *numOfElements);
    });
}

MORU_API int MORU_CALL Optimized_GetAllScalarPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        const auto table = bulk::GetAllScalarPropertyValues();
        return HandOut(table, table ? table->entries.size() : 0, *objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextScalarPropertyValue(int objectHandle, int position, int* databankPosition,
                                                            int* compoundPosition, int* propertyPosition, double* value)
{
    return api::Contain(
        MORU_ARGUMENTS(objectHandle, position, databankPosition, compoundPosition, propertyPosition, value), 0, [&] {
            if (!databankPosition || !compoundPosition || !propertyPosition || !value) return 0;
            auto* const table = interop::PeekObjectFromHandle<bulk::EngineValueTable>(objectHandle);
            if (!table) return 0;
            return bulk::GetNextScalarPropertyValue(*table, position, *databankPosition, *compoundPosition,
                                                    *propertyPosition, *value);
        });
}

MORU_API int MORU_CALL Optimized_GetAllVectorPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        const auto table = bulk::GetAllVectorPropertyValues();
        return HandOut(table, table ? table->entries.size() : 0, *objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextVectorPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compoundPosition,
                                                            int* propertyPosition, double* value)
{
    return api::Contain(
        MORU_ARGUMENTS(objectHandle, position, valueSize, databankPosition, compoundPosition, propertyPosition, value),
        0, [&] {
            if (!valueSize || !databankPosition || !compoundPosition || !propertyPosition || !value) return 0;
            auto* const table = interop::PeekObjectFromHandle<bulk::EngineValueTable>(objectHandle);
            if (!table) return 0;
            std::span<const double> numbers;
            const int result = bulk::GetNextVectorPropertyValue(*table, position, *databankPosition, *compoundPosition,
                                                                *propertyPosition, numbers);
            if (result != 1) return result;
            // The host sized its buffer by the property's element count, which the read gives.
            CopyNumbers(numbers, value);
            *valueSize = static_cast<int>(numbers.size());
            return 1;
        });
}

MORU_API int MORU_CALL Optimized_GetAllBinaryPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        const auto table = bulk::GetAllBinaryPropertyValues();
        return HandOut(table, table ? table->entries.size() : 0, *objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValueWithCondensedFlag(
    int objectHandle, int position, int* valueSize, int* databankPosition, int* compound1Position,
    int* compound2Position, int* propertyPosition, double* value, int* bCondensed)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, valueSize, databankPosition, compound1Position,
                                       compound2Position, propertyPosition, value, bCondensed),
                        0, [&] {
                            if (!valueSize || !databankPosition || !compound1Position || !compound2Position ||
                                !propertyPosition || !value || !bCondensed) {
                                return 0;
                            }
                            auto* const table = interop::PeekObjectFromHandle<bulk::EngineValueTable>(objectHandle);
                            if (!table) return 0;
                            std::span<const double> numbers;
                            const int result = bulk::GetNextBinaryPropertyValue(
                                *table, position, *databankPosition, *compound1Position, *compound2Position,
                                *propertyPosition, *bCondensed != 0, numbers);
                            if (result != 1) return result;
                            CopyNumbers(numbers, value);
                            *valueSize = static_cast<int>(numbers.size());
                            return 1;
                        });
}

MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compound1Position,
                                                            int* compound2Position, int* propertyPosition,
                                                            double* value)
{
    int full = 0;
    return Optimized_GetNextBinaryPropertyValueWithCondensedFlag(objectHandle, position, valueSize, databankPosition,
                                                                 compound1Position, compound2Position, propertyPosition,
                                                                 value, &full);
}

MORU_API void MORU_CALL Optimized_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
