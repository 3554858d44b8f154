/* The start of a program linked by an MSVC-style linker against msvcrt.dll, where no MSVC
 * installation provides its C runtime start: the runtime's own argument parsing, then main, then
 * exit (which flushes the streams). */
/* Declared here: the MinGW headers that stand in for MSVC's do not all compile for the MSVC target. */
void __cdecl exit(int status);
int __cdecl __getmainargs(int* argc, char*** argv, char*** environment, int expandWildcards, int* startInfo);
int main(int argc, char** argv);

/* Compilers for this target reference it from every object that uses floating point. */
int _fltused = 0;

void __cdecl mainCRTStartup(void)
{
    int argc = 0, startInfo = 0;
    char** argv = 0;
    char** environment = 0;
    __getmainargs(&argc, &argv, &environment, 0, &startInfo);
    exit(main(argc, argv));
}
