#pragma once

// The databases that a configuration connects, whatever backend serves each: the collection reads
// the configuration, hands each entry to the backend that opens its kind, and writes the result
// text.

#include "common/Configuration.h"

#include "service/Database.h"
#include "service/Factory.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace moru::common {

// A database a backend connected; closed by Retire when a later initialisation replaces it.
class ConnectedDatabase : public service::IDatabase {
public:
    // Whoever still holds the database, its databanks or managers gets a failure from every call
    // that would read it.
    virtual void Retire() = 0;
};

// How an entry's password turned out.
enum class Admission {
    Connected,     // open, with or without a password
    NeedsPassword, // secured, and no password was given
    WrongPassword,
};

struct OpenedDatabase {
    std::shared_ptr<ConnectedDatabase> Database; // null unless Connected
    Admission Result = Admission::Connected;
};

// Opens the database of an entry, given the application's password for entries without their own;
// throws ServiceError (or another standard exception) with the reason it cannot be connected.
using DatabaseOpener = std::function<OpenedDatabase(const DatabaseEntry& entry, const std::string& password)>;

// A revision number not given out before in this process.
std::uint64_t NextRevision();

class DatabaseCollection : public service::IDatabaseCollection {
public:
    // `openFile` opens entries with a path, `openServer` those with a url.
    DatabaseCollection(service::DatabankCollectionPtr catalogue, DatabaseOpener openFile, DatabaseOpener openServer)
        : m_catalogue(std::move(catalogue)), m_openFile(std::move(openFile)), m_openServer(std::move(openServer))
    {}

    int Count() const override { return static_cast<int>(m_databases.size()); }
    service::DatabasePtr At(int index) const override;
    service::DatabasePtr Find(const std::string& name) const override;
    std::uint64_t Revision() const override { return m_revision; }
    std::string InitializeFromConfigurationFile(std::istream* configuration, const std::string& configurationPath,
                                                const std::string& password) override;
    void GetExceptionResults() override {}

private:
    std::string ConnectConfiguration(std::istream* configuration, const std::string& configurationPath,
                                     const std::string& password);
    std::string Connect(const DatabaseEntry& entry, const std::string& applicationPassword);

    service::DatabankCollectionPtr m_catalogue;
    DatabaseOpener m_openFile, m_openServer;
    std::vector<std::shared_ptr<ConnectedDatabase>> m_databases;
    std::uint64_t m_revision = NextRevision(); // a new one with each change of m_databases
};

class ConfigFileInstaller : public service::IConfigFileInstaller {
public:
    void CreateConfigurationFile() override { CreateDefaultConfigurationFile(); }
};

} // namespace moru::common
