#include "service/Database.h"
#include "platform/Text.h"

#include <algorithm>

namespace moru::service {


DatabankPtr DatabankCollection::Find(const std::string& name) const
{
    for (const auto& databank : m_databanks) {
        if (databank && platform::EqualsIgnoringCase(databank->Name(), name)) return databank;
    }
    return nullptr;
}

} // namespace moru::service
