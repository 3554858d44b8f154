#include "compounds/IdentifierLookups.h"

#include "interop/HostText.h"
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

bool GetIdentifierFromDatabank(std::string_view dbaseName, std::string_view dbankName,
                               const std::optional<std::string>& idType, int compid, char* namebuf, int namebuflen,
                               char* buffer, int buflen)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return false;
    const auto manager = CompoundManagerOf(databank->Database());
    const std::string compoundIndex = std::to_string(compid);

    const auto name = FirstValue(manager->GetCompoundIdentifier(compoundIndex, kCompoundIndexType, "NAME"));
    // The name is delivered first; one that does not fit, or begins with a blank, ends the lookup.
    if (!name || !interop::CopyStringToCharBuffer(*name, namebuf, namebuflen)) return false;
    if (!DatabankHasCompound("NAME", *name, manager.get(), databank.get())) return false;

    if (!idType) return false;
    if (platform::EqualsIgnoringCase(*idType, "NAME")) {
        interop::CopySized(*name, buffer, buflen);
        return true;
    }
    const auto value = FirstValue(manager->GetCompoundIdentifier(compoundIndex, kCompoundIndexType, *idType));
    if (!value) return false;
    return interop::CopyStringToCharBuffer(*value, buffer, buflen);
}

bool GetCompidFromIdentifierInDatabank(std::string_view dbaseName, std::string_view dbankName,
                                       const std::string& idType, const std::string& idValue, int& compid)
{
    compid = 0;
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return false;
    const auto manager = CompoundManagerOf(databank->Database());
    if (!DatabankHasCompound(idType, idValue, manager.get(), databank.get())) return false;
    const IdentifierValuePtr identifier = manager->GetCompoundIdentifier(idValue, idType, kCompoundIndexType);
    if (!identifier || !identifier->Compound) return false;
    compid = identifier->Compound->Id();
    return true;
}

} // namespace moru::compounds
