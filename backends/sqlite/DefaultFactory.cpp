#include "Service.h"

namespace moru::service {

namespace {
class SqliteServiceFactory : public ServiceFactory {
public:
    std::shared_ptr<IDatabaseCollection> CreateDatabaseCollection(DatabankCollectionPtr catalogue) override
    {
        return std::make_shared<sqlite::SqliteDatabaseCollection>(std::move(catalogue));
    }
    std::shared_ptr<IConfigFileInstaller> CreateConfigFileInstaller() override
    {
        return std::make_shared<sqlite::SqliteConfigFileInstaller>();
    }
    void BeginOfCall() noexcept override { sqlite::BeginCall(); }
    void EndOfCall() override { sqlite::ReleaseReadLocks(); }
};
} // namespace

std::shared_ptr<ServiceFactory> CreateDefaultServiceFactory() { return std::make_shared<SqliteServiceFactory>(); }

} // namespace moru::service
