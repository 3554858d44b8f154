#include "binary/BinaryParameters.h"

#include "platform/Diagnostics.h"
#include "service/Database.h"
#include "service/Errors.h"
#include "session/Resolution.h"

namespace moru::binary {

std::optional<std::shared_ptr<InteractionParameterValueObject>> GetBinaryIp(
    const std::string& databaseName, const std::string& databankName, const std::string& modelName,
    const std::string& compound1Id, const std::string& compound2Id, const std::string& compoundIdsType, bool condensed)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return std::nullopt;
    const service::DatabasePtr database = databank->Database();
    auto manager = database ? database->BinaryValueManager() : nullptr;
    if (!manager) throw service::ServiceError("database " + databaseName + " offers no binary values");
    // The service takes the model after the identifier type.
    auto value =
        manager->GetBinaryPropertyValue(*databank, compound1Id, compound2Id, compoundIdsType, modelName, condensed);
    if (!value) return nullptr;
    return std::make_shared<InteractionParameterValueObject>(InteractionParameterValueObject{std::move(value)});
}

std::optional<service::NumericView> Parameters(const InteractionParameterValueObject& object)
{
    if (!object.Value) {
        platform::NoteFailure("the parameter set holds no values");
        return std::nullopt;
    }
    return object.Value->Value;
}

} // namespace moru::binary
