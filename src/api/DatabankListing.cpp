#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/HostText.h"
#include "session/DatabankListing.h"

using namespace moru;

namespace {

interop::CallbackText Text(const std::optional<std::string>& text)
{
    return text ? interop::CallbackText(std::string_view(*text)) : interop::CallbackText();
}

interop::CallbackText Text(std::optional<std::string_view> text)
{
    return text ? interop::CallbackText(*text) : interop::CallbackText();
}

// The databank-info callback, of 13 arguments, or of 15 with the two access settings when
// `accessFlag` is not 0.
session::DatabankSink DatabankCallback(void* callback, int accessFlag)
{
    return [callback, accessFlag](const session::DatabankReport& report) {
        const interop::CallbackText databankName(std::string_view(report.databankName));
        const interop::CallbackText databaseAlias(std::string_view(report.databaseAlias));
        const auto password = Text(report.password), displayName = Text(report.displayName),
                   baseName = Text(report.baseDatabankName), helpFile = Text(report.helpFileName),
                   product = Text(report.product), type = Text(report.databankType), prompt = Text(report.prompt);
        if (accessFlag != 0) {
            reinterpret_cast<MoruDatabankInfoWithAccessCallback>(callback)(
                databankName.get(), databaseAlias.get(), password.get(), displayName.get(), baseName.get(),
                helpFile.get(), report.helpCode, product.get(), type.get(), prompt.get(), report.pureInfoPresent,
                report.binaryParameterCount, report.reactionCount, report.simulatorAccess, report.viewerAccess);
        } else {
            reinterpret_cast<MoruDatabankInfoCallback>(callback)(
                databankName.get(), databaseAlias.get(), password.get(), displayName.get(), baseName.get(),
                helpFile.get(), report.helpCode, product.get(), type.get(), prompt.get(), report.pureInfoPresent,
                report.binaryParameterCount, report.reactionCount);
        }
    };
}

session::BinaryParameterSink BinaryParameterCallback(void* callback)
{
    if (!callback) return {};
    return [callback](const session::BinaryParameterReport& report) {
        const interop::CallbackText alias(std::string_view(report.databaseAlias));
        const interop::CallbackText bank(std::string_view(report.databankName));
        const interop::CallbackText parameter(std::string_view(report.parameterName));
        const auto gamma = Text(report.gammaModel), vapor = Text(report.vaporModel);
        reinterpret_cast<MoruBinaryParameterInfoCallback>(callback)(alias.get(), bank.get(), parameter.get(),
                                                                    gamma.get(), vapor.get());
    };
}

// The pure information travels in the databank-info callback; the pure-parameter callback is
// accepted for compatibility and never called.
void List(void* databankInfo, void* binaryParameterInfo, int accessFlag)
{
    if (!databankInfo) {
        platform::NoteFailure("no databank-info callback");
        return;
    }
    session::ListDatabanks(DatabankCallback(databankInfo, accessFlag), BinaryParameterCallback(binaryParameterInfo));
}

void ListNames(void* databankInfo, int accessFlag)
{
    if (!databankInfo) {
        platform::NoteFailure("no databank-info callback");
        return;
    }
    session::ListDatabankNames(DatabankCallback(databankInfo, accessFlag));
}

} // namespace

MORU_API void MORU_CALL ListMoruDatabanks(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                                          void* callbackFnAddBinaryDatabankInfo)
{
    api::Contain(
        MORU_ARGUMENTS(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo, callbackFnAddBinaryDatabankInfo),
        [&] { List(callbackFnAddDatabankInfo, callbackFnAddBinaryDatabankInfo, 0); });
}

MORU_API void MORU_CALL ListMoruDatabanks_WithDBAccessFlag(void* callbackFnAddDatabankInfo,
                                                           void* callbackFnAddPureParameterInfo,
                                                           void* callbackFnAddBinaryDatabankInfo, int accessFlag)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo,
                                callbackFnAddBinaryDatabankInfo, accessFlag),
                 [&] { List(callbackFnAddDatabankInfo, callbackFnAddBinaryDatabankInfo, accessFlag); });
}

MORU_API void MORU_CALL ListMoruDatabanks_Vanta(void* callbackFnAddDatabankInfo)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo), [&] { ListNames(callbackFnAddDatabankInfo, 0); });
}

MORU_API void MORU_CALL ListMoruDatabanks_Vanta_WithDBAccessFlag(void* callbackFnAddDatabankInfo, int accessFlag)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo, accessFlag),
                 [&] { ListNames(callbackFnAddDatabankInfo, accessFlag); });
}
