#include "session/Session.h"

#include "platform/Text.h"
#include "service/Errors.h"
#include "service/Factory.h"

namespace moru::session {

using namespace moru::service;

MoruGUIDataFunctions::MoruGUIDataFunctions()
    : m_pDbankCollection(std::make_shared<DatabankCollection>()),
      m_pDbaseCollection(GetServiceFactory().CreateDatabaseCollection(m_pDbankCollection)),
      m_pcfi(GetServiceFactory().CreateConfigFileInstaller())
{
    if (!m_pDbaseCollection || !m_pcfi) throw ServiceError("the database service made no database collection");
}

namespace {
std::string IndexKey(std::string_view databaseAlias, std::string_view databankName)
{
    std::string key = platform::FoldCase(databaseAlias);
    key.push_back('\0');
    key += platform::FoldCase(databankName);
    return key;
}
} // namespace

DatabankPtr MoruGUIDataFunctions::FindLiveDatabank(std::string_view databaseAlias, std::string_view databankName)
{
    std::vector<const IDatabase*> connected;
    connected.reserve(static_cast<std::size_t>(Databases().Count()));
    for (int d = 0; d < Databases().Count(); ++d) connected.push_back(Databases().At(d).get());
    if (m_indexedCount != Catalogue().Count() || connected != m_indexedDatabases) {
        // Entries listed before an initialisation replaced their database stay in the catalogue but
        // resolve no more; a later listing of the new database follows them.
        m_liveIndex.clear();
        m_indexedCount = -1;
        for (const DatabankPtr& databank : Catalogue().Items()) {
            const DatabasePtr database = databank ? databank->Database() : nullptr;
            if (!database || Databases().Find(database->Alias()) != database) continue;
            m_liveIndex.try_emplace(IndexKey(database->Alias(), databank->Name()), databank);
        }
        m_indexedDatabases = std::move(connected);
        m_indexedCount = Catalogue().Count();
    }
    const auto found = m_liveIndex.find(IndexKey(databaseAlias, databankName));
    return found == m_liveIndex.end() ? nullptr : found->second;
}

} // namespace moru::session
