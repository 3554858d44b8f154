#include "service/HostLimits.h"

#include "service/Errors.h"

namespace moru::service {

std::optional<std::string> BeyondHostLimit(HostLimit limit, std::size_t count)
{
    const HostLimitEntry& entry = EntryOf(limit);
    if (count <= entry.most) return std::nullopt;
    return std::to_string(count) + " " + entry.counted + "; hosts read at most " + std::to_string(entry.most);
}

void CheckHostLimit(HostLimit limit, std::size_t count)
{
    if (auto reason = BeyondHostLimit(limit, count)) throw ServiceError(*reason);
}

} // namespace moru::service
