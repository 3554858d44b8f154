#include "common/Configuration.h"

#include "platform/Environment.h"
#include "platform/Files.h"
#include "service/Contract.h"
#include "service/Errors.h"
#include "service/ResultText.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <utility>

namespace moru::common {

using namespace moru::service;

namespace {

std::string Environment(const char* name) { return platform::EnvironmentVariable(name).value_or(std::string()); }

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
        Field alias, path, url, schema, password;
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
            Item& item = items.back();
            Field* field = m_key == "alias"      ? &item.alias
                           : m_key == "path"     ? &item.path
                           : m_key == "url"      ? &item.url
                           : m_key == "schema"   ? &item.schema
                           : m_key == "password" ? &item.password
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

std::optional<std::string> OptionalText(const ConfigurationReader::Field& field, const std::string& where,
                                        const char* name)
{
    if (!field.present) return std::nullopt;
    if (!field.text) {
        throw ServiceError("The configuration entry " + where + " has a \"" + name + "\" that is not a text.");
    }
    return field.value;
}

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
        // A file entry as it always was; a server entry has a "url" instead of the "path".
        const bool onServer = item.object && item.url.present && !item.path.present;
        if (!item.object || !item.alias.text || !(onServer ? item.url.text : item.path.text)) {
            throw ServiceError("The configuration entry " + where + " needs the texts \"alias\" and \"path\".");
        }
        if (item.url.present && item.path.present) {
            throw ServiceError("The configuration entry " + where + " has both a \"path\" and a \"url\".");
        }
        DatabaseEntry entry;
        entry.Alias = item.alias.value;
        if (onServer) {
            entry.Url = item.url.value;
            if (entry.Url.empty()) throw ServiceError("The configuration entry " + where + " has an empty \"url\".");
            entry.Schema = OptionalText(item.schema, where, "schema");
        } else {
            entry.Path = item.path.value;
        }
        entry.Password = OptionalText(item.password, where, "password");
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string UrlWithoutPassword(const std::string& url)
{
    std::string result = url;
    // user:password@ in the authority.
    const std::size_t scheme = result.find("://");
    const std::size_t authorityStart = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t authorityEnd = result.find_first_of("/?", authorityStart);
    const std::size_t at = result.rfind('@', authorityEnd == std::string::npos ? std::string::npos : authorityEnd);
    if (at != std::string::npos && at >= authorityStart) {
        const std::size_t colon = result.find(':', authorityStart);
        if (colon != std::string::npos && colon < at) result.erase(colon, at - colon);
    }
    // password=... among the parameters.
    const std::size_t query = result.find('?');
    if (query == std::string::npos) return result;
    std::string kept = result.substr(0, query);
    std::string parameters = result.substr(query + 1);
    char separator = '?';
    std::size_t start = 0;
    while (start <= parameters.size()) {
        std::size_t end = parameters.find('&', start);
        if (end == std::string::npos) end = parameters.size();
        const std::string parameter = parameters.substr(start, end - start);
        if (!parameter.empty() && parameter.rfind("password=", 0) != 0 && parameter != "password") {
            kept += separator;
            kept += parameter;
            separator = '&';
        }
        start = end + 1;
    }
    return kept;
}

std::string Describe(const DatabaseEntry& entry)
{
    std::string where = entry.OnServer() ? UrlWithoutPassword(entry.Url) : entry.Path;
    if (entry.OnServer() && entry.Schema) where += ", schema " + *entry.Schema;
    return "Database '" + ResultTextSafe(entry.Alias) + "' (" + ResultTextSafe(where) + ")";
}

// The host addresses a database by its alias in databank references ("DB.BANK"), in monikers and
// in fixed 20-byte buffers.
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
void CreateDefaultConfigurationFile()
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

} // namespace moru::common
