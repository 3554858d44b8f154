#pragma once

// One binary parameter set: the values of one model's parameters for one compound pair, taken from
// one databank, kept behind a handle.

#include "service/BinaryValues.h"

#include <memory>
#include <optional>
#include <string>

namespace moru::binary {

// What an InteractionParameterValueObject handle holds.
struct InteractionParameterValueObject {
    service::BinaryPropertyValuePtr Value;
};

// Asks the databank's service for the set: nullopt when the databank does not resolve; otherwise
// the set, null when the service holds none.
std::optional<std::shared_ptr<InteractionParameterValueObject>> GetBinaryIp(
    const std::string& databaseName, const std::string& databankName, const std::string& modelName,
    const std::string& compound1Id, const std::string& compound2Id, const std::string& compoundIdsType, bool condensed);

// The elements of the set; nullopt for an object that holds no set.
std::optional<service::NumericView> Parameters(const InteractionParameterValueObject& object);

} // namespace moru::binary
