#include "MoruIntegration.h"

#include "api/Contain.h"
#include "dialogs/NistTab.h"
#include "interop/HostArrays.h"
#include "interop/HostText.h"

using namespace moru;
using interop::FromHost;
using interop::ReadHostNumbers;

namespace {
// The host's action callback as the tab calls it; the texts are in host bytes and valid during the
// call. Empty when the host gave none.
dialogs::ActionCallback HostActions(MoruNISTPropInfoCallback callback)
{
    if (!callback) return {};
    return [callback](const dialogs::ActionCall& call) {
        const interop::CallbackText title(call.windowTitle), name(call.propName), tab(call.tabName), text(call.text);
        callback(title.get(), name.get(), tab.get(), call.iHelpCode, call.value1, call.value2, call.intValue,
                 call.value3, text.get());
    };
}

dialogs::WindowNames ReadWindowNames(const char* className, const char* windowName, const char* className2,
                                     const char* windowName2, const char* className3, const char* windowName3,
                                     const char* className4, const char* windowName4)
{
    return {FromHost(className),  FromHost(windowName),  FromHost(className2), FromHost(windowName2),
            FromHost(className3), FromHost(windowName3), FromHost(className4), FromHost(windowName4)};
}
} // namespace

MORU_API void MORU_CALL LaunchNISTTab(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                      const char* windowName, const char* className2, const char* windowName2,
                                      const char* className3, const char* windowName3, const char* className4,
                                      const char* windowName4)
{
    api::Contain(MORU_ARGUMENTS(fnCallBackPropInfo, className, windowName, className2, windowName2, className3,
                                windowName3, className4, windowName4),
                 [&] {
                     dialogs::LaunchNISTTabWrapper(HostActions(fnCallBackPropInfo),
                                                   ReadWindowNames(className, windowName, className2, windowName2,
                                                                   className3, windowName3, className4, windowName4));
                 });
}

MORU_API void MORU_CALL LaunchNISTMixTab(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                         const char* windowName, const char* className2, const char* windowName2,
                                         const char* className3, const char* windowName3, const char* className4,
                                         const char* windowName4)
{
    api::Contain(MORU_ARGUMENTS(fnCallBackPropInfo, className, windowName, className2, windowName2, className3,
                                windowName3, className4, windowName4),
                 [&] {
                     dialogs::LaunchNISTMixTabWrapper(HostActions(fnCallBackPropInfo),
                                                      ReadWindowNames(className, windowName, className2, windowName2,
                                                                      className3, windowName3, className4,
                                                                      windowName4));
                 });
}

MORU_API void MORU_CALL PushCitation(const char* desPara, const char* citationIndex, const char* citation)
{
    api::Contain(MORU_ARGUMENTS(desPara, citationIndex, citation),
                 [&] { dialogs::PushPropCitation(FromHost(desPara), FromHost(citationIndex), FromHost(citation)); });
}

MORU_API void MORU_CALL PushReevalBack(int TDERevalTpoint, const double* reevalx, const double* reevaly)
{
    api::Contain(MORU_ARGUMENTS(TDERevalTpoint, reevalx, reevaly), [&] {
        const int length = dialogs::ReevalListLength(TDERevalTpoint);
        dialogs::PushPropReevalBack(TDERevalTpoint, ReadHostNumbers(reevalx, length), ReadHostNumbers(reevaly, length));
    });
}

MORU_API void MORU_CALL PushFittingBack(int Fitting, const char* desProp, int numExpMix, const double* CalValue,
                                        const double* CalX1, const double* CalTemp, const double* CalPres)
{
    api::Contain(MORU_ARGUMENTS(Fitting, desProp, numExpMix, CalValue, CalX1, CalTemp, CalPres), [&] {
        const auto lengths = dialogs::FittingListLengths(Fitting, numExpMix);
        dialogs::PushPropFittingBack(Fitting, FromHost(desProp), numExpMix, ReadHostNumbers(CalValue, lengths[0]),
                                     ReadHostNumbers(CalX1, lengths[1]), ReadHostNumbers(CalTemp, lengths[2]),
                                     ReadHostNumbers(CalPres, lengths[3]));
    });
}

MORU_API void MORU_CALL PushConsistencyTestBack(const char* desProp, double t0VLEQuality, const double* t1Herington,
                                                const double* t2VanNess, const double* t3Point,
                                                const double* t4Infinite)
{
    api::Contain(MORU_ARGUMENTS(desProp, t0VLEQuality, t1Herington, t2VanNess, t3Point, t4Infinite), [&] {
        const auto& lengths = dialogs::kConsistencyListLengths;
        dialogs::PushPropConsistencyTestBack(FromHost(desProp), t0VLEQuality, ReadHostNumbers(t1Herington, lengths[0]),
                                             ReadHostNumbers(t2VanNess, lengths[1]),
                                             ReadHostNumbers(t3Point, lengths[2]),
                                             ReadHostNumbers(t4Infinite, lengths[3]));
    });
}

MORU_API void MORU_CALL PushDRSDefaultPropertyBack(const char* DRSDefaultProperty)
{
    api::Contain(MORU_ARGUMENTS(DRSDefaultProperty),
                 [&] { dialogs::PushPropDRSDefaultPropertyBack(FromHost(DRSDefaultProperty)); });
}

MORU_API void MORU_CALL TEDResultFormResize(double x, double y)
{
    api::Contain(MORU_ARGUMENTS(x, y), [&] { dialogs::MoruTEDResultFormResize(x, y); });
}

MORU_API void MORU_CALL ForceClose(void)
{
    api::Contain([] { dialogs::ForceCloseTDE(); });
}
