#include <cstdio>
#include <unistd.h>

#include "cli/quillet_main.h"

int main(int argc, char **argv)
{
    // stdio would size stdout's buffer with an fstat and then ask whether
    // it is a terminal; asking once and giving it the buffer saves a read a
    // system call and buffers exactly as stdio does: by line on a terminal,
    // whole otherwise.
    static char output[BUFSIZ];
    std::setvbuf(stdout, output, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, sizeof output);
    return quillet::quillet_main(argc, argv);
}
