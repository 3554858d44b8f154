/**
 * @mainpage MoruIntegration
 *
 * MoruIntegration: the bridge between flowsheet simulators and physical-property databases, one
 * header (MoruIntegration.h) and one library. A host initialises from a configuration file, lists
 * the databanks (names resolve only for databanks listed), then calls the families it needs,
 * releasing every handle it receives. The functions, family by family:
 *   - @ref family_version
 *   - @ref family_callbacks
 *   - @ref family_lifecycle
 *   - @ref family_initialisation
 *   - @ref family_listing
 *   - @ref family_databanks
 *   - @ref family_search
 *   - @ref family_enumeration
 *   - @ref family_identifiers
 *   - @ref family_reactions
 *   - @ref family_values
 *   - @ref family_unary
 *   - @ref family_structure
 *   - @ref family_binary
 *   - @ref family_regression
 *   - @ref family_bulk
 *   - @ref family_release
 *   - @ref family_finddialog
 *   - @ref family_tde
 *   - @ref family_nist
 *   - @ref family_pointers
 *
 * Conventions, once for every function.
 *
 * @par Calling convention
 *   Every function uses MORU_CALL: stdcall on 32-bit Windows (the callee pops its arguments),
 *   the platform's default elsewhere. Export names are undecorated on every platform, so
 *   GetProcAddress(library, "DllEnsureInit") and dlsym(library, "DllEnsureInit") both work.
 *
 * @par Strings
 *   Strings are NUL-terminated 8-bit strings in the system's ANSI code page on Windows (UTF-8 on
 *   other platforms). A null input string reads as the empty string unless the function says the
 *   argument is required. Every size and length counts bytes of the text in that code page.
 *
 * @par Output buffers
 *   A buffer passed with a size receives its text all or nothing: a text of at most size - 1
 *   bytes is copied whole with its NUL; a longer text leaves an empty string (NUL in the first
 *   byte). Buffers without a size argument must have the size the function names: 20 bytes for
 *   database names and species aliases, 256 bytes for names, aliases, CAS numbers and short
 *   texts, 4097 bytes for structure texts. Strings handed to callbacks belong to the library and
 *   are valid only during the callback.
 *
 * @par Handles
 *   Result objects live behind non-zero int handles until released. Every *_ReleaseHandle
 *   function releases any handle, of whatever kind; releasing 0 or an already released handle
 *   does nothing. A released handle reads as 0 everywhere.
 *
 * @par Host lists
 *   A list argument (const char**) is an array of strings that ends at the first null pointer or
 *   empty string; no count is passed unless the function says so. A databank reference in such a
 *   list is "ALIAS.BANK": a database alias, a full stop, a databank name.
 *
 * @par Failures
 *   Nothing is ever thrown across this interface. A function that fails returns its failure
 *   value: 0 for most int results, -1 for position readers past the end, false for bool results;
 *   functions without a result simply return. Out-parameters are cleared at entry where the
 *   function says so, so a failed call leaves them cleared.
 *
 * @par Threads
 *   The library creates no threads. Every function holds one lock of the whole library while it
 *   runs, so hosts may call from any thread, several at once; the calls then run one after
 *   another. A callback runs inside the function that calls it, on the caller's thread and with
 *   the lock held: it may call the library again on that thread, but must not wait for another
 *   thread that calls the library.
 *
 * @par Floating point
 *   Every function gives the caller's floating-point environment back as it found it: no
 *   exception flag raised that was not raised before, and rounding, precision (x87) and
 *   exception masks unchanged.
 */
#ifndef MORU_INTEGRATION_H
#define MORU_INTEGRATION_H

#ifndef __cplusplus
#include <stdbool.h>
#endif

/**
 * @defgroup family_version Version
 * @{
 */

/** @brief The major version of this header: a host built with it needs a library of the same
    major version (and, while it is 0, of the same minor version). */
#define MORU_VERSION_MAJOR 0
/** @brief The minor version of this header: a library of a later minor version keeps every export
    of this one. */
#define MORU_VERSION_MINOR 1
/** @brief The patch version of this header: fixes only. */
#define MORU_VERSION_PATCH 0
/** @brief The version of this header as text, "MAJOR.MINOR.PATCH". */
#define MORU_VERSION_TEXT "0.1.0"
/** @brief The version of this header as one number, MAJOR * 10000 + MINOR * 100 + PATCH, as
    MoruIntegration_GetVersion returns it for the library. */
#define MORU_VERSION_NUMBER (MORU_VERSION_MAJOR * 10000 + MORU_VERSION_MINOR * 100 + MORU_VERSION_PATCH)

/** @cond internal */
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
/** @endcond */

/** @} */

/**
 * @defgroup family_callbacks Host callbacks
 * @{
 */

/**
 * @brief Help topic callback: receives the HTML help topic number (see FindCompHelpID).
 * @param helpTopic the help topic number.
 * @return ignored.
 */
typedef int(MORU_CALL* MoruHelpTopicCallback)(int helpTopic);

/**
 * @brief Databank listing callback, one call per databank (see ListMoruDatabanks). Text arguments
 * are null when the databank has no such setting.
 * @param databankName the databank's name.
 * @param databaseAlias the alias of its database.
 * @param password the databank's password, null when it has none.
 * @param displayName the name to show.
 * @param baseDatabankName the databank it is based on.
 * @param helpFileName its help file.
 * @param helpCode its help topic number.
 * @param product the product it belongs to.
 * @param databankType its type text.
 * @param prompt its prompt text.
 * @param pureInfoPresent 1 when it holds pure-component information, else 0.
 * @param binaryParameterCount the number of binary parameter sets it holds.
 * @param reactionCount the number of reactions it holds.
 * @return ignored.
 */
typedef int(MORU_CALL* MoruDatabankInfoCallback)(const char* databankName, const char* databaseAlias,
                                                 const char* password, const char* displayName,
                                                 const char* baseDatabankName, const char* helpFileName, int helpCode,
                                                 const char* product, const char* databankType, const char* prompt,
                                                 int pureInfoPresent, int binaryParameterCount, int reactionCount);
/**
 * @brief The 15-argument databank listing callback, chosen by a non-zero access flag: the
 * arguments of MoruDatabankInfoCallback and the database's access settings.
 * @param databankName the databank's name.
 * @param databaseAlias the alias of its database.
 * @param password the databank's password, null when it has none.
 * @param displayName the name to show.
 * @param baseDatabankName the databank it is based on.
 * @param helpFileName its help file.
 * @param helpCode its help topic number.
 * @param product the product it belongs to.
 * @param databankType its type text.
 * @param prompt its prompt text.
 * @param pureInfoPresent 1 when it holds pure-component information, else 0.
 * @param binaryParameterCount the number of binary parameter sets it holds.
 * @param reactionCount the number of reactions it holds.
 * @param simulatorAccess 1 when simulators may use the database, else 0.
 * @param viewerAccess 1 when viewers may use the database, else 0.
 * @return ignored.
 */
typedef int(MORU_CALL* MoruDatabankInfoWithAccessCallback)(const char* databankName, const char* databaseAlias,
                                                           const char* password, const char* displayName,
                                                           const char* baseDatabankName, const char* helpFileName,
                                                           int helpCode, const char* product, const char* databankType,
                                                           const char* prompt, int pureInfoPresent,
                                                           int binaryParameterCount, int reactionCount,
                                                           int simulatorAccess, int viewerAccess);
/**
 * @brief Binary parameter information of a databank, made before that databank's info callback.
 * @param databaseAlias the alias of the database.
 * @param databankName the databank's name.
 * @param parameterName the binary parameter (model) name.
 * @param gammaModelName the activity coefficient model, null when missing.
 * @param vaporModelName the vapour model, null when missing.
 * @return ignored.
 */
typedef int(MORU_CALL* MoruBinaryParameterInfoCallback)(const char* databaseAlias, const char* databankName,
                                                        const char* parameterName, const char* gammaModelName,
                                                        const char* vaporModelName);

/** @} */

/**
 * @defgroup family_lifecycle Life cycle
 * @{
 */

/**
 * @brief Nothing to set up: may be called, is not needed.
 *
 * Unloading the library releases everything it holds: every handle not yet released and every
 * connected database.
 */
MORU_API void MORU_CALL DllEnsureInit(void);
/** @brief Nothing to tear down: may be called, is not needed (see DllEnsureInit). */
MORU_API void MORU_CALL DllForceTerm(void);
/**
 * @brief The library's version, to compare with the MORU_VERSION macros of the header a host was
 * built with.
 *
 * An addition of this library, beyond the 103 functions of the interface that hosts were first
 * written against: a host that must also run with libraries without it finds it with
 * GetProcAddress or dlsym rather than through the import library.
 * @param version receives the version text, "MAJOR.MINOR.PATCH" (all or nothing); may be null.
 * @param versionBufSize the size of version in bytes.
 * @return the version as one number, MAJOR * 10000 + MINOR * 100 + PATCH (MORU_VERSION_NUMBER of
 *         the library's own header); never fails.
 */
MORU_API int MORU_CALL MoruIntegration_GetVersion(char* version, int versionBufSize);

/** @} */

/**
 * @defgroup family_initialisation Initialisation and session settings
 * @{
 */

/**
 * @brief Connects the databases that a configuration file names.
 *
 * Each initialisation replaces the databases of the one before: databanks listed before it no
 * longer resolve (list again), and results still held that belong to a replaced database fail.
 * Nothing is reported; InitializeVNFromConfigFile and InitVNFromConfigFileWithReturnMsgs report.
 * @param configFileName the configuration file; null: the service's default.
 * @param appPwd the application password, tried for secured databases without a password of
 *        their own; may be null.
 */
MORU_API void MORU_CALL InitializeFromConfigFile(const char* configFileName, const char* appPwd);
/**
 * @brief Connects as InitializeFromConfigFile and says whether a database connected.
 * @param configFileName the configuration file; null: the service's default.
 * @param appPwd the application password; may be null.
 * @return 1 when at least one database was connected, else 0 (also on any failure).
 */
MORU_API int MORU_CALL InitializeVNFromConfigFile(const char* configFileName, const char* appPwd);
/**
 * @brief Connects as InitializeFromConfigFile and reports database by database.
 *
 * Read the messages with GetNextDatabaseErrorMessageSize and GetNextDatabaseErrorMessage, the
 * codes with GetNextDatabaseSuccessCode. Release both handles with any release function.
 * @param configFileName the configuration file; null: the service's default.
 * @param appPwd the application password; may be null.
 * @param size required; cleared first, then receives the number of messages.
 * @param overAllSuccess required; cleared first, then receives 1 when a database was connected.
 * @param dbSuccessCodeObjHandle required; cleared first, then receives the handle of the code list.
 * @return the handle of the message list; 0 when there is no message, a pointer is null or the
 *         call fails.
 */
MORU_API int MORU_CALL InitVNFromConfigFileWithReturnMsgs(const char* configFileName, const char* appPwd, int* size,
                                                          int* overAllSuccess, int* dbSuccessCodeObjHandle);
/**
 * @brief The code at a position of the code list of InitVNFromConfigFileWithReturnMsgs.
 *
 * Messages that carry no code (ending ".rxm") have no entry in the code list. No alias, path or
 * message can end an entry as "OK" or "SECURED" or hold the separator "<?>".
 * @param objectHandle the code list.
 * @param position 0-based position in the code list.
 * @return 0 connected (secured or not: an entry ending "OK"), 1 a secured database left
 *         unconnected because no password was given (ending "SECURED"), 2 an error (a wrong
 *         password included); -1 when there is no such entry or the handle is not a code list.
 */
MORU_API int MORU_CALL GetNextDatabaseSuccessCode(int objectHandle, int position);
/**
 * @brief The buffer size that the message at a position needs.
 * @param objectHandle the message list of InitVNFromConfigFileWithReturnMsgs.
 * @param position 0-based position in the message list.
 * @return the size in bytes, NUL included; -1 when there is no such message.
 */
MORU_API int MORU_CALL GetNextDatabaseErrorMessageSize(int objectHandle, int position);
/**
 * @brief Copies the message at a position.
 * @param objectHandle the message list of InitVNFromConfigFileWithReturnMsgs.
 * @param position 0-based position in the message list.
 * @param errMsg the buffer; receives the message all or nothing.
 * @param errMsgSize the size of errMsg in bytes (GetNextDatabaseErrorMessageSize).
 * @return 1 when the buffer then starts with neither NUL nor a blank; 0 otherwise, also for no
 *         such message or a null buffer.
 */
MORU_API int MORU_CALL GetNextDatabaseErrorMessage(int objectHandle, int position, char* errMsg, int errMsgSize);
/**
 * @brief Asks the service for the results of its last operations; nothing is reported to the host.
 */
MORU_API void MORU_CALL CheckExceptions(void);
/** @brief Writes the service's default configuration file where none exists; nothing is reported. */
MORU_API void MORU_CALL CreateDBConfigFile(void);
/**
 * @brief The description of a database or a databank.
 * @param dbaseDOTdbankName "DB" for a database, "DB.BANK" for a databank.
 * @param value the buffer; receives the description all or nothing.
 * @param valueBufSize the size of value in bytes.
 * @return 1 with the description copied (an empty buffer when it does not fit); 0 with an empty
 *         buffer when there is none, and on failure.
 */
MORU_API int MORU_CALL GetDescription(const char* dbaseDOTdbankName, char* value, int valueBufSize);
/**
 * @brief Whether the find dialog shows its databanks tab.
 * @param bTab true to show it (the initial setting), false to hide it.
 */
MORU_API void MORU_CALL SetDatabankTabFlag(bool bTab);
/**
 * @brief Calls a help topic callback once with the find-compounds help topic.
 * @param callbackHtmlHelpTopic a MoruHelpTopicCallback; nothing happens when it is null.
 */
MORU_API void MORU_CALL FindCompHelpID(void* callbackHtmlHelpTopic);

/** @} */

/**
 * @defgroup family_listing Databank listing
 * @{
 */

/**
 * @brief Reports every databank of every connected database.
 *
 * For each databank, first its binary parameter callbacks, then its info callback. Every databank
 * reported becomes resolvable by database alias and databank name in the calls below.
 *
 * The callbacks travel as void*: assign each to a variable of its type (MoruDatabankInfoCallback,
 * MoruBinaryParameterInfoCallback, ...) before passing it, so that the compiler checks its
 * arguments and its calling convention (MORU_CALL, stdcall on 32-bit Windows); a callback of
 * another convention unbalances the stack at run time.
 * @param callbackFnAddDatabankInfo a MoruDatabankInfoCallback; may be null.
 * @param callbackFnAddPureParameterInfo never called; may be null.
 * @param callbackFnAddBinaryDatabankInfo a MoruBinaryParameterInfoCallback; may be null.
 */
MORU_API void MORU_CALL ListMoruDatabanks(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                                          void* callbackFnAddBinaryDatabankInfo);
/**
 * @brief ListMoruDatabanks with a choice of info callback.
 * @param callbackFnAddDatabankInfo a MoruDatabankInfoCallback when accessFlag is 0, else a
 *        MoruDatabankInfoWithAccessCallback; may be null.
 * @param callbackFnAddPureParameterInfo never called; may be null.
 * @param callbackFnAddBinaryDatabankInfo a MoruBinaryParameterInfoCallback; may be null.
 * @param accessFlag non-zero to report the database's access settings too.
 */
MORU_API void MORU_CALL ListMoruDatabanks_WithDBAccessFlag(void* callbackFnAddDatabankInfo,
                                                           void* callbackFnAddPureParameterInfo,
                                                           void* callbackFnAddBinaryDatabankInfo, int accessFlag);
/**
 * @brief Lists names only: the info callback receives databank name and database alias, nulls
 * and zeros. The databanks become resolvable as with ListMoruDatabanks.
 * @param callbackFnAddDatabankInfo a MoruDatabankInfoCallback; may be null.
 */
MORU_API void MORU_CALL ListMoruDatabanks_Vanta(void* callbackFnAddDatabankInfo);
/**
 * @brief ListMoruDatabanks_Vanta with a choice of info callback.
 * @param callbackFnAddDatabankInfo a MoruDatabankInfoCallback when accessFlag is 0, else a
 *        MoruDatabankInfoWithAccessCallback; may be null.
 * @param accessFlag non-zero to report the database's access settings too.
 */
MORU_API void MORU_CALL ListMoruDatabanks_Vanta_WithDBAccessFlag(void* callbackFnAddDatabankInfo, int accessFlag);

/** @} */

/**
 * @defgroup family_databanks Databank queries and pure databank selection
 * @{
 */

/**
 * @brief Sets the databanks that the find dialog offers.
 * @param pureDatabankList numOfDB monikers "ALIAS BANK" (alias, one blank, databank name);
 *        unknown ones are skipped.
 * @param numOfDB the number of entries of pureDatabankList.
 */
MORU_API void MORU_CALL SetPureDatabankList(const char** pureDatabankList, int numOfDB);
/**
 * @brief The compounds of a databank that have data, as a compound collection.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param compoundCollectionHandle cleared first, then receives the collection's handle (read it
 *        with CompoundCollection_GetEnumerator); 0 on failure.
 */
MORU_API void MORU_CALL Databank_GetIdentifiersOfCompoundsWithData(const char* databaseName, const char* databankName,
                                                                   int* compoundCollectionHandle);
/**
 * @brief A databank's type and its property names.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param databankTypes receives 0 neither, 1 pure, 2 binary, 3 both.
 * @param propertyCollectionHandle receives the property name table (read it with
 *        Databank_GetNextPropertyName).
 * @return the number of entries of the property list; 0 on failure.
 */
MORU_API int MORU_CALL Databank_GetDatabankTypeAndPropertyList(const char* databaseName, const char* databankName,
                                                               int* databankTypes, int* propertyCollectionHandle);
/**
 * @brief Copies the property name at a position of a property name table.
 * @param propertyCollectionHandle the table of Databank_GetDatabankTypeAndPropertyList.
 * @param position 0-based position.
 * @param propName receives the name whole, with no size argument: it must hold the longest name
 *        (MORU_MAX_PROPERTY_NAME_BYTES + 1 bytes).
 * @return 1 delivered, -1 past the end, 0 for an empty entry, a name longer than
 *         MORU_MAX_PROPERTY_NAME_BYTES (nothing written) or a failure.
 */
MORU_API int MORU_CALL Databank_GetNextPropertyName(int propertyCollectionHandle, int position, char* propName);

/** @} */

/**
 * @defgroup family_search Compound search
 * @{
 */

/**
 * @brief Searches one text in any identifier and keeps the first hit of the first database that
 * has one.
 *
 * Databases are searched in the order the list first names them.
 * @param searchSource a host list of "ALIAS.BANK" entries; the databanks must have been listed.
 * @param identSearchString the text to find.
 * @param outputPropertyName a scalar property to return with the hit; may be null.
 * @param objectHandle cleared first, then receives the hit (read it with
 *        FoundCompounds_GetObjectDetails).
 * @return 1 with *objectHandle set; 0 otherwise, also for an unknown databank or an entry without
 *         a full stop.
 */
MORU_API int MORU_CALL FoundCompounds_Find(const char** searchSource, const char* identSearchString,
                                           const char* outputPropertyName, int* objectHandle);
/**
 * @brief FoundCompounds_Find restricted to one identifier type.
 * @param searchSource a host list of "ALIAS.BANK" entries; the databanks must have been listed.
 * @param identSearchString the text to find.
 * @param identifierType "NAME", "ALIAS", "CASRN", ...
 * @param outputPropertyName a scalar property to return with the hit; may be null.
 * @param objectHandle cleared first, then receives the hit.
 * @return 1 with *objectHandle set; 0 otherwise.
 */
MORU_API int MORU_CALL FoundCompounds_FindByIdentifierType(const char** searchSource, const char* identSearchString,
                                                           const char* identifierType, const char* outputPropertyName,
                                                           int* objectHandle);
/**
 * @brief Searches a list of texts in every database of the source list.
 * @param searchSource a host list of "ALIAS.BANK" entries; the databanks must have been listed.
 * @param identifierType the identifier type to search in.
 * @param identSearchStrings a host list of the texts to find.
 * @param outputPropertyName a scalar property to return with each hit; may be null.
 * @param objectHandle cleared first, then receives the hit list (read it with
 *        FoundCompounds_GetNextCompoundIdentifier).
 * @return the number of hits; 0 when an argument is missing; -1 on failure.
 */
MORU_API int MORU_CALL FoundCompounds_FindMultiple(const char** searchSource, const char* identifierType,
                                                   const char** identSearchStrings, const char* outputPropertyName,
                                                   int* objectHandle);
/**
 * @brief The simulator's search.
 * @param searchSource a host list of "ALIAS.BANK" entries; the databanks must have been listed.
 * @param identSearchString the text to find.
 * @param dbankContentDataType handed to the database service, which may restrict the search by
 *        it; the embedded service ignores it.
 * @param compIndex receives the compound index, -1 when nothing matched.
 * @param compName 256 bytes, holding a string on entry; receives the match's name.
 * @param compAlias 256 bytes, holding a string on entry; receives the match's alias.
 * @return 1 when the search ran; 0 on failure.
 */
MORU_API int MORU_CALL FoundCompounds_Find_Vanta(const char** searchSource, const char* identSearchString,
                                                 int dbankContentDataType, int* compIndex, char* compName,
                                                 char* compAlias);
/**
 * @brief Details of the hit of FoundCompounds_Find; every text buffer holds 256 bytes.
 * @param objectHandle the hit.
 * @param dbName receives the database alias.
 * @param dbankName receives the databank name.
 * @param compIndex receives the compound index.
 * @param compName receives the compound's name.
 * @param compAlias receives its alias.
 * @param casNumber receives its CAS number (empty when it has none).
 * @param propName receives the name of the output property asked for.
 * @param propertyValue receives that property's value.
 * @return 1; 0 on failure.
 */
MORU_API int MORU_CALL FoundCompounds_GetObjectDetails(int objectHandle, char* dbName, char* dbankName, int* compIndex,
                                                       char* compName, char* compAlias, char* casNumber, char* propName,
                                                       double* propertyValue);
/**
 * @brief Details of the hit at a position of a FoundCompounds_FindMultiple list; every text
 * buffer holds 256 bytes.
 * @param objectHandle the hit list.
 * @param position 0-based position.
 * @param compoundPosition receives the position of the hit's text in identSearchStrings.
 * @param dbName receives the database alias.
 * @param dbankName receives the databank name.
 * @param compIndex receives the compound index.
 * @param compName receives the compound's name.
 * @param compAlias receives its alias.
 * @param casNumber receives its CAS number.
 * @param propName receives the name of the output property asked for.
 * @param propertyValue receives that property's value.
 * @return 1; -1 past the end and on failure.
 */
MORU_API int MORU_CALL FoundCompounds_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                                char* dbName, char* dbankName, int* compIndex,
                                                                char* compName, char* compAlias, char* casNumber,
                                                                char* propName, double* propertyValue);

/** @} */

/**
 * @defgroup family_enumeration Compound enumeration
 * @{
 */

/**
 * @brief The compounds of the first database of the source list that offers a list.
 * @param searchSource a host list of "ALIAS.BANK" entries; the databanks must have been listed.
 * @param objectHandle receives the list's handle (read it with GetAllCompounds_Identifiers).
 * @param numCompounds receives the number of compounds.
 * @return 1; 0 on failure.
 */
MORU_API int MORU_CALL GetAllCompounds(const char** searchSource, int* objectHandle, int* numCompounds);
/**
 * @brief Identifiers of the compound at a position of a GetAllCompounds list.
 * @param objectHandle the list.
 * @param nget 0-based position.
 * @param name 256 bytes; receives the name.
 * @param alias 256 bytes; receives the alias.
 * @param casNum 256 bytes; receives the CAS number.
 * @return 1; 0 on failure, also past the end.
 */
MORU_API int MORU_CALL GetAllCompounds_Identifiers(int objectHandle, int nget, char* name, char* alias, char* casNum);
/**
 * @brief A new enumerator over a compound collection, standing before its first entry.
 * @param compoundCollectionHandle the collection.
 * @param enumeratorHandle cleared first, then receives the enumerator; 0 on failure.
 */
MORU_API void MORU_CALL CompoundCollection_GetEnumerator(int compoundCollectionHandle, int* enumeratorHandle);
/**
 * @brief Moves an enumerator to its next entry.
 * @param enumeratorHandle the enumerator.
 * @return 1 when the enumerator now stands on an entry; 0 at the end (and after) or on failure.
 */
MORU_API int MORU_CALL CompoundCollectionEnum_MoveNext(int enumeratorHandle);
/**
 * @brief Compound index, name and alias of the enumerator's current entry.
 * @param enumeratorHandle the enumerator.
 * @param compoundIndex receives the compound index.
 * @param compoundName emptied first, then receives the name all or nothing.
 * @param compoundNameBufSize the size of compoundName in bytes.
 * @param compoundAlias emptied first, then receives the alias all or nothing.
 * @param compoundAliasBufSize the size of compoundAlias in bytes.
 * @return 1; 0 on failure.
 */
MORU_API int MORU_CALL CompoundCollectionEnum_GetItem(int enumeratorHandle, int* compoundIndex, char* compoundName,
                                                      int compoundNameBufSize, char* compoundAlias,
                                                      int compoundAliasBufSize);

/** @} */

/**
 * @defgroup family_identifiers Identifier lookups
 * @{
 */

/**
 * @brief The name and one identifier of a compound index, when the databank holds the compound.
 *
 * Nothing reports failure: clear both buffers first to tell.
 * @param dbaseName the database alias.
 * @param dbankName the databank, listed before.
 * @param idType the identifier type to read ("CASRN", "INCHI", ...).
 * @param compid the compound index.
 * @param namebuf receives the compound's name all or nothing.
 * @param namebuflen the size of namebuf in bytes.
 * @param buffer receives the identifier's value all or nothing.
 * @param buflen the size of buffer in bytes.
 */
MORU_API void MORU_CALL GetIdValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                            int compid, char* namebuf, int namebuflen, char* buffer, int buflen);
/**
 * @brief The compound index of the compound that has an identifier value.
 * @param dbaseName the database alias.
 * @param dbankName the databank, listed before.
 * @param idType the identifier type of idValue.
 * @param idValue the identifier value.
 * @param compid receives the compound index; 0 when there is none or on failure.
 */
MORU_API void MORU_CALL GetCompidFromIdInDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                               const char* idValue, int* compid);

/** @} */

/**
 * @defgroup family_reactions Reactions
 * @{
 */

/** @brief The most species of a reaction: entries of stoicCoeffs and compAliases of
    Reactions_GetNextReactionObject, which has no size argument for them. */
#define MORU_MAX_REACTION_SPECIES 32
/** @brief The most equilibrium constants of a reaction, and the most symmetric ones: entries of
    eqConsts and SymmetricEqConsts of Reactions_GetNextReactionObject. */
#define MORU_MAX_EQUILIBRIUM_CONSTANTS 16
/** @brief The size of a species alias buffer: aliases have at most 19 bytes. */
#define MORU_SPECIES_ALIAS_BUFFER_SIZE 20

/**
 * @brief Collects the reactions of databanks that can take place among compounds.
 *
 * searchType 0 takes every reaction that names one of the compounds; 1 takes only reactions that
 * can run with the compounds at hand (all reactants or all products present; a dissociation
 * "DISS" needs its reactants) and widens the list by their species until nothing new turns up;
 * other values take none. Each database is searched from the host's list afresh. A database of
 * version 2006, which the listing reports with 0 reactions, adds none.
 * @param compoundList a host list of compounds, written as identifiers of compoundIdType; "H2O"
 *        is added when the list lacks it exactly.
 * @param databankList a host list of "DB.BANK" entries, listed before.
 * @param compoundIdType the identifier type of compoundList.
 * @param searchType 0, 1 or other, as above.
 * @param objectHandle receives the handle of the set (also for 0 reactions: release it).
 * @return the number of reactions (read them with Reactions_GetNextReactionObject); -1 with
 *         handle 0 when a pointer is null or a databank is not listed; 0 with handle 0 for an
 *         entry without a full stop, an entry repeated in any letter case, a database without
 *         reactions, or a failure of the service.
 */
MORU_API int MORU_CALL Reactions_GetAllReactionObjects(const char** compoundList, const char** databankList,
                                                       const char* compoundIdType, int searchType, int* objectHandle);
/**
 * @brief The reaction at a position of a set of Reactions_GetAllReactionObjects.
 *
 * The counts of constants are not reported: absent constants read as MORU_MISSING_NUMBER, and
 * the arrays must hold the most a reaction has (MORU_MAX_EQUILIBRIUM_CONSTANTS).
 * @param objectHandle the set.
 * @param position 0-based position.
 * @param type 256 bytes; receives the reaction type ("EQUIL", "DISS", ...).
 * @param basis 256 bytes; receives the basis of its constants.
 * @param compListSize receives the number of species.
 * @param compAliases MORU_MAX_REACTION_SPECIES pointers to buffers of
 *        MORU_SPECIES_ALIAS_BUFFER_SIZE bytes; receive the species' aliases.
 * @param stoicCoeffs MORU_MAX_REACTION_SPECIES doubles; receive the coefficients (negative for
 *        reactants).
 * @param eqConsts MORU_MAX_EQUILIBRIUM_CONSTANTS doubles; receive the equilibrium constants.
 * @param SymmetricEqConsts MORU_MAX_EQUILIBRIUM_CONSTANTS doubles; receive the symmetric
 *        equilibrium constants; may be null for a reaction without them.
 * @param symEqConstBasis neither read nor written.
 * @return 1 on success; -1 at or past the end; 0 for handle 0, a null required pointer, a
 *         negative position, a reaction with symmetric constants and a null SymmetricEqConsts, a
 *         null alias buffer, an alias that does not fit, or a reaction beyond
 *         MORU_MAX_REACTION_SPECIES or MORU_MAX_EQUILIBRIUM_CONSTANTS (a database edited outside
 *         moru-db); then nothing is written.
 */
MORU_API int MORU_CALL Reactions_GetNextReactionObject(int objectHandle, int position, char* type, char* basis,
                                                       int* compListSize, char** compAliases, double* stoicCoeffs,
                                                       double* eqConsts, double* SymmetricEqConsts,
                                                       char* symEqConstBasis);

/** @} */

/**
 * @defgroup family_values Property value objects
 * @{
 */

/** @brief The most unit rows of a property (PropertyValueObject_UnitsOfMeasure). Databases built
    by moru-db keep within it; a value beyond it is refused rather than written past the host's
    arrays. */
#define MORU_MAX_UNIT_ROWS 16
/** @brief The longest property name, NUL not counted (CompoundProperties_GetNextUnaryPropertyValue's
    propName needs one byte more). */
#define MORU_MAX_PROPERTY_NAME_BYTES 255
/** @brief The most elements of a unary value (propertyValues of
    CompoundProperties_GetNextUnaryPropertyValue). */
#define MORU_MAX_UNARY_ELEMENTS 64

/** @brief Written for a number that a value lacks, by every reader that returns numbers. */
#define MORU_MISSING_NUMBER 1e35

/**
 * @brief The value of one property of a compound of a listed databank.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param compoundId the compound; null reads as the empty string.
 * @param compoundIdType the identifier type of compoundId ("NAME", "CASRN", ...; empty: any).
 * @param propertyId the property's name.
 * @param objectHandle receives the value's handle, 0 when there is no such value.
 * @return 1 once the database was asked; 0 (handle 0) for a null or unknown database or databank.
 */
MORU_API int MORU_CALL CompoundProperties_GetCompoundProperty(const char* databaseName, const char* databankName,
                                                              const char* compoundId, const char* compoundIdType,
                                                              const char* propertyId, int* objectHandle);
/**
 * @brief An enumerator over every unary value of a compound, standing before the first.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param compoundId the compound.
 * @param compoundIdType the identifier type of compoundId (empty: any).
 * @param enumeratorHandle receives the enumerator (PropertyValueCollectionEnum_MoveNext).
 * @return 1; 0 on failure, also for an unknown compound.
 */
MORU_API int MORU_CALL CompoundProperties_GetAllCompoundProperties(const char* databaseName, const char* databankName,
                                                                   const char* compoundId, const char* compoundIdType,
                                                                   int* enumeratorHandle);
/**
 * @brief Moves a value enumerator to its next value.
 * @param enumeratorHandle the enumerator.
 * @return 1 when the enumerator now stands on a value; 0 at the end (and after) or on failure.
 */
MORU_API int MORU_CALL PropertyValueCollectionEnum_MoveNext(int enumeratorHandle);
/**
 * @brief A new value handle for the enumerator's current value. Value handles outlive their
 * enumerator; release each of them.
 * @param enumeratorHandle the enumerator.
 * @param objectHandle receives the value's handle; untouched on failure.
 * @return 1; 0 on failure.
 */
MORU_API int MORU_CALL PropertyValueCollectionEnum_GetItem(int enumeratorHandle, int* objectHandle);

/* Readers of a value. Ask the type and the number of elements first, then call the reader that
   fits with arrays of that many entries; no reader writes more. A text that does not fit its
   buffer leaves an empty string and fails the reader (0). */

/**
 * @brief The number of elements of a value.
 * @param objectHandle the value.
 * @return the number of elements; 0 for type -1, for a single text and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_NumberOfElements(int objectHandle);
/**
 * @brief The type of a value.
 * @param objectHandle the value.
 * @param type receives 1 numbers, 2 text, 3 text list, -1 unspecified (0 elements).
 * @return 1; 0 on failure, also for a null type.
 */
MORU_API int MORU_CALL PropertyValueObject_Type(int objectHandle, int* type);
/**
 * @brief The name of a value's property.
 * @param objectHandle the value.
 * @param property receives the name all or nothing; its last byte (index bufSize - 1) is set to
 *        NUL as well.
 * @param bufSize the size of property in bytes.
 * @return 1 with the name copied; 0 on failure, for an empty name or one that does not fit.
 */
MORU_API int MORU_CALL PropertyValueObject_PropertyId(int objectHandle, char* property, int bufSize);
/**
 * @brief A text value (type 2).
 * @param objectHandle the value.
 * @param value receives the text all or nothing.
 * @param valueBufSize the size of value in bytes.
 * @return 1; 0 for a value of any other shape, a text that does not fit, and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_ValueText(int objectHandle, char* value, int valueBufSize);
/**
 * @brief The first number of a value.
 * @param objectHandle the value.
 * @param value receives the number, MORU_MISSING_NUMBER when absent.
 * @return 1; 0 for a value without numbers and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_ValueConstant(int objectHandle, double* value);
/**
 * @brief Every number of a value.
 * @param objectHandle the value.
 * @param values room for PropertyValueObject_NumberOfElements doubles; receives the numbers,
 *        absent ones as MORU_MISSING_NUMBER.
 * @return 1; 0 for a value of another shape and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_ValueVector(int objectHandle, double* values);
/**
 * @brief Every text of a text list (type 3).
 * @param objectHandle the value.
 * @param values PropertyValueObject_NumberOfElements pointers to buffers; values[i] receives text
 *        i. Nothing is written when one of the pointers needed is null.
 * @param valueBufSize the size of each buffer in bytes.
 * @return 1; 0 for a value of another shape, a text that does not fit, and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_ValueTextList(int objectHandle, char** values, int valueBufSize);
/**
 * @brief The unit rows of a value's property and their default units.
 * @param objectHandle the value.
 * @param unitRowNames MORU_MAX_UNIT_ROWS pointers to buffers of bufSize bytes; receive the unit
 *        row names.
 * @param defaultUnitsOfMeasure MORU_MAX_UNIT_ROWS pointers to buffers of bufSize bytes; receive
 *        the default units.
 * @param bufSize the size of each buffer in bytes.
 * @return the number of unit rows; 0 when there are none and on failure.
 */
MORU_API int MORU_CALL PropertyValueObject_UnitsOfMeasure(int objectHandle, char** unitRowNames,
                                                          char** defaultUnitsOfMeasure, int bufSize);

/** @} */

/**
 * @defgroup family_unary Unary value lists and typed fetch
 * @{
 */

/**
 * @brief The numeric unary values of a compound index in a listed databank.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param compoundIndex the compound index.
 * @param objectHandle receives the list (CompoundProperties_GetNextUnaryPropertyValue).
 * @return how many values; 0 when there are none and on failure.
 */
MORU_API int MORU_CALL CompoundProperties_GetAllUnaryPropertyValues_Vanta(const char* databaseName,
                                                                          const char* databankName, int compoundIndex,
                                                                          int* objectHandle);
/**
 * @brief Name and values at a position of a unary value list.
 * @param objectHandle the list.
 * @param position 0-based position.
 * @param propName MORU_MAX_PROPERTY_NAME_BYTES + 1 bytes; receives the property's name.
 * @param valueSize receives the number of values.
 * @param propertyValues MORU_MAX_UNARY_ELEMENTS doubles; receive the values.
 * @return 1; -1 at or past the end; 0 on any other failure, also for an absent element.
 */
MORU_API int MORU_CALL CompoundProperties_GetNextUnaryPropertyValue(int objectHandle, int position, char* propName,
                                                                    int* valueSize, double* propertyValues);
/**
 * @brief One numeric property value (property type 1) as doubles into the host's array.
 * @param dbaseName the database alias.
 * @param dbankName the databank, listed before.
 * @param idType the identifier type of idVal.
 * @param idVal the compound.
 * @param propName the property.
 * @param valueType 3: doubles; other values deliver nothing.
 * @param retvals room for retvalArraylen doubles; receives the value, absent elements as
 *        MORU_MISSING_NUMBER.
 * @param retvalArraylen the number of doubles retvals holds.
 * @param retvalElemLen not used.
 * @param success receives 1 when the whole value was written; 0 otherwise, with nothing written
 *        when the value does not fit.
 */
MORU_API void MORU_CALL GetPropertyValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                                  const char* idVal, const char* propName, int valueType,
                                                  double* retvals, int retvalArraylen, int retvalElemLen, int* success);

/** @} */

/**
 * @defgroup family_structure Molecular structure
 * @{
 */

/**
 * @brief The structure text of a compound of a connected database.
 * @param dbaseName the database alias (no listing needed).
 * @param compoundId the compound.
 * @param compIdType the identifier type of compoundId (empty: any).
 * @param structureType 1 CML, 2 SMILES.
 * @param moleStructString 4097 bytes; receives the text.
 * @return true with the text, or with an empty buffer when the database or the structure is
 *         unknown; false for a null argument, a failure, or a text over 4096 bytes (buffer empty).
 */
MORU_API bool MORU_CALL GetMolecularStructureString(const char* dbaseName, const char* compoundId,
                                                    const char* compIdType, int structureType, char* moleStructString);

#if !defined(_WIN32)
/** @brief Where there is no COM, a structure control is an object of this shape: the layout of an
    automation (IDispatch) interface with UTF-8 texts. */
typedef struct MoruDispatch MoruDispatch;
/** @brief The methods of a MoruDispatch; each returns 0 or more for success. */
typedef struct MoruDispatchVtbl {
    /** @brief Asks for another interface of the object. */
    int(MORU_CALL* QueryInterface)(MoruDispatch* self, const void* interfaceId, void** object);
    /** @brief Adds a reference; returns the new count. */
    unsigned int(MORU_CALL* AddRef)(MoruDispatch* self);
    /** @brief Releases a reference; returns the new count. */
    unsigned int(MORU_CALL* Release)(MoruDispatch* self);
    /** @brief The number of type descriptions (0 or 1). */
    int(MORU_CALL* GetTypeInfoCount)(MoruDispatch* self, unsigned int* count);
    /** @brief A type description. */
    int(MORU_CALL* GetTypeInfo)(MoruDispatch* self, unsigned int index, unsigned int locale, void** typeInfo);
    /** @brief The dispatch identifiers of method names. */
    int(MORU_CALL* GetIDsOfNames)(MoruDispatch* self, const void* interfaceId, const char* const* names,
                                  unsigned int count, unsigned int locale, int* dispatchIds);
    /** @brief Calls a method with text arguments. */
    int(MORU_CALL* Invoke)(MoruDispatch* self, int dispatchId, const void* interfaceId, unsigned int locale,
                           unsigned short flags, const char* const* textArguments, unsigned int argumentCount);
} MoruDispatchVtbl;
/** @brief An automation object: its method table. */
struct MoruDispatch {
    const MoruDispatchVtbl* lpVtbl; /**< the object's methods */
};
#endif

/**
 * @brief Hands a compound's structure text to the host's structure control, by calling its method
 * "GetMoleInfoFromData" with the text as its one argument (a BSTR).
 *
 * The library holds a reference of its own on the control during the call. Nothing is reported:
 * the control is not called when it is null or there is no structure.
 * @param dbaseName the database alias.
 * @param IdName the compound.
 * @param IdType the identifier type of IdName (empty: any).
 * @param StructureType 1 CML, 2 SMILES.
 * @param pMoleStructCtl an IDispatch* on Windows, a MoruDispatch* elsewhere; may be null.
 */
MORU_API void MORU_CALL PushDataToMoleStructControl(const char* dbaseName, const char* IdName, const char* IdType,
                                                    int StructureType, void* pMoleStructCtl);

/** @} */

/**
 * @defgroup family_binary Binary parameters
 * @{
 */

/* Binary parameter arrays: element by element, the part for the compound order (1, 2) then the
   part for (2, 1). Condensed arrays keep one part for an element that is the same, or the negative,
   in both orders. An element without symmetry (code -1: it has no second order) is one number in
   both forms, in these arrays and in the engine's (Optimized_GetNextBinaryPropertyValue). An
   element the database does not hold reads as 1e35. */

/**
 * @brief The parameter set of a model for two compounds, in the order asked whichever order the
 * databank stores.
 * @param databaseName the database alias.
 * @param databankName the databank, listed before.
 * @param modelName the parameter (model) name, such as "NRTL".
 * @param compound1Id the first compound.
 * @param compound2Id the second compound.
 * @param compoundIdsType the identifier type of both compounds.
 * @param bCondensedForViewing non-zero asks for the condensed array.
 * @param objectHandle receives the set's handle, 0 when the databank holds none
 *        (InteractionParameterValueObject_Parameters reads it).
 * @return 1 with the set's handle or handle 0; 0 on failure (handle 0).
 */
MORU_API int MORU_CALL InteractionParameters_GetBinaryIp(const char* databaseName, const char* databankName,
                                                         const char* modelName, const char* compound1Id,
                                                         const char* compound2Id, const char* compoundIdsType,
                                                         int* bCondensedForViewing, int* objectHandle);
/**
 * @brief The element count of a parameter set.
 * @param objectHandle the set.
 * @return the number of doubles InteractionParameterValueObject_Parameters writes; 0 on failure.
 */
MORU_API int MORU_CALL InteractionParameterValueObject_NumberOfElements(int objectHandle);
/**
 * @brief Every element of a parameter set.
 * @param objectHandle the set.
 * @param parameters room for InteractionParameterValueObject_NumberOfElements doubles.
 * @return 1; 0 without writing on failure.
 */
MORU_API int MORU_CALL InteractionParameterValueObject_Parameters(int objectHandle, double* parameters);

/**
 * @brief Every value of some properties that some databanks hold among the working compounds.
 * @param workingCompoundPairArr a host list of the working compounds.
 * @param compoundIdType the identifier type of the working compounds.
 * @param dbankArr a host list of "ALIAS.BANK" entries.
 * @param propertyArr a host list of property names.
 * @param interactionType 1 binary values, 3 pair values; any other type gives an empty result.
 * @param bCondensedForViewing 0 full arrays, 1 condensed, 2 condensed; with pair values 0 and 2
 *        place each value at every combination of its compounds' positions (read those with
 *        BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta).
 * @param objectHandle receives the result's handle.
 * @return 1 with the result's handle; 0 on failure: a repeated property or databank (in any
 *         spelling), an entry that does not resolve, a value outside the lists.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
    const char** workingCompoundPairArr, const char* compoundIdType, const char** dbankArr, const char** propertyArr,
    int* interactionType, int* bCondensedForViewing, int* objectHandle);
/**
 * @brief The next value of a result of BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects.
 * @param objectHandle the result.
 * @param comp1Index receives the position of the first compound in the working list, -1 for none.
 * @param comp2Index receives the position of the second compound, -1 for none.
 * @param comp3Index receives the position of the third compound, -1 for none.
 * @param comp4Index receives the position of the fourth compound, -1 for none.
 * @param dbankIndex receives the position of the databank in dbankArr.
 * @param propIndex receives the position of the property in propertyArr.
 * @param valueSize receives the number of elements.
 * @param hasRegInfo receives 1 when the value has regression information, else 0; a null pointer
 *        fails the read of an entry (0), but after the last entry the result is still -1.
 * @param propValues room for the longest array; receives the elements.
 * @return 1 delivered; -1 after the last; 0 when the entry cannot be read this way (the cursor
 *         stays) and on failure.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject(int objectHandle, int* comp1Index,
                                                                             int* comp2Index, int* comp3Index,
                                                                             int* comp4Index, int* dbankIndex,
                                                                             int* propIndex, int* valueSize,
                                                                             int* hasRegInfo, double* propValues);
/**
 * @brief The next value placed at every combination of positions; shares the cursor of
 * BinaryPropertyValueObjects_GetNextPropertyValueObject.
 * @param objectHandle the result.
 * @param comp1Index receives the position of the first compound, -1 for none.
 * @param comp2Index receives the position of the second compound, -1 for none.
 * @param comp3Index receives the position of the third compound, -1 for none.
 * @param comp4Index receives the position of the fourth compound, -1 for none.
 * @param dbankIndex receives the position of the databank in dbankArr.
 * @param propIndex receives the position of the property in propertyArr.
 * @param valueSize receives the number of elements.
 * @param propValues room for the longest array; receives the elements.
 * @return 1 delivered; -1 after the last; 0 when the entry cannot be read this way and on failure.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(int objectHandle, int* comp1Index,
                                                                                   int* comp2Index, int* comp3Index,
                                                                                   int* comp4Index, int* dbankIndex,
                                                                                   int* propIndex, int* valueSize,
                                                                                   double* propValues);
/**
 * @brief The number of values of a result.
 * @param objectHandle the result.
 * @return the number of values; 0 on failure.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_NumberOfElements(int objectHandle);

/** @} */

/**
 * @defgroup family_regression Regression information
 * @{
 */

/**
 * @brief The regression information of a binary parameter for two compounds.
 * @param DBaseDBank the databank, "ALIAS.BANK".
 * @param property the parameter (model) name.
 * @param compound1 the first compound.
 * @param compound2 the second compound.
 * @param compoundIdType the identifier type of both compounds.
 * @param objectHandle receives the handle (BinaryPropertyValueObjects_GetRegInfoObjectDetails).
 * @return 1 with its handle, found or not; 0 on failure.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObject(const char* DBaseDBank, const char* property,
                                                                   const char* compound1, const char* compound2,
                                                                   const char* compoundIdType, int* objectHandle);
/**
 * @brief The kind and every field of regression information, as text.
 *
 * Numbers have a full stop as decimal mark, ranges read "lower - upper", deviation lines
 * "points  aard  aad  max  ". Fields the kind does not fill, and fields too long for their
 * buffer, are emptied.
 * @param objectHandle the regression information.
 * @param regInfoType receives 1 vapour-liquid, 2 liquid-liquid, 3 Henry, 4 NIST, 0 none.
 * @param sigma stdBufferSize bytes; the standard deviation.
 * @param tLimits stdBufferSize bytes; the temperature range.
 * @param pLimits stdBufferSize bytes; the pressure range.
 * @param xLimits stdBufferSize bytes; the composition range.
 * @param x1Limits stdBufferSize bytes; the composition range of liquid 1.
 * @param x2Limits stdBufferSize bytes; the composition range of liquid 2.
 * @param henryLimits stdBufferSize bytes; the range of Henry's constant.
 * @param henryDeviation stdBufferSize bytes; the deviations of Henry's constant.
 * @param tDeviation stdBufferSize bytes; the temperature deviations.
 * @param pDeviation stdBufferSize bytes; the pressure deviations.
 * @param xDeviation stdBufferSize bytes; the composition deviations.
 * @param x1Deviation stdBufferSize bytes; the deviations of liquid 1.
 * @param x2Deviation stdBufferSize bytes; the deviations of liquid 2.
 * @param xTDeviation xTDeviationBufferSize bytes; the deviations by property.
 * @param sCitation citationBufferSize bytes; the citations.
 * @param compBasis stdBufferSize bytes; the compound the fields refer to first.
 * @param stdBufferSize the size of every buffer but xTDeviation and sCitation.
 * @param xTDeviationBufferSize the size of xTDeviation.
 * @param citationBufferSize the size of sCitation.
 * @return 1; 0 without writing on failure.
 */
MORU_API int MORU_CALL BinaryPropertyValueObjects_GetRegInfoObjectDetails(
    int objectHandle, int* regInfoType, char* sigma, char* tLimits, char* pLimits, char* xLimits, char* x1Limits,
    char* x2Limits, char* henryLimits, char* henryDeviation, char* tDeviation, char* pDeviation, char* xDeviation,
    char* x1Deviation, char* x2Deviation, char* xTDeviation, char* sCitation, char* compBasis, int stdBufferSize,
    int xTDeviationBufferSize, int citationBufferSize);

/** @} */

/**
 * @defgroup family_bulk Bulk retrieval for the simulation engine
 * @{
 */

/**
 * @brief Loads the engine's three lists; every load starts from empty tables.
 * @param sourceDatabanks a host list of "ALIAS.BANK" entries, listed databanks only; text after
 *        a second full stop is ignored.
 * @param compoundIdentifierList a host list of compound identifiers (exact; one may repeat).
 * @param propertyList a host list of property names (exact; each once; "KELIDX" and "PLXIDX", in
 *        any case, ask for the KELDA and PLX indices of the compounds).
 * @return 1; 0, with the tables left empty, for a null list, a databank entry without a full stop
 *         or that does not resolve, or a repeated property name or databank.
 */
MORU_API int MORU_CALL Optimized_InitializeAllLists(const char** sourceDatabanks, const char** compoundIdentifierList,
                                                    const char** propertyList);
/**
 * @brief Empties the lists and what was found for them. Handles still held read what they were given.
 * @return 1.
 */
MORU_API int MORU_CALL Optimized_UnInitializeAllLists(void);
/**
 * @brief Finds the listed compounds, the first source database in list order winning; a repeated
 * identifier is found at each of its positions.
 * @param objectHandle receives the table of found compounds (Optimized_GetNextCompoundIdentifier).
 * @return how many positions were found; 0 with *objectHandle 0 on failure (also before a load or
 *         when called twice for one load).
 */
MORU_API int MORU_CALL Optimized_GetAllCompoundsIdentifiers(int* objectHandle);
/**
 * @brief The found compound at a position (0-based, in no defined order).
 * @param objectHandle the table of Optimized_GetAllCompoundsIdentifiers.
 * @param position 0-based position.
 * @param compoundPosition receives the compound's place in the engine's compound list.
 * @param databaseName 20 bytes; receives the database alias.
 * @param compoundIndex receives the compound index.
 * @param name 256 bytes; receives the name (empty when it does not fit).
 * @param alias 256 bytes; receives the alias.
 * @param casno 256 bytes; receives the CAS number (empty for a compound without one).
 * @param compclass receives the compound class.
 * @param kelidx receives the KELDA index; 0 unless the property list asked for it.
 * @param PLXidx receives the PLX index; 0 unless the property list asked for it.
 * @return 1; -1 when position is not below the number of compounds listed by the handle's load
 *         (the handle reads what it was given, after Optimized_UnInitializeAllLists or another
 *         load too); 0 on any other failure, also for a position past the found compounds.
 */
MORU_API int MORU_CALL Optimized_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                           char* databaseName, int* compoundIndex, char* name,
                                                           char* alias, char* casno, double* compclass, double* kelidx,
                                                           double* PLXidx);
/**
 * @brief Looks the listed properties up in the source databases, the first database in list
 * order winning.
 * @param objectHandle receives the table of found properties (Optimized_GetNextProperty).
 * @return how many were found; 0 with *objectHandle 0 on failure (also before a load).
 */
MORU_API int MORU_CALL Optimized_GetAllProperties(int* objectHandle);
/**
 * @brief The found property at a position (in no defined order).
 * @param objectHandle the table of Optimized_GetAllProperties.
 * @param position 0-based position.
 * @param propertyPosition receives its position in the engine's property list.
 * @param numOfElements receives its number of elements.
 * @return 1; -1 past the end; 0 on any other failure.
 */
MORU_API int MORU_CALL Optimized_GetNextProperty(int objectHandle, int position, int* propertyPosition,
                                                 int* numOfElements);
/**
 * @brief Every scalar value (numbers of one compound, one element) of the found compounds and
 * properties, fetched after Optimized_GetAllCompoundsIdentifiers; each source databank run asked
 * once.
 * @param objectHandle receives the values (Optimized_GetNextScalarPropertyValue).
 * @return how many; 0 with *objectHandle 0 on failure, also before the lists and compounds are
 *         loaded, for an empty source list, and when the number of listed compounds times the
 *         number of listed properties exceeds 2147483647.
 */
MORU_API int MORU_CALL Optimized_GetAllScalarPropertyValues(int* objectHandle);
/**
 * @brief Every vector value (more elements) of the found compounds and properties, as
 * Optimized_GetAllScalarPropertyValues.
 * @param objectHandle receives the values (Optimized_GetNextVectorPropertyValue).
 * @return how many; 0 with *objectHandle 0 on failure, as Optimized_GetAllScalarPropertyValues.
 */
MORU_API int MORU_CALL Optimized_GetAllVectorPropertyValues(int* objectHandle);
/**
 * @brief The scalar value at a position (in no defined order).
 * @param objectHandle the values of Optimized_GetAllScalarPropertyValues.
 * @param position 0-based position.
 * @param databankPosition receives the position of its databank in the engine's list.
 * @param compoundPosition receives the position of its compound.
 * @param propertyPosition receives the position of its property.
 * @param value receives the value.
 * @return 1; -1 past the end; 0 on any other failure.
 */
MORU_API int MORU_CALL Optimized_GetNextScalarPropertyValue(int objectHandle, int position, int* databankPosition,
                                                            int* compoundPosition, int* propertyPosition,
                                                            double* value);
/**
 * @brief The vector value at a position, element k at index k. Needs Optimized_GetAllProperties
 * of the same load; the handle keeps that load's property descriptions, after
 * Optimized_UnInitializeAllLists or another load too.
 * @param objectHandle the values of Optimized_GetAllVectorPropertyValues.
 * @param position 0-based position.
 * @param valueSize receives the property's element count.
 * @param databankPosition receives the position of its databank in the engine's list.
 * @param compoundPosition receives the position of its compound.
 * @param propertyPosition receives the position of its property.
 * @param value room for the property's element count (Optimized_GetNextProperty); an absent
 *        element arrives as MORU_MISSING_NUMBER in its place, so it never shifts the others.
 * @return 1; -1 past the end; 0 on any other failure.
 */
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
 * half of the last code-1 element's order; code 3 (JI is minus IJ) IJ then -IJ. An element without
 * symmetry (code -1, as every element of a unary property) is one number, IJ, in both forms. The
 * condensed form gives codes 1 and 2 one number each and lays the whole value out for one compound
 * order: the given one when any code-1 element is stored for it, otherwise the reverse, and then
 * the two compound positions come exchanged.
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
 *         a property that the handle's load did not describe). A handle keeps the property
 *         descriptions of its own load: after Optimized_UnInitializeAllLists or another load it
 *         still reads its values as sized then.
 */
MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValueWithCondensedFlag(
    int objectHandle, int position, int* valueSize, int* databankPosition, int* compound1Position,
    int* compound2Position, int* propertyPosition, double* value, int* bCondensed);
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

/** @} */

/**
 * @defgroup family_release Release functions
 * @{
 */

/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param compoundCollectionHandle the handle. */
MORU_API void MORU_CALL CompoundCollection_ReleaseHandle(int compoundCollectionHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param enumeratorHandle the handle. */
MORU_API void MORU_CALL CompoundCollectionEnum_ReleaseHandle(int enumeratorHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param enumeratorHandle the handle. */
MORU_API void MORU_CALL PropertyValueCollectionEnum_ReleaseHandle(int enumeratorHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL PropertyValueObject_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL CompoundProperties_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param propertyCollectionHandle the handle. */
MORU_API void MORU_CALL Databank_ReleaseHandle(int propertyCollectionHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL FoundCompounds_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL GetAllCompounds_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL BinaryPropertyValueObjects_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL InteractionParameterValueObject_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL Optimized_ReleaseHandle(int objectHandle);
/** @brief Releases a handle, whatever its kind; 0 and unknown handles are ignored.
    @param objectHandle the handle. */
MORU_API void MORU_CALL Reactions_ReleaseHandle(int objectHandle);

/** @} */

/**
 * @defgroup family_finddialog Find-compounds dialog
 * @{
 */

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
/** The most entries the library asks a MoruSelectedDatabankCallback for: a callback that never
    returns null cannot hold the launch in an endless loop. */
#define MORU_MAX_SELECTED_DATABANKS 4096
/** Receives the databanks that the user selected in the find dialog (cdecl).
    @param monikers count monikers "ALIAS BANK", followed by a null entry; valid during the call only
    @param count the number of monikers, 0 for an empty selection */
typedef void(MORU_CDECL* MoruSetDatabanksCallback)(char** monikers, int count);
/** Receives the help context when the user asks for help in the find dialog (cdecl).
    @param helpId the help context, MORU_FIND_DIALOG_HELP_ID */
typedef void(MORU_CDECL* MoruHelpIdCallback)(int helpId);
/** The help context of the find dialog, passed to the host's MoruHelpIdCallback. */
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
    Returns nothing; failures are contained. */
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
    Returns nothing; failures are contained. */
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
    Returns nothing; failures are contained. */
MORU_API void MORU_CALL LaunchFindDialogWithKELDA(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                  MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                  MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                  const char* initialSearchString, const char* className,
                                                  const char* windowName, MoruHelpIdCallback fnHtmlHelpIDCallback);

/** @} */

/**
 * @defgroup family_tde TDE data staging
 * @{
 */

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
    const double* expUncertainty, const int* expStatus, const char** expCitation, int evalNum, const double* evalValues,
    const double* evalValues1, const double* evalValues2, const double* evalUncertainty, const int* evalStatus,
    const char** evalCitation, int calcNum, const double* calcValues, const double* calcValues1,
    const double* calcValues2, const char** elemUnit, const char* DipFamily, const char* DipSubgrp);
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
    const double* expValues, const double* expX1, const double* expTemp, const double* expPres, const double* expUncer,
    const double* unc_x1, const double* unc_T, const double* unc_P, const int* expAcc, int nVar,
    const char* TheCitation, const char* propUnit, const char* Datayear, const char* DataTrange, const char* DataPrange,
    const char* desPropShort, bool IsFromDataSetForm);

/** @} */

/**
 * @defgroup family_nist NIST tab
 * @{
 */

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
    Returns nothing; failures are contained. */
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
    Returns nothing; failures are contained. */
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
    Returns nothing. */
MORU_API void MORU_CALL PushCitation(const char* desPara, const char* citationIndex, const char* citation);
/** Hands re-evaluated points to the NIST tab.
    @param TDERevalTpoint the number of points; each array holds that many (0 or less: no lists)
    @param reevalx the points' x values (null: absent)
    @param reevaly the points' y values (null: absent)
    Returns nothing. */
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
    Returns nothing. */
MORU_API void MORU_CALL PushFittingBack(int Fitting, const char* desProp, int numExpMix, const double* CalValue,
                                        const double* CalX1, const double* CalTemp, const double* CalPres);
/** Hands the results of the consistency tests to the NIST tab.
    @param desProp the property's description
    @param t0VLEQuality the overall quality
    @param t1Herington 6 values (null: absent)
    @param t2VanNess 8 values (null: absent)
    @param t3Point 2 values (null: absent)
    @param t4Infinite 7 values (null: absent)
    Returns nothing. */
MORU_API void MORU_CALL PushConsistencyTestBack(const char* desProp, double t0VLEQuality, const double* t1Herington,
                                                const double* t2VanNess, const double* t3Point,
                                                const double* t4Infinite);
/** Hands the default property to the NIST tab.
    @param DRSDefaultProperty the property
    Returns nothing. */
MORU_API void MORU_CALL PushDRSDefaultPropertyBack(const char* DRSDefaultProperty);
/** Resizes the NIST tab's result form.
    @param x the new width
    @param y the new height
    Returns nothing. */
MORU_API void MORU_CALL TEDResultFormResize(double x, double y);
/** Closes the NIST tab; each call asks it again.
    Returns nothing. */
MORU_API void MORU_CALL ForceClose(void);

/** @} */

/**
 * @defgroup family_pointers Function pointer types
 * @{
 */

/* For hosts that load the library at run time: MoruFn_<export> is the type of a pointer to that
   export, with its calling convention, for the result of GetProcAddress or dlsym. */

/** @brief A pointer to DllEnsureInit. */
typedef void(MORU_CALL* MoruFn_DllEnsureInit)(void);
/** @brief A pointer to DllForceTerm. */
typedef void(MORU_CALL* MoruFn_DllForceTerm)(void);
/** @brief A pointer to MoruIntegration_GetVersion. */
typedef int(MORU_CALL* MoruFn_MoruIntegration_GetVersion)(char* version, int versionBufSize);
/** @brief A pointer to InitializeFromConfigFile. */
typedef void(MORU_CALL* MoruFn_InitializeFromConfigFile)(const char* configFileName, const char* appPwd);
/** @brief A pointer to InitializeVNFromConfigFile. */
typedef int(MORU_CALL* MoruFn_InitializeVNFromConfigFile)(const char* configFileName, const char* appPwd);
/** @brief A pointer to InitVNFromConfigFileWithReturnMsgs. */
typedef int(MORU_CALL* MoruFn_InitVNFromConfigFileWithReturnMsgs)(const char* configFileName, const char* appPwd,
                                                                  int* size, int* overAllSuccess,
                                                                  int* dbSuccessCodeObjHandle);
/** @brief A pointer to GetNextDatabaseSuccessCode. */
typedef int(MORU_CALL* MoruFn_GetNextDatabaseSuccessCode)(int objectHandle, int position);
/** @brief A pointer to GetNextDatabaseErrorMessageSize. */
typedef int(MORU_CALL* MoruFn_GetNextDatabaseErrorMessageSize)(int objectHandle, int position);
/** @brief A pointer to GetNextDatabaseErrorMessage. */
typedef int(MORU_CALL* MoruFn_GetNextDatabaseErrorMessage)(int objectHandle, int position, char* errMsg,
                                                           int errMsgSize);
/** @brief A pointer to CheckExceptions. */
typedef void(MORU_CALL* MoruFn_CheckExceptions)(void);
/** @brief A pointer to CreateDBConfigFile. */
typedef void(MORU_CALL* MoruFn_CreateDBConfigFile)(void);
/** @brief A pointer to GetDescription. */
typedef int(MORU_CALL* MoruFn_GetDescription)(const char* dbaseDOTdbankName, char* value, int valueBufSize);
/** @brief A pointer to SetDatabankTabFlag. */
typedef void(MORU_CALL* MoruFn_SetDatabankTabFlag)(bool bTab);
/** @brief A pointer to FindCompHelpID. */
typedef void(MORU_CALL* MoruFn_FindCompHelpID)(void* callbackHtmlHelpTopic);
/** @brief A pointer to ListMoruDatabanks. */
typedef void(MORU_CALL* MoruFn_ListMoruDatabanks)(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                                                  void* callbackFnAddBinaryDatabankInfo);
/** @brief A pointer to ListMoruDatabanks_WithDBAccessFlag. */
typedef void(MORU_CALL* MoruFn_ListMoruDatabanks_WithDBAccessFlag)(void* callbackFnAddDatabankInfo,
                                                                   void* callbackFnAddPureParameterInfo,
                                                                   void* callbackFnAddBinaryDatabankInfo,
                                                                   int accessFlag);
/** @brief A pointer to ListMoruDatabanks_Vanta. */
typedef void(MORU_CALL* MoruFn_ListMoruDatabanks_Vanta)(void* callbackFnAddDatabankInfo);
/** @brief A pointer to ListMoruDatabanks_Vanta_WithDBAccessFlag. */
typedef void(MORU_CALL* MoruFn_ListMoruDatabanks_Vanta_WithDBAccessFlag)(void* callbackFnAddDatabankInfo,
                                                                         int accessFlag);
/** @brief A pointer to SetPureDatabankList. */
typedef void(MORU_CALL* MoruFn_SetPureDatabankList)(const char** pureDatabankList, int numOfDB);
/** @brief A pointer to Databank_GetIdentifiersOfCompoundsWithData. */
typedef void(MORU_CALL* MoruFn_Databank_GetIdentifiersOfCompoundsWithData)(const char* databaseName,
                                                                           const char* databankName,
                                                                           int* compoundCollectionHandle);
/** @brief A pointer to Databank_GetDatabankTypeAndPropertyList. */
typedef int(MORU_CALL* MoruFn_Databank_GetDatabankTypeAndPropertyList)(const char* databaseName,
                                                                       const char* databankName, int* databankTypes,
                                                                       int* propertyCollectionHandle);
/** @brief A pointer to Databank_GetNextPropertyName. */
typedef int(MORU_CALL* MoruFn_Databank_GetNextPropertyName)(int propertyCollectionHandle, int position, char* propName);
/** @brief A pointer to FoundCompounds_Find. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_Find)(const char** searchSource, const char* identSearchString,
                                                   const char* outputPropertyName, int* objectHandle);
/** @brief A pointer to FoundCompounds_FindByIdentifierType. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_FindByIdentifierType)(const char** searchSource,
                                                                   const char* identSearchString,
                                                                   const char* identifierType,
                                                                   const char* outputPropertyName, int* objectHandle);
/** @brief A pointer to FoundCompounds_FindMultiple. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_FindMultiple)(const char** searchSource, const char* identifierType,
                                                           const char** identSearchStrings,
                                                           const char* outputPropertyName, int* objectHandle);
/** @brief A pointer to FoundCompounds_Find_Vanta. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_Find_Vanta)(const char** searchSource, const char* identSearchString,
                                                         int dbankContentDataType, int* compIndex, char* compName,
                                                         char* compAlias);
/** @brief A pointer to FoundCompounds_GetObjectDetails. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_GetObjectDetails)(int objectHandle, char* dbName, char* dbankName,
                                                               int* compIndex, char* compName, char* compAlias,
                                                               char* casNumber, char* propName, double* propertyValue);
/** @brief A pointer to FoundCompounds_GetNextCompoundIdentifier. */
typedef int(MORU_CALL* MoruFn_FoundCompounds_GetNextCompoundIdentifier)(int objectHandle, int position,
                                                                        int* compoundPosition, char* dbName,
                                                                        char* dbankName, int* compIndex, char* compName,
                                                                        char* compAlias, char* casNumber,
                                                                        char* propName, double* propertyValue);
/** @brief A pointer to GetAllCompounds. */
typedef int(MORU_CALL* MoruFn_GetAllCompounds)(const char** searchSource, int* objectHandle, int* numCompounds);
/** @brief A pointer to GetAllCompounds_Identifiers. */
typedef int(MORU_CALL* MoruFn_GetAllCompounds_Identifiers)(int objectHandle, int nget, char* name, char* alias,
                                                           char* casNum);
/** @brief A pointer to CompoundCollection_GetEnumerator. */
typedef void(MORU_CALL* MoruFn_CompoundCollection_GetEnumerator)(int compoundCollectionHandle, int* enumeratorHandle);
/** @brief A pointer to CompoundCollectionEnum_MoveNext. */
typedef int(MORU_CALL* MoruFn_CompoundCollectionEnum_MoveNext)(int enumeratorHandle);
/** @brief A pointer to CompoundCollectionEnum_GetItem. */
typedef int(MORU_CALL* MoruFn_CompoundCollectionEnum_GetItem)(int enumeratorHandle, int* compoundIndex,
                                                              char* compoundName, int compoundNameBufSize,
                                                              char* compoundAlias, int compoundAliasBufSize);
/** @brief A pointer to GetIdValueFromDbank. */
typedef void(MORU_CALL* MoruFn_GetIdValueFromDbank)(const char* dbaseName, const char* dbankName, const char* idType,
                                                    int compid, char* namebuf, int namebuflen, char* buffer,
                                                    int buflen);
/** @brief A pointer to GetCompidFromIdInDbank. */
typedef void(MORU_CALL* MoruFn_GetCompidFromIdInDbank)(const char* dbaseName, const char* dbankName, const char* idType,
                                                       const char* idValue, int* compid);
/** @brief A pointer to Reactions_GetAllReactionObjects. */
typedef int(MORU_CALL* MoruFn_Reactions_GetAllReactionObjects)(const char** compoundList, const char** databankList,
                                                               const char* compoundIdType, int searchType,
                                                               int* objectHandle);
/** @brief A pointer to Reactions_GetNextReactionObject. */
typedef int(MORU_CALL* MoruFn_Reactions_GetNextReactionObject)(int objectHandle, int position, char* type, char* basis,
                                                               int* compListSize, char** compAliases,
                                                               double* stoicCoeffs, double* eqConsts,
                                                               double* SymmetricEqConsts, char* symEqConstBasis);
/** @brief A pointer to CompoundProperties_GetCompoundProperty. */
typedef int(MORU_CALL* MoruFn_CompoundProperties_GetCompoundProperty)(const char* databaseName,
                                                                      const char* databankName, const char* compoundId,
                                                                      const char* compoundIdType,
                                                                      const char* propertyId, int* objectHandle);
/** @brief A pointer to CompoundProperties_GetAllCompoundProperties. */
typedef int(MORU_CALL* MoruFn_CompoundProperties_GetAllCompoundProperties)(const char* databaseName,
                                                                           const char* databankName,
                                                                           const char* compoundId,
                                                                           const char* compoundIdType,
                                                                           int* enumeratorHandle);
/** @brief A pointer to PropertyValueCollectionEnum_MoveNext. */
typedef int(MORU_CALL* MoruFn_PropertyValueCollectionEnum_MoveNext)(int enumeratorHandle);
/** @brief A pointer to PropertyValueCollectionEnum_GetItem. */
typedef int(MORU_CALL* MoruFn_PropertyValueCollectionEnum_GetItem)(int enumeratorHandle, int* objectHandle);
/** @brief A pointer to PropertyValueObject_NumberOfElements. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_NumberOfElements)(int objectHandle);
/** @brief A pointer to PropertyValueObject_Type. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_Type)(int objectHandle, int* type);
/** @brief A pointer to PropertyValueObject_PropertyId. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_PropertyId)(int objectHandle, char* property, int bufSize);
/** @brief A pointer to PropertyValueObject_ValueText. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_ValueText)(int objectHandle, char* value, int valueBufSize);
/** @brief A pointer to PropertyValueObject_ValueConstant. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_ValueConstant)(int objectHandle, double* value);
/** @brief A pointer to PropertyValueObject_ValueVector. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_ValueVector)(int objectHandle, double* values);
/** @brief A pointer to PropertyValueObject_ValueTextList. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_ValueTextList)(int objectHandle, char** values, int valueBufSize);
/** @brief A pointer to PropertyValueObject_UnitsOfMeasure. */
typedef int(MORU_CALL* MoruFn_PropertyValueObject_UnitsOfMeasure)(int objectHandle, char** unitRowNames,
                                                                  char** defaultUnitsOfMeasure, int bufSize);
/** @brief A pointer to CompoundProperties_GetAllUnaryPropertyValues_Vanta. */
typedef int(MORU_CALL* MoruFn_CompoundProperties_GetAllUnaryPropertyValues_Vanta)(const char* databaseName,
                                                                                  const char* databankName,
                                                                                  int compoundIndex, int* objectHandle);
/** @brief A pointer to CompoundProperties_GetNextUnaryPropertyValue. */
typedef int(MORU_CALL* MoruFn_CompoundProperties_GetNextUnaryPropertyValue)(int objectHandle, int position,
                                                                            char* propName, int* valueSize,
                                                                            double* propertyValues);
/** @brief A pointer to GetPropertyValueFromDbank. */
typedef void(MORU_CALL* MoruFn_GetPropertyValueFromDbank)(const char* dbaseName, const char* dbankName,
                                                          const char* idType, const char* idVal, const char* propName,
                                                          int valueType, double* retvals, int retvalArraylen,
                                                          int retvalElemLen, int* success);
/** @brief A pointer to GetMolecularStructureString. */
typedef bool(MORU_CALL* MoruFn_GetMolecularStructureString)(const char* dbaseName, const char* compoundId,
                                                            const char* compIdType, int structureType,
                                                            char* moleStructString);
/** @brief A pointer to PushDataToMoleStructControl. */
typedef void(MORU_CALL* MoruFn_PushDataToMoleStructControl)(const char* dbaseName, const char* IdName,
                                                            const char* IdType, int StructureType,
                                                            void* pMoleStructCtl);
/** @brief A pointer to InteractionParameters_GetBinaryIp. */
typedef int(MORU_CALL* MoruFn_InteractionParameters_GetBinaryIp)(const char* databaseName, const char* databankName,
                                                                 const char* modelName, const char* compound1Id,
                                                                 const char* compound2Id, const char* compoundIdsType,
                                                                 int* bCondensedForViewing, int* objectHandle);
/** @brief A pointer to InteractionParameterValueObject_NumberOfElements. */
typedef int(MORU_CALL* MoruFn_InteractionParameterValueObject_NumberOfElements)(int objectHandle);
/** @brief A pointer to InteractionParameterValueObject_Parameters. */
typedef int(MORU_CALL* MoruFn_InteractionParameterValueObject_Parameters)(int objectHandle, double* parameters);
/** @brief A pointer to BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects)(
    const char** workingCompoundPairArr, const char* compoundIdType, const char** dbankArr, const char** propertyArr,
    int* interactionType, int* bCondensedForViewing, int* objectHandle);
/** @brief A pointer to BinaryPropertyValueObjects_GetNextPropertyValueObject. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_GetNextPropertyValueObject)(
    int objectHandle, int* comp1Index, int* comp2Index, int* comp3Index, int* comp4Index, int* dbankIndex,
    int* propIndex, int* valueSize, int* hasRegInfo, double* propValues);
/** @brief A pointer to BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta)(
    int objectHandle, int* comp1Index, int* comp2Index, int* comp3Index, int* comp4Index, int* dbankIndex,
    int* propIndex, int* valueSize, double* propValues);
/** @brief A pointer to BinaryPropertyValueObjects_NumberOfElements. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_NumberOfElements)(int objectHandle);
/** @brief A pointer to BinaryPropertyValueObjects_GetRegInfoObject. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_GetRegInfoObject)(const char* DBaseDBank, const char* property,
                                                                           const char* compound1, const char* compound2,
                                                                           const char* compoundIdType,
                                                                           int* objectHandle);
/** @brief A pointer to BinaryPropertyValueObjects_GetRegInfoObjectDetails. */
typedef int(MORU_CALL* MoruFn_BinaryPropertyValueObjects_GetRegInfoObjectDetails)(
    int objectHandle, int* regInfoType, char* sigma, char* tLimits, char* pLimits, char* xLimits, char* x1Limits,
    char* x2Limits, char* henryLimits, char* henryDeviation, char* tDeviation, char* pDeviation, char* xDeviation,
    char* x1Deviation, char* x2Deviation, char* xTDeviation, char* sCitation, char* compBasis, int stdBufferSize,
    int xTDeviationBufferSize, int citationBufferSize);
/** @brief A pointer to Optimized_InitializeAllLists. */
typedef int(MORU_CALL* MoruFn_Optimized_InitializeAllLists)(const char** sourceDatabanks,
                                                            const char** compoundIdentifierList,
                                                            const char** propertyList);
/** @brief A pointer to Optimized_UnInitializeAllLists. */
typedef int(MORU_CALL* MoruFn_Optimized_UnInitializeAllLists)(void);
/** @brief A pointer to Optimized_GetAllCompoundsIdentifiers. */
typedef int(MORU_CALL* MoruFn_Optimized_GetAllCompoundsIdentifiers)(int* objectHandle);
/** @brief A pointer to Optimized_GetNextCompoundIdentifier. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextCompoundIdentifier)(int objectHandle, int position,
                                                                   int* compoundPosition, char* databaseName,
                                                                   int* compoundIndex, char* name, char* alias,
                                                                   char* casno, double* compclass, double* kelidx,
                                                                   double* PLXidx);
/** @brief A pointer to Optimized_GetAllProperties. */
typedef int(MORU_CALL* MoruFn_Optimized_GetAllProperties)(int* objectHandle);
/** @brief A pointer to Optimized_GetNextProperty. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextProperty)(int objectHandle, int position, int* propertyPosition,
                                                         int* numOfElements);
/** @brief A pointer to Optimized_GetAllScalarPropertyValues. */
typedef int(MORU_CALL* MoruFn_Optimized_GetAllScalarPropertyValues)(int* objectHandle);
/** @brief A pointer to Optimized_GetAllVectorPropertyValues. */
typedef int(MORU_CALL* MoruFn_Optimized_GetAllVectorPropertyValues)(int* objectHandle);
/** @brief A pointer to Optimized_GetNextScalarPropertyValue. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextScalarPropertyValue)(int objectHandle, int position,
                                                                    int* databankPosition, int* compoundPosition,
                                                                    int* propertyPosition, double* value);
/** @brief A pointer to Optimized_GetNextVectorPropertyValue. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextVectorPropertyValue)(int objectHandle, int position, int* valueSize,
                                                                    int* databankPosition, int* compoundPosition,
                                                                    int* propertyPosition, double* value);
/** @brief A pointer to Optimized_GetAllBinaryPropertyValues. */
typedef int(MORU_CALL* MoruFn_Optimized_GetAllBinaryPropertyValues)(int* objectHandle);
/** @brief A pointer to Optimized_GetNextBinaryPropertyValueWithCondensedFlag. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextBinaryPropertyValueWithCondensedFlag)(
    int objectHandle, int position, int* valueSize, int* databankPosition, int* compound1Position,
    int* compound2Position, int* propertyPosition, double* value, int* bCondensed);
/** @brief A pointer to Optimized_GetNextBinaryPropertyValue. */
typedef int(MORU_CALL* MoruFn_Optimized_GetNextBinaryPropertyValue)(int objectHandle, int position, int* valueSize,
                                                                    int* databankPosition, int* compound1Position,
                                                                    int* compound2Position, int* propertyPosition,
                                                                    double* value);
/** @brief A pointer to CompoundCollection_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_CompoundCollection_ReleaseHandle)(int compoundCollectionHandle);
/** @brief A pointer to CompoundCollectionEnum_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_CompoundCollectionEnum_ReleaseHandle)(int enumeratorHandle);
/** @brief A pointer to PropertyValueCollectionEnum_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_PropertyValueCollectionEnum_ReleaseHandle)(int enumeratorHandle);
/** @brief A pointer to PropertyValueObject_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_PropertyValueObject_ReleaseHandle)(int objectHandle);
/** @brief A pointer to CompoundProperties_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_CompoundProperties_ReleaseHandle)(int objectHandle);
/** @brief A pointer to Databank_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_Databank_ReleaseHandle)(int propertyCollectionHandle);
/** @brief A pointer to FoundCompounds_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_FoundCompounds_ReleaseHandle)(int objectHandle);
/** @brief A pointer to GetAllCompounds_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_GetAllCompounds_ReleaseHandle)(int objectHandle);
/** @brief A pointer to BinaryPropertyValueObjects_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_BinaryPropertyValueObjects_ReleaseHandle)(int objectHandle);
/** @brief A pointer to InteractionParameterValueObject_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_InteractionParameterValueObject_ReleaseHandle)(int objectHandle);
/** @brief A pointer to Optimized_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_Optimized_ReleaseHandle)(int objectHandle);
/** @brief A pointer to Reactions_ReleaseHandle. */
typedef void(MORU_CALL* MoruFn_Reactions_ReleaseHandle)(int objectHandle);
/** @brief A pointer to LaunchFindDialog. */
typedef void(MORU_CALL* MoruFn_LaunchFindDialog)(MoruAddCompoundCallback fnAddCompoundCallback,
                                                 MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                 MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                 const char* initialSearchString);
/** @brief A pointer to LaunchFindDialogWithWindowName. */
typedef void(MORU_CALL* MoruFn_LaunchFindDialogWithWindowName)(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                               MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                               MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                               const char* initialSearchString, const char* className,
                                                               const char* windowName);
/** @brief A pointer to LaunchFindDialogWithKELDA. */
typedef void(MORU_CALL* MoruFn_LaunchFindDialogWithKELDA)(MoruAddCompoundFullCallback fnAddCompoundCallback,
                                                          MoruSelectedDatabankCallback fnEnumSelectedDbanks,
                                                          MoruSetDatabanksCallback fnSetDbanks, int nReplaceRow,
                                                          const char* initialSearchString, const char* className,
                                                          const char* windowName,
                                                          MoruHelpIdCallback fnHtmlHelpIDCallback);
/** @brief A pointer to InitializeTDEdialog. */
typedef bool(MORU_CALL* MoruFn_InitializeTDEdialog)(const char* compName);
/** @brief A pointer to InitializeTDEdialogMix. */
typedef bool(MORU_CALL* MoruFn_InitializeTDEdialogMix)(const char* compName, const char* compName2);
/** @brief A pointer to PushPropertyValue_GetPropNameValue. */
typedef bool(MORU_CALL* MoruFn_PushPropertyValue_GetPropNameValue)(
    const char* propName, const char* modelName, const char* desProp, const char* desPara, int propVariables,
    const char* var1Name, const char* var2Name, const char* propUnit, int propNum, const double* propValues,
    double propUncertainty, int expNum, const double* expValues, const double* expValues1, const double* expValues2,
    const double* expUncertainty, const int* expStatus, const char** expCitation, int evalNum, const double* evalValues,
    const double* evalValues1, const double* evalValues2, const double* evalUncertainty, const int* evalStatus,
    const char** evalCitation, int calcNum, const double* calcValues, const double* calcValues1,
    const double* calcValues2, const char** elemUnit, const char* DipFamily, const char* DipSubgrp);
/** @brief A pointer to PushMixPropertyValue_GetMixPropNameValue. */
typedef bool(MORU_CALL* MoruFn_PushMixPropertyValue_GetMixPropNameValue)(
    const char* desProp, const char* PropNameIdx, const char* PhaseVarIdx, const char* authorIdx, int expNumMix,
    const double* expValues, const double* expX1, const double* expTemp, const double* expPres, const double* expUncer,
    const double* unc_x1, const double* unc_T, const double* unc_P, const int* expAcc, int nVar,
    const char* TheCitation, const char* propUnit, const char* Datayear, const char* DataTrange, const char* DataPrange,
    const char* desPropShort, bool IsFromDataSetForm);
/** @brief A pointer to LaunchNISTTab. */
typedef void(MORU_CALL* MoruFn_LaunchNISTTab)(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                              const char* windowName, const char* className2, const char* windowName2,
                                              const char* className3, const char* windowName3, const char* className4,
                                              const char* windowName4);
/** @brief A pointer to LaunchNISTMixTab. */
typedef void(MORU_CALL* MoruFn_LaunchNISTMixTab)(MoruNISTPropInfoCallback fnCallBackPropInfo, const char* className,
                                                 const char* windowName, const char* className2,
                                                 const char* windowName2, const char* className3,
                                                 const char* windowName3, const char* className4,
                                                 const char* windowName4);
/** @brief A pointer to PushCitation. */
typedef void(MORU_CALL* MoruFn_PushCitation)(const char* desPara, const char* citationIndex, const char* citation);
/** @brief A pointer to PushReevalBack. */
typedef void(MORU_CALL* MoruFn_PushReevalBack)(int TDERevalTpoint, const double* reevalx, const double* reevaly);
/** @brief A pointer to PushFittingBack. */
typedef void(MORU_CALL* MoruFn_PushFittingBack)(int Fitting, const char* desProp, int numExpMix, const double* CalValue,
                                                const double* CalX1, const double* CalTemp, const double* CalPres);
/** @brief A pointer to PushConsistencyTestBack. */
typedef void(MORU_CALL* MoruFn_PushConsistencyTestBack)(const char* desProp, double t0VLEQuality,
                                                        const double* t1Herington, const double* t2VanNess,
                                                        const double* t3Point, const double* t4Infinite);
/** @brief A pointer to PushDRSDefaultPropertyBack. */
typedef void(MORU_CALL* MoruFn_PushDRSDefaultPropertyBack)(const char* DRSDefaultProperty);
/** @brief A pointer to TEDResultFormResize. */
typedef void(MORU_CALL* MoruFn_TEDResultFormResize)(double x, double y);
/** @brief A pointer to ForceClose. */
typedef void(MORU_CALL* MoruFn_ForceClose)(void);

/** @} */

#endif /* MORU_INTEGRATION_H */
