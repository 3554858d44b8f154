#include "dialogs/FindDialog.h"

#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "service/Factory.h"
#include "session/Resolution.h"
#include "session/Session.h"

#include <algorithm>

namespace moru::dialogs {

namespace {

constexpr const char* kLaunchFailedMessage = "Failed to launch FindCompounds Dialog";
constexpr const char* kMessageCaption = "MORU";

// The databank part of "DB.BANK"; empty unless the name has exactly two dot-separated parts.
std::string DatabankPart(const std::string& databankName)
{
    const auto parts = interop::SplitAtEvery(databankName, '.');
    return parts.size() == 2 ? parts[1] : std::string();
}

bool SameDatabank(const service::IDatabank& a, const service::IDatabank& b)
{
    return &a == &b || platform::EqualsIgnoringCase(session::GetMonikerForDbank(a), session::GetMonikerForDbank(b));
}

} // namespace

MoruFindDialogWrapper::MoruFindDialogWrapper(const FindDialogLaunch& launch)
    : m_fnAddCompoundCallback(launch.addCompoundShort), m_fnAddCompoundCallbackAdv(launch.addCompoundFull),
      m_fnSetDbanks(launch.setDatabanks), m_SelectedDbanks(std::make_shared<service::DatabankCollection>()),
      m_AvailableDbanks(std::make_shared<service::DatabankCollection>()), m_nReplaceRow(launch.replaceRow),
      m_initialSearchString(launch.initialSearchString), m_className(launch.className), m_windowName(launch.windowName),
      m_fnHtmlHelpIDCallback(launch.helpCallback)
{}

void MoruFindDialogWrapper::CompoundsAdded(const std::optional<service::AddedCompounds>& addedCompounds)
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
            AddedCompound added;
            try {
                const service::CompoundPtr compound = entry->Compound();
                if (!compound) continue;
                added.compoundId = compound->Id();
                added.databank = entry->DatabankName();
                added.alias = entry->OrvikAlias();
                added.name = entry->OrvikName();
                added.casNumber = entry->CASnumber();
                added.compoundClass = entry->CompoundClass();
                added.matchedSynonym = entry->MatchedSynonym();
                added.molecularWeight = entry->MolecularWeight();
                added.boilingPoint = entry->BoilingPoint();
            } catch (...) {
                // An entry that cannot be read is not a compound.
                platform::NoteCaught("added compound " + std::to_string(position + 1) + " could not be read", ": ");
                continue;
            }
            const int row = position == 0 && m_nReplaceRow != 0 ? m_nReplaceRow : -1;
            if (m_fnAddCompoundCallbackAdv) {
                m_fnAddCompoundCallbackAdv(added, row);
            } else if (m_fnAddCompoundCallback) {
                m_fnAddCompoundCallback(DatabankPart(added.databank), added.alias, row);
            }
        }
    } catch (...) {
        platform::NoteCaught("passing the added compounds to the host failed", ": ");
    }
}

void MoruFindDialogWrapper::SetSelectedDatabanks(const service::DatabankCollectionPtr& databanks)
{
    try {
        if (!databanks || !m_fnSetDbanks) return;
        std::vector<std::string> monikers;
        for (const auto& databank : databanks->Items())
            monikers.push_back(databank ? session::GetMonikerForDbank(*databank) : std::string());
        m_fnSetDbanks(monikers);
    } catch (...) {
        platform::NoteCaught("passing the selected databanks to the host failed", ": ");
    }
}

void LaunchFindDialogWrapper(const FindDialogLaunch& launch)
{
    auto& factory = service::GetServiceFactory();
    if (launch.kelda) factory.Application().SetKELDA();
    auto wrapper = std::make_shared<MoruFindDialogWrapper>(launch);
    try {
        auto& session = session::MoruGUIDataFunctions::Instance();
        wrapper->m_bDatabankTab = session.GetDatabankTabFlag();
        for (int index = 0; launch.enumSelectedDatabanks && index < kMaxSelectedDatabanks; ++index) {
            const std::optional<std::string> moniker = launch.enumSelectedDatabanks(index);
            if (!moniker) break;
            if (auto databank = session::FindDbankByMoniker(*moniker)) {
                wrapper->m_SelectedDbanks->Add(std::move(databank));
            }
        }
        service::DatabankCollection everyDatabank;
        const bool listed = session::GetAllDatabanks(everyDatabank);
        const auto& selected = wrapper->m_SelectedDbanks->Items();
        for (const auto& databank : everyDatabank.Items()) {
            const bool isSelected = listed && databank &&
                                    std::any_of(selected.begin(), selected.end(),
                                                [&](const auto& chosen) { return SameDatabank(*chosen, *databank); });
            if (!isSelected) wrapper->m_AvailableDbanks->Add(databank);
        }
        std::shared_ptr<service::INISTDataLauncher> nistLauncher;
        if (launch.withNistLauncher) nistLauncher = wrapper;
        factory.DialogComponent().CreateDbankCompoundDialogBox(wrapper, nistLauncher);
    } catch (...) {
        platform::NoteCaught("the find dialog could not be launched", ": ");
        platform::ShowMessageBox(kLaunchFailedMessage, kMessageCaption);
    }
}

} // namespace moru::dialogs
