#include "postgres/PgService.h"
#include "sqlite/Service.h"

#include "common/Collection.h"

namespace moru::service {

namespace {
class DefaultServiceFactory : public ServiceFactory {
public:
    std::shared_ptr<IDatabaseCollection> CreateDatabaseCollection(DatabankCollectionPtr catalogue) override
    {
        return std::make_shared<common::DatabaseCollection>(std::move(catalogue), sqlite::OpenDatabaseFile,
                                                            postgres::OpenServerDatabase);
    }
    std::shared_ptr<IConfigFileInstaller> CreateConfigFileInstaller() override
    {
        return std::make_shared<common::ConfigFileInstaller>();
    }
    void BeginOfCall() noexcept override
    {
        sqlite::BeginCall();
        postgres::BeginCall();
    }
    void EndOfCall() override
    {
        // Both, even when the first fails: each lets go of what its own databases hold.
        std::exception_ptr failure;
        try {
            sqlite::ReleaseReadLocks();
        } catch (...) {
            failure = std::current_exception();
        }
        postgres::EndCall();
        if (failure) std::rethrow_exception(failure);
    }
};
} // namespace

std::shared_ptr<ServiceFactory> CreateDefaultServiceFactory() { return std::make_shared<DefaultServiceFactory>(); }

} // namespace moru::service
