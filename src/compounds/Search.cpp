#include "compounds/Search.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "compounds/SearchSource.h"
#include "platform/Text.h"
#include "service/Errors.h"

namespace moru::compounds {

namespace {

void SetEmpty(char* buffer) { buffer[0] = '\0'; }

void CopyToShortTextBuffer(std::string_view text, char* buffer)
{
    interop::CopyToFixedBuffer(text, buffer, interop::FixedBuffer::ShortText);
}

void WritePropertyValue(const FoundCompounds& hit, char* propName, double* propertyValue)
{
    if (!hit.PropertyValues) {
        SetEmpty(propName);
        *propertyValue = 0.0;
        return;
    }
    if (hit.PropertyValues->empty()) throw std::out_of_range("the hit carries an empty property value list");
    const PropertyValuePtr& value = hit.PropertyValues->front();
    if (!value) return;
    if (!value->Property) {
        SetEmpty(propName);
        throw std::invalid_argument("a property value without its property");
    }
    CopyToShortTextBuffer(value->Property->Name(), propName);
    if (value->Property->ElementCount() != 1) throw std::invalid_argument("the property is not a single number");
    const auto* elements = std::get_if<NumericElements>(&value->Data);
    if (!elements || elements->empty() || !elements->front()) throw std::invalid_argument("the value is no number");
    *propertyValue = *elements->front();
}

} // namespace

void WriteIdentifiers(const FoundCompounds& hit, char* compName, char* compAlias, char* casNumber)
{
    bool nameFound = false, aliasFound = false, casFound = false;
    if (hit.IdentifierValues) {
        for (const auto& value : *hit.IdentifierValues) {
            if (!value) continue;
            const std::string type = value->Identifier ? platform::FoldCase(value->Identifier->Name()) : "";
            const auto firstValue = [&]() -> const std::string& {
                if (!value->ValueList || value->ValueList->empty())
                    throw std::out_of_range("an identifier of the hit holds no value");
                return value->ValueList->front();
            };
            if (type == "name") {
                CopyToShortTextBuffer(firstValue(), compName);
                nameFound = true;
            }
            if (type == "alias") {
                CopyToShortTextBuffer(firstValue(), compAlias);
                aliasFound = true;
            }
            if (type == "casrn") {
                CopyToShortTextBuffer(firstValue(), casNumber);
                casFound = true;
            }
        }
    }
    if (!nameFound) SetEmpty(compName);
    if (!aliasFound) SetEmpty(compAlias);
    if (!casFound) SetEmpty(casNumber);
}

void WriteHitDetails(const FoundCompounds& hit, const HitDetailsBuffers& buffers)
{
    if (hit.Compound) {
        *buffers.compIndex = hit.Compound->Id();
        if (buffers.compoundPosition) *buffers.compoundPosition = hit.CompoundPosition;
    }
    if (hit.Databank) {
        CopyToShortTextBuffer(hit.Databank->Name(), buffers.dbankName);
        const DatabasePtr database = hit.Databank->Database();
        if (database) {
            CopyToShortTextBuffer(database->Alias(), buffers.dbName);
        } else {
            SetEmpty(buffers.dbName);
        }
    } else {
        SetEmpty(buffers.dbankName);
        SetEmpty(buffers.dbName);
    }
    WritePropertyValue(hit, buffers.propName, buffers.propertyValue);
    WriteIdentifiers(hit, buffers.compName, buffers.compAlias, buffers.casNumber);
}

int Find(const std::vector<std::string>& searchSource, const std::string& searchText, const std::string& identifierType,
         const std::string& outputPropertyName)
{
    for (const auto& group : ResolveSearchSource(searchSource)) {
        const auto manager = CompoundManagerOf(group.database);
        const auto hits = manager->FindForMM(group.databanks, searchText, identifierType, outputPropertyName);
        if (hits && !hits->empty()) return interop::GetHandleFromObject(hits->front());
    }
    return 0;
}

int FindMultiple(const std::vector<std::string>& searchSource, const std::string& identifierType,
                 const std::vector<std::string>& identSearchStrings, const std::string& outputPropertyName,
                 int& objectHandle)
{
    const auto groups = ResolveSearchSource(searchSource);
    SearchStringMap searchStrings;
    int position = 0;
    for (const auto& text : identSearchStrings) searchStrings.emplace(position++, text);

    auto hitList = std::make_shared<HitList>();
    for (const auto& group : groups) {
        if (searchStrings.empty()) continue;
        const auto manager = CompoundManagerOf(group.database);
        const auto hits = manager->FindForMM_Multiple(group.databanks, identifierType, searchStrings, outputPropertyName);
        if (hits) hitList->hits.insert(hitList->hits.end(), hits->begin(), hits->end());
    }
    objectHandle = interop::GetHandleFromObject(hitList);
    return static_cast<int>(hitList->hits.size());
}

void FindVanta(const std::vector<std::string>& searchSource, const std::string& searchText, int dbankContentDataType,
               int& compIndex, std::string name, std::string alias, char* compName, char* compAlias)
{
    const auto groups = ResolveSearchSource(searchSource);
    int index = -1;
    for (const auto& group : groups) {
        CompoundManagerOf(group.database)
            ->FindForVanta(group.databanks, searchText, dbankContentDataType, index, name, alias);
        if (index != -1) {
            compIndex = index;
            CopyToShortTextBuffer(name, compName);
            CopyToShortTextBuffer(alias, compAlias);
            return;
        }
    }
}

int GetObjectDetails(int objectHandle, const HitDetailsBuffers& buffers)
{
    const auto hit = interop::GetObjectFromHandle<FoundCompounds>(objectHandle);
    if (!hit) return 0;
    WriteHitDetails(*hit, buffers);
    return 1;
}

int GetNextCompoundIdentifier(int objectHandle, int position, const HitDetailsBuffers& buffers)
{
    const auto hitList = interop::GetObjectFromHandle<HitList>(objectHandle);
    if (!hitList || position < 0 || static_cast<std::size_t>(position) >= hitList->hits.size()) return -1;
    const auto& hit = hitList->hits[static_cast<std::size_t>(position)];
    if (!hit) return -1;
    WriteHitDetails(*hit, buffers);
    return 1;
}

} // namespace moru::compounds
