#include "MoruIntegration.h"

#include "api/Release.h"

using namespace moru;

MORU_API void MORU_CALL FoundCompounds_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
