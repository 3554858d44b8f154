#include "compounds/IdentifierLookups.h"

#include "api/Strings.h"
#include "compounds/SearchSource.h"
#include "platform/Text.h"
#include "session/Resolution.h"

namespace moru::compounds {

namespace {

// The first value of an identifier, or nullopt when there is none.
std::optional<std::string> FirstValue(const IdentifierValuePtr& value)
{
    if (!value || !value->ValueList || value->ValueList->empty()) return std::nullopt;
    return value->ValueList->front();
}

} // namespace

bool DatabankHasCompound(const std::string& identifierType, const std::string& value, ICompoundManager* manager,
                         const IDatabank* databank)
{
    if (!manager || !databank) return false;
    const IdentifierPtr identifier = manager->GetIdentifier(identifierType);
    if (!identifier) return false;
    const CompoundPtr compound = manager->GetCompound(value, *identifier);
    if (!compound) return false;
    return manager->DatabankHasCompound(*databank, *compound);
}

bool GetIdentifierFromDatabank(const char* dbaseName, const char* dbankName, const char* idType, int compid,
                               char* namebuf, int namebuflen, char* buffer, int buflen)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return false;
    const auto manager = CompoundManagerOf(databank->Database());
    const std::string compoundIndex = std::to_string(compid);

    const auto name = FirstValue(manager->GetCompoundIdentifier(compoundIndex, kCompoundIndexType, "NAME"));
    if (!name || !api::CopyStringToCharBuffer(*name, namebuf, namebuflen)) return false;
    if (!DatabankHasCompound("NAME", api::FromHost(namebuf), manager.get(), databank.get())) return false;

    if (!idType) return false;
    const std::string wantedType = api::FromHost(idType);
    if (platform::EqualsIgnoringCase(wantedType, "NAME")) {
        api::CopyHostBytes(namebuf, buffer, buflen);
        return true;
    }
    const auto value = FirstValue(manager->GetCompoundIdentifier(compoundIndex, kCompoundIndexType, wantedType));
    if (!value) return false;
    return api::CopyStringToCharBuffer(*value, buffer, buflen);
}

bool GetCompidFromIdentifierInDatabank(const char* dbaseName, const char* dbankName, const char* idType,
                                       const char* idValue, int& compid)
{
    compid = 0;
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank || !idType || !idValue) return false;
    const auto manager = CompoundManagerOf(databank->Database());
    const std::string type = api::FromHost(idType);
    const std::string value = api::FromHost(idValue);
    if (!DatabankHasCompound(type, value, manager.get(), databank.get())) return false;
    const IdentifierValuePtr identifier = manager->GetCompoundIdentifier(value, type, kCompoundIndexType);
    if (!identifier || !identifier->Compound) return false;
    compid = identifier->Compound->Id();
    return true;
}

} // namespace moru::compounds
