#include "MoruIntegration.h"

#include "api/Contain.h"
#include "binary/RegressionInformation.h"
#include "interop/Handles.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObject(const char* DBaseDBank, const char* property,
                                                                   const char* compound1, const char* compound2,
                                                                   const char* compoundIdType, int* objectHandle)
{
    return api::Contain(
        MORU_ARGUMENTS(DBaseDBank, property, compound1, compound2, compoundIdType, objectHandle), 0, [&] {
            if (!objectHandle) return 0;
            *objectHandle = 0;
            if (!DBaseDBank || !property || !compound1 || !compound2 || !compoundIdType) return 0;
            *objectHandle = interop::GetHandleFromObject(binary::GetRegInfoObject(
                interop::FromHost(DBaseDBank), interop::FromHost(property), interop::FromHost(compound1),
                interop::FromHost(compound2), interop::FromHost(compoundIdType)));
            return 1;
        });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObjectDetails(
    int objectHandle, int* regInfoType, char* sigma, char* tLimits, char* pLimits, char* xLimits, char* x1Limits,
    char* x2Limits, char* henryLimits, char* henryDeviation, char* tDeviation, char* pDeviation, char* xDeviation,
    char* x1Deviation, char* x2Deviation, char* xTDeviation, char* sCitation, char* compBasis, int stdBufferSize,
    int xTDeviationBufferSize, int citationBufferSize)
{
    return api::Contain(
        MORU_ARGUMENTS(objectHandle, regInfoType, sigma, tLimits, pLimits, xLimits, x1Limits, x2Limits, henryLimits,
                       henryDeviation, tDeviation, pDeviation, xDeviation, x1Deviation, x2Deviation, xTDeviation,
                       sCitation, compBasis, stdBufferSize, xTDeviationBufferSize, citationBufferSize),
        0, [&] {
            if (objectHandle == 0 || !regInfoType || !sigma || !tLimits || !pLimits || !xLimits || !x1Limits ||
                !x2Limits || !henryLimits || !henryDeviation || !tDeviation || !pDeviation || !xDeviation ||
                !x1Deviation || !x2Deviation || !xTDeviation || !sCitation || !compBasis)
                return 0;
            const auto info = interop::GetObjectFromHandle<service::IpHelpInfoObject>(objectHandle);
            if (!info) return 0;
            const binary::RegressionTexts text = binary::DescribeRegression(*info, citationBufferSize);
            // Every field is copied whatever fits of the others: one that does not fit is left empty.
            *regInfoType = text.kind;
            interop::CopySizedClosingLastByte(text.firstCompound, compBasis, stdBufferSize);
            interop::CopySizedClosingLastByte(text.sigma, sigma, stdBufferSize);
            interop::CopySizedClosingLastByte(text.tLimits, tLimits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.pLimits, pLimits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.xLimits, xLimits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.x1Limits, x1Limits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.x2Limits, x2Limits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.henryLimits, henryLimits, stdBufferSize);
            interop::CopySizedClosingLastByte(text.henryDeviation, henryDeviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.tDeviation, tDeviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.pDeviation, pDeviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.xDeviation, xDeviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.x1Deviation, x1Deviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.x2Deviation, x2Deviation, stdBufferSize);
            interop::CopySizedClosingLastByte(text.xTDeviation, xTDeviation, xTDeviationBufferSize);
            interop::CopySizedClosingLastByte(text.sCitation, sCitation, citationBufferSize);
            return 1;
        });
}
