#pragma once

// The fake service's property values and structures: scripted answers, calls logged.

#include "service/Database.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace moru::fake {

class CallLog;

class FakePropertyValueManager : public service::IPropertyValueManager {
public:
    explicit FakePropertyValueManager(CallLog& log) : m_log(log) {}

    service::PropertyValuePtr GetUnaryPropertyValue(const service::IDatabank& databank, const std::string& compoundId,
                                                    const std::string& compoundIdType,
                                                    const std::string& propertyId) override;
    std::optional<std::vector<service::PropertyValuePtr>> GetAllUnaryPropertyValues(
        const service::IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType) override;
    std::optional<service::UnaryValueMap> GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex) override;

    // Keyed by databank name and compound id, then by property name; a missing entry answers null.
    std::map<std::string, std::map<std::string, service::PropertyValuePtr>> values;
    // By databank name and compound id.
    std::map<std::string, std::vector<service::PropertyValuePtr>> allValues;
    // By databank id and compound index.
    std::map<std::pair<int, int>, service::UnaryValueMap> vantaValues;

    static std::string Key(const std::string& databank, const std::string& compoundId)
    {
        return databank + "|" + compoundId;
    }

private:
    CallLog& m_log;
};

class FakeMolData : public service::IMolData {
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
service::PropertyPtr MakeProperty(const std::string& name, int dataType, std::vector<service::UnitRow> units = {});
service::PropertyValuePtr MakeValue(service::PropertyPtr property, service::Value data);

} // namespace moru::fake
