#include "MoruIntegration.h"

#include "api/Contain.h"
#include "dialogs/FindDialog.h"
#include "interop/HostText.h"

using namespace moru;

namespace {

// A launch with the full added-compound callback and the host's window names.
dialogs::FindDialogLaunch WindowLaunch(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                       MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                       MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                       const char* initialSearchString, const char* className, const char* windowName)
{
    dialogs::FindDialogLaunch launch;
    launch.addCompoundFull = fnAddCompoundCallback;
    launch.enumSelectedDatabanks = fnEnumSelectedDbanks;
    launch.setDatabanks = fnSetDbanks;
    launch.replaceRow = nReplaceRow;
    launch.initialSearchString = interop::FromHost(initialSearchString);
    launch.className = interop::FromHost(className);
    launch.windowName = interop::FromHost(windowName);
    launch.withNistLauncher = true;
    return launch;
}

} // namespace

MORU_API void MORU_CALL LaunchFindDialog(MoruAddCompoundCallback fnAddCompoundCallback,
                                         MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                         MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                         const char* initialSearchString)
{
    api::Contain(MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow, initialSearchString), [&] {
        dialogs::FindDialogLaunch launch;
        launch.addCompoundShort = fnAddCompoundCallback;
        launch.enumSelectedDatabanks = fnEnumSelectedDbanks;
        launch.setDatabanks = fnSetDbanks;
        launch.replaceRow = nReplaceRow;
        launch.initialSearchString = interop::FromHost(initialSearchString);
        dialogs::LaunchFindDialogWrapper(launch);
    });
}

MORU_API void MORU_CALL LaunchFindDialogWithWindowName(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                       MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                       MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                       const char* initialSearchString, const char* className,
                                                       const char* windowName)
{
    api::Contain(MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow, initialSearchString, className, windowName), [&] {
        auto launch = WindowLaunch(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow,
                                   initialSearchString, className, windowName);
        dialogs::LaunchFindDialogWrapper(launch);
    });
}

MORU_API void MORU_CALL LaunchFindDialogWithKELDA(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                  MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                  MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                  const char* initialSearchString, const char* className,
                                                  const char* windowName, MoruHelpIdCallback fnHtmlHelpIDCallback)
{
    api::Contain(MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow, initialSearchString, className, windowName, fnHtmlHelpIDCallback), [&] {
        auto launch = WindowLaunch(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow,
                                   initialSearchString, className, windowName);
        launch.helpCallback = fnHtmlHelpIDCallback;
        launch.kelda = true;
        dialogs::LaunchFindDialogWrapper(launch);
    });
}
