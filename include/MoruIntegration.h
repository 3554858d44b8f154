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

/* Databank listing, one call per databank. Text arguments are null when the databank has no such
   setting. The 15-argument form, chosen by a non-zero access flag, adds the database's access
   settings (1 or 0). */
typedef int(MORU_CALL* MoruDatabankInfoCallback)(const char* databankName, const char* databaseAlias,
                                                 const char* password, const char* displayName,
                                                 const char* baseDatabankName, const char* helpFileName, int helpCode,
                                                 const char* product, const char* databankType, const char* prompt,
                                                 int pureInfoPresent, int binaryParameterCount, int reactionCount);
typedef int(MORU_CALL* MoruDatabankInfoWithAccessCallback)(
    const char* databankName, const char* databaseAlias, const char* password, const char* displayName,
    const char* baseDatabankName, const char* helpFileName, int helpCode, const char* product,
    const char* databankType, const char* prompt, int pureInfoPresent, int binaryParameterCount, int reactionCount,
    int simulatorAccess, int viewerAccess);
/* Binary parameter information of a databank, made before that databank's info callback. The two
   model names are null when missing. */
typedef int(MORU_CALL* MoruBinaryParameterInfoCallback)(const char* databaseAlias, const char* databankName,
                                                        const char* parameterName, const char* gammaModelName,
                                                        const char* vaporModelName);

/* ---- Life cycle --------------------------------------------------------------------------- */

/* Nothing to set up or tear down: both may be called, neither is needed. */
MORU_API void MORU_CALL DllEnsureInit(void);
MORU_API void MORU_CALL DllForceTerm(void);

/* ---- Initialisation and session settings ------------------------------------------------ */

/* Connect the databases that a configuration file names (null: the service's default). */
MORU_API void MORU_CALL InitializeFromConfigFile(const char* configFileName, const char* appPwd);
/* 1 when at least one database was connected, else 0. */
MORU_API int MORU_CALL InitializeVNFromConfigFile(const char* configFileName, const char* appPwd);
/* Connects and reports database by database. Returns the handle of the message list (0 when there
   is no message); *size receives the number of messages, *overAllSuccess 1 when a database was
   connected, *dbSuccessCodeObjHandle the handle of the code list. All three pointers are required
   and are cleared first. Release both handles with any release function. */
MORU_API int MORU_CALL InitVNFromConfigFileWithReturnMsgs(const char* configFileName, const char* appPwd, int* size,
                                                           int* overAllSuccess, int* dbSuccessCodeObjHandle);
/* Code at a position of the code list: 0 connected, 1 secured, 2 error; -1 when there is none.
   Messages that carry no code (ending ".rxm") have no entry in the code list. */
MORU_API int MORU_CALL GetNextDatabaseSuccessCode(int objectHandle, int position);
/* Buffer size (bytes, NUL included) that the message at a position needs; -1 when there is none. */
MORU_API int MORU_CALL GetNextDatabaseErrorMessageSize(int objectHandle, int position);
/* Copies the message at a position; 1 when the buffer then starts with neither NUL nor a blank. */
MORU_API int MORU_CALL GetNextDatabaseErrorMessage(int objectHandle, int position, char* errMsg, int errMsgSize);
MORU_API void MORU_CALL CheckExceptions(void);
/* Writes the service's default configuration file where none exists. */
MORU_API void MORU_CALL CreateDBConfigFile(void);
/* Description of a database ("DB") or databank ("DB.BANK"). 1 with the description copied (an
   empty buffer when it does not fit); 0 with an empty buffer when there is none. */
MORU_API int MORU_CALL GetDescription(const char* dbaseDOTdbankName, char* value, int valueBufSize);
/* Whether the find dialog shows its databanks tab (initially true). */
MORU_API void MORU_CALL SetDatabankTabFlag(bool bTab);
/* Calls a MoruHelpTopicCallback once with the find-compounds help topic. */
MORU_API void MORU_CALL FindCompHelpID(void* callbackHtmlHelpTopic);

/* ---- Databank listing --------------------------------------------------------------------- */

/* Reports every databank of every connected database: for each, first its binary parameter
   callbacks (MoruBinaryParameterInfoCallback, may be null), then its info callback
   (MoruDatabankInfoCallback, or MoruDatabankInfoWithAccessCallback when accessFlag is non-zero).
   The pure-parameter callback is never called. Every databank reported becomes resolvable by
   database alias and databank name in the calls below. */
MORU_API void MORU_CALL ListMoruDatabanks(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                                         void* callbackFnAddBinaryDatabankInfo);
MORU_API void MORU_CALL ListMoruDatabanks_WithDBAccessFlag(void* callbackFnAddDatabankInfo,
                                                          void* callbackFnAddPureParameterInfo,
                                                          void* callbackFnAddBinaryDatabankInfo, int accessFlag);
/* Names only: the info callback receives databank name and database alias, nulls and zeros. */
MORU_API void MORU_CALL ListMoruDatabanks_Vanta(void* callbackFnAddDatabankInfo);
MORU_API void MORU_CALL ListMoruDatabanks_Vanta_WithDBAccessFlag(void* callbackFnAddDatabankInfo, int accessFlag);

/* ---- Databank queries and pure databank selection ----------------------------------------- */

/* The databanks the find dialog offers, as numOfDB monikers "ALIAS BANK"; unknown ones are skipped. */
MORU_API void MORU_CALL SetPureDatabankList(const char** pureDatabankList, int numOfDB);
/* Handle of the compound collection of a databank's compounds with data; 0 on failure. */
MORU_API void MORU_CALL Databank_GetIdentifiersOfCompoundsWithData(const char* databaseName, const char* databankName,
                                                                  int* compoundCollectionHandle);
/* Number of entries of the databank's property list (0 on failure); *databankTypes: 0 neither, 1 pure,
   2 binary, 3 both; *propertyCollectionHandle: the property name table. */
MORU_API int MORU_CALL Databank_GetDatabankTypeAndPropertyList(const char* databaseName, const char* databankName,
                                                               int* databankTypes, int* propertyCollectionHandle);
/* Copies the property name at a position whole (no size: the buffer must hold the longest name).
   1 delivered, -1 past the end, 0 for an empty entry or a failure. */
MORU_API int MORU_CALL Databank_GetNextPropertyName(int propertyCollectionHandle, int position, char* propName);

/* ---- Compound search --------------------------------------------------------------------- */

/* searchSource: a list of "ALIAS.BANK" entries ending at a null pointer or an empty string; the
   databanks must have been listed. Databases are searched in the order the list first names them. */

/* Searches one text in any identifier and keeps the first hit of the first database that has
   one: 1 with *objectHandle set, 0 otherwise (also for an unknown databank or an entry without
   a full stop). outputPropertyName (may be null) names a scalar property to return with the hit. */
MORU_API int MORU_CALL FoundCompounds_Find(const char** searchSource, const char* identSearchString,
                                           const char* outputPropertyName, int* objectHandle);
/* As FoundCompounds_Find, restricted to one identifier type ("NAME", "ALIAS", "CASRN", ...). */
MORU_API int MORU_CALL FoundCompounds_FindByIdentifierType(const char** searchSource, const char* identSearchString,
                                                           const char* identifierType, const char* outputPropertyName,
                                                           int* objectHandle);
/* Searches a list of texts (ending like searchSource) in every database; returns the number of
   hits with *objectHandle set to the hit list, 0 when an argument is missing, -1 on failure. */
MORU_API int MORU_CALL FoundCompounds_FindMultiple(const char** searchSource, const char* identifierType,
                                                   const char** identSearchStrings, const char* outputPropertyName,
                                                   int* objectHandle);
/* The simulator's search: 1 when the search ran; *compIndex is the compound index, -1 when
   nothing matched. compName and compAlias (256 bytes, holding strings on entry) receive the match. */
MORU_API int MORU_CALL FoundCompounds_Find_Vanta(const char** searchSource, const char* identSearchString,
                                                 int dbankContentDataType, int* compIndex, char* compName,
                                                 char* compAlias);
/* Details of the hit of FoundCompounds_Find; every text buffer 256 bytes. 1 or 0. */
MORU_API int MORU_CALL FoundCompounds_GetObjectDetails(int objectHandle, char* dbName, char* dbankName, int* compIndex,
                                                       char* compName, char* compAlias, char* casNumber,
                                                       char* propName, double* propertyValue);
/* Details of the hit at a position of a FoundCompounds_FindMultiple list: 1, or -1 past the end
   and on failure. */
MORU_API int MORU_CALL FoundCompounds_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                                char* dbName, char* dbankName, int* compIndex,
                                                                char* compName, char* compAlias, char* casNumber,
                                                                char* propName, double* propertyValue);

/* ---- Compound enumeration ----------------------------------------------------------------- */

/* The compounds of the first database of searchSource that offers a list: 1 with the list's
   handle and its size, 0 on failure. */
MORU_API int MORU_CALL GetAllCompounds(const char** searchSource, int* objectHandle, int* numCompounds);
/* Name, alias and CAS number (256-byte buffers) of the compound at position nget: 1 or 0. */
MORU_API int MORU_CALL GetAllCompounds_Identifiers(int objectHandle, int nget, char* name, char* alias, char* casNum);
/* A new enumerator over a compound collection, standing before its first entry; 0 on failure. */
MORU_API void MORU_CALL CompoundCollection_GetEnumerator(int compoundCollectionHandle, int* enumeratorHandle);
/* 1 when the enumerator now stands on an entry; 0 at the end (and after) or on failure. */
MORU_API int MORU_CALL CompoundCollectionEnum_MoveNext(int enumeratorHandle);
/* Compound index, name and alias of the current entry: 1 or 0. Both buffers are emptied first. */
MORU_API int MORU_CALL CompoundCollectionEnum_GetItem(int enumeratorHandle, int* compoundIndex, char* compoundName,
                                                      int compoundNameBufSize, char* compoundAlias,
                                                      int compoundAliasBufSize);

/* ---- Identifier lookups ------------------------------------------------------------------- */

/* Name (namebuf) and the value of identifier type idType (buffer) of compound index compid, when
   the databank holds the compound. Nothing reports failure: clear both buffers first to tell. */
MORU_API void MORU_CALL GetIdValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                           int compid, char* namebuf, int namebuflen, char* buffer, int buflen);
/* Compound index of the compound whose idType identifier is idValue; 0 when there is none. */
MORU_API void MORU_CALL GetCompidFromIdInDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                              const char* idValue, int* compid);

/* ---- Binary parameters ------------------------------------------------------------------- */

/* Binary parameter arrays: element by element, the part for the compound order (1, 2) then the
   part for (2, 1). Condensed arrays keep one part for an element that is the same, or the negative,
   in both orders. An element the database does not hold reads as 1e35. */

/* The parameter set of modelName for compound1Id and compound2Id (both of identifier type
   compoundIdsType) from databank databankName of database databaseName, in the order asked
   whichever order the databank stores. 1 with the set's handle, or with handle 0 when the databank
   holds none; 0 on failure (handle 0). Non-zero *bCondensedForViewing asks for the condensed array. */
MORU_API int MORU_CALL InteractionParameters_GetBinaryIp(const char* databaseName, const char* databankName,
                                                         const char* modelName, const char* compound1Id,
                                                         const char* compound2Id, const char* compoundIdsType,
                                                         int* bCondensedForViewing, int* objectHandle);
/* Element count of a parameter set; 0 on failure. */
MORU_API int MORU_CALL InteractionParameterValueObject_NumberOfElements(int objectHandle);
/* Writes every element into parameters (room for NumberOfElements doubles): 1, or 0 without
   writing. */
MORU_API int MORU_CALL InteractionParameterValueObject_Parameters(int objectHandle, double* parameters);

/* Every value of the properties propertyArr (interaction type 1 binary, 3 pair values) that the
   databanks dbankArr ("ALIAS.BANK" each) hold among the working compounds, all three host lists.
   *bCondensedForViewing: 0 full arrays, 1 condensed, 2 condensed; with pair values 0 and 2 place
   each value at every combination of its compounds' positions (read those with the _Vanta
   function). 1 with the result's handle; 0 on failure: a repeated property or databank (in any
   spelling), an entry that does not resolve, a value outside the lists. Any other interaction type
   gives an empty result. */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
    const char** workingCompoundPairArr, const char* compoundIdType, const char** dbankArr, const char** propertyArr,
    int* interactionType, int* bCondensedForViewing, int* objectHandle);
/* The next value: positions of its compounds (-1 for an absent one), databank and property in the
   host's lists, its element count and elements (room for the longest array), and whether it has
   regression information. 1 delivered, -1 after the last, 0 when the entry cannot be read this way
   (the cursor stays). */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject(int objectHandle, int* comp1Index,
                                                                           int* comp2Index, int* comp3Index,
                                                                           int* comp4Index, int* dbankIndex,
                                                                           int* propIndex, int* valueSize,
                                                                           int* hasRegInfo, double* propValues);
/* The same for values placed at every combination of positions; shares the cursor. */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(int objectHandle, int* comp1Index,
                                                                                 int* comp2Index, int* comp3Index,
                                                                                 int* comp4Index, int* dbankIndex,
                                                                                 int* propIndex, int* valueSize,
                                                                                 double* propValues);
/* Number of values of a result; 0 on failure. */
MORU_API int MORU_CALL BinaryPropertyValueObjects_NumberOfElements(int objectHandle);

/* ---- Regression information -------------------------------------------------------------- */

/* The regression information of parameter property for compound1 and compound2 (identifier type
   compoundIdType) in DBaseDBank ("ALIAS.BANK"): 1 with its handle, found or not; 0 on failure. */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObject(const char* DBaseDBank, const char* property,
                                                                 const char* compound1, const char* compound2,
                                                                 const char* compoundIdType, int* objectHandle);
/* The kind (1 vapour-liquid, 2 liquid-liquid, 3 Henry, 4 NIST, 0 none) and every field as text:
   numbers with a full stop as decimal mark, ranges "lower - upper", deviation lines "points  aard
   aad  max  ". Fields the kind does not fill, and fields too long for their buffer, are emptied.
   xTDeviation has xTDeviationBufferSize bytes, sCitation citationBufferSize, all others
   stdBufferSize. 1, or 0 without writing. */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObjectDetails(
    int objectHandle, int* regInfoType, char* sigma, char* tLimits, char* pLimits, char* xLimits, char* x1Limits,
    char* x2Limits, char* henryLimits, char* henryDeviation, char* tDeviation, char* pDeviation, char* xDeviation,
    char* x1Deviation, char* x2Deviation, char* xTDeviation, char* sCitation, char* compBasis, int stdBufferSize,
    int xTDeviationBufferSize, int citationBufferSize);

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
