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
// The index's key of a databank: folded alias and name, apart. Made in `key`, whose room a lookup
// reuses.
void MakeIndexKey(std::string_view databaseAlias, std::string_view databankName, std::string& key)
{
    key.clear();
    platform::AppendFoldedCase(databaseAlias, key);
    key.push_back('\0');
    platform::AppendFoldedCase(databankName, key);
}
} // namespace

bool MoruGUIDataFunctions::LiveIndexIsCurrent() const
{
    if (m_indexedCount != Catalogue().Count()) return false;
    if (const std::uint64_t revision = Databases().Revision()) return revision == m_indexedRevision;
    const int count = Databases().Count();
    if (count != static_cast<int>(m_indexedDatabases.size())) return false;
    for (int d = 0; d < count; ++d) {
        if (Databases().At(d).get() != m_indexedDatabases[static_cast<std::size_t>(d)]) return false;
    }
    return true;
}

void MoruGUIDataFunctions::MakeLiveIndexCurrent()
{
    if (LiveIndexIsCurrent()) return;
    // Entries listed before an initialisation replaced their database stay in the catalogue but
    // resolve no more; a later listing of the new database follows them.
    m_liveIndex.clear();
    m_spellings.clear();
    m_indexedCount = -1;
    m_indexedDatabases.clear();
    for (const DatabankPtr& databank : Catalogue().Items()) {
        const DatabasePtr database = databank ? databank->Database() : nullptr;
        if (!database || Databases().Find(database->Alias()) != database) continue;
        MakeIndexKey(database->Alias(), databank->Name(), m_lookupKey);
        m_liveIndex.try_emplace(m_lookupKey, databank);
    }
    for (int d = 0; d < Databases().Count(); ++d) m_indexedDatabases.push_back(Databases().At(d).get());
    m_indexedRevision = Databases().Revision();
    m_indexedCount = Catalogue().Count();
}

DatabankPtr MoruGUIDataFunctions::FindLiveDatabank(std::string_view databaseAlias, std::string_view databankName)
{
    MakeLiveIndexCurrent();
    MakeIndexKey(databaseAlias, databankName, m_lookupKey);
    const auto found = m_liveIndex.find(m_lookupKey);
    return found == m_liveIndex.end() ? nullptr : found->second;
}

DatabankPtr MoruGUIDataFunctions::FindLiveDatabankAsSpelled(std::string_view reference)
{
    MakeLiveIndexCurrent();
    const auto found = m_spellings.find(reference);
    return found == m_spellings.end() ? nullptr : found->second;
}

void MoruGUIDataFunctions::RememberSpelling(std::string_view reference, const DatabankPtr& databank)
{
    // Bounded: a host that spells its references ever anew finds the later ones by folding.
    constexpr std::size_t kMostSpellings = 256;
    if (m_spellings.size() < kMostSpellings) m_spellings.try_emplace(std::string(reference), databank);
}

} // namespace moru::session
