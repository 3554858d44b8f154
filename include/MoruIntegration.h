/*
 * MoruIntegration: the bridge between flowsheet simulators and physical-property databases.
 *
 * Conventions, once for every function below.
 *
 * Calling convention
 *   Every function uses MORU_CALL: stdcall on 32-bit Windows (the callee pops its arguments),
 *   the platform's default elsewhere. Export names are undecorated on every platform, so
 *   GetProcAddress(library, "DllEnsureInit") and dlsym(library, "DllEnsureInit") both work.
 *
 * Strings
 *   Strings are NUL-terminated 8-bit strings in the system's ANSI code page on Windows (UTF-8 on
 *   other platforms). A null input string reads as the empty string unless the function says the
 *   argument is required. Every size and length counts bytes of the text in that code page.
 *
 * Output buffers
 *   A buffer passed with a size receives its text all or nothing: a text of at most size - 1
 *   bytes is copied whole with its NUL; a longer text leaves an empty string (NUL in the first
 *   byte). Buffers without a size argument must have the size the function names: 20 bytes for
 *   database names and species aliases, 256 bytes for names, aliases, CAS numbers and short
 *   texts, 4097 bytes for structure texts. Strings handed to callbacks belong to the library and
 *   are valid only during the callback.
 *
 * Handles
 *   Result objects live behind non-zero int handles until released. Every *_ReleaseHandle
 *   function releases any handle, of whatever kind; releasing 0 or an already released handle
 *   does nothing. A released handle reads as 0 everywhere.
 *
 * Failures
 *   Nothing is ever thrown across this interface. A function that fails returns its failure
 *   value: 0 for most int results, -1 for position readers past the end, false for bool results;
 *   functions without a result simply return. Out-parameters are cleared at entry where the
 *   function says so, so a failed call leaves them cleared.
 *
 * Threads
 *   The library creates no threads and takes no locks: call it from one thread at a time.
 */
#ifndef MORU_INTEGRATION_H
#define MORU_INTEGRATION_H

#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#define MORU_CALL __stdcall
#define MORU_CDECL __cdecl
#if defined(MORU_BUILDING_LIBRARY)
#define MORU_VISIBLE __declspec(dllexport)
#else
#define MORU_VISIBLE __declspec(dllimport)
#endif
#else
#define MORU_CALL
#define MORU_CDECL
#define MORU_VISIBLE __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define MORU_API extern "C" MORU_VISIBLE
#else
#define MORU_API MORU_VISIBLE
#endif

/* ---- Host callbacks ----------------------------------------------------------------------- */

/* Help topic: receives the HTML help topic number. */
typedef int(MORU_CALL* MoruHelpTopicCallback)(int helpTopic);

/* ---- Life cycle --------------------------------------------------------------------------- */

/* Nothing to set up or tear down: both may be called, neither is needed. */
MORU_API void MORU_CALL DllEnsureInit(void);
MORU_API void MORU_CALL DllForceTerm(void);

/* ---- Release functions -------------------------------------------------------------------- */

/* Each releases any handle, whatever its kind; 0 and unknown handles are ignored. */
MORU_API void MORU_CALL CompoundCollection_ReleaseHandle(int compoundCollectionHandle);
MORU_API void MORU_CALL CompoundCollectionEnum_ReleaseHandle(int enumeratorHandle);
MORU_API void MORU_CALL PropertyValueCollectionEnum_ReleaseHandle(int enumeratorHandle);
MORU_API void MORU_CALL PropertyValueObject_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL CompoundProperties_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL Databank_ReleaseHandle(int propertyCollectionHandle);
MORU_API void MORU_CALL FoundCompounds_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL GetAllCompounds_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL BinaryPropertyValueObjects_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL InteractionParameterValueObject_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL Optimized_ReleaseHandle(int objectHandle);
MORU_API void MORU_CALL Reactions_ReleaseHandle(int objectHandle);

#endif /* MORU_INTEGRATION_H */
