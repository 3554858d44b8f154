#include "service/Factory.h"
#include "service/Errors.h"

#include "platform/ProcessState.h"

namespace moru::service {

namespace {
// The factory is a part of the process state, the last to go at unload: the databases it made
// are ended before it.
struct Installed {
    static constexpr platform::Teardown kTeardown = platform::Teardown::Service;
    std::shared_ptr<ServiceFactory> factory;
};

std::shared_ptr<ServiceFactory>& InstalledFactory() { return platform::ProcessState::Part<Installed>().factory; }
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

void BeginOfCall() noexcept
{
    const Installed* installed = platform::ProcessState::Existing<Installed>();
    if (installed && installed->factory) installed->factory->BeginOfCall();
}

void EndOfCall()
{
    const Installed* installed = platform::ProcessState::Existing<Installed>();
    if (installed && installed->factory) installed->factory->EndOfCall();
}

void SetServiceFactory(std::shared_ptr<ServiceFactory> factory) { InstalledFactory() = std::move(factory); }

} // namespace moru::service
