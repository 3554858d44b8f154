/* An example host, linked with the library as a host developer links one against the package (an
 * import library on Windows, the shared library on Linux), in C:
 *   host <configuration> <database.databank> <compound> <property>
 * Exit status 0 when every step of the tour delivered (tour.h). */
#define MORU_FN(name) name
#include "tour.h"

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: host <configuration> <database.databank> <compound> <property>\n");
        return 2;
    }
    return Tour(argv[1], argv[2], argv[3], argv[4]);
}
