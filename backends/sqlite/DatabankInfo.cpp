#include "Service.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

std::shared_ptr<PureDatabankInfoObject> SqliteDatabase::ReadPureInfo(int databankId) const
{
    auto& query = Db().Cached(sql::SelectPureInfo).Bind(1, databankId);
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

std::vector<SundryItemPtr> SqliteDatabase::ReadBinaryInfo(int databankId) const
{
    auto& query = Db().Cached(sql::SelectBinaryInfo).Bind(1, databankId);
    std::vector<SundryItemPtr> entries;
    while (query.Step()) {
        auto entry = std::make_shared<GammaModelParameterInformation>();
        entry->ParameterName = query.OptionalText(0);
        entry->GammaModelName = query.OptionalText(1);
        entry->VaporModelName = query.OptionalText(2);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace moru::sqlite
