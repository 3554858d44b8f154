#include "session/DatabankQueries.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

namespace moru::session {

int GetIdentifiersOfCompoundsWithData(std::string_view databaseName, std::string_view databankName)
{
    const DatabankPtr databank = GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return 0;
    return interop::GetHandleFromObject(databank->GetIdentifiersOfCompoundsWithData());
}

int GetDatabankTypeAndPropertyList(std::string_view databaseName, std::string_view databankName, int& databankTypes,
                                   int& propertyCollectionHandle)
{
    const DatabankPtr databank = GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return 0;
    const DatabasePtr database = databank->Database();
    const auto propertyManager = database ? database->PropertyManager() : nullptr;
    if (!propertyManager) return 0;
    const auto properties = propertyManager->GetAllProperties(*databank, true);
    if (!properties) return 0;

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
    propertyCollectionHandle = interop::GetHandleFromObject(table);
    return table->entryCount;
}

int GetNextPropertyName(int propertyCollectionHandle, int position, char* propName)
{
    const auto table = interop::GetObjectFromHandle<PropertyNameTable>(propertyCollectionHandle);
    if (!table) return 0;
    // Compared with the entries of the service's list, not the names: a gap must not hide the
    // names after it.
    if (position >= table->entryCount) return -1;
    const auto name = table->names.find(position);
    if (name == table->names.end()) return 0;
    // The host's buffer carries no size: a longer name in an edited database would overrun it.
    const std::string hostName = interop::ToHost(name->second);
    service::CheckHostLimit(service::HostLimit::PropertyNameBytes, hostName.size());
    interop::CopyUnbounded(name->second, propName);
    return 1;
}

} // namespace moru::session
