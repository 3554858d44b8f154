#include "dialogs/NistTab.h"

#include "dialogs/TdeStaging.h"
#include "platform/Diagnostics.h"
#include "service/Factory.h"

#include <cmath>
#include <limits>

namespace moru::dialogs {

namespace {

bool InRange(std::int32_t code, std::int32_t first, std::int32_t last) { return code >= first && code <= last; }

std::optional<double> AsNumber(const service::DialogValue& value)
{
    if (const auto* number = std::get_if<double>(&value)) return *number;
    if (const auto* whole = std::get_if<std::int32_t>(&value)) return static_cast<double>(*whole);
    return std::nullopt;
}

// A whole number, or a number without a fraction that an int32 holds.
std::optional<std::int32_t> AsWholeNumber(const service::DialogValue& value)
{
    if (const auto* whole = std::get_if<std::int32_t>(&value)) return *whole;
    if (const auto* number = std::get_if<double>(&value)) {
        if (std::trunc(*number) == *number && *number >= std::numeric_limits<std::int32_t>::min() &&
            *number <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(*number);
    }
    return std::nullopt;
}

std::optional<std::string> AsText(const service::DialogValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    return std::nullopt;
}

ActionCall Call(std::string windowTitle, std::optional<std::string> propName, std::string tabName, std::int32_t code,
                std::optional<std::string> text = std::string())
{
    ActionCall call;
    call.windowTitle = std::move(windowTitle);
    call.propName = std::move(propName);
    call.tabName = std::move(tabName);
    call.iHelpCode = code;
    // The host reads the text of every call: a value that is not text, or a name the dialog did not
    // give, arrives as an empty text, never as null.
    call.text = std::move(text).value_or(std::string());
    return call;
}

} // namespace

std::vector<ActionCall> ActionSeries(const std::string& windowTitle,
                                     const std::vector<std::optional<std::string>>& propNames,
                                     const std::string& tabName, const std::vector<service::DialogValue>& TDEReevalT,
                                     std::int32_t iHelpCode)
{
    const std::int32_t c = iHelpCode;
    const auto& W = windowTitle;
    const auto& T = tabName;
    const auto& R = TDEReevalT;
    std::vector<ActionCall> series;

    if (c == 5 || c == 6 || c == 7 || c == 151 || c == 153 || c == -999) {
        series.push_back(Call("", std::string(), "", c));
    } else if (c == 8) {
        if (propNames.size() < 2 || R.size() < 4) return {};
        const auto value1 = AsNumber(R[0]), value2 = AsNumber(R[1]), value3 = AsNumber(R[3]);
        const auto intValue = AsWholeNumber(R[2]);
        if (!value1 || !value2 || !value3 || !intValue) return {};
        auto call = Call("", propNames[0], "", 8, propNames[1]);
        call.value1 = *value1;
        call.value2 = *value2;
        call.intValue = *intValue;
        call.value3 = *value3;
        series.push_back(std::move(call));
    } else if (c == 102 || c == 103) {
        if (R.size() < propNames.size()) return {};
        for (std::size_t i = 0; i < propNames.size(); ++i) series.push_back(Call("", propNames[i], T, c, AsText(R[i])));
        series.push_back(Call(W, std::string(), "", 999));
    } else if (InRange(c, 104, 119) || c == 160 || InRange(c, 171, 175)) {
        for (const auto& name : propNames) series.push_back(Call("", name, T, c));
        series.push_back(Call(W, std::string(), "", 999));
    } else if (c == 150 || c == 152) {
        if (R.size() < propNames.size() + 2) return {};
        for (std::size_t i = 0; i < propNames.size(); ++i)
            series.push_back(Call("", propNames[i], T, c, AsText(R[i + 2])));
        for (std::size_t k = 0; k < 2; ++k) series.push_back(Call("", std::string("ParameterSet"), T, c, AsText(R[k])));
        series.push_back(Call(W, std::string(), "", 999));
    } else if (InRange(c, 121, 139)) {
        for (const auto& name : propNames) series.push_back(Call("", name, T, c));
        for (const auto& value : R) series.push_back(Call("", std::string("ParameterSet"), T, c, AsText(value)));
        series.push_back(Call(W, std::string(), "", 999));
    } else if (c == 4) {
        for (const auto& name : propNames) series.push_back(Call(W, name, T, 4));
        series.push_back(Call("", std::string(), "", 0));
    } else {
        for (const auto& name : propNames) series.push_back(Call("", name, T, c));
        series.push_back(Call(W, std::string(), "", 0));
    }
    return series;
}

MoruNISTTabWrapper::MoruNISTTabWrapper(ActionCallback callback, const WindowNames& names, int nComp)
    : m_nComp(nComp), m_fnCallBackPropInfo(std::move(callback)), m_names(names)
{
    auto& store = MoruNISTDataFunctions::Instance();
    if (nComp == 1) {
        m_NISTPropList = store.GetNISTPropList();
        m_compName = store.GetCompoundName();
    } else {
        m_NISTMixPropList = store.GetNISTMixPropList();
        m_compName = store.GetMixCompoundName();
        m_compName2 = store.GetMixCompoundName2();
    }
}

void MoruNISTTabWrapper::ButtonClicked(const std::string& windowTitle,
                                       const std::vector<std::optional<std::string>>& propNames,
                                       const std::string& tabName, const std::vector<service::DialogValue>& TDEReevalT,
                                       std::int32_t iHelpCode)
{
    // The component calls this outside any export: nothing may escape into it.
    try {
        if (!m_fnCallBackPropInfo) return;
        for (const auto& call : ActionSeries(windowTitle, propNames, tabName, TDEReevalT, iHelpCode))
            m_fnCallBackPropInfo(call);
    } catch (...) {
        platform::NoteCaught("passing the action of code " + std::to_string(iHelpCode) + " to the host failed", ": ");
    }
}

namespace {
void LaunchTab(ActionCallback callback, const WindowNames& names, int nComp)
{
    auto launcher = std::make_shared<MoruNISTTabWrapper>(std::move(callback), names, nComp);
    auto box = service::GetServiceFactory().DialogComponent().CreateNISTDbankCompoundDialogBox(launcher);
    if (!box) {
        platform::NoteFailure("the dialog component created no NIST dialog");
        return;
    }
    MoruNISTDataFunctions::Instance().SetDBox(box);
    if (nComp == 1) box->LaunchNISTDialog();
    else box->LaunchNISTMixDialog();
}

// A copy of the pointer: a push-back that opens another tab cannot pull the box from under the call.
// Null, noting why, before any tab has been opened.
service::DialogBoxPtr RegisteredBox()
{
    service::DialogBoxPtr box = MoruNISTDataFunctions::Instance().GetDBox();
    if (!box) platform::NoteFailure("no NIST tab has been opened");
    return box;
}
} // namespace

void LaunchNISTTabWrapper(ActionCallback callback, const WindowNames& names)
{
    LaunchTab(std::move(callback), names, 1);
}
void LaunchNISTMixTabWrapper(ActionCallback callback, const WindowNames& names)
{
    LaunchTab(std::move(callback), names, 2);
}

void PushPropCitation(const std::string& desPara, const std::string& citationIndex, const std::string& citation)
{
    if (const auto box = RegisteredBox()) box->PushParaCitation(desPara, citationIndex, citation);
}

void PushPropReevalBack(std::int32_t TDERevalTpoint, const service::OptionalList<double>& reevalx,
                        const service::OptionalList<double>& reevaly)
{
    if (const auto box = RegisteredBox()) box->PushParaReeval(TDERevalTpoint, reevalx, reevaly);
}

void PushPropFittingBack(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                         const service::OptionalList<double>& CalValue, const service::OptionalList<double>& CalX1,
                         const service::OptionalList<double>& CalTemp, const service::OptionalList<double>& CalPres)
{
    if (const auto box = RegisteredBox())
        box->PushParaFitting(Fitting, desProp, numExpMix, CalValue, CalX1, CalTemp, CalPres);
}

void PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                 const service::OptionalList<double>& t1Herington,
                                 const service::OptionalList<double>& t2VanNess,
                                 const service::OptionalList<double>& t3Point,
                                 const service::OptionalList<double>& t4Infinite)
{
    if (const auto box = RegisteredBox())
        box->PushPropConsistencyTestBack(desProp, t0VLEQuality, t1Herington, t2VanNess, t3Point, t4Infinite);
}

void PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty)
{
    if (const auto box = RegisteredBox()) box->PushPropDRSDefaultPropertyBack(DRSDefaultProperty);
}

void MoruTEDResultFormResize(double x, double y)
{
    if (const auto box = RegisteredBox()) box->MoruTEDResultFormResize(x, y);
}

void ForceCloseTDE()
{
    if (const auto box = RegisteredBox()) box->OnCloseTDEDialog();
}

int ReevalListLength(std::int32_t TDERevalTpoint) { return TDERevalTpoint > 0 ? TDERevalTpoint : 0; }

std::array<int, 4> FittingListLengths(std::int32_t Fitting, std::int32_t numExpMix)
{
    if (numExpMix > 0) return {numExpMix, numExpMix, numExpMix, numExpMix};
    if (Fitting == 2000) return {6, 10, 0, 0};
    return {0, 0, 0, 0};
}

} // namespace moru::dialogs
