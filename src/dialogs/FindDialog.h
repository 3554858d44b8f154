#pragma once

// The find-compounds dialog: the launcher through which the dialog reaches the host's callbacks,
// and the launch that fills it with the host's databank selection and creates the dialog box.

#include "MoruIntegration.h"
#include "service/Dialogs.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace moru::dialogs {

inline constexpr int kFindDialogHelpId = MORU_FIND_DIALOG_HELP_ID;
// Hosts whose selection callback never returns null are asked no further than this.
inline constexpr int kMaxSelectedDatabanks = MORU_MAX_SELECTED_DATABANKS;

// A compound the user added, as the full form of the host's callback receives it.
struct AddedCompound {
    std::string databank; // "DB.BANK"
    std::string alias, name, casNumber, compoundClass, matchedSynonym;
    double molecularWeight = 0, boilingPoint = 0;
    int compoundId = 0;
};

// The short form: the databank part of the compound's "DB.BANK" name, and its alias.
using AddCompoundShort = std::function<void(const std::string& databank, const std::string& alias, int row)>;
using AddCompoundFull = std::function<void(const AddedCompound& compound, int row)>;
// The host's selected databank at an index, as a moniker; nullopt ends the selection.
using SelectedDatabank = std::function<std::optional<std::string>(int index)>;
// The databanks the user selected, as monikers.
using SetDatabanks = std::function<void(const std::vector<std::string>& monikers)>;
using HelpRequest = std::function<void(int helpId)>;

// What a launch export hands over: the host's callbacks (empty where the host gave none; the
// dialog calls them whenever its user acts) and values. The fields of the other variants stay
// empty.
struct FindDialogLaunch {
    AddCompoundShort addCompoundShort;
    AddCompoundFull addCompoundFull;
    SelectedDatabank enumSelectedDatabanks;
    SetDatabanks setDatabanks;
    int replaceRow = 0;
    // Copied at launch, so that the host need keep it only during the launch call.
    std::string initialSearchString;
    // Absent for the plain launch, which passes no window names.
    std::optional<std::string> className;
    std::optional<std::string> windowName;
    HelpRequest helpCallback;
    bool kelda = false;            // switch the service to KELDA mode first
    bool withNistLauncher = false; // create the dialog with the NIST launcher as well
};

class MoruFindDialogWrapper : public service::IFindCompoundLauncher, public service::INISTDataLauncher {
public:
    explicit MoruFindDialogWrapper(const FindDialogLaunch& launch);

    // IFindCompoundLauncher
    std::string GetInitialSearchString() override { return m_initialSearchString; }
    void CompoundsAdded(const std::optional<service::AddedCompounds>& addedCompounds) override;
    bool CanModifyDatabankLists() override { return true; }
    bool CanShowDatabanksTab() override { return m_bDatabankTab; }
    service::DatabankCollectionPtr GetSelectedDatabanks() override { return m_SelectedDbanks; }
    void SetSelectedDatabanks(const service::DatabankCollectionPtr& databanks) override;
    service::DatabankCollectionPtr GetAvailableDatabanks() override { return m_AvailableDbanks; }
    void SetAvailableDatabanks(const service::DatabankCollectionPtr&) override {}
    bool FilterEnabled() override { return true; }
    service::DatabasePtr Database() override { return _database; }
    void Database(service::DatabasePtr database) override { _database = std::move(database); }

    // INISTDataLauncher: a find dialog has no NIST data.
    std::optional<std::string> GetCompoundName() override { return std::string(); }
    std::optional<std::string> GetCompoundName2() override { return std::string(); }
    std::int32_t GetNumberOfCompound() override { return 1; }
    void GetNISTPropList(service::NISTPropListPtr&) override {}
    void GetNISTMixPropList(service::NISTMixPropListPtr&) override {}
    void ButtonClicked(const std::string&, const std::vector<std::optional<std::string>>&, const std::string&,
                       const std::vector<service::DialogValue>&, std::int32_t) override
    {}
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

    AddCompoundShort m_fnAddCompoundCallback;
    AddCompoundFull m_fnAddCompoundCallbackAdv;
    SetDatabanks m_fnSetDbanks;
    service::DatabankCollectionPtr m_SelectedDbanks;
    service::DatabankCollectionPtr m_AvailableDbanks;
    int m_nReplaceRow;
    std::string m_initialSearchString;
    bool m_bDatabankTab = true;
    std::optional<std::string> m_className;
    std::optional<std::string> m_windowName;
    HelpRequest m_fnHtmlHelpIDCallback;
    service::DatabasePtr _database;
};

// Creates the launcher and the dialog box on it. A dialog box that cannot be created, or any
// failure on the way to it, shows the launch-failed message box.
void LaunchFindDialogWrapper(const FindDialogLaunch& launch);

} // namespace moru::dialogs
