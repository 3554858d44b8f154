#pragma once

// The find-compounds dialog: the launcher through which the dialog reaches the host's callbacks,
// and the launch that fills it with the host's databank selection and creates the dialog box.

#include "MoruIntegration.h"
#include "service/Dialogs.h"

#include <optional>
#include <string>

namespace moru::dialogs {

using namespace moru::service;

inline constexpr int kFindDialogHelpId = MORU_FIND_DIALOG_HELP_ID;
// Hosts whose selection callback never returns null are asked no further than this.
inline constexpr int kMaxSelectedDatabanks = MORU_MAX_SELECTED_DATABANKS;
inline constexpr const char* kLaunchFailedMessage = "Failed to launch FindCompounds Dialog";
inline constexpr const char* kMessageCaption = "MORU";

// What a launch export hands over; the fields of the other variants stay empty.
struct FindDialogLaunch {
    MoruAddCompoundCallback addCompoundShort = nullptr;
    MoruAddCompoundFullCallback addCompoundFull = nullptr;
    MoruSelectedDatabankCallback enumSelectedDatabanks = nullptr;
    MoruSetDatabanksCallback setDatabanks = nullptr;
    int replaceRow = 0;
    // Copied at launch, so that the host need keep it only during the launch call.
    std::string initialSearchString;
    // Absent for the plain launch, which passes no window names.
    std::optional<std::string> className;
    std::optional<std::string> windowName;
    MoruHelpIdCallback helpCallback = nullptr;
    bool kelda = false;        // switch the service to KELDA mode first
    bool withNistLauncher = false; // create the dialog with the NIST launcher as well
};

class MoruFindDialogWrapper : public IFindCompoundLauncher, public INISTDataLauncher {
public:
    explicit MoruFindDialogWrapper(const FindDialogLaunch& launch);

    // IFindCompoundLauncher
    std::string GetInitialSearchString() override { return m_initialSearchString; }
    void CompoundsAdded(const std::optional<AddedCompounds>& addedCompounds) override;
    bool CanModifyDatabankLists() override { return true; }
    bool CanShowDatabanksTab() override { return m_bDatabankTab; }
    DatabankCollectionPtr GetSelectedDatabanks() override { return m_SelectedDbanks; }
    void SetSelectedDatabanks(const DatabankCollectionPtr& databanks) override;
    DatabankCollectionPtr GetAvailableDatabanks() override { return m_AvailableDbanks; }
    void SetAvailableDatabanks(const DatabankCollectionPtr&) override {}
    bool FilterEnabled() override { return true; }
    DatabasePtr Database() override { return _database; }
    void Database(DatabasePtr database) override { _database = std::move(database); }

    // INISTDataLauncher: a find dialog has no NIST data.
    std::optional<std::string> GetCompoundName() override { return std::string(); }
    std::optional<std::string> GetCompoundName2() override { return std::string(); }
    std::int32_t GetNumberOfCompound() override { return 1; }
    void GetNISTPropList(NISTPropListPtr&) override {}
    void GetNISTMixPropList(NISTMixPropListPtr&) override {}
    void ButtonClicked(const std::string&, const std::vector<std::optional<std::string>>&, const std::string&,
                       const std::vector<DialogValue>&, std::int32_t) override
    {
    }
    std::optional<std::string> GetClassName() override { return m_className; }
    std::optional<std::string> GetWindowName() override { return m_windowName; }
    std::optional<std::string> GetClassName2() override { return std::nullopt; }
    std::optional<std::string> GetWindowName2() override { return std::nullopt; }
    std::optional<std::string> GetClassName3() override { return std::nullopt; }
    std::optional<std::string> GetWindowName3() override { return std::nullopt; }
    std::optional<std::string> GetClassName4() override { return std::nullopt; }
    std::optional<std::string> GetWindowName4() override { return std::nullopt; }
    void MoruTEDResultFormResize(double, double) override {}

private:
    friend void LaunchFindDialogWrapper(const FindDialogLaunch& launch);

    MoruAddCompoundCallback m_fnAddCompoundCallback;
    MoruAddCompoundFullCallback m_fnAddCompoundCallbackAdv;
    MoruSetDatabanksCallback m_fnSetDbanks;
    DatabankCollectionPtr m_SelectedDbanks;
    DatabankCollectionPtr m_AvailableDbanks;
    int m_nReplaceRow;
    std::string m_initialSearchString;
    bool m_bDatabankTab = true;
    std::optional<std::string> m_className;
    std::optional<std::string> m_windowName;
    MoruHelpIdCallback m_fnHtmlHelpIDCallback;
    DatabasePtr _database;
};

// Creates the launcher and the dialog box on it. A dialog box that cannot be created, or any
// failure on the way to it, shows the launch-failed message box.
void LaunchFindDialogWrapper(const FindDialogLaunch& launch);

} // namespace moru::dialogs
