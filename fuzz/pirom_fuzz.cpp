// A processor information ROM, read and presented through the family's
// record calls (updates and deletes must be refused).
#include "family_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const names[] = {"PIROM", "PIROM_DataR", "pirom_datar", "ManR", nullptr};
    fuzzing::exercise_family(fuzzing::family_entry(fruplat::Family::Pirom, data, size), names);
    return 0;
}
