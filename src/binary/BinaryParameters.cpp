#include "binary/BinaryParameters.h"

#include "interop/Numbers.h"
#include "interop/Handles.h"
#include "service/Database.h"
#include "service/Errors.h"
#include "session/Resolution.h"

namespace moru::binary {

using namespace moru::service;

bool GetBinaryIp(const std::string& databaseName, const std::string& databankName, const std::string& modelName,
                 const std::string& compound1Id, const std::string& compound2Id, const std::string& compoundIdsType,
                 bool condensed, int& objectHandle)
{
    DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return false;
    DatabasePtr database = databank->Database();
    auto manager = database ? database->BinaryValueManager() : nullptr;
    if (!manager) throw ServiceError("the database offers no binary values");
    // The service takes the model after the identifier type.
    auto value = manager->GetBinaryPropertyValue(*databank, compound1Id, compound2Id, compoundIdsType, modelName,
                                                 condensed);
    objectHandle = value ? interop::GetHandleFromObject(
                               std::make_shared<InteractionParameterValueObject>(InteractionParameterValueObject{value}))
                         : 0;
    return true;
}

int NumberOfElements(int objectHandle)
{
    auto object = interop::GetObjectFromHandle<InteractionParameterValueObject>(objectHandle);
    if (!object || !object->Value) return 0;
    return static_cast<int>(object->Value->Value.size());
}

int Parameters(int objectHandle, double* parameters)
{
    auto object = interop::GetObjectFromHandle<InteractionParameterValueObject>(objectHandle);
    if (!object || !object->Value) return 0;
    interop::WriteNumbers(object->Value->Value, parameters);
    return 1;
}

} // namespace moru::binary
