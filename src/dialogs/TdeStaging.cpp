#include "dialogs/TdeStaging.h"

#include "platform/Diagnostics.h"
#include "platform/ProcessState.h"

#include <memory>

namespace moru::dialogs {

MoruNISTDataFunctions& MoruNISTDataFunctions::Instance()
{
    return platform::ProcessState::Part<MoruNISTDataFunctions>();
}

void MoruNISTDataFunctions::ResetInstanceForTesting() { platform::ProcessState::Drop<MoruNISTDataFunctions>(); }

bool MoruNISTDataFunctions::SetCompoundName(const std::optional<std::string>& compName)
{
    if (!compName) {
        platform::NoteFailure("no compound name to stage");
        return false;
    }
    m_pPropList->clear();
    m_pCompName = compName;
    return true;
}

bool MoruNISTDataFunctions::SetMixCompoundName(const std::optional<std::string>& compName,
                                               const std::optional<std::string>& compName2)
{
    if (!compName || !compName2) {
        platform::NoteFailure("a mixture needs both compound names; the ", compName ? "second" : "first",
                              " is missing");
        return false;
    }
    m_pMixPropList->clear();
    m_pMixCompName = compName;
    m_pMixCompName2 = compName2;
    return true;
}

bool SetTDECompoundName(const std::optional<std::string>& compName)
{
    return MoruNISTDataFunctions::Instance().SetCompoundName(compName);
}

bool SetTDEMixCompoundName(const std::optional<std::string>& compName, const std::optional<std::string>& compName2)
{
    return MoruNISTDataFunctions::Instance().SetMixCompoundName(compName, compName2);
}

bool PushPropertyValue(service::MoruNISTPropValue record)
{
    MoruNISTDataFunctions::Instance().AddPropertyValue(std::move(record));
    return true;
}

bool PushMixPropertyValue(service::MoruNISTMixPropValue record)
{
    MoruNISTDataFunctions::Instance().AddMixPropertyValue(std::move(record));
    return true;
}

} // namespace moru::dialogs
