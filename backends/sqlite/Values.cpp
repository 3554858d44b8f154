#include "Managers.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

Value ReadStoredValue(const Statement& row, int kindColumn)
{
    switch (row.Int(kindColumn)) {
    case ValueNumbers: {
        const auto bytes = row.BlobView(kindColumn + 1);
        return DecodeNumbers(bytes.data, bytes.size);
    }
    case ValueText: return row.Text(kindColumn + 2);
    case ValueTexts: {
        const auto bytes = row.BlobView(kindColumn + 3);
        return DecodeTexts(bytes.data, bytes.size);
    }
    default: return std::monostate{};
    }
}

std::optional<int> SqliteDatabase::ResolveCompound(const std::string& value, const std::string& type) const
{
    const CompoundPtr compound = CompoundManager()->GetCompound(value, SqliteIdentifier(type));
    if (!compound) return std::nullopt;
    return compound->Id();
}

bool SqliteDatabase::CompoundExists(int compoundId) const
{
    return Db().Cached(sql::CompoundExists).Bind(1, compoundId).Step();
}

std::vector<int> SqliteDatabase::ReadPropertyIdsWithData(int databankId) const
{
    std::vector<int> ids;
    auto& query = Db().Cached(sql::SelectPropertiesWithData).Bind(1, databankId);
    while (query.Step()) ids.push_back(query.Int(0));
    return ids;
}

std::optional<Value> SqliteDatabase::ReadUnaryValue(int databankId, int compoundId, int propertyId) const
{
    auto& read = Db().Cached(sql::SelectUnaryValue).Bind(1, databankId).Bind(2, compoundId).Bind(3, propertyId);
    if (!read.Step()) return std::nullopt;
    return ReadStoredValue(read, 0);
}

std::vector<std::pair<int, Value>> SqliteDatabase::ReadUnaryValuesOfCompound(int databankId, int compoundId) const
{
    std::vector<std::pair<int, Value>> values;
    auto& read = Db().Cached(sql::SelectUnaryValuesOfCompound).Bind(1, databankId).Bind(2, compoundId);
    while (read.Step()) values.emplace_back(read.Int(0), ReadStoredValue(read, 1));
    return values;
}

std::optional<std::string> SqliteDatabase::ReadStructure(int compoundId, int structureType) const
{
    auto& read = Db().Cached(sql::SelectStructureOfType).Bind(1, compoundId).Bind(2, structureType);
    if (!read.Step()) return std::nullopt;
    return read.Text(0);
}

} // namespace moru::sqlite
