#include "MoruIntegration.h"

#include "api/Contain.h"
#include "dialogs/FindDialog.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API void MORU_CALL LaunchFindDialog(MoruAddCompoundCallback fnAddCompoundCallback,
                                         MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                         MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                         const char* initialSearchString)
{
    api::Contain([&] {
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
    api::Contain([&] {
        dialogs::FindDialogLaunch launch;
        launch.addCompoundFull = fnAddCompoundCallback;
        launch.enumSelectedDatabanks = fnEnumSelectedDbanks;
        launch.setDatabanks = fnSetDbanks;
        launch.replaceRow = nReplaceRow;
        launch.initialSearchString = interop::FromHost(initialSearchString);
        launch.className = interop::FromHost(className);
        launch.windowName = interop::FromHost(windowName);
        launch.withNistLauncher = true;
        dialogs::LaunchFindDialogWrapper(launch);
    });
}

MORU_API void MORU_CALL LaunchFindDialogWithKELDA(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                  MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                  MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                  const char* initialSearchString, const char* className,
                                                  const char* windowName, MoruHelpIdCallback fnHtmlHelpIDCallback)
{
    api::Contain([&] {
        dialogs::FindDialogLaunch launch;
        launch.addCompoundFull = fnAddCompoundCallback;
        launch.enumSelectedDatabanks = fnEnumSelectedDbanks;
        launch.setDatabanks = fnSetDbanks;
        launch.replaceRow = nReplaceRow;
        launch.initialSearchString = interop::FromHost(initialSearchString);
        launch.className = interop::FromHost(className);
        launch.windowName = interop::FromHost(windowName);
        launch.helpCallback = fnHtmlHelpIDCallback;
        launch.kelda = true;
        launch.withNistLauncher = true;
        dialogs::LaunchFindDialogWrapper(launch);
    });
}
