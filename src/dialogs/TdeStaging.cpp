#include "dialogs/TdeStaging.h"

#include "platform/Diagnostics.h"

#include <memory>

namespace moru::dialogs {

namespace {
std::unique_ptr<MoruNISTDataFunctions>& Store()
{
    static std::unique_ptr<MoruNISTDataFunctions> store;
    return store;
}
} // namespace

MoruNISTDataFunctions& MoruNISTDataFunctions::Instance()
{
    auto& store = Store();
    if (!store) store.reset(new MoruNISTDataFunctions());
    return *store;
}

void MoruNISTDataFunctions::ResetInstanceForTesting() { Store().reset(new MoruNISTDataFunctions()); }

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
