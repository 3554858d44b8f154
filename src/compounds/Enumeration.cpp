#include "compounds/Enumeration.h"

#include "compounds/SearchSource.h"
#include "platform/Diagnostics.h"

namespace moru::compounds {

bool CompoundCollectionEnumerator::MoveNext()
{
    const auto count = m_collection ? static_cast<std::ptrdiff_t>(m_collection->size()) : 0;
    if (m_position < count) ++m_position;
    return m_position < count;
}

const std::pair<int, service::CompoundNames>* CompoundCollectionEnumerator::Current() const
{
    const auto count = m_collection ? static_cast<std::ptrdiff_t>(m_collection->size()) : 0;
    if (m_position < 0) {
        platform::NoteFailure("the enumerator stands before its first compound; MoveNext comes first");
        return nullptr;
    }
    if (m_position >= count) {
        platform::NoteFailure("the enumerator has passed the last of its ", count, " compounds");
        return nullptr;
    }
    return &(*m_collection)[static_cast<std::size_t>(m_position)];
}

std::shared_ptr<CompoundList> GetAllCompounds(const std::vector<std::string>& searchSource)
{
    auto list = std::make_shared<CompoundList>();
    for (const auto& group : ResolveSearchSource(searchSource)) {
        // The databanks only choose the databases; each is asked for all of its compounds.
        if (auto compounds = CompoundManagerOf(group.database)->GetAllCompounds(nullptr)) {
            list->compounds = std::move(*compounds);
            break;
        }
    }
    return list;
}

} // namespace moru::compounds
