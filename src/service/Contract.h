#pragma once

// Texts that the library and the database service both rely on.

namespace moru::service {

// Separates the per-database entries of an initialisation result text.
inline constexpr const char* kResultSeparator = "<?>";

// The identifier type under which a compound index is written as decimal text.
inline constexpr const char* kCompoundIndexType = "CompoundIndex";

} // namespace moru::service
