#pragma once

// The managers of one SqliteDatabase. Each lives inside its database and refers back to it; the
// database hands them out sharing its own ownership.

#include "Service.h"

#include "service/Contract.h"

namespace moru::sqlite {

using service::kCompoundIndexType;

// A stored value from the columns kind, numbers, text and texts of a row, starting at `kindColumn`.
service::Value ReadStoredValue(const Statement& row, int kindColumn);

// Compounds having an identifier of `type` (any type when empty) equal to `text` without regard to
// letter case, by compound index.
std::vector<int> FindCompoundsByIdentifier(const SqliteDatabase& database, const std::string& text,
                                           const std::string& type);
// The same into `ids`, making the search key in `key`: both keep their room for the next search.
void FindCompoundsByIdentifier(const SqliteDatabase& database, std::string_view text, std::string_view type,
                               std::string& key, std::vector<int>& ids);

class SqliteCompoundManager : public service::ICompoundManager {
public:
    explicit SqliteCompoundManager(SqliteDatabase& database) : m_database(&database) {}

    std::optional<service::FoundCompoundsList> FindForMM(const service::DatabankCollection& databankGroup,
                                                         const std::string& searchText,
                                                         const std::string& identifierType,
                                                         const std::string& outputPropertyName) override;
    std::optional<service::FoundCompoundsList> FindForMM_Multiple(const service::DatabankCollection& databankGroup,
                                                                  const std::string& identifierType,
                                                                  service::SearchStringMap& searchStrings,
                                                                  const std::string& outputPropertyName) override;
    void FindForVanta(const service::DatabankCollection& databankGroup, const std::string& searchText,
                      int dbankContentDataType, int& compoundIndex, std::string& compoundName,
                      std::string& compoundAlias) override;
    std::optional<service::FoundCompoundsList> GetAllCompounds(const service::IDatabank* databank) override;
    service::IdentifierValuePtr GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                                      const std::string& wantedType) override;
    service::IdentifierPtr GetIdentifier(const std::string& identifierType) override;
    service::CompoundPtr GetCompound(const std::string& value, const service::IIdentifier& identifier) override;
    bool DatabankHasCompound(const service::IDatabank& databank, const service::ICompound& compound) override;
    std::optional<std::string> GetCompoundClass(const service::ICompound& compound) override;
    void SetWorkingCompounds(const std::vector<service::CompoundPtr>& compounds) override;

private:
    service::FoundCompoundsList Search(const service::DatabankCollection& group, const std::string& searchText,
                                       const std::string& identifierType, const std::string& outputPropertyName,
                                       int position);
    service::FoundCompoundsPtr MakeHit(int id, service::DatabankPtr databank, const SqliteProperty* property,
                                       int databankId);
    std::optional<int> Resolve(const std::string& value, const std::string& type);
    std::vector<int> FindByKey(const std::string& text, const std::string& type);
    service::DatabankPtr FindDatabankObject(int id) const;

    SqliteDatabase* m_database;
    std::vector<service::CompoundPtr> m_workingCompounds;
    // Room that every search reuses.
    struct SearchDatabank {
        const service::DatabankPtr* databank; // in the group searched
        int id;
    };
    std::vector<SearchDatabank> m_searchDatabanks;
    std::vector<int> m_searchIds;
    std::string m_searchKey;
    std::string m_lastType;                                // MakeHit's
    std::vector<service::IdentifierValue> m_pendingValues; // MakeHit's
    std::vector<std::pair<std::string, service::IdentifierPtr>> m_storedTypes;
    service::IdentifierPtr StoredIdentifierType(const std::string& type);
};

class SqliteReactionManager : public service::IReactionManager {
public:
    explicit SqliteReactionManager(SqliteDatabase& database) : m_database(&database) {}

    int GetAllReactionsCount(const service::IDatabank* databank) override;
    std::optional<std::vector<service::ReactionRecord>> GetCompoundsReactions(
        const std::vector<std::string>& compounds, const std::string& identifierType,
        const std::vector<std::string>& databankNames) override;

private:
    SqliteDatabase* m_database;
};

} // namespace moru::sqlite
