#include "session/DatabankQueries.h"

#include "platform/Diagnostics.h"
#include "session/Resolution.h"

namespace moru::session {

using namespace moru::service;

CompoundCollectionPtr GetIdentifiersOfCompoundsWithData(std::string_view databaseName, std::string_view databankName)
{
    const DatabankPtr databank = GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return nullptr;
    return databank->GetIdentifiersOfCompoundsWithData();
}

std::shared_ptr<PropertyNameTable> GetDatabankTypeAndPropertyList(std::string_view databaseName,
                                                                  std::string_view databankName, int& databankTypes)
{
    const DatabankPtr databank = GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return nullptr;
    const DatabasePtr database = databank->Database();
    const auto propertyManager = database ? database->PropertyManager() : nullptr;
    if (!propertyManager) {
        platform::NoteFailure("database ", databaseName, " has no properties");
        return nullptr;
    }
    const auto properties = propertyManager->GetAllProperties(*databank, true);
    if (!properties) {
        platform::NoteFailure("databank ", databaseName, ".", databankName, " has no property list");
        return nullptr;
    }

    auto table = std::make_shared<PropertyNameTable>();
    table->entryCount = static_cast<int>(properties->size());
    bool hasUnary = false;
    bool hasBinary = false;
    for (std::size_t i = 0; i < properties->size(); ++i) {
        const PropertyPtr& property = (*properties)[i];
        if (!property) continue;
        const int interactionType = property->InteractionType();
        hasUnary = hasUnary || interactionType == InteractionUnary;
        hasBinary = hasBinary || interactionType == InteractionBinary;
        table->names[static_cast<int>(i)] = property->Name();
    }
    databankTypes = hasUnary ? (hasBinary ? PureAndBinary : PureOnly) : (hasBinary ? BinaryOnly : NoPureOrBinary);
    return table;
}

PropertyNameAt GetNextPropertyName(const PropertyNameTable& table, int position, std::string& name)
{
    // Compared with the entries of the service's list, not the names: a gap must not hide the
    // names after it.
    if (position >= table.entryCount) {
        platform::NoteFailure("position ", position, " is past the last of ", table.entryCount, " properties");
        return PropertyNameAt::PastTheEnd;
    }
    const auto found = table.names.find(position);
    if (found == table.names.end()) {
        platform::NoteFailure("position ", position, " of the property list has no name");
        return PropertyNameAt::Gap;
    }
    name = found->second;
    return PropertyNameAt::Name;
}

} // namespace moru::session
