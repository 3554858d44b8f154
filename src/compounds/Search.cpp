#include "compounds/Search.h"

#include "compounds/SearchSource.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"

#include <algorithm>

namespace moru::compounds {

namespace {

// The compound a hit names, for a reason: "compound 7", or "the hit" when it names none.
std::string HitName(const service::FoundCompounds& hit)
{
    return hit.Compound ? "compound " + std::to_string(hit.Compound->Id()) : "the hit";
}

// Reads the property value a search asked for; false, noting why, when it cannot be read.
bool ReadPropertyValue(const service::FoundCompounds& hit, HitDetails& details)
{
    if (!hit.PropertyValues) {
        details.propertyName.emplace();
        details.propertyValue = 0.0;
        return true;
    }
    if (hit.PropertyValues->empty()) {
        platform::NoteFailure(HitName(hit), " carries an empty list of property values");
        return false;
    }
    const service::PropertyValuePtr& value = hit.PropertyValues->front();
    if (!value) return true;
    if (!value->Property) {
        details.propertyName.emplace();
        platform::NoteFailure("the property value of ", HitName(hit), " names no property");
        return false;
    }
    const std::string name = value->Property->Name();
    details.propertyName = name;
    if (value->Property->ElementCount() != 1) {
        platform::NoteFailure("property ", name, " of ", HitName(hit), " has ", value->Property->ElementCount(),
                              " elements, not one");
        return false;
    }
    const auto* elements = std::get_if<service::NumericElements>(&value->Data);
    if (!elements || elements->empty() || !elements->front()) {
        platform::NoteFailure("the value of property ", name, " of ", HitName(hit), " is no number");
        return false;
    }
    details.propertyValue = *elements->front();
    return true;
}

// A later value of the same identifier replaces an earlier one unless it is empty: the host's
// field keeps a value when an empty one follows it.
void TakeValue(HitField& field, const std::string& value)
{
    if (!field || value.c_str()[0] != '\0') field = value;
}

} // namespace

HitIdentifiers ReadIdentifiers(const service::FoundCompounds& hit)
{
    HitIdentifiers identifiers;
    if (hit.IdentifierValues) {
        for (const auto& value : *hit.IdentifierValues) {
            if (!value) continue;
            const std::string type = value->Identifier ? value->Identifier->Name() : std::string();
            // A type of ASCII alone equals a lower-case name byte for byte once its capitals are
            // lowered; only one with other letters needs the whole folding.
            const bool ascii =
                std::all_of(type.begin(), type.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            const auto is = [&](std::string_view name) {
                if (!ascii) return platform::EqualsIgnoringCase(type, name);
                return std::equal(type.begin(), type.end(), name.begin(), name.end(), [](char t, char n) {
                    return (t >= 'A' && t <= 'Z' ? static_cast<char>(t - 'A' + 'a') : t) == n;
                });
            };
            HitField* field = is("name")    ? &identifiers.name
                              : is("alias") ? &identifiers.alias
                              : is("casrn") ? &identifiers.casNumber
                                            : nullptr;
            if (!field) continue;
            if (!value->ValueList || value->ValueList->empty()) {
                platform::NoteFailure("identifier ", value->Identifier->Name(), " of ", HitName(hit),
                                      " holds no value");
                return identifiers;
            }
            TakeValue(*field, value->ValueList->front());
        }
    }
    for (HitField* field : {&identifiers.name, &identifiers.alias, &identifiers.casNumber}) {
        if (!*field) field->emplace();
    }
    identifiers.whole = true;
    return identifiers;
}

HitDetails ReadHitDetails(const service::FoundCompounds& hit)
{
    HitDetails details;
    if (hit.Compound) {
        details.compoundIndex = hit.Compound->Id();
        details.compoundPosition = hit.CompoundPosition;
    }
    if (hit.Databank) {
        details.databankName = hit.Databank->Name();
        if (const service::DatabasePtr database = hit.Databank->Database()) details.databaseAlias = database->Alias();
    }
    if (!ReadPropertyValue(hit, details)) return details;
    details.identifiers = ReadIdentifiers(hit);
    details.whole = details.identifiers.whole;
    return details;
}

service::FoundCompoundsPtr HitAt(const service::FoundCompoundsList& hits, int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= hits.size()) {
        platform::NoteFailure("position ", position, " is outside the list of ", hits.size());
        return nullptr;
    }
    const auto& hit = hits[static_cast<std::size_t>(position)];
    if (!hit) platform::NoteFailure("the hit at position ", position, " is empty");
    return hit;
}

service::FoundCompoundsPtr Find(const std::vector<std::string>& searchSource, const std::string& searchText,
                                const std::string& identifierType, const std::string& outputPropertyName)
{
    for (const auto& group : ResolveSearchSource(searchSource)) {
        const auto manager = CompoundManagerOf(group.database);
        const auto hits = manager->FindForMM(group.databanks, searchText, identifierType, outputPropertyName);
        if (hits && !hits->empty()) {
            if (!hits->front()) platform::NoteFailure("the first hit for ", searchText, " is empty");
            return hits->front();
        }
    }
    platform::NoteFailure("no compound found for ", identifierType.empty() ? "any identifier" : identifierType, " ",
                          searchText);
    return nullptr;
}

std::shared_ptr<HitList> FindMultiple(const std::vector<std::string>& searchSource, const std::string& identifierType,
                                      const std::vector<std::string>& identSearchStrings,
                                      const std::string& outputPropertyName)
{
    const auto groups = ResolveSearchSource(searchSource);
    service::SearchStringMap searchStrings;
    int position = 0;
    for (const auto& text : identSearchStrings) searchStrings.emplace(position++, text);

    auto hitList = std::make_shared<HitList>();
    for (const auto& group : groups) {
        if (searchStrings.empty()) continue;
        const auto manager = CompoundManagerOf(group.database);
        const auto hits =
            manager->FindForMM_Multiple(group.databanks, identifierType, searchStrings, outputPropertyName);
        if (hits) hitList->hits.insert(hitList->hits.end(), hits->begin(), hits->end());
    }
    return hitList;
}

std::optional<VantaMatch> FindVanta(const std::vector<std::string>& searchSource, const std::string& searchText,
                                    int dbankContentDataType, std::string name, std::string alias)
{
    const auto groups = ResolveSearchSource(searchSource);
    int index = -1;
    for (const auto& group : groups) {
        CompoundManagerOf(group.database)
            ->FindForVanta(group.databanks, searchText, dbankContentDataType, index, name, alias);
        if (index != -1) return VantaMatch{index, std::move(name), std::move(alias)};
    }
    return std::nullopt;
}

} // namespace moru::compounds
