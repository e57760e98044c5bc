// An IPMI FRU image: each information area and the multirecord chain
// decoded and presented, directly and through the family's record calls.
#include "family_image.h"
#include "ipmi/ipmi_fru.h"
#include "ipmi/ipmi_multirecord.h"
#include "present/sink.h"
#include "present/text_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fruplat::Bytes image(data, data + size);
    for (fruplat::IpmiArea area :
         {fruplat::IpmiArea::Chassis, fruplat::IpmiArea::Board, fruplat::IpmiArea::Product}) {
        fruplat::Bytes bytes;
        // Any status will do: the target looks for crashes, not results.
        static_cast<void>(fruplat::ipmi_area_bytes(image, area, &bytes));
        std::vector<fruplat::PresentedLine> lines;
        fruplat::TextSink text(fuzzing::null_stream());
        if (fruplat::decode_ipmi_area(image, area, &lines) == 0)
            fruplat::present_fields(text, "area", lines);
    }
    // The multirecord chain, however it is damaged.
    std::vector<fruplat::PresentedRecord> records;
    static_cast<void>(fruplat::decode_multirecords(image, &records));
    fruplat::Bytes chain;
    static_cast<void>(fruplat::multirecord_area_bytes(image, &chain));
    static const char *const names[] = {"Chassis_Info_Area_S", "Board_Info_Area_S",
                                        "Product_Info_Area_S", "board_info_area_s",
                                        "Power_SummaryR", "NOSUCH", nullptr};
    fuzzing::exercise_family(fuzzing::family_entry(fruplat::Family::Ipmi, data, size), names);
    return 0;
}
