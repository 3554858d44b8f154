#pragma once

// Turning the host's database and databank names into databanks of the service, and back.

#include "service/Database.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::session {

// True while the databank's database is one that the latest initialisation connected.
bool IsOfConnectedDatabase(const service::IDatabank& databank);

// The first databank of the catalogue (the databanks the host has been shown) whose name and
// database alias equal the given ones, both compared without regard to letter case; null if none.
service::DatabankPtr GetIDatabankFromDbaseDbank(std::string_view dbaseName, std::string_view dbankName);

// The same for a reference "ALIAS.BANK", split at its full stop (see interop::SplitDatabankReference);
// nullopt when it has none. A spelling that resolved before resolves again without being split.
std::optional<service::DatabankPtr> GetIDatabankFromReference(std::string_view reference);

// "ALIAS BANK", asked of the service directly: resolves also databanks never listed.
service::DatabankPtr FindDbankByMoniker(std::string_view moniker);
std::string GetMonikerForDbank(const service::IDatabank& databank);

// The databanks the find dialog offers: the host's pure selection when set, else every databank.
bool GetAllDatabanks(service::DatabankCollection& pDbankList);

// Replaces the pure databank selection by the databanks that the monikers name.
void SetPureDatabanks(const std::vector<std::string>& monikers);

} // namespace moru::session
