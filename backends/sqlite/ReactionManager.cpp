#include "Managers.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

int SqliteReactionManager::GetAllReactionsCount(const IDatabank* databank)
{
    auto& db = m_database->Db();
    if (!databank) {
        auto& count = db.Cached(sql::CountReactions);
        return count.Step() ? count.Int(0) : 0;
    }
    const DatabankRecord* record = m_database->OwnDatabank(*databank);
    if (!record) return 0;
    auto& count = db.Cached(sql::CountReactionsOfDatabank).Bind(1, record->Id);
    return count.Step() ? count.Int(0) : 0;
}

} // namespace moru::sqlite
