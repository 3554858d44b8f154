#include "MoruIntegration.h"

// The session and the registry come into being on first use; there is nothing to do here.
MORU_API void MORU_CALL DllEnsureInit(void) {}
MORU_API void MORU_CALL DllForceTerm(void) {}
