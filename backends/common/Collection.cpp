#include "common/Collection.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "service/Contract.h"
#include "service/Errors.h"
#include "service/ResultText.h"

#include <atomic>
#include <filesystem>
#include <new>

namespace moru::common {

// Unique in the process: a collection made anew never repeats a revision that a caller remembers
// from another.
std::uint64_t NextRevision()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

using namespace moru::service;

DatabasePtr DatabaseCollection::At(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return m_databases[static_cast<std::size_t>(index)];
}

DatabasePtr DatabaseCollection::Find(const std::string& name) const
{
    for (const auto& database : m_databases) {
        if (platform::EqualsIgnoringCase(database->Alias(), name)) return database;
    }
    return nullptr;
}

std::string DatabaseCollection::InitializeFromConfigurationFile(std::istream* configuration,
                                                                const std::string& configurationPath,
                                                                const std::string& password)
{
    std::string result = ConnectConfiguration(configuration, configurationPath, password);
    // Last, so that the entries of the databases keep their positions.
    if (const std::string warning = TakeDefaultConfigurationWarning(); !warning.empty())
        result += std::string(kResultSeparator) + warning;
    return result;
}

std::string DatabaseCollection::ConnectConfiguration(std::istream* configuration, const std::string& configurationPath,
                                                     const std::string& password)
{
    // Every initialisation starts afresh. The databases of an earlier one are closed now, so that
    // nothing reaches them through databanks or results the library still holds.
    for (const auto& database : m_databases) database->Retire();
    m_databases.clear();
    m_revision = NextRevision();
    if (!configuration) return "No configuration file was given, so no database was connected.";

    const auto text = platform::ReadAtMost(*configuration, kMaxConfigurationBytes);
    if (configuration->bad()) return "The configuration file could not be read.";
    if (!text) {
        return "The configuration file is larger than " + std::to_string(kMaxConfigurationBytes >> 20) +
               " MiB, so it was not read.";
    }
    std::vector<DatabaseEntry> entries;
    try {
        entries = ParseConfiguration(*text);
    } catch (const ServiceError& error) {
        return error.what();
    }
    if (entries.empty()) return "The configuration file names no database.";

    auto directory =
        configurationPath.empty() ? std::filesystem::path() : platform::PathFromUtf8(configurationPath).parent_path();
    std::string result;
    for (auto entry : entries) {
        if (!entry.OnServer()) {
            auto databasePath = platform::PathFromUtf8(entry.Path);
            if (databasePath.is_relative()) entry.Path = platform::Utf8FromPath(directory / databasePath);
        }
        if (!result.empty()) result += kResultSeparator;
        result += Connect(entry, password);
    }
    return result;
}

std::string DatabaseCollection::Connect(const DatabaseEntry& entry, const std::string& applicationPassword)
{
    if (auto problem = AliasProblem(entry.Alias)) return Describe(entry) + " " + *problem + " and was not connected.";
    if (Find(entry.Alias)) return Describe(entry) + " was not connected: another database already uses that alias.";
    OpenedDatabase opened;
    try {
        const DatabaseOpener& open = entry.OnServer() ? m_openServer : m_openFile;
        if (!open) throw ServiceError("this build serves no such database");
        opened = open(entry, applicationPassword);
    } catch (const std::bad_alloc&) {
        return Describe(entry) + " could not be connected: there was not enough memory.";
    } catch (const std::exception& error) {
        return Describe(entry) + " could not be connected: " + ResultTextSafe(error.what()) + ".";
    }
    // A connected database ends "OK", secured or not; "SECURED" is a secured database left closed
    // because no password was given; a wrong password is an error.
    switch (opened.Result) {
    case Admission::NeedsPassword:
        return Describe(entry) + " is secured and was not connected without its password: SECURED";
    case Admission::WrongPassword: return Describe(entry) + " is secured and was not connected: the password is wrong.";
    case Admission::Connected: break;
    }
    if (!opened.Database) return Describe(entry) + " could not be connected: the service opened nothing.";
    m_databases.push_back(std::move(opened.Database));
    m_revision = NextRevision();
    return Describe(entry) + " connected: OK";
}

} // namespace moru::common
