#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "binary/BinaryParameters.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"

#include <optional>

using namespace moru;

namespace {

// The elements of the set behind the handle; nullopt when it holds none.
std::optional<service::NumericView> ParametersOf(int objectHandle)
{
    const auto object = interop::GetObjectFromHandle<binary::InteractionParameterValueObject>(objectHandle);
    return object ? binary::Parameters(*object) : std::nullopt;
}

} // namespace

MORU_API int MORU_CALL InteractionParameters_GetBinaryIp(const char* databaseName, const char* databankName,
                                                         const char* modelName, const char* compound1Id,
                                                         const char* compound2Id, const char* compoundIdsType,
                                                         int* bCondensedForViewing, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, modelName, compound1Id, compound2Id, compoundIdsType,
                                       bCondensedForViewing, objectHandle),
                        0, [&] {
                            if (!objectHandle) return 0;
                            *objectHandle = 0;
                            if (!databaseName || !databankName || !bCondensedForViewing) return 0;
                            auto parameterSet =
                                binary::GetBinaryIp(interop::FromHost(databaseName), interop::FromHost(databankName),
                                                    interop::FromHost(modelName), interop::FromHost(compound1Id),
                                                    interop::FromHost(compound2Id), interop::FromHost(compoundIdsType),
                                                    *bCondensedForViewing != 0);
                            if (!parameterSet) return 0;
                            // A set the service lacks is no failure: the handle stays 0.
                            *objectHandle = interop::GetHandleFromObject(std::move(*parameterSet));
                            return 1;
                        });
}

MORU_API int MORU_CALL InteractionParameterValueObject_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        const auto parameters = ParametersOf(objectHandle);
        return parameters ? static_cast<int>(parameters->size()) : 0;
    });
}

MORU_API int MORU_CALL InteractionParameterValueObject_Parameters(int objectHandle, double* parameters)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, parameters), 0, [&] {
        if (!parameters) return 0;
        const auto numbers = ParametersOf(objectHandle);
        if (!numbers) return 0;
        interop::WriteNumbers(*numbers, parameters);
        return 1;
    });
}

MORU_API void MORU_CALL InteractionParameterValueObject_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
