#include "crosscheck/corpus.h"

#include <random>

#include "present/presenter.h"

namespace quillet_test {
namespace {

using fruplat::IpmiAreaContent;
using fruplat::IpmiField;

enum Encoding { kText, kSixBit, kBcdPlus, kBinary, kEmpty, kEncodings };

struct FieldMaker {
    explicit FieldMaker(unsigned seed) : random_(seed) {}

    std::string pick(const std::string &alphabet, size_t min, size_t max)
    {
        std::uniform_int_distribution<size_t> length(min, max);
        std::uniform_int_distribution<size_t> index(0, alphabet.size() - 1);
        std::string text;
        const size_t n = length(random_);
        for (size_t i = 0; i < n; ++i)
            text += alphabet[index(random_)];
        return text;
    }

    // A field in the given encoding and what it decodes to.
    IpmiField make(Encoding encoding, std::string *value, std::string *tag)
    {
        switch (encoding) {
        case kText:
            // Blanks inside, never at the ends: both decoders trim those.
            *value = pick("ABCXYZabcxyz0189", 1, 2) + pick("ABCDEFGHIJ abcdefghij-_./0123456789", 0, 24) +
                     pick("KLMNOklmno234", 1, 1);
            *tag = "";
            return fruplat::ipmi_text(*value);
        case kSixBit:
            *value = pick("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 1) + pick("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-", 0, 15);
            *tag = "6-bit ASCII";
            return fruplat::ipmi_six_bit(*value);
        case kBcdPlus:
            // A first digit above 0 keeps the first byte out of the range a
            // one-character-per-byte reading would accept.
            *value = pick("123456789", 1, 1) + pick("0123456789-.", 1, 11);
            if (value->size() % 2 != 0)
                *value += "9";
            *tag = "BCD plus";
            return fruplat::ipmi_bcd_plus(*value);
        case kBinary: {
            const std::string raw = pick(std::string("\x01\x12\x7f\x80\xab\xfe\xff\x00", 8), 1, 8);
            const fruplat::Bytes bytes(raw.begin(), raw.end());
            *value = fruplat::hex_bytes(bytes.data(), bytes.size(), " ");
            *tag = "binary";
            return fruplat::ipmi_binary(bytes);
        }
        default:
            *value = *tag = "";
            return fruplat::ipmi_text("");
        }
    }

    unsigned number(unsigned low, unsigned high) { return std::uniform_int_distribution<unsigned>(low, high)(random_); }

    std::mt19937 random_;
};

struct AreaPlan {
    const char *name;
    std::vector<const char *> fields;
};

const AreaPlan kPlans[] = {
    {"Chassis_Info_Area_S", {"part_number", "serial_number"}},
    {"Board_Info_Area_S", {"manufacturer", "product_name", "serial_number", "part_number", "fru_file_id"}},
    {"Product_Info_Area_S", {"manufacturer", "product_name", "part_model_number", "version", "serial_number",
                             "asset_tag", "fru_file_id"}},
};

}  // namespace

std::vector<IpmiSample> ipmi_corpus()
{
    std::vector<IpmiSample> corpus;
    FieldMaker maker(20261205);
    for (unsigned n = 0; n < 60; ++n) {
        IpmiSample sample;
        fruplat::IpmiImageContent content;
        IpmiAreaContent *areas[] = {&content.chassis, &content.board, &content.product};
        for (unsigned a = 0; a < 3; ++a) {
            IpmiAreaContent &area = *areas[a];
            // Areas go missing in every combination, all three at once too.
            area.present = n % 8 != 7 && (n / 3 + a) % 5 != 0;
            if (!area.present)
                continue;
            sample.present_areas.push_back(kPlans[a].name);
            area.type_or_language = a == 0 ? static_cast<uint8_t>(maker.number(1, 0x1D))
                                           : static_cast<uint8_t>(n % 5 == 0 ? 25 : 0);
            area.mfg_minutes = n % 9 == 0 ? 0 : maker.number(1, (1u << 24) - 1);
            const size_t customs = (n + a) % 4;
            const size_t total = kPlans[a].fields.size() + customs;
            for (size_t f = 0; f < total; ++f) {
                std::string value, tag;
                const auto encoding = static_cast<Encoding>((n + 3 * a + f) % kEncodings);
                area.fields.push_back(maker.make(encoding, &value, &tag));
                const std::string name = f < kPlans[a].fields.size()
                                             ? kPlans[a].fields[f]
                                             : "custom_" + std::to_string(f - kPlans[a].fields.size() + 1);
                sample.fields.push_back({kPlans[a].name, name, value, tag});
            }
        }
        sample.image = fruplat::build_ipmi_image(content);
        corpus.push_back(sample);
    }
    return corpus;
}

std::vector<SpdSample> spd_corpus()
{
    using fruplat::SpdType;
    std::vector<SpdSample> corpus;
    auto add = [&](const std::string &label, fruplat::SpdContent content) {
        corpus.push_back({label, content, fruplat::build_spd(content)});
    };
    fruplat::SpdContent ddr3;
    add("ddr3-rdimm-samsung-4g", ddr3);
    ddr3.module_type = 2, ddr3.ranks = 1, ddr3.die_mbit = 1024, ddr3.ecc = false;
    ddr3.manufacturer = 0x2C, ddr3.part_number = "MT8JTF12864AZ-1G4", ddr3.serial = 0xA1B2C3D4;
    ddr3.year_bcd = 0x09, ddr3.week_bcd = 0x48, ddr3.crc_covers_117 = false;
    add("ddr3-udimm-micron-1g", ddr3);
    ddr3.module_type = 3, ddr3.device_width = 16, ddr3.die_mbit = 4096, ddr3.ranks = 2;
    ddr3.continuations = 1, ddr3.manufacturer = 0x98, ddr3.part_number = "KVR16S11/8";
    add("ddr3-sodimm-kingston", ddr3);
    ddr3.module_type = 1, ddr3.device_width = 4, ddr3.ranks = 4, ddr3.die_mbit = 2048, ddr3.ecc = true;
    ddr3.continuations = 0, ddr3.manufacturer = 0xAD, ddr3.part_number = "HMT42GR7AFR4C-RD";
    add("ddr3-rdimm-hynix-quad-rank", ddr3);
    ddr3.break_checksum = true;
    add("ddr3-bad-crc", ddr3);

    fruplat::SpdContent ddr2;
    ddr2.type = SpdType::Ddr2;
    ddr2.module_type = 0x01, ddr2.ranks = 2, ddr2.rows = 14, ddr2.columns = 10, ddr2.banks = 8;
    ddr2.part_number = "M393T5750CZ3-CD5", ddr2.year_bcd = 0x07, ddr2.week_bcd = 0x21;
    add("ddr2-rdimm-samsung", ddr2);
    ddr2.module_type = 0x02, ddr2.ranks = 1, ddr2.rows = 13, ddr2.banks = 4, ddr2.ecc = false;
    ddr2.continuations = 3, ddr2.manufacturer = 0x0B, ddr2.part_number = "NT1GT64U8HB0BY-37B";
    add("ddr2-udimm-nanya", ddr2);
    ddr2.module_type = 0x04, ddr2.continuations = 5, ddr2.manufacturer = 0x51;
    ddr2.part_number = "HYS64T64020EM-3S-B", ddr2.serial = 0x00C0FFEE;
    add("ddr2-sodimm-qimonda", ddr2);
    ddr2.break_checksum = true;
    add("ddr2-bad-checksum", ddr2);

    fruplat::SpdContent fb;
    fb.type = SpdType::FbDimm;
    fb.rows = 14, fb.columns = 10, fb.banks = 8, fb.ranks = 2, fb.device_width = 4;
    fb.manufacturer = 0x2C, fb.part_number = "MT36HTF51272FZ-667";
    add("fbdimm-micron", fb);
    fb.manufacturer = 0xC1, fb.ranks = 1, fb.part_number = "HYS72T256420EFA-3S";
    add("fbdimm-infineon", fb);
    fb.break_checksum = true;
    add("fbdimm-bad-crc", fb);
    return corpus;
}

}  // namespace quillet_test
