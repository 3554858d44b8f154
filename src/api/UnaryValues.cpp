#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "platform/Diagnostics.h"
#include "properties/UnaryValues.h"

using namespace moru;

MORU_API int MORU_CALL CompoundProperties_GetAllUnaryPropertyValues_Vanta(const char* databaseName,
                                                                          const char* databankName, int compoundIndex,
                                                                          int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundIndex, objectHandle), 0, [&] {
        if (!objectHandle || !databaseName || !databankName) return 0;
        *objectHandle = 0;
        const auto list = properties::GetAllUnaryPropertyValues_Vanta(interop::FromHost(databaseName),
                                                                      interop::FromHost(databankName), compoundIndex);
        if (!list) return 0;
        *objectHandle = interop::GetHandleFromObject(list);
        return static_cast<int>(list->values.size());
    });
}

MORU_API int MORU_CALL CompoundProperties_GetNextUnaryPropertyValue(int objectHandle, int position, char* propName,
                                                                    int* valueSize, double* propertyValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, propName, valueSize, propertyValues), 0, [&] {
        if (!propName || !valueSize || !propertyValues) return 0;
        const auto list = interop::GetObjectFromHandle<properties::UnaryPropertyList>(objectHandle);
        if (!list) return 0;
        const auto* entry = properties::UnaryValueAt(*list, position);
        if (!entry) return -1;
        const auto& [name, numbers] = *entry;
        // The name, the size and the elements before an absent one are written before it fails.
        interop::CopyUnbounded(name, propName);
        *valueSize = static_cast<int>(numbers.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (!numbers[i]) {
                platform::NoteFailure("element ", i + 1, " of ", name, " is not stored");
                return 0;
            }
            propertyValues[i] = *numbers[i];
        }
        return 1;
    });
}

MORU_API void MORU_CALL GetPropertyValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                                  const char* idVal, const char* propName, int valueType,
                                                  double* retvals, int retvalArraylen, int /*retvalElemLen*/,
                                                  int* success)
{
    api::Contain(
        MORU_ARGUMENTS(dbaseName, dbankName, idType, idVal, propName, valueType, retvals, retvalArraylen, success),
        [&] {
            if (!success) return;
            *success = 0;
            if (!dbaseName || !dbankName) return;
            const auto numbers = properties::GetPropValueFromDbank(
                interop::FromHost(dbaseName), interop::FromHost(dbankName), interop::FromHost(idType),
                interop::FromHost(idVal), interop::FromHost(propName), valueType, retvalArraylen);
            if (!numbers) return;
            if (!retvals) {
                platform::NoteFailure("no array for the value");
                return;
            }
            interop::WriteNumbers(*numbers, retvals);
            *success = 1;
        });
}

MORU_API void MORU_CALL CompoundProperties_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
