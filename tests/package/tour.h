/* The tour of an example host: connect the databases of a configuration, list the databanks with
 * callbacks, search a compound in one databank, read one of its values and make the simulation
 * engine's bulk pass over it. The host that includes this defines MORU_FN(name), the way it reaches
 * an export: the function itself when linked with an import library, a pointer that it loaded
 * at run time otherwise. */
#ifndef MORU_EXAMPLE_TOUR_H
#define MORU_EXAMPLE_TOUR_H

#include <MoruIntegration.h>

#include <stdio.h>
#include <string.h>

static int g_databankCount = 0;
static int g_binaryParameterCount = 0;

/* MORU_CALL, as the callback types say: on 32-bit Windows a callback of another calling
   convention does not compile into these types, where it would unbalance the stack at run time. */
static int MORU_CALL OnDatabank(const char* databankName, const char* databaseAlias, const char* password,
                                const char* displayName, const char* baseDatabankName, const char* helpFileName,
                                int helpCode, const char* product, const char* databankType, const char* prompt,
                                int pureInfoPresent, int binaryParameterCount, int reactionCount)
{
    (void)password, (void)displayName, (void)baseDatabankName, (void)helpFileName, (void)helpCode, (void)product,
        (void)prompt, (void)pureInfoPresent, (void)binaryParameterCount, (void)reactionCount;
    ++g_databankCount;
    printf("databank %s.%s (%s)\n", databaseAlias ? databaseAlias : "", databankName ? databankName : "",
           databankType ? databankType : "-");
    return 0;
}

static int MORU_CALL OnBinaryParameter(const char* databaseAlias, const char* databankName, const char* parameterName,
                                       const char* gammaModelName, const char* vaporModelName)
{
    (void)databaseAlias, (void)databankName, (void)parameterName, (void)gammaModelName, (void)vaporModelName;
    ++g_binaryParameterCount;
    return 0;
}

/* configuration, "DB.BANK", a compound's name, CAS number or alias, and a scalar property of it.
   Returns the exit status: 0 when every step delivered. */
static int Tour(const char* configuration, const char* databank, const char* compound, const char* property)
{
    char version[32] = "";
    const int versionNumber = MORU_FN(MoruIntegration_GetVersion)(version, (int)sizeof version);
    printf("library %s (%d), header %s\n", version, versionNumber, MORU_VERSION_TEXT);

    int messageCount = 0, connected = 0, codes = 0;
    const int messages =
        MORU_FN(InitVNFromConfigFileWithReturnMsgs)(configuration, "", &messageCount, &connected, &codes);
    MORU_FN(Databank_ReleaseHandle)(messages);
    MORU_FN(Databank_ReleaseHandle)(codes);
    if (!connected) {
        fprintf(stderr, "host: no database of %s connected\n", configuration);
        return 1;
    }

    MoruDatabankInfoCallback onDatabank = &OnDatabank;
    MoruBinaryParameterInfoCallback onBinaryParameter = &OnBinaryParameter;
    MORU_FN(ListMoruDatabanks)((void*)onDatabank, NULL, (void*)onBinaryParameter);
    printf("listed %d databanks, %d binary parameter sets\n", g_databankCount, g_binaryParameterCount);

    char database[256] = "", bank[256] = "";
    const char* stop = strchr(databank, '.');
    if (!stop || (size_t)(stop - databank) >= sizeof database || strlen(stop + 1) >= sizeof bank) return 2;
    memcpy(database, databank, (size_t)(stop - databank));
    strcpy(bank, stop + 1);

    const char* source[] = {databank, NULL};
    int hit = 0, found = 0;
    if (MORU_FN(FoundCompounds_Find)(source, compound, NULL, &hit)) {
        char hitDatabase[256] = "", hitBank[256] = "", name[256] = "", alias[256] = "", cas[256] = "", text[256] = "";
        int index = -1;
        double number = 0;
        if (MORU_FN(FoundCompounds_GetObjectDetails)(hit, hitDatabase, hitBank, &index, name, alias, cas, text,
                                                     &number)) {
            printf("found \"%s\": compound %d in %s.%s, name \"%s\", CAS %s\n", compound, index, hitDatabase, hitBank,
                   name, cas);
            found = 1;
        }
    }
    MORU_FN(FoundCompounds_ReleaseHandle)(hit);
    if (!found) {
        printf("not found \"%s\" in %s\n", compound, databank);
        return 1;
    }

    int valueHandle = 0;
    double value = MORU_MISSING_NUMBER;
    MORU_FN(CompoundProperties_GetCompoundProperty)(database, bank, compound, "", property, &valueHandle);
    const int read = valueHandle && MORU_FN(PropertyValueObject_ValueConstant)(valueHandle, &value);
    MORU_FN(PropertyValueObject_ReleaseHandle)(valueHandle);
    if (!read) {
        printf("no %s of \"%s\"\n", property, compound);
        return 1;
    }
    printf("value %s of \"%s\": %g\n", property, compound, value);

    /* The engine's pass: the compound twice (each position is answered) and the property. */
    const char* compounds[] = {compound, compound, NULL};
    const char* properties[] = {property, NULL};
    int table = 0, bulkValues = 0, matching = 0;
    if (!MORU_FN(Optimized_InitializeAllLists)(source, compounds, properties)) {
        printf("bulk: the lists cannot be loaded\n");
        return 1;
    }
    const int compoundsFound = MORU_FN(Optimized_GetAllCompoundsIdentifiers)(&table);
    MORU_FN(Optimized_ReleaseHandle)(table);
    const int propertiesFound = MORU_FN(Optimized_GetAllProperties)(&table);
    MORU_FN(Optimized_ReleaseHandle)(table);
    const int scalarCount = MORU_FN(Optimized_GetAllScalarPropertyValues)(&table);
    for (int position = 0; position < scalarCount; ++position) {
        int databankPosition = -1, compoundPosition = -1, propertyPosition = -1;
        double scalar = 0;
        if (MORU_FN(Optimized_GetNextScalarPropertyValue)(table, position, &databankPosition, &compoundPosition,
                                                          &propertyPosition, &scalar) != 1)
            break;
        ++bulkValues;
        if (scalar == value) ++matching;
    }
    MORU_FN(Optimized_ReleaseHandle)(table);
    MORU_FN(Optimized_UnInitializeAllLists)();
    printf("bulk: %d of 2 compounds, %d of 1 properties, %d values, %d equal to the value read\n", compoundsFound,
           propertiesFound, bulkValues, matching);
    MORU_FN(DllForceTerm)();
    return bulkValues == 2 && matching == 2 ? 0 : 1;
}

#endif
