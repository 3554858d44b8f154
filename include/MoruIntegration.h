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

/* Nothing to set up or tear down: both may be called, neither is needed. Unloading the library
   releases everything it holds: every handle not yet released and every connected database. */
MORU_API void MORU_CALL DllEnsureInit(void);
MORU_API void MORU_CALL DllForceTerm(void);

/* ---- Initialisation and session settings ------------------------------------------------ */

/* Connect the databases that a configuration file names (null: the service's default). Each
   initialisation replaces the databases of the one before: databanks listed before it no longer
   resolve (list again), and results still held that belong to a replaced database fail. */
MORU_API void MORU_CALL InitializeFromConfigFile(const char* configFileName, const char* appPwd);
/* 1 when at least one database was connected, else 0. */
MORU_API int MORU_CALL InitializeVNFromConfigFile(const char* configFileName, const char* appPwd);
/* Connects and reports database by database. Returns the handle of the message list (0 when there
   is no message); *size receives the number of messages, *overAllSuccess 1 when a database was
   connected, *dbSuccessCodeObjHandle the handle of the code list. All three pointers are required
   and are cleared first. Release both handles with any release function. */
MORU_API int MORU_CALL InitVNFromConfigFileWithReturnMsgs(const char* configFileName, const char* appPwd, int* size,
                                                           int* overAllSuccess, int* dbSuccessCodeObjHandle);
/* Code at a position of the code list: 0 connected (secured or not: an entry ending "OK"), 1 a
   secured database left unconnected because no password was given (ending "SECURED"), 2 an error
   (a wrong password included); -1 when there is none. Messages that carry no code (ending ".rxm")
   have no entry in the code list. No alias, path or message can end an entry as "OK" or "SECURED"
   or hold the separator "<?>". */
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

/* ---- Reactions ------------------------------------------------------------------------------ */

/* The most a reaction holds, so that a host can size the arrays that Reactions_GetNextReactionObject
   fills without a size argument: species (stoicCoeffs and compAliases entries), equilibrium
   constants (eqConsts) and symmetric equilibrium constants (SymmetricEqConsts). A species alias
   buffer holds 20 bytes: aliases have at most 19. */
#define MORU_MAX_REACTION_SPECIES 32
#define MORU_MAX_EQUILIBRIUM_CONSTANTS 16
#define MORU_SPECIES_ALIAS_BUFFER_SIZE 20

/* Collects the reactions of the databanks in databankList ("DB.BANK" entries, ended by a null or
   empty entry) that can take place among the compounds of compoundList (written as identifiers of
   compoundIdType, ended the same way; "H2O" is added when the list lacks it exactly). searchType 0
   takes every reaction that names one of the compounds; 1 takes only reactions that can run with
   the compounds at hand (all reactants or all products present; a dissociation "DISS" needs its
   reactants) and widens the list by their species until nothing new turns up; other values take
   none. Each database is searched from the host's list afresh. Returns the number of reactions,
   with *objectHandle the handle of the set (also for 0 reactions: release it). -1 with handle 0
   when a pointer is null or a databank is not listed; 0 with handle 0 for an entry without a full
   stop, an entry repeated in any letter case, a database without reactions, or a failure of the
   service. */
MORU_API int MORU_CALL Reactions_GetAllReactionObjects(const char** compoundList, const char** databankList,
                                                       const char* compoundIdType, int searchType, int* objectHandle);
/* The reaction at a position (0-based): type and basis into 256-byte buffers, the number of species
   into *compListSize, their coefficients into stoicCoeffs and their aliases into the 20-byte buffers
   that compAliases points to, the equilibrium constants into eqConsts and the symmetric ones into
   SymmetricEqConsts (absent constants as 1e35; the counts are not reported, see the limits above).
   symEqConstBasis is neither read nor written. 1 on success; -1 at or past the end; 0 for handle 0,
   a null required pointer, a negative position, a reaction with symmetric constants and a null
   SymmetricEqConsts, a null alias buffer or an alias that does not fit (then nothing is written). */
MORU_API int MORU_CALL Reactions_GetNextReactionObject(int objectHandle, int position, char* type, char* basis,
                                                       int* compListSize, char** compAliases, double* stoicCoeffs,
                                                       double* eqConsts, double* SymmetricEqConsts,
                                                       char* symEqConstBasis);

/* ---- Property value objects ------------------------------------------------------------- */

/* Limits of the outputs that carry no size argument; databases built by moru-db keep within them.
   MORU_MAX_UNIT_ROWS: the most unit rows of a property (PropertyValueObject_UnitsOfMeasure).
   MORU_MAX_PROPERTY_NAME_BYTES: the longest property name, NUL not counted
   (CompoundProperties_GetNextUnaryPropertyValue's propName needs one byte more).
   MORU_MAX_UNARY_ELEMENTS: the most elements of a unary value (its propertyValues array).
   A value beyond them is refused (the reader fails) rather than written past the host's arrays. */
#define MORU_MAX_UNIT_ROWS 16
#define MORU_MAX_PROPERTY_NAME_BYTES 255
#define MORU_MAX_UNARY_ELEMENTS 64

/* Written for a number that a value lacks, by every reader that returns numbers. */
#define MORU_MISSING_NUMBER 1e35

/* The value of one property of a compound of a listed databank. Returns 1 once the database was
   asked, with *objectHandle 0 when it holds no such value; 0 (handle 0) for a null or unknown
   database or databank. compoundId, compoundIdType ("NAME", "CASRN", ...) and propertyId read a
   null pointer as the empty string. */
MORU_API int MORU_CALL CompoundProperties_GetCompoundProperty(const char* databaseName, const char* databankName,
                                                              const char* compoundId, const char* compoundIdType,
                                                              const char* propertyId, int* objectHandle);
/* An enumerator over every unary value of a compound, standing before the first: 1 or 0. */
MORU_API int MORU_CALL CompoundProperties_GetAllCompoundProperties(const char* databaseName, const char* databankName,
                                                                   const char* compoundId, const char* compoundIdType,
                                                                   int* enumeratorHandle);
/* 1 when the enumerator now stands on a value; 0 at the end (and after) or on failure. */
MORU_API int MORU_CALL PropertyValueCollectionEnum_MoveNext(int enumeratorHandle);
/* A new value handle for the current value: 1, or 0 with *objectHandle untouched. Value handles
   outlive their enumerator; release each of them. */
MORU_API int MORU_CALL PropertyValueCollectionEnum_GetItem(int enumeratorHandle, int* objectHandle);

/* Readers of a value. Ask the type and the number of elements first, then call the reader that
   fits with arrays of that many entries; no reader writes more. Type codes: 1 numbers, 2 text,
   3 text list, -1 unspecified (0 elements). A text that does not fit its buffer leaves an empty
   string and fails the reader (0). */
/* Number of elements; 0 for type -1, for a single text and on failure. */
MORU_API int MORU_CALL PropertyValueObject_NumberOfElements(int objectHandle);
MORU_API int MORU_CALL PropertyValueObject_Type(int objectHandle, int* type);
/* The property's name. */
MORU_API int MORU_CALL PropertyValueObject_PropertyId(int objectHandle, char* property, int bufSize);
/* A text value; 0 for any other shape. */
MORU_API int MORU_CALL PropertyValueObject_ValueText(int objectHandle, char* value, int valueBufSize);
/* The first number (MORU_MISSING_NUMBER when absent); 0 for a value without numbers. */
MORU_API int MORU_CALL PropertyValueObject_ValueConstant(int objectHandle, double* value);
/* Every number, absent ones as MORU_MISSING_NUMBER; 0 for a value of another shape. */
MORU_API int MORU_CALL PropertyValueObject_ValueVector(int objectHandle, double* values);
/* Every text of a text list into the buffers values[i], each valueBufSize bytes. Nothing is written
   when one of the buffer pointers needed is null. */
MORU_API int MORU_CALL PropertyValueObject_ValueTextList(int objectHandle, char** values, int valueBufSize);
/* Unit row names and default units of the property (at most MORU_MAX_UNIT_ROWS pairs, each buffer
   bufSize bytes). Returns the number of unit rows; 0 when there are none or on failure. */
MORU_API int MORU_CALL PropertyValueObject_UnitsOfMeasure(int objectHandle, char** unitRowNames,
                                                          char** defaultUnitsOfMeasure, int bufSize);

/* ---- Unary value lists and typed fetch ---------------------------------------------------- */

/* The numeric unary values of compound index compoundIndex in a listed databank: returns how many
   (0 on failure or when there are none) with *objectHandle set to the list. */
MORU_API int MORU_CALL CompoundProperties_GetAllUnaryPropertyValues_Vanta(const char* databaseName,
                                                                          const char* databankName, int compoundIndex,
                                                                          int* objectHandle);
/* Name and values at a position of the list: 1; -1 at or past the end; 0 on any other failure,
   also for an absent element. propName needs MORU_MAX_PROPERTY_NAME_BYTES + 1 bytes, propertyValues
   MORU_MAX_UNARY_ELEMENTS doubles; *valueSize receives the number of values. */
MORU_API int MORU_CALL CompoundProperties_GetNextUnaryPropertyValue(int objectHandle, int position, char* propName,
                                                                    int* valueSize, double* propertyValues);
/* One numeric property value (property type 1) as doubles (valueType 3) into retvals, which holds
   retvalArraylen of them; absent elements as MORU_MISSING_NUMBER. *success is 1 when the whole
   value was written; 0 otherwise, with nothing written when the value does not fit. retvalElemLen
   is not used. */
MORU_API void MORU_CALL GetPropertyValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                                 const char* idVal, const char* propName, int valueType,
                                                 double* retvals, int retvalArraylen, int retvalElemLen, int* success);

/* ---- Molecular structure ------------------------------------------------------------------ */

/* The structure text (structureType: 1 CML, 2 SMILES) of a compound of a connected database into a
   4097-byte buffer. true with the text, or with an empty buffer when the database or the structure
   is unknown; false for a null argument, a failure, or a text over 4096 bytes (buffer empty). */
MORU_API bool MORU_CALL GetMolecularStructureString(const char* dbaseName, const char* compoundId,
                                                    const char* compIdType, int structureType,
                                                    char* moleStructString);

#if !defined(_WIN32)
/* Where there is no COM, a structure control is an object of this shape, the layout of an
   automation (IDispatch) interface with UTF-8 texts. Methods return 0 or more for success. */
typedef struct MoruDispatch MoruDispatch;
typedef struct MoruDispatchVtbl {
    int(MORU_CALL* QueryInterface)(MoruDispatch* self, const void* interfaceId, void** object);
    unsigned int(MORU_CALL* AddRef)(MoruDispatch* self);
    unsigned int(MORU_CALL* Release)(MoruDispatch* self);
    int(MORU_CALL* GetTypeInfoCount)(MoruDispatch* self, unsigned int* count);
    int(MORU_CALL* GetTypeInfo)(MoruDispatch* self, unsigned int index, unsigned int locale, void** typeInfo);
    int(MORU_CALL* GetIDsOfNames)(MoruDispatch* self, const void* interfaceId, const char* const* names,
                                  unsigned int count, unsigned int locale, int* dispatchIds);
    int(MORU_CALL* Invoke)(MoruDispatch* self, int dispatchId, const void* interfaceId, unsigned int locale,
                           unsigned short flags, const char* const* textArguments, unsigned int argumentCount);
} MoruDispatchVtbl;
struct MoruDispatch {
    const MoruDispatchVtbl* lpVtbl;
};
#endif

/* Hands the structure text to the host's structure control by calling its method
   "GetMoleInfoFromData" with the text as its one argument (a BSTR). pMoleStructCtl is an IDispatch*
   on Windows, a MoruDispatch* elsewhere; the library holds a reference of its own during the call.
   Nothing is reported: the control is not called when it is null or there is no structure. */
MORU_API void MORU_CALL PushDataToMoleStructControl(const char* dbaseName, const char* IdName, const char* IdType,
                                                    int StructureType, void* pMoleStructCtl);

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

/* ---- Bulk retrieval for the simulation engine ------------------------------------------ */

/* Loads the engine's three lists, each ending at the first null or empty entry: source databanks
   "ALIAS.BANK" (listed databanks only; text after a second full stop is ignored), compound
   identifiers (exact; one may repeat) and property names (exact; each once; "KELIDX" and "PLXIDX",
   in any case, ask for the KELDA and PLX indices of the compounds). Every load starts from empty
   tables. 1; 0, with the tables left empty, for a null list, a databank entry without a full stop
   or that does not resolve, or a repeated property name or databank. */
MORU_API int MORU_CALL Optimized_InitializeAllLists(const char** sourceDatabanks, const char** compoundIdentifierList,
                                                    const char** propertyList);
/* Empties the lists and what was found for them. Handles still held read what they were given. 1. */
MORU_API int MORU_CALL Optimized_UnInitializeAllLists(void);
/* Finds the listed compounds, the first source database in list order winning; a repeated
   identifier is found at each of its positions. Returns how many positions were found, with
   *objectHandle set to their table; 0 with *objectHandle 0 on failure (also before a load or when
   called twice for one load). */
MORU_API int MORU_CALL Optimized_GetAllCompoundsIdentifiers(int* objectHandle);
/* The found compound at a position (0-based, in no defined order; the host learns the compound's
   place in its own list from compoundPosition): 1; -1 when position is not below the number of
   listed compounds; 0 on any other failure, also for a position past the found compounds.
   databaseName needs 20 bytes, name, alias and casno 256 each; a text that does not fit arrives
   empty, as does the CAS number of a compound without one. kelidx and PLXidx are 0 unless the
   property list asked for them. */
MORU_API int MORU_CALL Optimized_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                           char* databaseName, int* compoundIndex, char* name,
                                                           char* alias, char* casno, double* compclass, double* kelidx,
                                                           double* PLXidx);
/* Looks the listed properties up in the source databases, the first database in list order
   winning. Returns how many were found, with *objectHandle set to their table; 0 with
   *objectHandle 0 on failure (also before a load). */
MORU_API int MORU_CALL Optimized_GetAllProperties(int* objectHandle);
/* The found property at a position (in no defined order): its position in the property list and
   its number of elements. 1; -1 past the end; 0 on any other failure. */
MORU_API int MORU_CALL Optimized_GetNextProperty(int objectHandle, int position, int* propertyPosition,
                                                 int* numOfElements);
/* Every scalar value (numbers of one compound, one element) of the found compounds and properties,
   or every vector value (more elements), fetched after Optimized_GetAllCompoundsIdentifiers; each
   source databank run asked once. Returns how many, with *objectHandle set to them; 0 with
   *objectHandle 0 on failure, also before the lists and compounds are loaded, for an empty source
   list, and when the number of listed compounds times the number of listed properties exceeds
   2147483647. */
MORU_API int MORU_CALL Optimized_GetAllScalarPropertyValues(int* objectHandle);
MORU_API int MORU_CALL Optimized_GetAllVectorPropertyValues(int* objectHandle);
/* The scalar value at a position (in no defined order), with the positions of its databank,
   compound and property in the engine's lists. 1; -1 past the end; 0 on any other failure. */
MORU_API int MORU_CALL Optimized_GetNextScalarPropertyValue(int objectHandle, int position, int* databankPosition,
                                                            int* compoundPosition, int* propertyPosition,
                                                            double* value);
/* The vector value at a position, element k at index k; *valueSize receives the property's element
   count. An absent element arrives as MORU_MISSING_NUMBER in its place, so it never shifts the
   elements after it. value needs room for the property's element count (Optimized_GetNextProperty). Needs
   Optimized_GetAllProperties of the same load. 1; -1 past the end; 0 on any other failure. */
MORU_API int MORU_CALL Optimized_GetNextVectorPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compoundPosition,
                                                            int* propertyPosition, double* value);
/**
 * Fetches every binary value (numbers of two compounds, interaction type 1) of the found compounds
 * and properties whose two compounds were both found, after Optimized_GetAllCompoundsIdentifiers;
 * each run of consecutive source databanks of one database is asked once, and the first databank
 * of the list that holds a value of a pair gives it.
 *
 * Values are reached by combined keys (compound 1 position x C + compound 2 position) x P +
 * property position, with C listed compounds and P listed properties: the fetch is refused when
 * C x C x P exceeds 2147483647 (for example 6442 compounds and 52 properties), rather than handing
 * out keys that wrapped.
 *
 * @param objectHandle receives the handle of the values (0 on failure); release it with
 *        Optimized_ReleaseHandle.
 * @return the number of values; 0 with *objectHandle 0 on failure, also before the lists and
 *         compounds are loaded, for an empty source list and when the keys would not fit.
 */
MORU_API int MORU_CALL Optimized_GetAllBinaryPropertyValues(int* objectHandle);
/**
 * The binary value at a position (in no defined order) as IJ/JI pairs, element by element in the
 * order of the property's elements; an element with no stored number arrives as
 * MORU_MISSING_NUMBER. Needs Optimized_GetAllProperties of the same load.
 *
 * By the element's symmetry code, the full form holds: code 0 (independent) IJ then JI; code 1
 * (stored for one compound order) the number in the half of its order and the marker in the
 * other; code 2 (same for both orders) the number twice, or, beside a code-1 element, only in the
 * half of the last code-1 element's order; code 3 (JI is minus IJ) IJ then -IJ. An element of a
 * unary property is one number. The condensed form gives codes 1 and 2 one number each and lays
 * the whole value out for one compound order: the given one when any code-1 element is stored for
 * it, otherwise the reverse, and then the two compound positions come exchanged.
 *
 * @param objectHandle a handle from Optimized_GetAllBinaryPropertyValues.
 * @param position 0-based position of the value.
 * @param valueSize receives the number of doubles written to value.
 * @param databankPosition receives the position of the value's databank in the source list.
 * @param compound1Position receives the position of the value's first compound.
 * @param compound2Position receives the position of its second compound.
 * @param propertyPosition receives the position of its property in the property list.
 * @param value receives the numbers; needs room for two doubles per element of the property
 *        (Optimized_GetNextProperty).
 * @param bCondensed points to non-zero for the condensed form, 0 for the full form; required.
 * @return 1; -1 at or past the end; 0 on any other failure (a null pointer, a negative position,
 *         a property without a description, lists unloaded by Optimized_UnInitializeAllLists).
 */
MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValueWithCondensedFlag(int objectHandle, int position,
                                                                             int* valueSize, int* databankPosition,
                                                                             int* compound1Position,
                                                                             int* compound2Position,
                                                                             int* propertyPosition, double* value,
                                                                             int* bCondensed);
/**
 * The binary value at a position in the full form: Optimized_GetNextBinaryPropertyValueWithCondensedFlag
 * with a flag of 0.
 *
 * @param objectHandle a handle from Optimized_GetAllBinaryPropertyValues.
 * @param position 0-based position of the value.
 * @param valueSize receives the number of doubles written to value.
 * @param databankPosition receives the position of the value's databank in the source list.
 * @param compound1Position receives the position of the value's first compound.
 * @param compound2Position receives the position of its second compound.
 * @param propertyPosition receives the position of its property in the property list.
 * @param value receives the numbers; needs room for two doubles per element of the property.
 * @return 1; -1 at or past the end; 0 on any other failure.
 */
MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compound1Position,
                                                            int* compound2Position, int* propertyPosition,
                                                            double* value);

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

/* ---- Find-compounds dialog ---------------------------------------------------------------- */

/** Added-compound callback of LaunchFindDialog (cdecl). Its result is ignored.
    @param databank the databank part of the compound's "DB.BANK" (empty when the name does not
           have exactly two dot-separated parts)
    @param alias the compound's alias
    @param row the host row that the compound replaces, or -1 for a new row
    @return ignored */
typedef int(MORU_CDECL* MoruAddCompoundCallback)(const char* databank, const char* alias, int row);
/** Added-compound callback of LaunchFindDialogWithWindowName and LaunchFindDialogWithKELDA (cdecl).
    @param databank the compound's databank, "DB.BANK" whole
    @param alias the compound's alias
    @param row the host row that the compound replaces, or -1 for a new row
    @param name the compound's name
    @param casNumber its CAS number
    @param compoundClass its compound class
    @param matchedSynonym the synonym that matched the user's search
    @param molecularWeight its molecular weight
    @param boilingPoint its normal boiling point
    @param compoundId its compound index in its database
    @return ignored */
typedef int(MORU_CDECL* MoruAddCompoundFullCallback)(const char* databank, const char* alias, int row, const char* name,
                                                     const char* casNumber, const char* compoundClass,
                                                     const char* matchedSynonym, double molecularWeight,
                                                     double boilingPoint, int compoundId);
/** The host's selected databanks, asked for with index 0, 1, 2, ... until it returns null (cdecl).
    The library asks for at most MORU_MAX_SELECTED_DATABANKS entries.
    @param index the position asked for
    @return a moniker "ALIAS BANK", or null after the last one */
typedef const char*(MORU_CDECL* MoruSelectedDatabankCallback)(int index);
#define MORU_MAX_SELECTED_DATABANKS 4096
/** Receives the databanks that the user selected in the find dialog (cdecl).
    @param monikers count monikers "ALIAS BANK", followed by a null entry; valid during the call only
    @param count the number of monikers, 0 for an empty selection */
typedef void(MORU_CDECL* MoruSetDatabanksCallback)(char** monikers, int count);
/** Receives the help context when the user asks for help in the find dialog (cdecl).
    @param helpId the help context, MORU_FIND_DIALOG_HELP_ID */
typedef void(MORU_CDECL* MoruHelpIdCallback)(int helpId);
#define MORU_FIND_DIALOG_HELP_ID 110021

/** Opens the find-compounds dialog. The dialog offers every databank (those of
    SetPureDatabankList when set) and starts with the host's selection; while it is open the
    library reports the compounds the user adds through fnAddCompoundCallback and the databank
    selection through fnSetDbanks. Strings handed to callbacks are valid during the call only.
    The initial search string is copied during this call: the host may free it when the call
    returns. The callbacks must stay valid until the dialog has closed. When the dialog cannot be
    opened, a message box "Failed to launch FindCompounds Dialog" (caption "MORU") tells the user.
    @param fnAddCompoundCallback receives each added compound (may be null)
    @param fnEnumSelectedDbanks gives the initially selected databanks (null: none); monikers that
           name no databank are skipped
    @param fnSetDbanks receives the user's databank selection (may be null)
    @param nReplaceRow the host row that the first compound of each addition replaces; 0: none
    @param initialSearchString the text the dialog starts with (null: empty)
    @return nothing; failures are contained */
MORU_API void MORU_CALL LaunchFindDialog(MoruAddCompoundCallback fnAddCompoundCallback,
                                         MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                         MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                         const char* initialSearchString);
/** LaunchFindDialog with the full added-compound callback and the host's window names; the dialog
    also gets the launcher of the NIST dialog.
    @param fnAddCompoundCallback receives each added compound (may be null)
    @param fnEnumSelectedDbanks gives the initially selected databanks (null: none)
    @param fnSetDbanks receives the user's databank selection (may be null)
    @param nReplaceRow the host row that the first compound of each addition replaces; 0: none
    @param initialSearchString the text the dialog starts with (null: empty)
    @param className the host's window class name (null: empty)
    @param windowName the host's window name (null: empty)
    @return nothing; failures are contained */
MORU_API void MORU_CALL LaunchFindDialogWithWindowName(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                       MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                       MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                       const char* initialSearchString, const char* className,
                                                       const char* windowName);
/** LaunchFindDialogWithWindowName that first switches the database service into KELDA mode and
    passes the user's requests for help to fnHtmlHelpIDCallback. The mode stays for the rest of
    the process: the other two launches do not switch it back.
    @param fnAddCompoundCallback receives each added compound (may be null)
    @param fnEnumSelectedDbanks gives the initially selected databanks (null: none)
    @param fnSetDbanks receives the user's databank selection (may be null)
    @param nReplaceRow the host row that the first compound of each addition replaces; 0: none
    @param initialSearchString the text the dialog starts with (null: empty)
    @param className the host's window class name (null: empty)
    @param windowName the host's window name (null: empty)
    @param fnHtmlHelpIDCallback receives MORU_FIND_DIALOG_HELP_ID when the user asks for help (may be null)
    @return nothing; failures are contained */
MORU_API void MORU_CALL LaunchFindDialogWithKELDA(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                  MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                  MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                  const char* initialSearchString, const char* className,
                                                  const char* windowName, MoruHelpIdCallback fnHtmlHelpIDCallback);

/* ---- TDE data staging --------------------------------------------------------------------- */

/** Stages a pure compound for the NIST tab: empties the staged pure records and sets the name
    that LaunchNISTTab shows. The mixture's records and names stay as they are.
    @param compName the compound's name; required
    @return true; false when compName is null (nothing changes) or on failure */
MORU_API bool MORU_CALL InitializeTDEdialog(const char* compName);
/** Stages a mixture for the NIST mixture tab: empties the staged mixture records and sets the two
    names that LaunchNISTMixTab shows. The pure compound's records and name stay as they are.
    @param compName the first compound's name; required
    @param compName2 the second compound's name; required
    @return true; false when a name is null (nothing changes) or on failure */
MORU_API bool MORU_CALL InitializeTDEdialogMix(const char* compName, const char* compName2);
/** Appends a property record of the pure compound. Each array holds as many elements as its
    count says. A group of lists (experimental: expNum, evaluated: evalNum, calculated: calcNum)
    is given only when its count is above 0, and each list of it only when its array is not null;
    a list not given is absent for the dialog, never empty. Null strings read as empty; a null
    entry of a string array reads as an empty string.
    @param propName the property's name; required
    @param modelName the model's name
    @param desProp the property's description
    @param desPara the parameter's description
    @param propVariables the number of variables; must not be 0
    @param var1Name the first variable's name
    @param var2Name the second variable's name
    @param propUnit the property's unit
    @param propNum the number of elements of propValues; must not be 0 (below 0: no element)
    @param propValues the property's values; required
    @param propUncertainty the values' uncertainty
    @param expNum the number of experimental points
    @param expValues experimental values
    @param expValues1 experimental values of the first variable
    @param expValues2 experimental values of the second variable
    @param expUncertainty uncertainties of the experimental values
    @param expStatus status of each experimental point
    @param expCitation citation of each experimental point
    @param evalNum the number of evaluated points
    @param evalValues evaluated values
    @param evalValues1 evaluated values of the first variable
    @param evalValues2 evaluated values of the second variable
    @param evalUncertainty uncertainties of the evaluated values
    @param evalStatus status of each evaluated point
    @param evalCitation citation of each evaluated point
    @param calcNum the number of calculated points
    @param calcValues calculated values
    @param calcValues1 calculated values of the first variable
    @param calcValues2 calculated values of the second variable
    @param elemUnit the unit of each of the propNum elements; given only when propNum is above 1
    @param DipFamily the compound's family
    @param DipSubgrp the compound's subgroup
    @return true with the record appended; false, nothing appended, for a null propName or
            propValues, a propVariables or propNum of 0, or any failure */
MORU_API bool MORU_CALL PushPropertyValue_GetPropNameValue(
    const char* propName, const char* modelName, const char* desProp, const char* desPara, int propVariables,
    const char* var1Name, const char* var2Name, const char* propUnit, int propNum, const double* propValues,
    double propUncertainty, int expNum, const double* expValues, const double* expValues1, const double* expValues2,
    const double* expUncertainty, const int* expStatus, const char** expCitation, int evalNum,
    const double* evalValues, const double* evalValues1, const double* evalValues2, const double* evalUncertainty,
    const int* evalStatus, const char** evalCitation, int calcNum, const double* calcValues,
    const double* calcValues1, const double* calcValues2, const char** elemUnit, const char* DipFamily,
    const char* DipSubgrp);
/** Appends a property record of the mixture. Each list is given only when expNumMix is above 0
    and its array is not null; a list not given is absent for the dialog, never empty. Null
    strings read as empty.
    @param desProp the property's description
    @param PropNameIdx the property's name index
    @param PhaseVarIdx the phase variable index
    @param authorIdx the author index
    @param expNumMix the number of experimental points
    @param expValues experimental values
    @param expX1 mole fractions of the first compound
    @param expTemp temperatures
    @param expPres pressures
    @param expUncer uncertainties of the values
    @param unc_x1 uncertainties of the mole fractions
    @param unc_T uncertainties of the temperatures
    @param unc_P uncertainties of the pressures
    @param expAcc acceptance of each point
    @param nVar the number of variables
    @param TheCitation the citation
    @param propUnit the property's unit
    @param Datayear the year of the data
    @param DataTrange the temperature range of the data
    @param DataPrange the pressure range of the data
    @param desPropShort the property's short description
    @param IsFromDataSetForm whether the data come from the data set form
    @return true with the record appended; false only on failure */
MORU_API bool MORU_CALL PushMixPropertyValue_GetMixPropNameValue(
    const char* desProp, const char* PropNameIdx, const char* PhaseVarIdx, const char* authorIdx, int expNumMix,
    const double* expValues, const double* expX1, const double* expTemp, const double* expPres,
    const double* expUncer, const double* unc_x1, const double* unc_T, const double* unc_P, const int* expAcc,
    int nVar, const char* TheCitation, const char* propUnit, const char* Datayear, const char* DataTrange,
    const char* DataPrange, const char* desPropShort, bool IsFromDataSetForm);

/* ---- NIST tab ------------------------------------------------------------------------------- */

/** Receives the user's actions in the NIST dialog (cdecl), each action as a series of calls that
    ends with a closing call. Strings are valid during the call only; a property name that the
    dialog did not give as text arrives as null. An action whose lists are too short for its code
    makes no call at all.
    @param windowTitle the dialog's window title, on the calls that carry it (else empty)
    @param propName a property name (else empty)
    @param tabName the dialog's tab (else empty)
    @param iHelpCode the action code (999 or 0 on a closing call)
    @param value1 first number of the action
    @param value2 second number of the action
    @param intValue whole number of the action
    @param value3 third number of the action
    @param text a text of the action (else empty) */
typedef void(MORU_CDECL* MoruNISTPropInfoCallback)(const char* windowTitle, const char* propName, const char* tabName,
                                                   int iHelpCode, double value1, double value2, int intValue,
                                                   double value3, const char* text);

/** Opens the NIST tab for the compound staged by InitializeTDEdialog, with its staged records
    (records staged later are seen by the open tab). The tab becomes the one that the push-back
    functions below reach.
    @param fnCallBackPropInfo receives the user's actions (null: they are not reported)
    @param className the host's window class name (null: empty)
    @param windowName the host's window name (null: empty)
    @param className2 second window class name (null: empty)
    @param windowName2 second window name (null: empty)
    @param className3 third window class name (null: empty)
    @param windowName3 third window name (null: empty)
    @param className4 fourth window class name (null: empty)
    @param windowName4 fourth window name (null: empty)
    @return nothing; failures are contained */
MORU_API void MORU_CALL LaunchNISTTab(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                      const char* windowName, const char* className2, const char* windowName2,
                                      const char* className3, const char* windowName3, const char* className4,
                                      const char* windowName4);
/** LaunchNISTTab for the mixture staged by InitializeTDEdialogMix, with its staged records.
    @param fnCallBackPropInfo receives the user's actions (null: they are not reported)
    @param className the host's window class name (null: empty)
    @param windowName the host's window name (null: empty)
    @param className2 second window class name (null: empty)
    @param windowName2 second window name (null: empty)
    @param className3 third window class name (null: empty)
    @param windowName3 third window name (null: empty)
    @param className4 fourth window class name (null: empty)
    @param windowName4 fourth window name (null: empty)
    @return nothing; failures are contained */
MORU_API void MORU_CALL LaunchNISTMixTab(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                         const char* windowName, const char* className2, const char* windowName2,
                                         const char* className3, const char* windowName3, const char* className4,
                                         const char* windowName4);

/* The push-back functions reach the NIST tab opened last (also after it closed); before any tab
   was opened they do nothing. Null strings read as empty. */

/** Hands a parameter's citation to the NIST tab.
    @param desPara the parameter's description
    @param citationIndex the citation's index
    @param citation the citation
    @return nothing */
MORU_API void MORU_CALL PushCitation(const char* desPara, const char* citationIndex, const char* citation);
/** Hands re-evaluated points to the NIST tab.
    @param TDERevalTpoint the number of points; each array holds that many (0 or less: no lists)
    @param reevalx the points' x values (null: absent)
    @param reevaly the points' y values (null: absent)
    @return nothing */
MORU_API void MORU_CALL PushReevalBack(int TDERevalTpoint, const double* reevalx, const double* reevaly);
/** Hands a fitting result to the NIST tab. With numExpMix above 0 each array holds numExpMix
    values; otherwise, with Fitting 2000, CalValue holds 6 values and CalX1 10 and the two others
    are not read; otherwise no array is read.
    @param Fitting the fitting code
    @param desProp the property's description
    @param numExpMix the number of points
    @param CalValue calculated values (null: absent)
    @param CalX1 mole fractions (null: absent)
    @param CalTemp temperatures (null: absent)
    @param CalPres pressures (null: absent)
    @return nothing */
MORU_API void MORU_CALL PushFittingBack(int Fitting, const char* desProp, int numExpMix, const double* CalValue,
                                        const double* CalX1, const double* CalTemp, const double* CalPres);
/** Hands the results of the consistency tests to the NIST tab.
    @param desProp the property's description
    @param t0VLEQuality the overall quality
    @param t1Herington 6 values (null: absent)
    @param t2VanNess 8 values (null: absent)
    @param t3Point 2 values (null: absent)
    @param t4Infinite 7 values (null: absent)
    @return nothing */
MORU_API void MORU_CALL PushConsistencyTestBack(const char* desProp, double t0VLEQuality, const double* t1Herington,
                                                const double* t2VanNess, const double* t3Point,
                                                const double* t4Infinite);
/** Hands the default property to the NIST tab.
    @param DRSDefaultProperty the property
    @return nothing */
MORU_API void MORU_CALL PushDRSDefaultPropertyBack(const char* DRSDefaultProperty);
/** Resizes the NIST tab's result form.
    @param x the new width
    @param y the new height
    @return nothing */
MORU_API void MORU_CALL TEDResultFormResize(double x, double y);
/** Closes the NIST tab; each call asks it again.
    @return nothing */
MORU_API void MORU_CALL ForceClose(void);

#endif /* MORU_INTEGRATION_H */
