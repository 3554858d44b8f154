#include "Service.h"

namespace moru::sqlite {

common::OpenedDatabase OpenDatabaseFile(const DatabaseEntry& entry, const std::string& applicationPassword)
{
    auto database = SqliteDatabase::Open(entry.Alias, entry.Path);
    if (database->IsSecured()) {
        const std::string& given = entry.Password ? *entry.Password : applicationPassword;
        if (given.empty()) return {nullptr, common::Admission::NeedsPassword};
        if (given != database->Meta("password")) return {nullptr, common::Admission::WrongPassword};
    }
    return {std::move(database), common::Admission::Connected};
}

} // namespace moru::sqlite
