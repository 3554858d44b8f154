#include "common/Stored.h"

#include "platform/Text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace moru::common {

namespace {
constexpr std::uint64_t AbsentNumberBits = 0x7FF8'0000'DEAD'BEEFull;

void AppendLittleEndian(std::string& out, std::uint64_t bits, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLittleEndian(const unsigned char* data, int bytes)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t bits = 0; // the value's bytes as they lie, on the engine's hot path
        std::memcpy(&bits, data, static_cast<std::size_t>(bytes));
        return bits;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < bytes; ++i) bits |= static_cast<std::uint64_t>(data[i]) << (8 * i);
    return bits;
}
} // namespace

std::string SearchKey(std::string_view value) { return platform::FoldCase(value); }

std::string AsciiSearchKey(std::string_view value)
{
    std::string key;
    AsciiSearchKeyInto(value, key);
    return key;
}

void SearchKeyInto(std::string_view value, std::string& key)
{
    key.clear();
    platform::AppendFoldedCase(value, key);
}

void AsciiSearchKeyInto(std::string_view value, std::string& key)
{
    key.assign(value);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

std::string EncodeNumbers(const std::vector<std::optional<double>>& numbers)
{
    std::string out;
    out.reserve(numbers.size() * 8);
    for (const auto& number : numbers) {
        AppendLittleEndian(out, number ? std::bit_cast<std::uint64_t>(*number) : AbsentNumberBits, 8);
    }
    return out;
}

std::vector<std::optional<double>> DecodeNumbers(const void* data, int size)
{
    std::vector<std::optional<double>> numbers;
    DecodeNumbersInto(data, size, numbers);
    return numbers;
}

void DecodeNumbersInto(const void* data, int size, std::vector<std::optional<double>>& numbers)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int offset = 0; offset + 8 <= size; offset += 8) {
        std::uint64_t bits = ReadLittleEndian(bytes + offset, 8);
        if (bits == AbsentNumberBits) numbers.emplace_back();
        else numbers.emplace_back(std::bit_cast<double>(bits));
    }
}

std::string EncodeLabels(const std::vector<int>& labels)
{
    std::string out;
    for (int label : labels) AppendLittleEndian(out, static_cast<std::uint32_t>(label), 4);
    return out;
}

std::vector<int> DecodeLabels(const void* data, int size)
{
    std::vector<int> labels;
    DecodeLabelsInto(data, size, labels);
    return labels;
}

void DecodeLabelsInto(const void* data, int size, std::vector<int>& labels)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int offset = 0; offset + 4 <= size; offset += 4) {
        labels.push_back(static_cast<int>(static_cast<std::uint32_t>(ReadLittleEndian(bytes + offset, 4))));
    }
}

std::string EncodeTexts(const std::vector<std::string>& texts)
{
    std::string out;
    for (const auto& text : texts) {
        out += text;
        out.push_back('\0');
    }
    return out;
}

std::vector<std::string> DecodeTexts(const void* data, int size)
{
    std::vector<std::string> texts;
    const char* bytes = static_cast<const char*>(data);
    int start = 0;
    for (int i = 0; i < size; ++i) {
        if (bytes[i] == '\0') {
            texts.emplace_back(bytes + start, static_cast<std::size_t>(i - start));
            start = i + 1;
        }
    }
    return texts;
}

service::NumericElements ParameterArray(const std::vector<BinaryElement>& elements, const std::vector<int>& labels,
                                        const service::NumericElements& numbers, bool exchanged, bool condensed)
{
    service::NumericElements array;
    AppendParameterArray(elements, labels, numbers, exchanged, condensed, array);
    return array;
}

void AppendParameterArray(const std::vector<BinaryElement>& elements, const std::vector<int>& labels,
                          const service::NumericElements& numbers, bool exchanged, bool condensed,
                          service::NumericElements& array)
{
    auto stored = [&](int label) -> std::optional<double> {
        for (std::size_t i = 0; i < labels.size() && i < numbers.size(); ++i) {
            if (labels[i] == label) return numbers[i];
        }
        return std::nullopt;
    };
    // Reserved with room to spare: a list that takes value after value grows geometrically rather
    // than by one value's numbers each time.
    const std::size_t needed = array.size() + 2 * elements.size();
    if (needed > array.capacity()) array.reserve(std::max(needed, 2 * array.capacity()));
    for (const auto& element : elements) {
        std::optional<double> ij = stored(element.LabelIJ), ji = stored(element.LabelJI);
        if (exchanged) std::swap(ij, ji);
        switch (element.Symmetry) {
        case 1:
        case 2:
            if (!ij) ij = ji;
            ji = ij;
            break;
        case 3:
            if (!ij && ji) ij = -*ji;
            if (!ji && ij) ji = -*ij;
            break;
        default: break;
        }
        array.push_back(ij);
        // An element without symmetry has no second order: it is one number in both forms, as the
        // engine's layout gives it.
        if (element.Symmetry == -1) continue;
        if (!condensed || element.Symmetry == 0) array.push_back(ji);
    }
}

void FillRegressionInformation(service::IpHelpInfoObject& info, int kind, std::optional<double> sigma,
                               const std::map<std::string, service::IpRegressLimits>& ranges,
                               std::vector<std::pair<std::string, service::IpRegressDeviations>> deviations,
                               std::vector<std::string> citations)
{
    using namespace moru::service;
    auto range = [&](const char* name) {
        auto found = ranges.find(name);
        return found == ranges.end() ? IpRegressLimits{} : found->second;
    };
    auto deviation = [&](const char* name) {
        for (const auto& [stored, values] : deviations) {
            if (stored == name) return values;
        }
        return IpRegressDeviations{};
    };
    info.ParamType = kind;
    switch (kind) {
    case HelpInfoVle:
        info.VleInfo = VleIpRegressHelpInfo{
            sigma, range("Temp"), range("Pres"), range("X"), deviation("Temp"), deviation("Pres"), deviation("X")};
        break;
    case HelpInfoLle:
        info.LleInfo =
            LleIpRegressHelpInfo{sigma, range("Temp"), range("X1"), range("X2"), deviation("X1"), deviation("X2")};
        break;
    case HelpInfoHenry:
        info.HenryInfo =
            HenryIpRegressHelpInfo{sigma, range("Temp"), range("Pres"), range("X"), range("Henry"), deviation("Henry")};
        break;
    case HelpInfoNist:
        info.NistInfo = NistIpRegressHelpInfo{sigma,      range("Temp"),         range("Pres"),
                                              range("X"), std::move(deviations), std::move(citations)};
        break;
    default: break;
    }
}

void PropertyCatalogue::Assign(std::vector<std::shared_ptr<StoredProperty>> properties)
{
    std::map<std::string, std::shared_ptr<StoredProperty>> byKey;
    for (const auto& property : properties) byKey[platform::FoldCase(property->m_name)] = property;
    m_properties = std::move(properties);
    m_byKey = std::move(byKey);
}

void PropertyCatalogue::Clear()
{
    m_properties.clear();
    m_byKey.clear();
}

std::shared_ptr<StoredProperty> PropertyCatalogue::ByName(const std::string& name) const
{
    auto found = m_byKey.find(platform::FoldCase(name));
    return found == m_byKey.end() ? nullptr : found->second;
}

std::shared_ptr<StoredProperty> PropertyCatalogue::ById(int id) const
{
    for (const auto& property : m_properties) {
        if (property->m_id == id) return property;
    }
    return nullptr;
}

bool AccessSetting(const std::map<std::string, std::string>& meta, const std::string& settingName)
{
    for (const auto& [key, value] : meta) {
        if (key.starts_with("access.") && platform::EqualsIgnoringCase(std::string_view(key).substr(7), settingName))
            return value == "1";
    }
    return false;
}

const DatabankRecord* RecordById(const std::vector<DatabankRecord>& records, int id)
{
    for (const auto& record : records) {
        if (record.Id == id) return &record;
    }
    return nullptr;
}

const DatabankRecord* RecordByName(const std::vector<DatabankRecord>& records, std::string_view name)
{
    for (const auto& record : records) {
        if (platform::EqualsIgnoringCase(record.Name, name)) return &record;
    }
    return nullptr;
}

void DatabankNameIndex::Build(const std::vector<DatabankRecord>& records)
{
    std::size_t size = 8;
    while (size < 2 * records.size()) size *= 2;
    const std::size_t mask = size - 1;
    // Made aside and kept only when whole: an allocation that fails leaves the index unbuilt.
    std::vector<std::uint32_t> slots(size, 0);
    std::vector<std::uint32_t> firstAlike(records.size(), 0);
    // The first databank of each folding, by the folded name's hash; equal hashes are told apart by
    // comparing the names themselves.
    std::vector<std::uint32_t> firstByFolded(size, 0);
    std::string folded;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string& name = records[i].Name;
        folded.clear();
        platform::AppendFoldedCase(name, folded);
        std::size_t slot = std::hash<std::string_view>{}(folded)&mask;
        while (firstByFolded[slot] != 0 && !platform::EqualsIgnoringCase(records[firstByFolded[slot] - 1].Name, name))
            slot = (slot + 1) & mask;
        if (firstByFolded[slot] == 0) firstByFolded[slot] = static_cast<std::uint32_t>(i + 1);
        firstAlike[i] = firstByFolded[slot] - 1;
        // A name stored twice keeps its first position, whose folding is the same.
        slot = std::hash<std::string_view>{}(name)&mask;
        while (slots[slot] != 0 && records[slots[slot] - 1].Name != name) slot = (slot + 1) & mask;
        if (slots[slot] == 0) slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
    m_firstAlike = std::move(firstAlike);
    m_slots = std::move(slots);
}

const DatabankRecord* DatabankNameIndex::Find(const std::vector<DatabankRecord>& records, std::string_view name)
{
    if (records.empty()) return nullptr;
    if (m_slots.empty()) Build(records);
    // A walk over the databanks asks by the name last found or the next one, found without a hash.
    for (const std::size_t position : {m_lastFound, m_lastFound + 1}) {
        if (position < records.size() && records[position].Name == name) {
            m_lastFound = position;
            return &records[m_firstAlike[position]];
        }
    }
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>{}(name)&mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t position = m_slots[slot] - 1;
        if (records[position].Name == name) {
            m_lastFound = position;
            return &records[m_firstAlike[position]];
        }
    }
    return RecordByName(records, name);
}

void DatabankNameIndex::Clear()
{
    m_slots.clear();
    m_firstAlike.clear();
    m_lastFound = 0;
}

service::FoundCompoundsList SearchEach(
    service::SearchStringMap& searchStrings,
    const std::function<service::FoundCompoundsList(const std::string& text, int position)>& search)
{
    service::FoundCompoundsList hits;
    for (auto entry = searchStrings.begin(); entry != searchStrings.end();) {
        auto found = search(entry->second, entry->first);
        if (found.empty()) {
            ++entry;
            continue;
        }
        hits.insert(hits.end(), found.begin(), found.end());
        entry = searchStrings.erase(entry);
    }
    return hits;
}

namespace {
std::string FirstValue(const service::FoundCompounds& hit, std::string_view type)
{
    if (!hit.IdentifierValues) return {};
    for (const auto& value : *hit.IdentifierValues) {
        if (platform::EqualsIgnoringCase(value->Identifier->Name(), type) && value->ValueList &&
            !value->ValueList->empty())
            return value->ValueList->front();
    }
    return {};
}
} // namespace

void TakeFirstHit(const service::FoundCompoundsList& hits, int& compoundIndex, std::string& compoundName,
                  std::string& compoundAlias)
{
    if (hits.empty()) return;
    const auto& hit = *hits.front();
    compoundIndex = hit.Compound->Id();
    compoundName = FirstValue(hit, "NAME");
    compoundAlias = FirstValue(hit, "ALIAS");
}

} // namespace moru::common
