// An IPMI FRU image: each information area decoded and presented, directly
// and through the family's record calls.
#include "family_image.h"
#include "ipmi/ipmi_fru.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fruplat::Bytes image(data, data + size);
    for (fruplat::IpmiArea area :
         {fruplat::IpmiArea::Chassis, fruplat::IpmiArea::Board, fruplat::IpmiArea::Product}) {
        fruplat::Bytes bytes;
        // Any status will do: the target looks for crashes, not results.
        static_cast<void>(fruplat::ipmi_area_bytes(image, area, &bytes));
        std::vector<fruplat::PresentedLine> lines;
        if (fruplat::decode_ipmi_area(image, area, &lines) == 0)
            fruplat::present_lines(fuzzing::null_stream(), "area", lines);
    }
    static const char *const names[] = {"Chassis_Info_Area_S", "Board_Info_Area_S",
                                        "Product_Info_Area_S", "board_info_area_s",
                                        "Power_SummaryR", "NOSUCH", nullptr};
    fuzzing::exercise_family(fuzzing::family_entry(fruplat::Family::Ipmi, data, size), names);
    return 0;
}
