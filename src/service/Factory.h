#pragma once

#include "service/Database.h"
#include "service/Dialogs.h"

#include <memory>

namespace moru::service {

// Makes the outside objects that the session holds. The shipped library uses the embedded
// database service; tests install their own.
class ServiceFactory {
public:
    virtual ~ServiceFactory() = default;
    virtual std::shared_ptr<IDatabaseCollection> CreateDatabaseCollection(DatabankCollectionPtr catalogue) = 0;
    virtual std::shared_ptr<IConfigFileInstaller> CreateConfigFileInstaller() = 0;

    // The compound dialog component, made at first use and kept with the factory.
    IDialogComponent& DialogComponent();
    // The service's application settings, kept with the factory.
    virtual MoruApplication& Application() { return m_application; }
    // Called as each export begins and returns: the service may read a call's statements in one
    // snapshot of each file, and lets go of what it held for the call, locks on database files
    // above all, when it returns.
    virtual void BeginOfCall() noexcept {}
    virtual void EndOfCall() {}

protected:
    // The component linked into the library, unless a factory makes another.
    virtual std::shared_ptr<IDialogComponent> CreateDialogComponent() { return CreateDefaultDialogComponent(); }

private:
    std::shared_ptr<IDialogComponent> m_dialogComponent;
    MoruApplication m_application;
};

// The installed factory, or the default one on first use.
ServiceFactory& GetServiceFactory();
void SetServiceFactory(std::shared_ptr<ServiceFactory> factory);
// BeginOfCall and EndOfCall of the installed factory; nothing when none was made yet.
void BeginOfCall() noexcept;
void EndOfCall();

// Defined by the service backend that the library is linked with.
std::shared_ptr<ServiceFactory> CreateDefaultServiceFactory();

} // namespace moru::service
