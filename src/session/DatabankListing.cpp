#include "session/DatabankListing.h"

#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "session/Session.h"

namespace moru::session {

using namespace moru::service;

namespace {

// A field that is missing or holds only white space reaches the host as a null pointer.
std::optional<std::string_view> FieldText(const std::optional<std::string>& field)
{
    if (!field || platform::IsBlank(*field)) return std::nullopt;
    return *field;
}

// Walks every databank of every database in collection order, entering each in the catalogue.
// `visit` receives the database, the databank's report with its names and access settings, the
// databank and a reader of its reaction count.
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
            // A database whose databanks cannot be had is passed over.
            platform::NoteCaught("the databanks of ", database->Alias(), " could not be read: ");
            continue;
        }
        const int viewerAccess = database->GetDatabaseAccessSetting("ZRVIEWER") ? 1 : 0;
        const int simulatorAccess = database->GetDatabaseAccessSetting("ZRSIMULATOR") ? 1 : 0;

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
            DatabankReport report;
            report.databankName = databank->Name();
            report.databaseAlias = database->Alias();
            report.simulatorAccess = simulatorAccess;
            report.viewerAccess = viewerAccess;
            visit(*database, report, *databank, reactionCount);
        }
    }
}

// Gives the databank's binary parameters to the sink; returns how many were given.
int ReportBinaryParameters(const IDatabase& database, const IDatabank& databank, const DatabankReport& report,
                           const BinaryParameterSink& onBinaryParameter)
{
    int count = 0;
    if (!onBinaryParameter) return 0;
    try {
        auto sundry = database.SundryDataManager();
        if (!sundry) return 0;
        auto info =
            std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(sundry->GetItem(databank.Name()));
        if (!info || !info->ParameterInfoList) return 0;
        for (const auto& item : *info->ParameterInfoList) {
            try {
                auto entry = std::dynamic_pointer_cast<GammaModelParameterInformation>(item);
                if (!entry) continue;
                if (!entry->ParameterName || platform::IsBlank(*entry->ParameterName)) continue;
                onBinaryParameter(BinaryParameterReport{report.databaseAlias, report.databankName,
                                                        *entry->ParameterName, FieldText(entry->GammaModelName),
                                                        FieldText(entry->VaporModelName)});
                ++count;
            } catch (...) {
                // A failure with one entry skips that entry.
                platform::NoteCaught("a binary parameter of ", report.databaseAlias, ".", report.databankName,
                                     " was skipped: ");
            }
        }
    } catch (...) {
        // The parameters reported so far stand.
        platform::NoteCaught("the binary parameters of ", report.databaseAlias, ".", report.databankName,
                             " could not be read: ");
    }
    return count;
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
        // Unreadable pure information reads as absent.
        platform::NoteCaught("the pure information of ", databank.Name(), " could not be read: ");
        return nullptr;
    }
}

void ListDatabanks(const DatabankSink& onDatabank, const BinaryParameterSink& onBinaryParameter)
{
    auto& session = MoruGUIDataFunctions::Instance();
    WalkDatabanks(
        session, true,
        [&](const IDatabase& database, DatabankReport& report, const IDatabank& databank, const auto& reactionCount) {
            report.baseDatabankName = databank.BaseDatabankName();
            // The report's texts view the pure information: it is held until the sink has run.
            const auto pure = HasPureParameterInfo(database, databank);
            if (pure) {
                report.pureInfoPresent = 1;
                report.password = FieldText(pure->Password);
                report.displayName = FieldText(pure->DisplayNameMM);
                report.product = FieldText(pure->Product);
                report.databankType = FieldText(pure->DatabankType);
                report.prompt = FieldText(pure->PromptMM);
                report.helpFileName = FieldText(pure->HelpFileName);
                report.helpCode = pure->HelpCode;
            }
            report.binaryParameterCount = ReportBinaryParameters(database, databank, report, onBinaryParameter);
            report.reactionCount = reactionCount();
            onDatabank(report);
        });
}

void ListDatabankNames(const DatabankSink& onDatabank)
{
    auto& session = MoruGUIDataFunctions::Instance();
    WalkDatabanks(session, false, [&](const IDatabase&, const DatabankReport& report, const IDatabank&, const auto&) {
        onDatabank(report);
    });
}

} // namespace moru::session
