#include "PgService.h"

#include "PgSchema.h"

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

int ParseVersion(const std::optional<std::string>& text)
{
    if (!text) return 0;
    int version = 0;
    const auto* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, version);
    if (error != std::errc() || stop != end) throw ServiceError("the database's version record is not a whole number");
    return version;
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

DatabasePtr PgDatabank::Database() const { return m_database; }

CompoundCollectionPtr PgDatabank::GetIdentifiersOfCompoundsWithData() const
{
    auto collection = std::make_shared<CompoundCollection>();
    const PgResult rows = m_database->Db().Run(sql::SelectIdentifiersOfDatabankCompounds, PgParams().Int(m_record.Id));
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
    : m_alias(std::move(alias)), m_connection(std::move(connection))
{
    m_compoundManager = std::make_unique<PgCompoundManager>(*this);
    m_propertyManager = std::make_unique<PgPropertyManager>(*this);
    m_reactionManager = std::make_unique<PgReactionManager>(*this);
    m_sundryDataManager = std::make_unique<PgSundryDataManager>(*this);
    m_propertyValueManager = std::make_unique<PgPropertyValueManager>(*this);
    m_molDataManager = std::make_unique<PgMolData>(*this);
    m_binaryValueManager = std::make_unique<PgBinaryValueManager>(*this);
    m_bulkManager = std::make_unique<PgBulkManager>(*this);
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
    const PgResult meta = db.Run(sql::SelectMeta);
    for (int r = 0; r < meta.Rows(); ++r) m_meta[meta.Text(r, 0)] = meta.Text(r, 1);
    m_version = ParseVersion(Meta("version"));
    const auto folding = Meta(std::string(common::SearchFoldingKey));
    if (!folding) {
        m_asciiSearchKeys = true;
    } else if (*folding != common::UnicodeSimpleFolding) {
        throw ServiceError("the database's search keys use the unknown case folding \"" + *folding + "\"");
    }
    const PgResult databanks = db.Run(sql::SelectDatabanks);
    for (int r = 0; r < databanks.Rows(); ++r) {
        m_databanks.push_back(
            {databanks.Int(r, 0), databanks.Text(r, 1), databanks.OptionalText(r, 2), databanks.OptionalText(r, 3)});
    }
}

void PgDatabase::Retire()
{
    m_connection.reset();
    m_meta.clear();
    m_databanks.clear();
    m_properties.Clear();
    m_propertiesLoaded = false;
    m_identifierTypes.reset();
    m_databankObjects.clear();
}

PgConnection& PgDatabase::Db() const
{
    if (!m_connection) {
        throw ServiceError("the database '" + m_alias + "' is closed: a later initialisation replaced it");
    }
    return *m_connection;
}

bool PgDatabase::GetDatabaseAccessSetting(const std::string& settingName) const
{
    return common::AccessSetting(m_meta, settingName);
}

DatabankCollectionPtr PgDatabase::EnumerateDatabanks() const
{
    auto collection = std::make_shared<DatabankCollection>();
    bool alive = m_databankObjects.size() == m_databanks.size();
    for (const auto& object : m_databankObjects) alive = alive && !object.expired();
    if (!alive) {
        m_databankObjects.clear();
        auto self = std::const_pointer_cast<PgDatabase>(shared_from_this());
        for (const auto& record : m_databanks) {
            auto databank = std::make_shared<PgDatabank>(self, record);
            m_databankObjects.push_back(databank);
            collection->Add(std::move(databank));
        }
        return collection;
    }
    for (const auto& object : m_databankObjects) collection->Add(object.lock());
    return collection;
}

DatabankPtr PgDatabase::DatabankObject(int id) const
{
    const DatabankCollectionPtr databanks = EnumerateDatabanks();
    for (const auto& databank : databanks->Items()) {
        if (databank->Id() == id) return databank;
    }
    return nullptr;
}

template <typename Manager>
std::shared_ptr<Manager> PgDatabase::Share(const std::unique_ptr<Manager>& manager) const
{
    return std::shared_ptr<Manager>(std::const_pointer_cast<PgDatabase>(shared_from_this()), manager.get());
}

std::shared_ptr<ICompoundManager> PgDatabase::CompoundManager() const { return Share(m_compoundManager); }
std::shared_ptr<IPropertyManager> PgDatabase::PropertyManager() const { return Share(m_propertyManager); }
std::shared_ptr<IReactionManager> PgDatabase::ReactionManager() const { return Share(m_reactionManager); }
std::shared_ptr<ISundryDataManager> PgDatabase::SundryDataManager() const { return Share(m_sundryDataManager); }
std::shared_ptr<IPropertyValueManager> PgDatabase::PropertyValueManager() const
{
    return Share(m_propertyValueManager);
}
std::shared_ptr<IMolData> PgDatabase::MolDataManager() const { return Share(m_molDataManager); }
std::shared_ptr<IBinaryValueManager> PgDatabase::BinaryValueManager() const { return Share(m_binaryValueManager); }
std::shared_ptr<IBulkManager> PgDatabase::BulkManager() const { return Share(m_bulkManager); }

std::optional<std::string> PgDatabase::Meta(const std::string& key) const
{
    auto found = m_meta.find(key);
    if (found == m_meta.end()) return std::nullopt;
    return found->second;
}

std::string PgDatabase::SearchKeyOf(std::string_view text) const
{
    return m_asciiSearchKeys ? common::AsciiSearchKey(text) : common::SearchKey(text);
}

void PgDatabase::LoadProperties() const
{
    if (m_propertiesLoaded) return;
    PgConnection& db = Db();
    std::vector<std::shared_ptr<StoredProperty>> properties;
    std::map<int, StoredProperty*> byId;
    const PgResult rows = db.Run(sql::SelectProperties);
    for (int r = 0; r < rows.Rows(); ++r) {
        auto property = std::make_shared<StoredProperty>();
        property->m_id = rows.Int(r, 0);
        property->m_name = rows.Text(r, 1);
        property->m_dataType = rows.Int(r, 2);
        property->m_interactionType = rows.Int(r, 3);
        property->m_elementCount = rows.Int(r, 4);
        byId[property->m_id] = property.get();
        properties.push_back(std::move(property));
    }
    const PgResult units = db.Run(sql::SelectAllUnitRows);
    for (int r = 0; r < units.Rows(); ++r) {
        const auto owner = byId.find(units.Int(r, 0));
        if (owner != byId.end()) owner->second->m_unitRows.push_back({units.Text(r, 1), units.Text(r, 2)});
    }
    const PgResult elements = db.Run(sql::SelectAllPropertyElements);
    for (int r = 0; r < elements.Rows(); ++r) {
        const auto owner = byId.find(elements.Int(r, 0));
        if (owner == byId.end()) continue;
        owner->second->m_labelIJ.push_back(elements.Int(r, 1));
        owner->second->m_labelJI.push_back(elements.Int(r, 2));
        owner->second->m_symmetry.push_back(elements.Int(r, 3));
    }
    m_properties.Assign(std::move(properties));
    m_propertiesLoaded = true;
}

const std::vector<std::shared_ptr<StoredProperty>>& PgDatabase::Properties() const
{
    LoadProperties();
    return m_properties.All();
}

std::shared_ptr<StoredProperty> PgDatabase::PropertyByName(const std::string& name) const
{
    LoadProperties();
    return m_properties.ByName(name);
}

std::shared_ptr<StoredProperty> PgDatabase::PropertyById(int id) const
{
    LoadProperties();
    return m_properties.ById(id);
}

const DatabankRecord* PgDatabase::OwnDatabank(const IDatabank& databank) const
{
    Db(); // a retired database owns nothing any more: fail rather than answer "not mine"
    const auto* own = dynamic_cast<const PgDatabank*>(&databank);
    if (!own || &own->Owner() != this) return nullptr;
    return common::RecordById(m_databanks, own->Id());
}

const DatabankRecord* PgDatabase::DatabankByName(const std::string& name) const
{
    Db();
    return common::RecordByName(m_databanks, name);
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
