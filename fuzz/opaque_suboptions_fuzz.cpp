// The -s suboptions of the opaque segment flow against a real container:
// the first byte picks show/update (1, 2) or delete (3), the rest is the
// suboption text. The container starts empty on every run.
#include "fuzz_support.h"
#include "platform/fru_access.h"
#include "segments/opaque_segment.h"
#include "zan/zan_image.h"

namespace {

constexpr uint32_t kCapacity = 32768;

const fuzzing::ScratchStore &store()
{
    static const fuzzing::ScratchStore made = fuzzing::make_store("FZ", "zan", kCapacity);
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const fruplat::Bytes empty = fruplat::empty_zan_image(kCapacity);
    fuzzing::put_image(store(), empty.data(), empty.size());
    const int32_t operation = FRU_OP_READ + data[0] % 3;
    std::vector<char> text = fuzzing::text_of(data + 1, size - 1);
    quillet::RunContext run;
    run.nac_name = "FZ";
    (void)quillet::finish_run(run, quillet::run_opaque_segment_flow(run, text.data(), operation));
    return 0;
}
