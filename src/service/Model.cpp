#include "service/Database.h"
#include "platform/Text.h"

#include <algorithm>
#include <numeric>

namespace moru::service {

DatabankPtr DatabankCollection::Find(const std::string& name) const
{
    for (const auto& databank : m_databanks) {
        if (databank && platform::EqualsIgnoringCase(databank->Name(), name)) return databank;
    }
    return nullptr;
}

std::vector<int> IProperty::LabelIJArray() const
{
    std::vector<int> labels(static_cast<std::size_t>(std::max(ElementCount(), 0)));
    std::iota(labels.begin(), labels.end(), 1);
    return labels;
}

std::vector<int> IProperty::LabelJIArray() const { return IProperty::LabelIJArray(); }

std::vector<int> IProperty::SymmetryList() const
{
    return std::vector<int>(static_cast<std::size_t>(std::max(ElementCount(), 0)), -1);
}

} // namespace moru::service
