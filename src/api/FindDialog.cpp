#include "MoruIntegration.h"

#include "api/Contain.h"
#include "dialogs/FindDialog.h"
#include "interop/HostText.h"

#include <string>
#include <vector>

using namespace moru;

namespace {

// The host's callbacks as the dialog calls them; the texts are in host bytes and valid during the
// call. A callback the host did not give stays empty.
dialogs::AddCompoundShort ShortAdd(MoruAddCompoundCallback callback)
{
    if (!callback) return {};
    return [callback](const std::string& databank, const std::string& alias, int row) {
        const interop::CallbackText databankText(databank), aliasText(alias);
        callback(databankText.get(), aliasText.get(), row);
    };
}

dialogs::AddCompoundFull FullAdd(MoruAddCompoundFullCallback callback)
{
    if (!callback) return {};
    return [callback](const dialogs::AddedCompound& compound, int row) {
        const interop::CallbackText databank(compound.databank), alias(compound.alias), name(compound.name),
            cas(compound.casNumber), compoundClass(compound.compoundClass), synonym(compound.matchedSynonym);
        callback(databank.get(), alias.get(), row, name.get(), cas.get(), compoundClass.get(), synonym.get(),
                 compound.molecularWeight, compound.boilingPoint, compound.compoundId);
    };
}

dialogs::SelectedDatabank Selection(MoruSelectedDatabankCallback callback)
{
    if (!callback) return {};
    return [callback](int index) { return interop::FromHostOptional(callback(index)); };
}

dialogs::SetDatabanks SelectionSetter(MoruSetDatabanksCallback callback)
{
    if (!callback) return {};
    return [callback](const std::vector<std::string>& monikers) {
        std::vector<std::string> hostMonikers;
        hostMonikers.reserve(monikers.size());
        for (const auto& moniker : monikers) hostMonikers.push_back(interop::ToHost(moniker));
        // Ends with a null entry, so that an empty selection still passes an array.
        std::vector<char*> array;
        array.reserve(hostMonikers.size() + 1);
        for (auto& moniker : hostMonikers) array.push_back(moniker.data());
        array.push_back(nullptr);
        callback(array.data(), static_cast<int>(hostMonikers.size()));
    };
}

// A launch with the full added-compound callback and the host's window names.
dialogs::FindDialogLaunch WindowLaunch(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                       MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                       MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                       const char* initialSearchString, const char* className, const char* windowName)
{
    dialogs::FindDialogLaunch launch;
    launch.addCompoundFull = FullAdd(fnAddCompoundCallback);
    launch.enumSelectedDatabanks = Selection(fnEnumSelectedDbanks);
    launch.setDatabanks = SelectionSetter(fnSetDbanks);
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
    api::Contain(
        MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow, initialSearchString),
        [&] {
            dialogs::FindDialogLaunch launch;
            launch.addCompoundShort = ShortAdd(fnAddCompoundCallback);
            launch.enumSelectedDatabanks = Selection(fnEnumSelectedDbanks);
            launch.setDatabanks = SelectionSetter(fnSetDbanks);
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
    api::Contain(MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow,
                                initialSearchString, className, windowName),
                 [&] {
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
    api::Contain(MORU_ARGUMENTS(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow,
                                initialSearchString, className, windowName, fnHtmlHelpIDCallback),
                 [&] {
                     auto launch = WindowLaunch(fnAddCompoundCallback, fnEnumSelectedDbanks, fnSetDbanks, nReplaceRow,
                                                initialSearchString, className, windowName);
                     if (fnHtmlHelpIDCallback) launch.helpCallback = fnHtmlHelpIDCallback;
                     launch.kelda = true;
                     dialogs::LaunchFindDialogWrapper(launch);
                 });
}
