#pragma once

// The NIST tab: the launcher that reports the user's actions to the host, the launch that opens
// the tab over the staged data, and the push-backs that reach the tab opened last.

#include "service/Dialogs.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace moru::dialogs {

// One call of the host's action callback.
struct ActionCall {
    std::string windowTitle;
    std::optional<std::string> propName; // nullopt: a property name that was not a text
    std::string tabName;
    std::int32_t iHelpCode = 0;
    double value1 = 0, value2 = 0;
    std::int32_t intValue = 0;
    double value3 = 0;
    std::optional<std::string> text; // nullopt: a value that was not a text
};

// The series of calls that reports one user action, ending with its closing call; empty when the
// lists are too short for the code or a number is not a number, so that no half series is made.
std::vector<ActionCall> ActionSeries(const std::string& windowTitle,
                                     const std::vector<std::optional<std::string>>& propNames,
                                     const std::string& tabName, const std::vector<service::DialogValue>& TDEReevalT,
                                     std::int32_t iHelpCode);

// The host's action callback, one call at a time.
using ActionCallback = std::function<void(const ActionCall& call)>;

// Class and window names in the order className, windowName, className2, ... windowName4.
using WindowNames = std::array<std::string, 8>;

class MoruNISTTabWrapper : public service::INISTDataLauncher {
public:
    // `nComp` 1 opens the pure tab, 2 the mixture tab, each over the store's data.
    MoruNISTTabWrapper(ActionCallback callback, const WindowNames& names, int nComp);

    std::optional<std::string> GetCompoundName() override { return m_compName; }
    std::optional<std::string> GetCompoundName2() override { return m_compName2; }
    std::int32_t GetNumberOfCompound() override { return m_nComp; }
    void GetNISTPropList(service::NISTPropListPtr& list) override { list = m_NISTPropList; }
    void GetNISTMixPropList(service::NISTMixPropListPtr& list) override { list = m_NISTMixPropList; }
    void ButtonClicked(const std::string& windowTitle, const std::vector<std::optional<std::string>>& propNames,
                       const std::string& tabName, const std::vector<service::DialogValue>& TDEReevalT,
                       std::int32_t iHelpCode) override;
    std::optional<std::string> GetClassName() override { return m_names[0]; }
    std::optional<std::string> GetWindowName() override { return m_names[1]; }
    std::optional<std::string> GetClassName2() override { return m_names[2]; }
    std::optional<std::string> GetWindowName2() override { return m_names[3]; }
    std::optional<std::string> GetClassName3() override { return m_names[4]; }
    std::optional<std::string> GetWindowName3() override { return m_names[5]; }
    std::optional<std::string> GetClassName4() override { return m_names[6]; }
    std::optional<std::string> GetWindowName4() override { return m_names[7]; }
    void MoruTEDResultFormResize(double, double) override {}

private:
    std::int32_t m_nComp;
    service::NISTPropListPtr m_NISTPropList;
    service::NISTMixPropListPtr m_NISTMixPropList;
    ActionCallback m_fnCallBackPropInfo;
    std::optional<std::string> m_compName;
    std::optional<std::string> m_compName2;
    WindowNames m_names;
};

// Creates the launcher and the NIST dialog box, registers the box in the store and opens it.
void LaunchNISTTabWrapper(ActionCallback callback, const WindowNames& names);
void LaunchNISTMixTabWrapper(ActionCallback callback, const WindowNames& names);

// ---- Push-backs: each does nothing until a tab has been opened. ----

void PushPropCitation(const std::string& desPara, const std::string& citationIndex, const std::string& citation);
void PushPropReevalBack(std::int32_t TDERevalTpoint, const service::OptionalList<double>& reevalx,
                        const service::OptionalList<double>& reevaly);
void PushPropFittingBack(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                         const service::OptionalList<double>& CalValue, const service::OptionalList<double>& CalX1,
                         const service::OptionalList<double>& CalTemp, const service::OptionalList<double>& CalPres);
void PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                 const service::OptionalList<double>& t1Herington,
                                 const service::OptionalList<double>& t2VanNess,
                                 const service::OptionalList<double>& t3Point,
                                 const service::OptionalList<double>& t4Infinite);
void PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty);
void MoruTEDResultFormResize(double x, double y);
void ForceCloseTDE();

// How many values each host array of a push-back holds; 0 for an array that is not read.
int ReevalListLength(std::int32_t TDERevalTpoint);
std::array<int, 4> FittingListLengths(std::int32_t Fitting, std::int32_t numExpMix);
inline constexpr std::array<int, 4> kConsistencyListLengths{6, 8, 2, 7};

} // namespace moru::dialogs
