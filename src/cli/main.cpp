#include "cli/quillet_main.h"

int main(int argc, char **argv)
{
    return quillet::quillet_main(argc, argv);
}
