#include "service/Factory.h"

namespace moru::service {

std::shared_ptr<ServiceFactory> CreateDefaultServiceFactory() { return nullptr; }

} // namespace moru::service
