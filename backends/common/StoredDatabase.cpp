#include "common/StoredDatabase.h"

#include "platform/Text.h"
#include "service/BinaryValues.h"
#include "service/Bulk.h"
#include "service/Errors.h"

#include <charconv>

namespace moru::common {

using namespace moru::service;

DatabasePtr StoredDatabank::Database() const { return m_database; }

CompoundCollectionPtr StoredDatabank::GetIdentifiersOfCompoundsWithData() const
{
    return m_database->CompoundsWithData(m_record.Id);
}

void StoredDatabank::Retire()
{
    m_record.BaseName.reset();
    m_record.Description.reset();
    m_record.Name.shrink_to_fit();
}

StoredProperty* PropertyRows::Find(int propertyId)
{
    const auto found = m_byId.find(propertyId);
    return found == m_byId.end() ? nullptr : found->second;
}

void PropertyRows::AddProperty(int id, std::string name, int dataType, int interactionType, int elementCount)
{
    auto property = std::make_shared<StoredProperty>();
    property->m_id = id;
    property->m_name = std::move(name);
    property->m_dataType = dataType;
    property->m_interactionType = interactionType;
    property->m_elementCount = elementCount;
    m_byId[id] = property.get();
    m_properties.push_back(std::move(property));
}

void PropertyRows::AddUnitRow(int propertyId, std::string row, std::string unit)
{
    if (auto* property = Find(propertyId)) property->m_unitRows.push_back({std::move(row), std::move(unit)});
}

void PropertyRows::AddElement(int propertyId, int labelIJ, int labelJI, int symmetry)
{
    auto* property = Find(propertyId);
    if (!property) return;
    property->m_labelIJ.push_back(labelIJ);
    property->m_labelJI.push_back(labelJI);
    property->m_symmetry.push_back(symmetry);
}

namespace {

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

StoredDatabase::~StoredDatabase() = default;

void StoredDatabase::TakeMeta(std::map<std::string, std::string> meta)
{
    m_meta = std::move(meta);
    m_version = ParseVersion(Meta("version"));
    const auto folding = Meta(std::string(SearchFoldingKey));
    if (!folding) {
        m_asciiSearchKeys = true;
    } else if (*folding != UnicodeSimpleFolding) {
        throw ServiceError("the database's search keys use the unknown case folding \"" + *folding + "\"");
    }
}

void StoredDatabase::CheckOpen() const
{
    if (!IsOpen()) throw ServiceError("the database '" + m_alias + "' is closed: a later initialisation replaced it");
}

void StoredDatabase::Retire()
{
    for (const auto& object : m_databankObjects) {
        if (auto databank = object.lock()) databank->Retire();
    }
    m_meta.clear();
    std::vector<DatabankRecord>().swap(m_databanks);
    m_databankNames.Clear();
    m_properties.Clear();
    m_propertiesLoaded = false;
    std::vector<std::weak_ptr<StoredDatabank>>().swap(m_databankObjects);
}

void StoredDatabase::LoadProperties() const
{
    if (m_propertiesLoaded) return;
    CheckOpen();
    m_properties.Assign(ReadProperties());
    m_propertiesLoaded = true;
}

const std::vector<std::shared_ptr<StoredProperty>>& StoredDatabase::Properties() const
{
    LoadProperties();
    return m_properties.All();
}

std::shared_ptr<StoredProperty> StoredDatabase::PropertyByName(const std::string& name) const
{
    LoadProperties();
    return m_properties.ByName(name);
}

std::shared_ptr<StoredProperty> StoredDatabase::PropertyById(int id) const
{
    LoadProperties();
    return m_properties.ById(id);
}

bool StoredDatabase::GetDatabaseAccessSetting(const std::string& settingName) const
{
    return AccessSetting(m_meta, settingName);
}

DatabankCollectionPtr StoredDatabase::EnumerateDatabanks() const
{
    auto collection = std::make_shared<DatabankCollection>();
    bool alive = m_databankObjects.size() == m_databanks.size();
    for (const auto& object : m_databankObjects) alive = alive && !object.expired();
    if (!alive) {
        m_databankObjects.clear();
        auto self = std::const_pointer_cast<StoredDatabase>(shared_from_this());
        for (std::size_t position = 0; position < m_databanks.size(); ++position) {
            auto databank = std::make_shared<StoredDatabank>(self, m_databanks[position], position);
            m_databankObjects.push_back(databank);
            collection->Add(std::move(databank));
        }
        return collection;
    }
    for (const auto& object : m_databankObjects) collection->Add(object.lock());
    return collection;
}

DatabankPtr StoredDatabase::DatabankObject(int id) const
{
    const DatabankCollectionPtr databanks = EnumerateDatabanks();
    for (const auto& databank : databanks->Items()) {
        if (databank->Id() == id) return databank;
    }
    return nullptr;
}

// Managers live inside their database; the pointer handed out shares ownership of the database, so
// a held manager keeps it alive and is the same object on every call.
template <typename Manager>
std::shared_ptr<Manager> StoredDatabase::Share(const std::unique_ptr<Manager>& manager) const
{
    return std::shared_ptr<Manager>(std::const_pointer_cast<StoredDatabase>(shared_from_this()), manager.get());
}

std::shared_ptr<ICompoundManager> StoredDatabase::CompoundManager() const { return Share(m_managers.Compounds); }
std::shared_ptr<IPropertyManager> StoredDatabase::PropertyManager() const { return Share(m_managers.Properties); }
std::shared_ptr<IReactionManager> StoredDatabase::ReactionManager() const { return Share(m_managers.Reactions); }
std::shared_ptr<ISundryDataManager> StoredDatabase::SundryDataManager() const { return Share(m_managers.SundryData); }
std::shared_ptr<IPropertyValueManager> StoredDatabase::PropertyValueManager() const
{
    return Share(m_managers.PropertyValues);
}
std::shared_ptr<IMolData> StoredDatabase::MolDataManager() const { return Share(m_managers.MolData); }
std::shared_ptr<IBinaryValueManager> StoredDatabase::BinaryValueManager() const
{
    return Share(m_managers.BinaryValues);
}
std::shared_ptr<IBulkManager> StoredDatabase::BulkManager() const { return Share(m_managers.Bulk); }

std::optional<std::string> StoredDatabase::Meta(const std::string& key) const
{
    auto found = m_meta.find(key);
    if (found == m_meta.end()) return std::nullopt;
    return found->second;
}

std::string StoredDatabase::SearchKeyOf(std::string_view text) const
{
    return m_asciiSearchKeys ? AsciiSearchKey(text) : SearchKey(text);
}

void StoredDatabase::SearchKeyInto(std::string_view text, std::string& key) const
{
    if (m_asciiSearchKeys) AsciiSearchKeyInto(text, key);
    else common::SearchKeyInto(text, key);
}

const DatabankRecord* StoredDatabase::OwnDatabank(const IDatabank& databank) const
{
    CheckOpen(); // a retired database owns nothing any more: fail rather than answer "not mine"
    const auto* own = dynamic_cast<const StoredDatabank*>(&databank);
    if (!own || &own->Owner() != this) return nullptr;
    // Ids are unique: the record at the databank's own place is the one a search would find.
    if (own->Position() < m_databanks.size() && m_databanks[own->Position()].Id == own->Id())
        return &m_databanks[own->Position()];
    return RecordById(m_databanks, own->Id());
}

const DatabankRecord* StoredDatabase::DatabankByName(std::string_view name) const
{
    CheckOpen();
    return m_databankNames.Find(m_databanks, name);
}

} // namespace moru::common
