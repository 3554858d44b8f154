#include "PgService.h"

#include "PgSchema.h"

#include "common/StoredManagers.h"

#include "platform/Environment.h"
#include "platform/Text.h"
#include "service/Contract.h"
#include "service/Errors.h"

#include <charconv>

namespace moru::postgres {

using namespace moru::service;
using common::DatabankRecord;
using common::StoredProperty;

namespace {

// A server that does not answer fails a connect and a statement within these, so that no call hangs
// the host. MORU_PG_CONNECT_TIMEOUT and MORU_PG_STATEMENT_TIMEOUT (whole seconds, 1 to 3600) set
// others, for a slow network or for tests that wait for a timeout.
constexpr int kConnectTimeoutSeconds = 10;

// A value of the options setting: spaces and backslashes escaped.
std::string OptionValue(std::string_view text)
{
    std::string escaped;
    for (char c : text) {
        if (c == ' ' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

std::string QuotedIdentifier(std::string_view name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

bool Storable(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == 0) return false;
        if (byte < 0x80) {
            ++i;
            continue;
        }
        const int length = byte >= 0xF0 && byte <= 0xF4 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 && byte < 0xE0 ? 2 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
        }
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second >= 0xA0) || (byte == 0xF0 && second < 0x90) ||
            (byte == 0xF4 && second >= 0x90))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

std::vector<std::pair<std::string, std::string>> ConnectionSettings(const common::DatabaseEntry& entry,
                                                                    const std::string& password, bool readOnly)
{
    // The url first: the settings after it override what it says.
    std::vector<std::pair<std::string, std::string>> settings{{"dbname", entry.Url}};
    if (!password.empty()) settings.emplace_back("password", password);
    settings.emplace_back("connect_timeout",
                          std::to_string(TimeoutSeconds("MORU_PG_CONNECT_TIMEOUT", kConnectTimeoutSeconds)));
    settings.emplace_back("application_name", "MoruIntegration");
    settings.emplace_back("client_encoding", "UTF8");
    // A server gone silent is noticed within a minute even between statements.
    settings.emplace_back("keepalives", "1");
    settings.emplace_back("keepalives_idle", "30");
    settings.emplace_back("keepalives_interval", "10");
    settings.emplace_back("keepalives_count", "3");
    // Notices (a schema dropped that was not there) are not for the host's standard error.
    // Custom plans: a generic plan of the bulk statements tests each row against the whole array
    // of compounds, one by one; a plan made for the arrays at hand hashes them (7 times faster at
    // 4,000 compounds).
    std::string options = "-c client_min_messages=warning -c plan_cache_mode=force_custom_plan -c statement_timeout=" +
                          std::to_string(TimeoutSeconds("MORU_PG_STATEMENT_TIMEOUT", kStatementTimeoutSeconds)) + "s";
    // Compiling a statement's plan takes seconds where running it takes milliseconds: the
    // databank restrictions' policies make the planner's estimates large enough to ask for it.
    options += " -c jit=off";
    if (entry.Schema) options += " -c search_path=" + OptionValue(QuotedIdentifier(*entry.Schema));
    if (readOnly) options += " -c default_transaction_read_only=on";
    settings.emplace_back("options", options);
    return settings;
}

common::OpenedDatabase OpenServerDatabase(const common::DatabaseEntry& entry, const std::string& applicationPassword)
{
    if (entry.Schema && !Storable(*entry.Schema)) throw ServiceError("the schema name is not UTF-8 text");
    if (!Storable(entry.Url)) throw ServiceError("the url is not UTF-8 text");
    const std::string password = entry.Password ? *entry.Password : applicationPassword;
    if (!Storable(password)) return {nullptr, common::Admission::WrongPassword};
    PgConnection::Refusal refusal;
    auto connection = PgConnection::Open(ConnectionSettings(entry, password, true), refusal);
    if (!connection) {
        if (refusal.needsPassword && password.empty()) return {nullptr, common::Admission::NeedsPassword};
        if (refusal.usedPassword && refusal.reason.find("password") != std::string::npos)
            return {nullptr, common::Admission::WrongPassword};
        // The reason never holds the password: libpq names the host, the user and the database.
        throw ServiceError(refusal.reason.empty() ? "the server refused the connection" : refusal.reason);
    }
    auto database = std::make_shared<PgDatabase>(entry.Alias, std::move(connection));
    database->Load();
    return {std::move(database), common::Admission::Connected};
}

void BeginCall() noexcept { PgConnection::BeginCall(); }
void EndCall() { PgConnection::EndCall(); }

CompoundCollectionPtr PgDatabase::CompoundsWithData(int databankId) const
{
    auto collection = std::make_shared<CompoundCollection>();
    const PgResult rows = Db().Run(sql::SelectIdentifiersOfDatabankCompounds, PgParams().Int(databankId));
    for (int r = 0; r < rows.Rows(); ++r) {
        const int id = rows.Int(r, 0);
        if (collection->empty() || collection->back().first != id) collection->emplace_back(id, CompoundNames{});
        if (rows.IsNull(r, 1)) continue;
        CompoundNames& names = collection->back().second;
        const std::string type = rows.Text(r, 1);
        if (!names.Name && platform::EqualsIgnoringCase(type, "NAME")) names.Name = rows.Text(r, 2);
        if (!names.Alias && platform::EqualsIgnoringCase(type, "ALIAS")) names.Alias = rows.Text(r, 2);
    }
    return collection;
}

PgDatabase::PgDatabase(std::string alias, std::unique_ptr<PgConnection> connection)
    : StoredDatabase(std::move(alias)), m_connection(std::move(connection))
{
    m_managers.Compounds = std::make_unique<PgCompoundManager>(*this);
    m_managers.Properties = std::make_unique<common::StoredPropertyManager>(*this);
    m_managers.Reactions = std::make_unique<PgReactionManager>(*this);
    m_managers.SundryData = std::make_unique<common::StoredSundryDataManager>(*this);
    m_managers.PropertyValues = std::make_unique<common::StoredPropertyValueManager>(*this);
    m_managers.MolData = std::make_unique<common::StoredMolData>(*this);
    m_managers.BinaryValues = std::make_unique<PgBinaryValueManager>(*this);
    m_managers.Bulk = std::make_unique<PgBulkManager>(*this);
}

PgDatabase::~PgDatabase() = default;

void PgDatabase::Load()
{
    PgConnection& db = Db();
    std::optional<std::string> format;
    try {
        const PgResult row = db.Run(sql::SelectFormat);
        if (row.Rows() > 0) format = row.Text(0, 0);
    } catch (const ServiceError&) {
        throw ServiceError("the schema holds no property database (it has no format record)");
    }
    if (!format) throw ServiceError("the schema holds no property database (it has no format record)");
    if (*format != common::FormatName) {
        throw ServiceError("the schema holds a database of another format (\"" + *format + "\", not \"" +
                           std::string(common::FormatName) + "\")");
    }
    std::map<std::string, std::string> meta;
    const PgResult metaRows = db.Run(sql::SelectMeta);
    for (int r = 0; r < metaRows.Rows(); ++r) meta[metaRows.Text(r, 0)] = metaRows.Text(r, 1);
    TakeMeta(std::move(meta));
    std::vector<DatabankRecord> databanks;
    const PgResult rows = db.Run(sql::SelectDatabanks);
    databanks.reserve(static_cast<std::size_t>(rows.Rows()));
    for (int r = 0; r < rows.Rows(); ++r)
        databanks.push_back({rows.Int(r, 0), rows.Text(r, 1), rows.OptionalText(r, 2), rows.OptionalText(r, 3)});
    TakeDatabanks(std::move(databanks));
}

void PgDatabase::Retire()
{
    StoredDatabase::Retire();
    m_connection.reset();
    m_identifierTypes.reset();
}

PgConnection& PgDatabase::Db() const
{
    CheckOpen();
    return *m_connection;
}

std::vector<std::shared_ptr<StoredProperty>> PgDatabase::ReadProperties() const
{
    PgConnection& db = Db();
    common::PropertyRows properties;
    const PgResult rows = db.Run(sql::SelectProperties);
    for (int r = 0; r < rows.Rows(); ++r)
        properties.AddProperty(rows.Int(r, 0), rows.Text(r, 1), rows.Int(r, 2), rows.Int(r, 3), rows.Int(r, 4));
    const PgResult units = db.Run(sql::SelectAllUnitRows);
    for (int r = 0; r < units.Rows(); ++r) properties.AddUnitRow(units.Int(r, 0), units.Text(r, 1), units.Text(r, 2));
    const PgResult elements = db.Run(sql::SelectAllPropertyElements);
    for (int r = 0; r < elements.Rows(); ++r)
        properties.AddElement(elements.Int(r, 0), elements.Int(r, 1), elements.Int(r, 2), elements.Int(r, 3));
    return properties.Take();
}

// The types are few: read once, then matched by the library's folding.
IdentifierPtr PgDatabase::IdentifierType(const std::string& name) const
{
    if (!m_identifierTypes) {
        std::map<std::string, IdentifierPtr> types;
        const PgResult rows = Db().Run(sql::SelectIdentifierTypes);
        for (int r = 0; r < rows.Rows(); ++r) {
            std::string type = rows.Text(r, 0);
            types.try_emplace(platform::FoldCase(type), std::make_shared<PgIdentifier>(type));
        }
        types[platform::FoldCase(kCompoundIndexType)] = std::make_shared<PgIdentifier>(kCompoundIndexType);
        m_identifierTypes = std::move(types);
    }
    auto found = m_identifierTypes->find(platform::FoldCase(name));
    return found == m_identifierTypes->end() ? nullptr : found->second;
}

std::vector<int> PgDatabase::FindCompounds(const std::string& text, const std::string& type) const
{
    const std::string key = SearchKeyOf(text);
    if (!Storable(key)) return {};
    const PgResult rows = Db().Run(sql::FindCompoundsByKey, PgParams().Text(key));
    std::vector<int> ids;
    for (int r = 0; r < rows.Rows(); ++r) {
        const int id = rows.Int(r, 0);
        if (!ids.empty() && ids.back() == id) continue;
        if (type.empty() || platform::EqualsIgnoringCase(rows.Text(r, 1), type)) ids.push_back(id);
    }
    return ids;
}

std::optional<int> PgDatabase::Resolve(const std::string& value, const std::string& type) const
{
    if (platform::EqualsIgnoringCase(type, kCompoundIndexType)) {
        int id = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), id);
        if (value.empty() || error != std::errc() || end != value.data() + value.size()) return std::nullopt;
        if (Db().Run(sql::CompoundExists, PgParams().Int(id)).Rows() == 0) return std::nullopt;
        return id;
    }
    std::vector<int> ids = FindCompounds(value, type);
    if (ids.empty()) return std::nullopt;
    return ids.front();
}

} // namespace moru::postgres
