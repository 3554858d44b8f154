#pragma once

// Pure-component property values and molecular structures, as the database service offers them.

#include "service/Model.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace moru::service {

class IDatabank;

// The numeric unary values of one compound in one databank, by property name. Only values made of
// numbers appear; an element may still be absent.
using UnaryValueMap = std::map<std::string, NumericElements>;

class IPropertyValueManager {
public:
    virtual ~IPropertyValueManager() = default;

    // The value of one property of the compound that `compoundId` names as an identifier of
    // `compoundIdType`; null when the databank holds none.
    virtual PropertyValuePtr GetUnaryPropertyValue(const IDatabank& databank, const std::string& compoundId,
                                                   const std::string& compoundIdType,
                                                   const std::string& propertyId) = 0;

    // Every unary value of that compound in the databank, in the service's order; nullopt when the
    // databank or the compound is unknown.
    virtual std::optional<std::vector<PropertyValuePtr>> GetAllUnaryPropertyValues(
        const IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType) = 0;

    // The simulator's form: the numeric unary values of a compound index in the databank with the
    // given id; nullopt when there is none.
    virtual std::optional<UnaryValueMap> GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex) = 0;
};

class IMolData {
public:
    virtual ~IMolData() = default;

    // The structure text of the given type of the compound that `compoundId` names as an
    // identifier of `compoundIdType`. False when the compound has no structure of that type.
    virtual bool GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                                    std::string& structureText, int structureType) = 0;
};

} // namespace moru::service
