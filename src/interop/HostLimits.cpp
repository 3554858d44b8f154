// The service's table of host limits is what the public header documents: one number each.

#include "MoruIntegration.h"
#include "interop/HostText.h"
#include "service/HostLimits.h"

namespace moru::interop {

using service::HostLimit;
using service::MostOf;

static_assert(MostOf(HostLimit::ReactionSpecies) == MORU_MAX_REACTION_SPECIES);
static_assert(MostOf(HostLimit::EquilibriumConstants) == MORU_MAX_EQUILIBRIUM_CONSTANTS);
static_assert(MostOf(HostLimit::SpeciesAliasBytes) + 1 == MORU_SPECIES_ALIAS_BUFFER_SIZE);
static_assert(MostOf(HostLimit::SpeciesAliasBytes) + 1 == static_cast<std::size_t>(FixedBuffer::SpeciesAlias));
static_assert(MostOf(HostLimit::PropertyNameBytes) == MORU_MAX_PROPERTY_NAME_BYTES);
static_assert(MostOf(HostLimit::UnitRows) == MORU_MAX_UNIT_ROWS);
static_assert(MostOf(HostLimit::UnaryElements) == MORU_MAX_UNARY_ELEMENTS);

} // namespace moru::interop
