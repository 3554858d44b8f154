#include "session/DatabankListing.h"

#include "interop/HostText.h"
#include "platform/Text.h"
#include "session/Session.h"

namespace moru::session {

namespace {

// A field that is missing or holds only white space reaches the host as a null pointer.
interop::CallbackText FieldText(const std::optional<std::string>& field)
{
    if (!field || platform::IsBlank(*field)) return interop::CallbackText();
    return interop::CallbackText(std::string_view(*field));
}

struct AccessSettings {
    int viewer = 0;
    int simulator = 0;
};

AccessSettings ReadAccessSettings(const IDatabase& database)
{
    AccessSettings access;
    access.viewer = database.GetDatabaseAccessSetting("ZRVIEWER") ? 1 : 0;
    access.simulator = database.GetDatabaseAccessSetting("ZRSIMULATOR") ? 1 : 0;
    return access;
}

// The arguments of one databank-info callback, in the host's order.
struct DatabankInfo {
    interop::CallbackText databankName, databaseAlias, password, displayName, baseDatabankName, helpFileName;
    int helpCode = 0;
    interop::CallbackText product, databankType, prompt;
    int pureInfoPresent = 0, binaryParameterCount = 0, reactionCount = 0;
};

void ReportDatabank(void* callback, int displayFlag, const DatabankInfo& info, const AccessSettings& access)
{
    if (displayFlag != 0) {
        reinterpret_cast<MoruDatabankInfoWithAccessCallback>(callback)(
            info.databankName.get(), info.databaseAlias.get(), info.password.get(), info.displayName.get(),
            info.baseDatabankName.get(), info.helpFileName.get(), info.helpCode, info.product.get(),
            info.databankType.get(), info.prompt.get(), info.pureInfoPresent, info.binaryParameterCount,
            info.reactionCount, access.simulator, access.viewer);
    } else {
        reinterpret_cast<MoruDatabankInfoCallback>(callback)(
            info.databankName.get(), info.databaseAlias.get(), info.password.get(), info.displayName.get(),
            info.baseDatabankName.get(), info.helpFileName.get(), info.helpCode, info.product.get(),
            info.databankType.get(), info.prompt.get(), info.pureInfoPresent, info.binaryParameterCount,
            info.reactionCount);
    }
}

// Walks every databank of every database in collection order, entering each in the catalogue.
// `visit` receives the database, its access settings, the databank and a reader of its reaction count.
template <class Visit>
void WalkDatabanks(MoruGUIDataFunctions& session, bool readReactionTotals, Visit visit)
{
    auto& databases = session.Databases();
    for (int d = 0; d < databases.Count(); ++d) {
        const DatabasePtr database = databases.At(d);
        if (!database) continue;
        DatabankCollectionPtr databanks;
        try {
            databanks = database->EnumerateDatabanks();
        } catch (...) {
            continue; // a database whose databanks cannot be had is passed over
        }
        const AccessSettings access = ReadAccessSettings(*database);

        std::shared_ptr<IReactionManager> reactions;
        int reactionTotal = 0;
        if (readReactionTotals && database->DatabaseVersion() != kVersionWithoutReactions) {
            reactions = database->ReactionManager();
            if (reactions) reactionTotal = reactions->GetAllReactionsCount(nullptr);
        }
        if (!databanks) continue;
        // The walk reads the collection by index as it stands; a copy keeps it stable if the
        // catalogue and the database share one collection.
        const std::vector<DatabankPtr> items = databanks->Items();
        for (const auto& databank : items) {
            if (!databank) continue;
            session.Catalogue().Add(databank);
            // Asked only when the host is about to receive it, after the databank's other lookups.
            const auto reactionCount = [&] {
                return (reactions && reactionTotal != 0) ? reactions->GetAllReactionsCount(databank.get()) : 0;
            };
            visit(*database, access, *databank, reactionCount);
        }
    }
}

} // namespace

std::shared_ptr<PureDatabankInfoObject> HasPureParameterInfo(const IDatabase& database, const IDatabank& databank)
{
    try {
        auto sundry = database.SundryDataManager();
        if (!sundry) return nullptr;
        return std::dynamic_pointer_cast<PureDatabankInfoObject>(
            sundry->GetItem(PureDatabankInfoObject::GetSundryDataTableEntryName(databank.Name())));
    } catch (...) {
        return nullptr; // unreadable pure information reads as absent
    }
}

int SetBinaryParameterInfo(const IDatabase& database, const IDatabank& databank,
                           MoruBinaryParameterInfoCallback callback, const char* databaseAlias,
                           const char* databankName)
{
    int count = 0;
    if (!callback) return 0;
    try {
        auto sundry = database.SundryDataManager();
        if (!sundry) return 0;
        auto info = std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(
            sundry->GetItem(databank.Name()));
        if (!info || !info->ParameterInfoList) return 0;
        for (const auto& item : *info->ParameterInfoList) {
            try {
                auto entry = std::dynamic_pointer_cast<GammaModelParameterInformation>(item);
                if (!entry) continue;
                if (!entry->ParameterName || platform::IsBlank(*entry->ParameterName)) continue;
                const interop::CallbackText parameterName(std::string_view(*entry->ParameterName));
                const interop::CallbackText gammaModel = FieldText(entry->GammaModelName);
                const interop::CallbackText vaporModel = FieldText(entry->VaporModelName);
                callback(databaseAlias, databankName, parameterName.get(), gammaModel.get(), vaporModel.get());
                ++count;
            } catch (...) {
                // a failure with one entry skips that entry
            }
        }
    } catch (...) {
        // the callbacks made so far stand
    }
    return count;
}

bool FillDatabankList(void* callbackFnAddDatabankInfo, void* /*callbackFnAddPureParameterInfo*/,
                      void* callbackFnAddBinaryDatabankInfo, int displayFlag)
{
    // The pure information travels in the databank-info callback; the pure-parameter callback
    // is accepted for compatibility and never called.
    if (!callbackFnAddDatabankInfo) return false;
    auto binaryCallback = reinterpret_cast<MoruBinaryParameterInfoCallback>(callbackFnAddBinaryDatabankInfo);
    auto& session = MoruGUIDataFunctions::Instance();
    WalkDatabanks(session, true, [&](const IDatabase& database, const AccessSettings& access,
                                     const IDatabank& databank, const auto& reactionCount) {
        DatabankInfo info;
        info.databankName = interop::CallbackText(std::string_view(databank.Name()));
        info.databaseAlias = interop::CallbackText(std::string_view(database.Alias()));
        const auto baseName = databank.BaseDatabankName();
        info.baseDatabankName = baseName ? interop::CallbackText(std::string_view(*baseName)) : interop::CallbackText();
        if (auto pure = HasPureParameterInfo(database, databank)) {
            info.pureInfoPresent = 1;
            info.password = FieldText(pure->Password);
            info.displayName = FieldText(pure->DisplayNameMM);
            info.product = FieldText(pure->Product);
            info.databankType = FieldText(pure->DatabankType);
            info.prompt = FieldText(pure->PromptMM);
            info.helpFileName = FieldText(pure->HelpFileName);
            info.helpCode = pure->HelpCode;
        }
        info.binaryParameterCount = SetBinaryParameterInfo(database, databank, binaryCallback,
                                                           info.databaseAlias.get(), info.databankName.get());
        info.reactionCount = reactionCount();
        ReportDatabank(callbackFnAddDatabankInfo, displayFlag, info, access);
    });
    return true;
}

bool FillDatabankList_Vanta(void* callbackFnAddDatabankInfo, int displayFlag)
{
    if (!callbackFnAddDatabankInfo) return false;
    auto& session = MoruGUIDataFunctions::Instance();
    WalkDatabanks(session, false, [&](const IDatabase& database, const AccessSettings& access,
                                      const IDatabank& databank, const auto& /*reactionCount*/) {
        DatabankInfo info;
        info.databankName = interop::CallbackText(std::string_view(databank.Name()));
        info.databaseAlias = interop::CallbackText(std::string_view(database.Alias()));
        ReportDatabank(callbackFnAddDatabankInfo, displayFlag, info, access);
    });
    return true;
}

} // namespace moru::session
