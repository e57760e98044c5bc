// A whole run of the tool against a container whose image is the fuzz
// input: updates from elements and from text, an opaque segment written and
// shown, a record deleted, each followed by a read, through the same front
// end main calls.
#include "fuzz_support.h"

namespace {

constexpr uint32_t kCapacity = 16384;

const std::vector<std::vector<std::string>> kRuns = {
    {"quillet", "-c", "FZ", "-r", "Power_SummaryR", "-o", "total_power_ons=5"},
    {"quillet", "-c", "FZ", "-r", "Power_SummaryR"},
    {"quillet", "-c", "FZ", "-r", "FAULT", "-o", "old_status=1,new_status=2,event_code=0x12,message=fuzz"},
    {"quillet", "-c", "FZ", "-r", "CUSTOMER", "-t", "Rack 1, slot 2"},
    {"quillet", "-c", "FZ", "-r", "IDENTITY"},
    {"quillet", "-c", "FZ", "-s", "segname=OA,data=0x0102030405060708090a,section=STATIC"},
    {"quillet", "-c", "FZ", "-s", "segname=OA,section=STATIC"},
    {"quillet", "-c", "FZ", "-r", "Customer_DataR", "-d"},
    {"quillet", "-c", "FZ", "-r", "CUSTOMER"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const fuzzing::ScratchStore store = fuzzing::make_store("FZ", "zan", kCapacity);
    if (size > kCapacity)
        return 0;
    fuzzing::put_image(store, data, size);
    for (const std::vector<std::string> &run : kRuns)
        fuzzing::run_tool(run);
    return 0;
}
