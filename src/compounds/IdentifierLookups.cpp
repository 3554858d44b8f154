#include "compounds/IdentifierLookups.h"

#include "compounds/SearchSource.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "service/Contract.h"
#include "session/Resolution.h"

namespace moru::compounds {

namespace {

// The first value of an identifier, or nullopt when there is none.
std::optional<std::string> FirstValue(const service::IdentifierValuePtr& value)
{
    if (!value || !value->ValueList || value->ValueList->empty()) return std::nullopt;
    return value->ValueList->front();
}

// True when the compound that `value` names as an identifier of `identifierType` has data in the
// databank, which the host named `dbaseName`.`dbankName`. Raises what the service raises.
bool DatabankHasCompound(const std::string& identifierType, const std::string& value,
                         service::ICompoundManager& manager, const service::IDatabank& databank,
                         std::string_view dbaseName, std::string_view dbankName)
{
    const service::IdentifierPtr identifier = manager.GetIdentifier(identifierType);
    if (!identifier) {
        platform::NoteFailure("identifier type ", identifierType, " is not known");
        return false;
    }
    const service::CompoundPtr compound = manager.GetCompound(value, *identifier);
    if (!compound) {
        platform::NoteFailure("no compound found for ", identifierType, " ", value);
        return false;
    }
    if (!manager.DatabankHasCompound(databank, *compound)) {
        platform::NoteFailure("compound ", compound->Id(), " has no data in databank ", dbaseName, ".", dbankName);
        return false;
    }
    return true;
}

} // namespace

std::optional<std::string> GetIdentifierFromDatabank(std::string_view dbaseName, std::string_view dbankName,
                                                     const std::optional<std::string>& idType, int compid,
                                                     const NameDelivery& deliverName)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return std::nullopt;
    const auto manager = CompoundManagerOf(databank->Database());
    const std::string compoundIndex = std::to_string(compid);

    auto name = FirstValue(manager->GetCompoundIdentifier(compoundIndex, service::kCompoundIndexType, "NAME"));
    if (!name) {
        platform::NoteFailure("compound ", compid, " has no name in database ", dbaseName);
        return std::nullopt;
    }
    // The name is delivered first; one that does not fit, or begins with a blank, ends the lookup.
    if (!deliverName(*name)) {
        platform::NoteFailure("the name of compound ", compid, " could not be delivered");
        return std::nullopt;
    }
    if (!DatabankHasCompound("NAME", *name, *manager, *databank, dbaseName, dbankName)) return std::nullopt;

    if (!idType) return std::nullopt;
    if (platform::EqualsIgnoringCase(*idType, "NAME")) return name;
    auto value = FirstValue(manager->GetCompoundIdentifier(compoundIndex, service::kCompoundIndexType, *idType));
    if (!value) platform::NoteFailure("compound ", compid, " has no ", *idType);
    return value;
}

std::optional<int> GetCompidFromIdentifierInDatabank(std::string_view dbaseName, std::string_view dbankName,
                                                     const std::string& idType, const std::string& idValue)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return std::nullopt;
    const auto manager = CompoundManagerOf(databank->Database());
    if (!DatabankHasCompound(idType, idValue, *manager, *databank, dbaseName, dbankName)) return std::nullopt;
    const service::IdentifierValuePtr identifier =
        manager->GetCompoundIdentifier(idValue, idType, service::kCompoundIndexType);
    if (!identifier || !identifier->Compound) {
        platform::NoteFailure("no compound index found for ", idType, " ", idValue);
        return std::nullopt;
    }
    return identifier->Compound->Id();
}

} // namespace moru::compounds
