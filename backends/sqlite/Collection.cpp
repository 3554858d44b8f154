#include "Service.h"

#include "Schema.h"

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "service/Contract.h"
#include "service/ResultText.h"
#include "service/Errors.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <utility>

namespace moru::sqlite {

using namespace moru::service;

namespace {

std::string Environment(const char* name) { return platform::EnvironmentVariable(name).value_or(std::string()); }

std::string Describe(const DatabaseEntry& entry)
{
    return "Database '" + ResultTextSafe(entry.Alias) + "' (" + ResultTextSafe(entry.Path) + ")";
}

// Why an alias cannot name a database, or nullopt when it can. The host addresses a database by
// its alias in databank references ("DB.BANK"), in monikers and in fixed 20-byte buffers.
std::optional<std::string> AliasProblem(const std::string& alias)
{
    if (alias.empty()) return "has an empty alias";
    if (alias.find('\0') != std::string::npos) return "has an alias holding a NUL character";
    if (alias.find('.') != std::string::npos) return "has an alias holding a full stop";
    if (alias.find(kResultSeparator) != std::string::npos)
        return "has an alias holding the separator of result entries";
    if (alias.size() >= kAliasLimit)
        return "has an alias of " + std::to_string(alias.size()) + " bytes; aliases are shorter than " +
               std::to_string(kAliasLimit);
    return std::nullopt;
}

// The configuration read as events rather than as a document: a document's destructor allocates
// for nested values, so running out of memory while parsing one would end the process.
class ConfigurationReader : public nlohmann::json_sax<nlohmann::json> {
public:
    struct Field {
        bool present = false, text = false;
        std::string value;
    };
    struct Item {
        bool object = false;
        Field alias, path, password;
    };

    std::optional<std::size_t> errorByte;
    bool rootIsObject = false;
    bool hasDatabases = false; // the last "databases" member is a list
    std::vector<Item> items;

    bool null() override { return Value(Kind::Other, nullptr); }
    bool boolean(bool) override { return Value(Kind::Other, nullptr); }
    bool number_integer(number_integer_t) override { return Value(Kind::Other, nullptr); }
    bool number_unsigned(number_unsigned_t) override { return Value(Kind::Other, nullptr); }
    bool number_float(number_float_t, const string_t&) override { return Value(Kind::Other, nullptr); }
    bool string(string_t& text) override { return Value(Kind::Other, &text); }
    bool binary(binary_t&) override { return Value(Kind::Other, nullptr); }
    bool start_object(std::size_t) override { return Open(Kind::Object); }
    bool start_array(std::size_t) override { return Open(Kind::Array); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override
    {
        m_key = name;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override
    {
        errorByte = position;
        return false;
    }

private:
    enum class Kind { Object, Array, Other };

    // A value at the current depth: 0 the document, 1 a member of it, 2 an entry of the databases
    // list, 3 a member of an entry. Duplicate members: the last one counts, as in a document.
    bool Value(Kind kind, const std::string* text)
    {
        const std::size_t depth = m_open.size();
        if (depth == 0) {
            rootIsObject = kind == Kind::Object;
        } else if (depth == 1 && m_open[0] == Kind::Object && m_key == "databases") {
            hasDatabases = kind == Kind::Array;
            items.clear();
            m_databasesOpening = hasDatabases;
        } else if (depth == 2 && m_inDatabases) {
            items.emplace_back().object = kind == Kind::Object;
        } else if (depth == 3 && m_inDatabases && m_open[2] == Kind::Object) {
            Field* field = m_key == "alias"      ? &items.back().alias
                           : m_key == "path"     ? &items.back().path
                           : m_key == "password" ? &items.back().password
                                                 : nullptr;
            if (field) *field = Field{true, text != nullptr, text ? *text : std::string()};
        }
        return true;
    }
    bool Open(Kind kind)
    {
        Value(kind, nullptr);
        m_open.push_back(kind);
        if (m_databasesOpening) m_inDatabases = true;
        m_databasesOpening = false;
        return true;
    }
    bool Close()
    {
        m_open.pop_back();
        if (m_open.size() == 1) m_inDatabases = false;
        return true;
    }

    std::vector<Kind> m_open;
    std::string m_key;
    bool m_databasesOpening = false, m_inDatabases = false;
};

} // namespace

std::vector<DatabaseEntry> ParseConfiguration(const std::string& text)
{
    ConfigurationReader reader;
    nlohmann::json::sax_parse(text, &reader);
    if (reader.errorByte) {
        throw ServiceError("The configuration file is not valid JSON (at byte " + std::to_string(*reader.errorByte) +
                           ").");
    }
    if (!reader.rootIsObject || !reader.hasDatabases) {
        throw ServiceError("The configuration file holds no \"databases\" list.");
    }
    std::vector<DatabaseEntry> entries;
    for (std::size_t i = 0; i < reader.items.size(); ++i) {
        const auto& item = reader.items[i];
        std::string where = "databases[" + std::to_string(i) + "]";
        if (!item.object || !item.alias.text || !item.path.text) {
            throw ServiceError("The configuration entry " + where + " needs the texts \"alias\" and \"path\".");
        }
        DatabaseEntry entry;
        entry.Alias = item.alias.value;
        entry.Path = item.path.value;
        if (item.password.present) {
            if (!item.password.text) {
                throw ServiceError("The configuration entry " + where + " has a \"password\" that is not a text.");
            }
            entry.Password = item.password.value;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

DatabasePtr SqliteDatabaseCollection::At(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return m_databases[static_cast<std::size_t>(index)];
}

DatabasePtr SqliteDatabaseCollection::Find(const std::string& name) const
{
    for (const auto& database : m_databases) {
        if (platform::EqualsIgnoringCase(database->Alias(), name)) return database;
    }
    return nullptr;
}

namespace {

// Writes the default configuration at `path` unless a file is there; false when it cannot.
bool WriteDefaultConfiguration(const std::string& path)
{
    auto fsPath = platform::PathFromUtf8(path);
    std::error_code error;
    if (std::filesystem::exists(fsPath, error)) return true;
    if (fsPath.has_parent_path()) std::filesystem::create_directories(fsPath.parent_path(), error);
    // Written beside and renamed, so that a reader never sees half a file.
    auto partial = fsPath;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << "{\n  \"comment\": \"Databases that MoruIntegration connects. Each entry: alias, path (relative to "
                "this file) and, for a secured database, password.\",\n  \"databases\": []\n}\n";
        if (!file.flush()) {
            file.close();
            std::filesystem::remove(partial, error);
            return false;
        }
    }
    std::filesystem::rename(partial, fsPath, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

// Why the last writing of the default configuration failed, until an initialisation reports it.
std::string& PendingInstallerWarning()
{
    static std::string warning;
    return warning;
}

} // namespace

std::string TakeDefaultConfigurationWarning() { return std::exchange(PendingInstallerWarning(), std::string()); }

std::string SqliteDatabaseCollection::InitializeFromConfigurationFile(std::istream* configuration,
                                                                      const std::string& configurationPath,
                                                                      const std::string& password)
{
    std::string result = ConnectConfiguration(configuration, configurationPath, password);
    // Last, so that the entries of the databases keep their positions.
    if (const std::string warning = TakeDefaultConfigurationWarning(); !warning.empty())
        result += std::string(kResultSeparator) + warning;
    return result;
}

std::string SqliteDatabaseCollection::ConnectConfiguration(std::istream* configuration,
                                                           const std::string& configurationPath,
                                                           const std::string& password)
{
    // Every initialisation starts afresh. The databases of an earlier one are closed now, so that
    // nothing reaches them through databanks or results the library still holds.
    for (const auto& database : m_databases) database->Retire();
    m_databases.clear();
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
        auto databasePath = platform::PathFromUtf8(entry.Path);
        if (databasePath.is_relative()) entry.Path = platform::Utf8FromPath(directory / databasePath);
        if (!result.empty()) result += kResultSeparator;
        result += Connect(entry, password);
    }
    return result;
}

std::string SqliteDatabaseCollection::Connect(const DatabaseEntry& entry, const std::string& applicationPassword)
{
    if (auto problem = AliasProblem(entry.Alias)) return Describe(entry) + " " + *problem + " and was not connected.";
    if (Find(entry.Alias)) return Describe(entry) + " was not connected: another database already uses that alias.";
    std::shared_ptr<SqliteDatabase> database;
    try {
        database = SqliteDatabase::Open(entry.Alias, entry.Path);
    } catch (const std::bad_alloc&) {
        return Describe(entry) + " could not be connected: there was not enough memory.";
    } catch (const std::exception& error) {
        return Describe(entry) + " could not be connected: " + ResultTextSafe(error.what()) + ".";
    }
    // A connected database ends "OK", secured or not; "SECURED" is a secured database left closed
    // because no password was given; a wrong password is an error.
    if (database->IsSecured()) {
        const std::string& given = entry.Password ? *entry.Password : applicationPassword;
        if (given.empty()) return Describe(entry) + " is secured and was not connected without its password: SECURED";
        if (given != database->Meta("password")) {
            return Describe(entry) + " is secured and was not connected: the password is wrong.";
        }
    }
    m_databases.push_back(std::move(database));
    return Describe(entry) + " connected: OK";
}

std::string DefaultConfigurationPath()
{
    std::string overridden = Environment("MORU_CONFIG_FILE");
    if (!overridden.empty()) return overridden;
#ifdef _WIN32
    std::string appData = Environment("APPDATA");
    if (appData.empty()) return {};
    return platform::Utf8FromPath(platform::PathFromUtf8(appData) / "MoruIntegration" / "databases.json");
#else
    std::string base = Environment("XDG_CONFIG_HOME");
    if (base.empty()) {
        std::string home = Environment("HOME");
        if (home.empty()) return {};
        base = platform::Utf8FromPath(platform::PathFromUtf8(home) / ".config");
    }
    return platform::Utf8FromPath(platform::PathFromUtf8(base) / "moru-integration" / "databases.json");
#endif
}

// A convenience for the user, never a condition of connecting: a place that cannot be written (a
// read-only home, a locked-down account) leaves a warning for the next initialisation's results.
void SqliteConfigFileInstaller::CreateConfigurationFile()
{
    PendingInstallerWarning().clear();
    std::string path = DefaultConfigurationPath();
    if (path.empty()) return;
    bool written = false;
    try {
        written = WriteDefaultConfiguration(path);
    } catch (const std::exception&) {
        // A path that the file system cannot take: not written either.
    }
    PendingInstallerWarning() = written ? std::string()
                                        : "Warning: the default configuration file " + service::ResultTextSafe(path) +
                                              " could not be written; the initialisation went on without it.";
}

} // namespace moru::sqlite
