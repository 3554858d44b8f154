#pragma once

// The interfaces of the compound dialog component: the dialogs it shows, and the launcher
// objects through which the library lets those dialogs talk back to the host.

#include "service/Model.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace moru::service {

class IDatabaseCollection;

// A compound that the user added in the find dialog.
struct DbankCompound {
    std::string DatabankName;
    std::string OrvikAlias;
    std::string OrvikName;
    std::string CASnumber;
    std::string CompoundClass;
    std::string MatchedSynonym;
    double MolecularWeight = 0.0;
    double BoilingPoint = 0.0;
    CompoundPtr Compound;
};

// Implemented by the library; called by the find dialog while it is open.
class IFindCompoundLauncher {
public:
    virtual ~IFindCompoundLauncher() = default;
    virtual std::string GetInitialSearchString() = 0;
    // A list when the user adds compounds; nullopt when the user asks for help.
    virtual void CompoundsAdded(const std::optional<std::vector<DbankCompound>>& compounds) = 0;
    virtual bool CanModifyDatabankLists() = 0;
    virtual bool CanShowDatabanksTab() = 0;
    virtual DatabankCollectionPtr GetSelectedDatabanks() = 0;
    virtual void SetSelectedDatabanks(const DatabankCollection& databanks) = 0;
    virtual DatabankCollectionPtr GetAvailableDatabanks() = 0;
    virtual void SetAvailableDatabanks(const DatabankCollection& databanks) = 0;
    virtual bool FilterEnabled() = 0;
    virtual std::shared_ptr<IDatabaseCollection> Database() = 0;
};

// Records handed to the NIST dialog through the launcher's property lists.
struct MoruNISTPropValue {
    std::vector<std::string> Values; // 32 values
};
struct MoruNISTMixPropValue {
    std::vector<std::string> Values; // 22 values
};

// Implemented by the library; called by the NIST dialog while it is open.
class INISTDataLauncher {
public:
    virtual ~INISTDataLauncher() = default;
    virtual std::string GetCompoundName() = 0;
    virtual std::string GetCompoundName2() = 0;
    virtual int GetNumberOfCompound() = 0;
    virtual std::vector<MoruNISTPropValue> GetNISTPropList() = 0;
    virtual std::vector<MoruNISTMixPropValue> GetNISTMixPropList() = 0;
    virtual void ButtonClicked(const std::string& windowTitle, const std::vector<std::string>& propertyNames,
                               const std::string& tabName, const std::vector<std::string>& values,
                               int actionCode) = 0;
    virtual std::string GetClassName() = 0;
    virtual std::string GetWindowName1() = 0;
    virtual std::string GetWindowName2() = 0;
    virtual std::string GetWindowName3() = 0;
    virtual std::string GetWindowName4() = 0;
    virtual void MoruTEDResultFormResize(double width, double height) = 0;
};

// A NIST dialog box; an absent list stands for data the host did not give.
class IDbankCompoundDialogBox {
public:
    virtual ~IDbankCompoundDialogBox() = default;
    virtual void LaunchNISTDialog() = 0;
    virtual void LaunchNISTMixDialog() = 0;
    virtual void PushParaCitation(const std::string& a, const std::string& b, const std::string& c) = 0;
    virtual void PushParaReeval(int code, const std::optional<std::vector<double>>& first,
                                const std::optional<std::vector<double>>& second) = 0;
    virtual void PushParaFitting(int code, const std::string& text, int count,
                                 const std::optional<std::vector<double>>& a, const std::optional<std::vector<double>>& b,
                                 const std::optional<std::vector<double>>& c,
                                 const std::optional<std::vector<double>>& d) = 0;
    virtual void PushPropConsistencyTestBack(const std::string& name, double value,
                                             const std::optional<std::vector<double>>& a,
                                             const std::optional<std::vector<double>>& b,
                                             const std::optional<std::vector<double>>& c,
                                             const std::optional<std::vector<double>>& d) = 0;
    virtual void PushPropDRSDefaultPropertyBack(const std::string& property) = 0;
    virtual void MoruTEDResultFormResize(double width, double height) = 0;
    virtual void OnCloseTDEDialog() = 0;
};

// Creates the dialogs. Creating a find dialog is the whole launch.
class DialogComponent {
public:
    virtual ~DialogComponent() = default;
    virtual void CreateDbankCompoundDialogBox(std::shared_ptr<IFindCompoundLauncher> findLauncher,
                                              std::shared_ptr<INISTDataLauncher> nistLauncher) = 0;
    virtual std::shared_ptr<IDbankCompoundDialogBox>
    CreateNISTDbankCompoundDialogBox(std::shared_ptr<INISTDataLauncher> nistLauncher) = 0;
};

} // namespace moru::service
