#include "service/Factory.h"
#include "service/Errors.h"

namespace moru::service {

namespace {
std::shared_ptr<ServiceFactory>& InstalledFactory()
{
    static std::shared_ptr<ServiceFactory> factory;
    return factory;
}
} // namespace

ServiceFactory& GetServiceFactory()
{
    auto& factory = InstalledFactory();
    if (!factory) factory = CreateDefaultServiceFactory();
    if (!factory) throw ServiceError("no database service is available");
    return *factory;
}

IDialogComponent& ServiceFactory::DialogComponent()
{
    if (!m_dialogComponent) m_dialogComponent = CreateDialogComponent();
    if (!m_dialogComponent) throw ServiceError("no dialog component is available");
    return *m_dialogComponent;
}

void EndOfCall()
{
    if (auto& factory = InstalledFactory()) factory->EndOfCall();
}

void SetServiceFactory(std::shared_ptr<ServiceFactory> factory) { InstalledFactory() = std::move(factory); }

} // namespace moru::service
