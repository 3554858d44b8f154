#include "Service.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

const std::map<int, PureDatabankInfoObject>& SqliteDatabase::PureInfoByDatabank() const
{
    auto& db = Db();
    if (m_pureInfo) return *m_pureInfo;
    std::map<int, PureDatabankInfoObject> infos;
    auto& query = db.Cached(sql::SelectAllPureInfo);
    while (query.Step()) {
        // In the order of databank ids, the table's own: each is placed at the end without a search.
        PureDatabankInfoObject& info = infos.try_emplace(infos.end(), query.Int(0))->second;
        info.Password = query.OptionalText(1);
        info.DisplayNameMM = query.OptionalText(2);
        info.Product = query.OptionalText(3);
        info.DatabankType = query.OptionalText(4);
        info.PromptMM = query.OptionalText(5);
        info.HelpFileName = query.OptionalText(6);
        info.HelpCode = query.Int(7);
    }
    return *(m_pureInfo = std::move(infos));
}

std::shared_ptr<PureDatabankInfoObject> SqliteDatabase::ReadPureInfo(int databankId) const
{
    const auto& infos = PureInfoByDatabank();
    const auto found = infos.find(databankId);
    if (found == infos.end()) return nullptr;
    return std::make_shared<PureDatabankInfoObject>(found->second);
}

std::vector<SundryItemPtr> SqliteDatabase::ReadBinaryInfo(int databankId) const
{
    auto& db = Db();
    if (!m_binaryInfo) {
        std::map<int, std::vector<GammaModelParameterInformation>> infos;
        auto& query = db.Cached(sql::SelectAllBinaryInfo);
        while (query.Step()) {
            GammaModelParameterInformation& entry = infos[query.Int(0)].emplace_back();
            entry.ParameterName = query.OptionalText(1);
            entry.GammaModelName = query.OptionalText(2);
            entry.VaporModelName = query.OptionalText(3);
        }
        m_binaryInfo = std::move(infos);
    }
    std::vector<SundryItemPtr> entries;
    const auto found = m_binaryInfo->find(databankId);
    if (found == m_binaryInfo->end()) return entries;
    entries.reserve(found->second.size());
    for (const auto& entry : found->second) entries.push_back(std::make_shared<GammaModelParameterInformation>(entry));
    return entries;
}

int SqliteDatabase::ReactionCount(std::optional<int> databankId) const
{
    auto& db = Db();
    if (!m_reactionCounts) {
        std::map<int, int> counts;
        auto& query = db.Cached(sql::CountReactionsByDatabank);
        while (query.Step()) counts[query.Int(0)] = query.Int(1);
        m_reactionCounts = std::move(counts);
    }
    if (!databankId) {
        int total = 0;
        for (const auto& [id, count] : *m_reactionCounts) total += count;
        return total;
    }
    const auto found = m_reactionCounts->find(*databankId);
    return found == m_reactionCounts->end() ? 0 : found->second;
}

} // namespace moru::sqlite
