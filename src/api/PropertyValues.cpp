#include "MoruIntegration.h"

#include "api/Release.h"

using namespace moru;

MORU_API void MORU_CALL PropertyValueCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL PropertyValueObject_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
