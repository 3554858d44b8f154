#include "compounds/Enumeration.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "compounds/Search.h"
#include "compounds/SearchSource.h"

namespace moru::compounds {

bool CompoundCollectionEnumerator::MoveNext()
{
    const auto count = m_collection ? static_cast<std::ptrdiff_t>(m_collection->size()) : 0;
    if (m_position < count) ++m_position;
    return m_position < count;
}

const std::pair<int, CompoundNames>* CompoundCollectionEnumerator::Current() const
{
    if (!m_collection || m_position < 0 || m_position >= static_cast<std::ptrdiff_t>(m_collection->size()))
        return nullptr;
    return &(*m_collection)[static_cast<std::size_t>(m_position)];
}

void GetAllCompounds(const std::vector<std::string>& searchSource, int& objectHandle, int& numCompounds)
{
    auto list = std::make_shared<CompoundList>();
    for (const auto& group : ResolveSearchSource(searchSource)) {
        // The databanks only choose the databases; each is asked for all of its compounds.
        if (auto compounds = CompoundManagerOf(group.database)->GetAllCompounds(nullptr)) {
            list->compounds = std::move(*compounds);
            break;
        }
    }
    objectHandle = interop::GetHandleFromObject(list);
    numCompounds = static_cast<int>(list->compounds.size());
}

int GetAllCompoundsIdentifiers(int objectHandle, int nget, char* name, char* alias, char* casNum)
{
    const auto list = interop::GetObjectFromHandle<CompoundList>(objectHandle);
    if (!list || nget < 0 || static_cast<std::size_t>(nget) >= list->compounds.size()) return 0;
    const auto& compound = list->compounds[static_cast<std::size_t>(nget)];
    if (!compound) return 0;
    WriteIdentifiers(*compound, name, alias, casNum);
    return 1;
}

int GetEnumerator(int compoundCollectionHandle)
{
    auto collection = interop::GetObjectFromHandle<const CompoundCollection>(compoundCollectionHandle);
    if (!collection) return 0;
    return interop::GetHandleFromObject(std::make_shared<CompoundCollectionEnumerator>(std::move(collection)));
}

int MoveNext(int enumeratorHandle) { return interop::EnumeratorMoveNext<CompoundCollectionEnumerator>(enumeratorHandle); }

int GetItem(int enumeratorHandle, int& compoundIndex, char* compoundName, int compoundNameBufSize,
            char* compoundAlias, int compoundAliasBufSize)
{
    const auto enumerator = interop::GetObjectFromHandle<CompoundCollectionEnumerator>(enumeratorHandle);
    const auto* entry = enumerator ? enumerator->Current() : nullptr;
    if (!entry) return 0;
    compoundIndex = entry->first;
    if (entry->second.Name) interop::CopySizedClosingLastByte(*entry->second.Name, compoundName, compoundNameBufSize);
    if (entry->second.Alias) interop::CopySizedClosingLastByte(*entry->second.Alias, compoundAlias, compoundAliasBufSize);
    return 1;
}

} // namespace moru::compounds
