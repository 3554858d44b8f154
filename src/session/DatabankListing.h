#pragma once

// Reporting every databank of every connected database to the host through its callbacks, and
// entering each one reported in the session's databank catalogue.

#include "MoruIntegration.h"
#include "service/Database.h"

#include <memory>

namespace moru::session {

using namespace moru::service;

// The three-callback listing; false without a databank-info callback. A non-zero `displayFlag`
// selects the 15-argument databank-info callback with the two access settings.
bool FillDatabankList(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                      void* callbackFnAddBinaryDatabankInfo, int displayFlag);

// Names only: databank and database; every other argument null or 0.
bool FillDatabankList_Vanta(void* callbackFnAddDatabankInfo, int displayFlag);

// The pure databank information of a databank, or null.
std::shared_ptr<PureDatabankInfoObject> HasPureParameterInfo(const IDatabase& database, const IDatabank& databank);

// Makes the binary-parameter callbacks of one databank; returns how many were made.
int SetBinaryParameterInfo(const IDatabase& database, const IDatabank& databank,
                           MoruBinaryParameterInfoCallback callback, const char* databaseAlias,
                           const char* databankName);

} // namespace moru::session
