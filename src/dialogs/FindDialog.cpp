#include "dialogs/FindDialog.h"

#include "interop/HostText.h"
#include "interop/References.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "service/Factory.h"
#include "session/Resolution.h"
#include "session/Session.h"

#include <algorithm>

namespace moru::dialogs {

namespace {

// The databank part of "DB.BANK"; empty unless the name has exactly two dot-separated parts.
std::string DatabankPart(const std::string& databankName)
{
    const auto parts = interop::SplitAtEvery(databankName, '.');
    return parts.size() == 2 ? parts[1] : std::string();
}

bool SameDatabank(const IDatabank& a, const IDatabank& b)
{
    return &a == &b || platform::EqualsIgnoringCase(session::GetMonikerForDbank(a), session::GetMonikerForDbank(b));
}

} // namespace

MoruFindDialogWrapper::MoruFindDialogWrapper(const FindDialogLaunch& launch)
    : m_fnAddCompoundCallback(launch.addCompoundShort), m_fnAddCompoundCallbackAdv(launch.addCompoundFull),
      m_fnSetDbanks(launch.setDatabanks), m_SelectedDbanks(std::make_shared<DatabankCollection>()),
      m_AvailableDbanks(std::make_shared<DatabankCollection>()), m_nReplaceRow(launch.replaceRow),
      m_initialSearchString(launch.initialSearchString), m_className(launch.className),
      m_windowName(launch.windowName), m_fnHtmlHelpIDCallback(launch.helpCallback)
{
}

void MoruFindDialogWrapper::CompoundsAdded(const std::optional<AddedCompounds>& addedCompounds)
{
    // The component calls this outside any export: nothing may escape into it.
    try {
        if (!addedCompounds) {
            if (m_fnHtmlHelpIDCallback) m_fnHtmlHelpIDCallback(kFindDialogHelpId);
            return;
        }
        for (std::size_t position = 0; position < addedCompounds->size(); ++position) {
            const auto& entry = (*addedCompounds)[position];
            if (!entry) continue;
            std::string databankName, alias, name, casNumber, compoundClass, matchedSynonym;
            double molecularWeight = 0, boilingPoint = 0;
            int compoundId = 0;
            try {
                const CompoundPtr compound = entry->Compound();
                if (!compound) continue;
                compoundId = compound->Id();
                databankName = entry->DatabankName();
                alias = entry->OrvikAlias();
                name = entry->OrvikName();
                casNumber = entry->CASnumber();
                compoundClass = entry->CompoundClass();
                matchedSynonym = entry->MatchedSynonym();
                molecularWeight = entry->MolecularWeight();
                boilingPoint = entry->BoilingPoint();
            } catch (...) {
                continue; // an entry that cannot be read is not a compound
            }
            const int row = position == 0 && m_nReplaceRow != 0 ? m_nReplaceRow : -1;
            if (m_fnAddCompoundCallbackAdv) {
                const interop::CallbackText databank(databankName), aliasText(alias), nameText(name),
                    casText(casNumber), classText(compoundClass), synonymText(matchedSynonym);
                m_fnAddCompoundCallbackAdv(databank.get(), aliasText.get(), row, nameText.get(), casText.get(),
                                           classText.get(), synonymText.get(), molecularWeight, boilingPoint,
                                           compoundId);
            } else if (m_fnAddCompoundCallback) {
                const interop::CallbackText databank(DatabankPart(databankName)), aliasText(alias);
                m_fnAddCompoundCallback(databank.get(), aliasText.get(), row);
            }
        }
    } catch (...) {
    }
}

void MoruFindDialogWrapper::SetSelectedDatabanks(const DatabankCollectionPtr& databanks)
{
    try {
        if (!databanks || !m_fnSetDbanks) return;
        std::vector<std::string> monikers;
        for (const auto& databank : databanks->Items())
            monikers.push_back(interop::ToHost(databank ? session::GetMonikerForDbank(*databank) : std::string()));
        // Ends with a null entry, so that an empty selection still passes an array.
        std::vector<char*> array;
        for (auto& moniker : monikers) array.push_back(moniker.data());
        array.push_back(nullptr);
        m_fnSetDbanks(array.data(), static_cast<int>(monikers.size()));
    } catch (...) {
    }
}

void LaunchFindDialogWrapper(const FindDialogLaunch& launch)
{
    auto& factory = GetServiceFactory();
    if (launch.kelda) factory.Application().SetKELDA();
    auto wrapper = std::make_shared<MoruFindDialogWrapper>(launch);
    try {
        auto& session = session::MoruGUIDataFunctions::Instance();
        wrapper->m_bDatabankTab = session.GetDatabankTabFlag();
        for (int index = 0; launch.enumSelectedDatabanks && index < kMaxSelectedDatabanks; ++index) {
            const char* moniker = launch.enumSelectedDatabanks(index);
            if (!moniker) break;
            if (auto databank = session::FindDbankByMoniker(interop::FromHost(moniker)))
                wrapper->m_SelectedDbanks->Add(std::move(databank));
        }
        DatabankCollection everyDatabank;
        const bool listed = session::GetAllDatabanks(everyDatabank);
        const auto& selected = wrapper->m_SelectedDbanks->Items();
        for (const auto& databank : everyDatabank.Items()) {
            const bool isSelected = listed && databank && std::any_of(selected.begin(), selected.end(), [&](const auto& chosen) {
                return SameDatabank(*chosen, *databank);
            });
            if (!isSelected) wrapper->m_AvailableDbanks->Add(databank);
        }
        std::shared_ptr<INISTDataLauncher> nistLauncher;
        if (launch.withNistLauncher) nistLauncher = wrapper;
        factory.DialogComponent().CreateDbankCompoundDialogBox(wrapper, nistLauncher);
    } catch (...) {
        platform::ShowMessageBox(kLaunchFailedMessage, kMessageCaption);
    }
}

} // namespace moru::dialogs
