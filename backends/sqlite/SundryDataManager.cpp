#include "Managers.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

// Pure databank information under its entry name; binary parameter information under the
// databank's own name.
SundryItemPtr SqliteSundryDataManager::GetItem(const std::string& name)
{
    const std::string pureEntry = PureDatabankInfoObject::GetSundryDataTableEntryName("");
    auto& db = m_database->Db();
    if (name.starts_with(pureEntry)) {
        const DatabankRecord* record = m_database->DatabankByName(name.substr(pureEntry.size()));
        if (!record) return nullptr;
        auto& query = db.Cached(sql::SelectPureInfo).Bind(1, record->Id);
        if (!query.Step()) return nullptr;
        auto info = std::make_shared<PureDatabankInfoObject>();
        info->Password = query.OptionalText(0);
        info->DisplayNameMM = query.OptionalText(1);
        info->Product = query.OptionalText(2);
        info->DatabankType = query.OptionalText(3);
        info->PromptMM = query.OptionalText(4);
        info->HelpFileName = query.OptionalText(5);
        info->HelpCode = query.Int(6);
        return info;
    }
    const DatabankRecord* record = m_database->DatabankByName(name);
    if (!record) return nullptr;
    auto& query = db.Cached(sql::SelectBinaryInfo).Bind(1, record->Id);
    std::vector<SundryItemPtr> entries;
    while (query.Step()) {
        auto entry = std::make_shared<GammaModelParameterInformation>();
        entry->ParameterName = query.OptionalText(0);
        entry->GammaModelName = query.OptionalText(1);
        entry->VaporModelName = query.OptionalText(2);
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) return nullptr;
    auto info = std::make_shared<InteractionParameterDatabankInformationObject>();
    info->ParameterInfoList = std::move(entries);
    return info;
}

} // namespace moru::sqlite
