// A DIMM's SPD EEPROM: decoded and presented directly, and every DIMM
// record (JEDEC data and the customer bytes) read, updated and deleted
// through the family's record calls.
#include "dimm/spd.h"
#include "present/sink.h"
#include "present/text_sink.h"
#include "family_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fruplat::Bytes spd(data, data + size);
    fruplat::TextSink text(fuzzing::null_stream());
    fruplat::present_fields(text, "SPD", fruplat::decode_spd(spd));
    static const char *const names[] = {"POWER", "SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R",
                                        "ManR", nullptr};
    fuzzing::exercise_family(fuzzing::family_entry(fruplat::Family::Dimm, data, size), names);
    return 0;
}
