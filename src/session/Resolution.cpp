#include "session/Resolution.h"

#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "session/Session.h"

namespace moru::session {

using namespace moru::service;

bool IsOfConnectedDatabase(const IDatabank& databank)
{
    const DatabasePtr database = databank.Database();
    return database && MoruGUIDataFunctions::Instance().Databases().Find(database->Alias()) == database;
}

DatabankPtr GetIDatabankFromDbaseDbank(std::string_view dbaseName, std::string_view dbankName)
{
    DatabankPtr databank = MoruGUIDataFunctions::Instance().FindLiveDatabank(dbaseName, dbankName);
    if (!databank) platform::NoteFailure("databank ", dbaseName, ".", dbankName, " is not listed");
    return databank;
}

std::optional<DatabankPtr> GetIDatabankFromReference(std::string_view reference)
{
    auto& session = MoruGUIDataFunctions::Instance();
    if (DatabankPtr databank = session.FindLiveDatabankAsSpelled(reference)) return databank;
    const auto name = interop::SplitDatabankReference(reference);
    if (!name) return std::nullopt;
    DatabankPtr databank = GetIDatabankFromDbaseDbank(name->databaseAlias, name->databankName);
    if (databank) session.RememberSpelling(reference, databank);
    return databank;
}

DatabankPtr FindDbankByMoniker(std::string_view moniker)
{
    const auto name = interop::SplitMoniker(moniker);
    if (!name) {
        platform::NoteFailure("\"", moniker, "\" is not a databank name of the form ALIAS BANK");
        return nullptr;
    }
    const DatabasePtr database = MoruGUIDataFunctions::Instance().Databases().Find(name->databaseAlias);
    if (!database) {
        platform::NoteFailure("database ", name->databaseAlias, " is not connected");
        return nullptr;
    }
    const DatabankCollectionPtr databanks = database->EnumerateDatabanks();
    DatabankPtr databank = databanks ? databanks->Find(name->databankName) : nullptr;
    if (!databank) platform::NoteFailure("database ", name->databaseAlias, " has no databank ", name->databankName);
    return databank;
}

std::string GetMonikerForDbank(const IDatabank& databank)
{
    const DatabasePtr database = databank.Database();
    return interop::MakeMoniker(database ? database->Alias() : std::string(), databank.Name());
}

bool GetAllDatabanks(DatabankCollection& pDbankList)
{
    auto& session = MoruGUIDataFunctions::Instance();
    if (const auto& selection = session.AvailablePureDatabanks()) {
        for (const auto& databank : selection->Items()) {
            if (databank && IsOfConnectedDatabase(*databank)) pDbankList.Add(databank);
        }
        return true;
    }
    auto& databases = session.Databases();
    for (int d = 0; d < databases.Count(); ++d) {
        const DatabasePtr database = databases.At(d);
        const DatabankCollectionPtr databanks = database ? database->EnumerateDatabanks() : nullptr;
        if (!databanks) continue;
        for (const auto& databank : databanks->Items()) pDbankList.Add(databank);
    }
    return true;
}

void SetPureDatabanks(const std::vector<std::string>& monikers)
{
    auto& session = MoruGUIDataFunctions::Instance();
    auto selection = std::make_shared<DatabankCollection>();
    session.SetAvailablePureDatabanks(selection);
    for (const auto& moniker : monikers) {
        if (auto databank = FindDbankByMoniker(moniker)) selection->Add(std::move(databank));
    }
}

} // namespace moru::session
