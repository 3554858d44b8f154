#include "MoruIntegration.h"

#include "api/Release.h"

using namespace moru;

MORU_API void MORU_CALL CompoundCollection_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL CompoundCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL GetAllCompounds_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
