/* An example host that loads the library at run time (LoadLibrary and GetProcAddress on Windows,
 * dlopen and dlsym elsewhere) and calls it through the header's function pointer types, in C:
 *   host-runtime <library file> <configuration> <database.databank> <compound> <property>
 * Exit status 0 when every step of the tour delivered (tour.h). */
#include <MoruIntegration.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif
#include <stdio.h>

static struct {
    MoruFn_MoruIntegration_GetVersion MoruIntegration_GetVersion;
    MoruFn_InitVNFromConfigFileWithReturnMsgs InitVNFromConfigFileWithReturnMsgs;
    MoruFn_Databank_ReleaseHandle Databank_ReleaseHandle;
    MoruFn_ListMoruDatabanks ListMoruDatabanks;
    MoruFn_FoundCompounds_Find FoundCompounds_Find;
    MoruFn_FoundCompounds_GetObjectDetails FoundCompounds_GetObjectDetails;
    MoruFn_FoundCompounds_ReleaseHandle FoundCompounds_ReleaseHandle;
    MoruFn_CompoundProperties_GetCompoundProperty CompoundProperties_GetCompoundProperty;
    MoruFn_PropertyValueObject_ValueConstant PropertyValueObject_ValueConstant;
    MoruFn_PropertyValueObject_ReleaseHandle PropertyValueObject_ReleaseHandle;
    MoruFn_Optimized_InitializeAllLists Optimized_InitializeAllLists;
    MoruFn_Optimized_GetAllCompoundsIdentifiers Optimized_GetAllCompoundsIdentifiers;
    MoruFn_Optimized_GetAllProperties Optimized_GetAllProperties;
    MoruFn_Optimized_GetAllScalarPropertyValues Optimized_GetAllScalarPropertyValues;
    MoruFn_Optimized_GetNextScalarPropertyValue Optimized_GetNextScalarPropertyValue;
    MoruFn_Optimized_ReleaseHandle Optimized_ReleaseHandle;
    MoruFn_Optimized_UnInitializeAllLists Optimized_UnInitializeAllLists;
    MoruFn_DllForceTerm DllForceTerm;
} g_library;

#define MORU_FN(name) g_library.name
#include "tour.h"

static int g_missing = 0;

/* The export of that name, by its undecorated name on every platform. */
#ifdef _WIN32
typedef HMODULE Library;
static void (*Find(Library library, const char* name))(void)
{
    void (*address)(void) = (void (*)(void))GetProcAddress(library, name);
#else
typedef void* Library;
static void (*Find(Library library, const char* name))(void)
{
    void (*address)(void) = (void (*)(void))dlsym(library, name);
#endif
    if (!address) {
        fprintf(stderr, "host-runtime: no export named %s\n", name);
        ++g_missing;
    }
    return address;
}
#define LOAD(name) (g_library.name = (MoruFn_##name)Find(library, #name))

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: host-runtime <library file> <configuration> <database.databank> <compound> <property>\n");
        return 2;
    }
#ifdef _WIN32
    Library library = LoadLibraryA(argv[1]);
#else
    Library library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
#endif
    if (!library) {
        fprintf(stderr, "host-runtime: cannot load %s\n", argv[1]);
        return 1;
    }
    LOAD(MoruIntegration_GetVersion);
    LOAD(InitVNFromConfigFileWithReturnMsgs);
    LOAD(Databank_ReleaseHandle);
    LOAD(ListMoruDatabanks);
    LOAD(FoundCompounds_Find);
    LOAD(FoundCompounds_GetObjectDetails);
    LOAD(FoundCompounds_ReleaseHandle);
    LOAD(CompoundProperties_GetCompoundProperty);
    LOAD(PropertyValueObject_ValueConstant);
    LOAD(PropertyValueObject_ReleaseHandle);
    LOAD(Optimized_InitializeAllLists);
    LOAD(Optimized_GetAllCompoundsIdentifiers);
    LOAD(Optimized_GetAllProperties);
    LOAD(Optimized_GetAllScalarPropertyValues);
    LOAD(Optimized_GetNextScalarPropertyValue);
    LOAD(Optimized_ReleaseHandle);
    LOAD(Optimized_UnInitializeAllLists);
    LOAD(DllForceTerm);
    if (g_missing) return 1;
    return Tour(argv[2], argv[3], argv[4], argv[5]);
}
