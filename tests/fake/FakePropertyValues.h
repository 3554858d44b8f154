#pragma once

// The fake service's property values and structures: scripted answers, calls logged.

#include "service/Database.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace moru::fake {

using namespace moru::service;

class CallLog;

class FakePropertyValueManager : public IPropertyValueManager {
public:
    explicit FakePropertyValueManager(CallLog& log) : m_log(log) {}

    PropertyValuePtr GetUnaryPropertyValue(const IDatabank& databank, const std::string& compoundId,
                                           const std::string& compoundIdType, const std::string& propertyId) override;
    std::optional<std::vector<PropertyValuePtr>> GetAllUnaryPropertyValues(const IDatabank& databank,
                                                                           const std::string& compoundId,
                                                                           const std::string& compoundIdType) override;
    std::optional<UnaryValueMap> GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex) override;

    // Keyed by databank name and compound id, then by property name; a missing entry answers null.
    std::map<std::string, std::map<std::string, PropertyValuePtr>> values;
    // By databank name and compound id.
    std::map<std::string, std::vector<PropertyValuePtr>> allValues;
    // By databank id and compound index.
    std::map<std::pair<int, int>, UnaryValueMap> vantaValues;

    static std::string Key(const std::string& databank, const std::string& compoundId)
    {
        return databank + "|" + compoundId;
    }

private:
    CallLog& m_log;
};

class FakeMolData : public IMolData {
public:
    explicit FakeMolData(CallLog& log) : m_log(log) {}

    bool GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                            std::string& structureText, int structureType) override;

    // By compound id and structure type.
    std::map<std::pair<std::string, int>, std::string> structures;

private:
    CallLog& m_log;
};

// Values for tests.
PropertyPtr MakeProperty(const std::string& name, int dataType, std::vector<UnitRow> units = {});
PropertyValuePtr MakeValue(PropertyPtr property, Value data);

} // namespace moru::fake
