#pragma once

// Every answer a database gives through the service's operations, written as one text, so that two
// backends holding the same database can be compared whole.

#include "service/Database.h"

#include <string>

namespace moru::postgres::testing {

std::string WalkDatabase(service::IDatabase& database);

} // namespace moru::postgres::testing
