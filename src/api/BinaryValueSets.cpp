#include "MoruIntegration.h"

#include "api/Release.h"

using namespace moru;

MORU_API void MORU_CALL BinaryPropertyValueObjects_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
