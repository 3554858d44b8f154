#pragma once

#include <string>

namespace moru::host {

// Every unary value of a compound (or the one of `property` when not empty), aligned, with units.
int ShowValues(const std::string& database, const std::string& databank, const std::string& compound,
               const std::string& property);

// The structure texts of a compound, of each type the database holds.
int ShowStructure(const std::string& database, const std::string& compound);

} // namespace moru::host
