#pragma once

// The interfaces of the compound dialog component: the dialog boxes it shows, and the launcher
// objects through which the library lets those dialogs talk back to the host.
//
// The component may show a dialog modally (creating it runs the dialog and its message loop and
// returns when the user closes it) or modelessly (creating it returns at once and the launchers
// are called later, on the thread of the component's choice). The library supports both: a
// launcher holds everything it needs and belongs to the component once the dialog is created.

#include "service/Database.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace moru::service {

// ---- The find-compounds dialog ----------------------------------------------------------------

// A compound that the user added in the find dialog. Any read may fail (throw); the library then
// skips the entry.
class IDbankCompound {
public:
    virtual ~IDbankCompound() = default;
    virtual std::string DatabankName() const = 0; // "ALIAS.BANK"
    virtual std::string OrvikAlias() const = 0;
    virtual std::string OrvikName() const = 0;
    virtual std::string CASnumber() const = 0;
    virtual std::string CompoundClass() const = 0;
    virtual std::string MatchedSynonym() const = 0;
    virtual double MolecularWeight() const = 0;
    virtual double BoilingPoint() const = 0;
    virtual CompoundPtr Compound() const = 0; // may be null
};
// An entry that is not a compound is null.
using AddedCompounds = std::vector<std::shared_ptr<IDbankCompound>>;

// Implemented by the library; called by the find dialog while it is open. Operations never throw.
class IFindCompoundLauncher {
public:
    virtual ~IFindCompoundLauncher() = default;
    virtual std::string GetInitialSearchString() = 0;
    // A list when the user adds compounds; nullopt when the user asks for help.
    virtual void CompoundsAdded(const std::optional<AddedCompounds>& addedCompounds) = 0;
    virtual bool CanModifyDatabankLists() = 0;
    virtual bool CanShowDatabanksTab() = 0;
    // The launcher's own collections, not copies.
    virtual DatabankCollectionPtr GetSelectedDatabanks() = 0;
    // The user's selection; null stands for none given.
    virtual void SetSelectedDatabanks(const DatabankCollectionPtr& databanks) = 0;
    virtual DatabankCollectionPtr GetAvailableDatabanks() = 0;
    virtual void SetAvailableDatabanks(const DatabankCollectionPtr& databanks) = 0;
    virtual bool FilterEnabled() = 0;
    // The dialog's database: storage only, null until the dialog sets one.
    virtual DatabasePtr Database() = 0;
    virtual void Database(DatabasePtr database) = 0;
};

// ---- Records staged for the NIST dialog ---------------------------------------------------------

// A list of the record that the host did not give is absent (nullopt), never empty.
template <class Element>
using OptionalList = std::optional<std::vector<Element>>;

// One property of a pure compound, with its experimental, evaluated and calculated points.
struct MoruNISTPropValue {
    std::string propName;
    std::string modelName;
    std::string desProp;
    std::string desPara;
    std::int32_t propVariables = 0;
    std::string var1Name;
    std::string var2Name;
    std::string propUnit;
    std::int32_t propNum = 0;
    std::vector<double> propValues;
    double propUncertainty = 0.0;
    std::int32_t expNum = 0;
    OptionalList<double> expValues, expValues1, expValues2, expUncertainty;
    OptionalList<std::int32_t> expStatus;
    OptionalList<std::string> expCitation;
    std::int32_t evalNum = 0;
    OptionalList<double> evalValues, evalValues1, evalValues2, evalUncertainty;
    OptionalList<std::int32_t> evalStatus;
    OptionalList<std::string> evalCitation;
    std::int32_t calcNum = 0;
    OptionalList<double> calcValues, calcValues1, calcValues2;
    OptionalList<std::string> elemUnit;
    std::string DipFamily;
    std::string DipSubgrp;
};

// One property of a mixture of two compounds, with its experimental points.
struct MoruNISTMixPropValue {
    std::string desProp;
    std::string PropNameIdx;
    std::string PhaseVarIdx;
    std::string authorIdx;
    std::int32_t expNumMix = 0;
    OptionalList<double> expValues, expX1, expTemp, expPres, expUncer, unc_x1, unc_T, unc_P;
    OptionalList<std::int32_t> expAcc;
    std::int32_t nVar = 0;
    std::string TheCitation;
    std::string propUnit;
    std::string Datayear;
    std::string DataTrange;
    std::string DataPrange;
    std::string desPropShort;
    bool IsFromDataSetForm = false;
};

// Shared lists: a dialog that holds one sees later changes to it.
using NISTPropList = std::vector<MoruNISTPropValue>;
using NISTMixPropList = std::vector<MoruNISTMixPropValue>;
using NISTPropListPtr = std::shared_ptr<NISTPropList>;
using NISTMixPropListPtr = std::shared_ptr<NISTMixPropList>;

// ---- The NIST dialog ---------------------------------------------------------------------------

// A value the NIST dialog passes with a user action: none, a text, a number or a whole number.
using DialogValue = std::variant<std::monostate, std::string, double, std::int32_t>;

// Implemented by the library; called by the NIST dialog (and by the find dialog opened with two
// launchers) while it is open. Operations never throw. An absent text is nullopt.
class INISTDataLauncher {
public:
    virtual ~INISTDataLauncher() = default;
    virtual std::optional<std::string> GetCompoundName() = 0;
    virtual std::optional<std::string> GetCompoundName2() = 0;
    virtual std::int32_t GetNumberOfCompound() = 0;
    // Out-parameters: a launcher without lists leaves them as the caller set them.
    virtual void GetNISTPropList(NISTPropListPtr& list) = 0;
    virtual void GetNISTMixPropList(NISTMixPropListPtr& list) = 0;
    // A user action. A property name that is not a text is nullopt.
    virtual void ButtonClicked(const std::string& windowTitle, const std::vector<std::optional<std::string>>& propNames,
                               const std::string& tabName, const std::vector<DialogValue>& TDEReevalT,
                               std::int32_t iHelpCode) = 0;
    virtual std::optional<std::string> GetClassName() = 0;
    virtual std::optional<std::string> GetWindowName() = 0;
    virtual std::optional<std::string> GetClassName2() = 0;
    virtual std::optional<std::string> GetWindowName2() = 0;
    virtual std::optional<std::string> GetClassName3() = 0;
    virtual std::optional<std::string> GetWindowName3() = 0;
    virtual std::optional<std::string> GetClassName4() = 0;
    virtual std::optional<std::string> GetWindowName4() = 0;
    virtual void MoruTEDResultFormResize(double x, double y) = 0;
};

// A NIST dialog box; an absent list stands for data the host did not give.
class IDbankCompoundDialogBox {
public:
    virtual ~IDbankCompoundDialogBox() = default;
    virtual void LaunchNISTDialog() = 0;
    virtual void LaunchNISTMixDialog() = 0;
    virtual void PushParaCitation(const std::string& desPara, const std::string& citationIndex,
                                  const std::string& citation) = 0;
    virtual void PushParaReeval(std::int32_t TDERevalTpoint, const OptionalList<double>& reevalx,
                                const OptionalList<double>& reevaly) = 0;
    virtual void PushParaFitting(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                                 const OptionalList<double>& CalValue, const OptionalList<double>& CalX1,
                                 const OptionalList<double>& CalTemp, const OptionalList<double>& CalPres) = 0;
    virtual void PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                             const OptionalList<double>& t1Herington,
                                             const OptionalList<double>& t2VanNess, const OptionalList<double>& t3Point,
                                             const OptionalList<double>& t4Infinite) = 0;
    virtual void PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty) = 0;
    virtual void MoruTEDResultFormResize(double x, double y) = 0;
    virtual void OnCloseTDEDialog() = 0;
};
using DialogBoxPtr = std::shared_ptr<IDbankCompoundDialogBox>;

// ---- The component -----------------------------------------------------------------------------

// Creates the dialog boxes. Creation throws when the box cannot be made.
class IDialogComponent {
public:
    virtual ~IDialogComponent() = default;
    // The find-compounds dialog on one launcher (`nistLauncher` null) or on two. Creating it is
    // the whole launch; the component keeps the launchers for as long as it may call them.
    virtual void CreateDbankCompoundDialogBox(std::shared_ptr<IFindCompoundLauncher> findLauncher,
                                              std::shared_ptr<INISTDataLauncher> nistLauncher) = 0;
    // The NIST dialog box; it shows nothing until LaunchNISTDialog or LaunchNISTMixDialog.
    virtual DialogBoxPtr CreateNISTDbankCompoundDialogBox(std::shared_ptr<INISTDataLauncher> nistLauncher) = 0;
};

// Defined by the dialog component that the library is linked with.
std::shared_ptr<IDialogComponent> CreateDefaultDialogComponent();

// ---- Application settings of the database service -----------------------------------------------

class MoruApplication {
public:
    virtual ~MoruApplication() = default;
    // Switches the service into KELDA mode; nothing switches it back.
    virtual void SetKELDA() { m_kelda = true; }
    bool IsKELDA() const { return m_kelda; }

private:
    bool m_kelda = false;
};

} // namespace moru::service
