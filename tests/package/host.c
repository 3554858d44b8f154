/* A host as a host developer writes one against the installed package: linked with the library
 * (no run-time loading), in C. It connects the databases of a configuration, lists the databanks
 * and searches one compound in one databank:
 *   host <configuration> <database.databank> <text>
 * Exit status 0 when the compound was found. */
#include <MoruIntegration.h>

#include <stdio.h>

static int MORU_CALL PrintDatabank(const char* databankName, const char* databaseAlias, const char* password,
                                   const char* displayName, const char* baseDatabankName, const char* helpFileName,
                                   int helpCode, const char* product, const char* databankType, const char* prompt,
                                   int pureInfoPresent, int binaryParameterCount, int reactionCount)
{
    (void)password, (void)displayName, (void)baseDatabankName, (void)helpFileName, (void)helpCode, (void)product,
        (void)prompt, (void)pureInfoPresent, (void)binaryParameterCount, (void)reactionCount;
    printf("databank %s.%s (%s)\n", databaseAlias ? databaseAlias : "", databankName ? databankName : "",
           databankType ? databankType : "-");
    return 0;
}

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: host <configuration> <database.databank> <text>\n");
        return 2;
    }
    int messageCount = 0, connected = 0, codes = 0;
    const int messages = InitVNFromConfigFileWithReturnMsgs(argv[1], "", &messageCount, &connected, &codes);
    Databank_ReleaseHandle(messages);
    Databank_ReleaseHandle(codes);
    if (!connected) {
        fprintf(stderr, "host: no database of %s connected\n", argv[1]);
        return 1;
    }
    MoruDatabankInfoCallback onDatabank = &PrintDatabank;
    ListMoruDatabanks_Vanta((void*)onDatabank);

    const char* source[] = {argv[2], NULL};
    int hit = 0;
    int status = 1;
    if (FoundCompounds_Find(source, argv[3], NULL, &hit)) {
        char database[256] = "", databank[256] = "", name[256] = "", alias[256] = "", cas[256] = "", property[256] = "";
        int index = -1;
        double value = 0;
        if (FoundCompounds_GetObjectDetails(hit, database, databank, &index, name, alias, cas, property, &value)) {
            printf("found \"%s\": compound %d in %s.%s, name \"%s\", CAS %s\n", argv[3], index, database, databank,
                   name, cas);
            status = 0;
        }
    }
    FoundCompounds_ReleaseHandle(hit);
    if (status) printf("not found \"%s\" in %s\n", argv[3], argv[2]);
    DllForceTerm();
    return status;
}
