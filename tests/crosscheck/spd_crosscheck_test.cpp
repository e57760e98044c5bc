// What i2c-tools' decode-dimms reads from generated SPD images agrees with
// quillet's read of the same DIMM.
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "crosscheck/corpus.h"
#include "crosscheck/crosscheck_fixture.h"
#include "store/status.h"

namespace quillet_test {
namespace {

using fruplat::SpdType;

std::map<std::string, std::string> decode_dimms_fields(const std::string &out)
{
    std::map<std::string, std::string> fields;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 49 || line[0] == '#' || line.rfind("---", 0) == 0)
            continue;
        std::string label = line.substr(0, 48);
        while (!label.empty() && label.back() == ' ')
            label.pop_back();
        std::string value = line.substr(49);
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        fields.emplace(label, value);
    }
    return fields;
}

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string before(const std::string &text, const std::string &mark)
{
    return text.substr(0, text.find(mark));
}

class SpdCrossCheck : public CrossCheck {
protected:
    std::string hex_dump(const std::string &name, const fruplat::Bytes &spd)
    {
        const std::string path = scratch_ + "/" + name + ".hex";
        std::ofstream out(path);
        char line[80];
        for (size_t row = 0; row < spd.size(); row += 16) {
            std::snprintf(line, sizeof line, "%08zx:", row);
            out << line;
            for (size_t i = row; i < row + 16; ++i) {
                std::snprintf(line, sizeof line, " %02x", spd[i]);
                out << line;
            }
            out << "\n";
        }
        return path;
    }
};

TEST_F(SpdCrossCheck, DecodeDimmsAgreesWithQuillet)
{
    if (!decoder_available("decode-dimms")) {
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)
            FAIL() << "decode-dimms (i2c-tools) is required";
        GTEST_SKIP() << "decode-dimms (i2c-tools) not installed";
    }
    const std::vector<SpdSample> corpus = spd_corpus();
    ASSERT_GE(corpus.size(), 10u);
    for (size_t n = 0; n < corpus.size(); ++n) {
        const SpdSample &sample = corpus[n];
        SCOPED_TRACE(sample.label);
        const std::string nac = std::string("D").append(std::to_string(n));
        ASSERT_EQ(fructl({"add", nac, "dimm", "--from", write_file(sample.label, sample.image)}).status, 0);
        const char *record = sample.content.type == SpdType::Ddr3     ? "SPD_DDR3_R"
                             : sample.content.type == SpdType::FbDimm ? "SPD_FBDIMM_R"
                                                                   : "SPD1_R";
        const Outcome read = quillet({"-c", nac, "-r", record});
        ASSERT_EQ(read.status, 0) << read.err;
        const Presented mine = parse_presentation(read.out);
        for (const char *other : {"SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R"}) {
            if (std::string(other) != record) {
                EXPECT_EQ(quillet({"-c", nac, "-r", other}).status, 14) << other;
            }
        }

        const Outcome decoded = run_decoder({"decode-dimms", "-c", "-x", hex_dump(sample.label, sample.image)});
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        auto theirs = decode_dimms_fields(decoded.out);

        EXPECT_NE(value_of(mine, "memory_type").find(theirs["Fundamental Memory type"]), std::string::npos);
        const bool checksum_ok = sample.content.type == SpdType::Ddr2
                                     ? theirs["EEPROM Checksum of bytes 0-62"].rfind("OK", 0) == 0
                                     : theirs["EEPROM CRC of bytes 0-116"].rfind("OK", 0) == 0 ||
                                           theirs["EEPROM CRC of bytes 0-125"].rfind("OK", 0) == 0;
        const std::string verdict = value_of(mine, sample.content.type == SpdType::Ddr2 ? "checksum" : "crc");
        EXPECT_EQ(verdict.rfind("OK", 0) == 0, checksum_ok) << verdict;
        EXPECT_EQ(checksum_ok, !sample.content.break_checksum);

        if (sample.content.type == SpdType::FbDimm) {
            // decode-dimms reads an FB-DIMM's maker and part number where a
            // DDR2 SPD keeps them (bytes 64 and 73), while FB-DIMM keeps them
            // with the CRC layout at 117 and 128, as quillet reads them.
            EXPECT_EQ(theirs["Manufacturer"], "Undefined");
            EXPECT_EQ(value_of(mine, "part_number"), sample.content.part_number);
            continue;
        }
        const std::string maker = sample.content.type == SpdType::Ddr3 ? "Module Manufacturer" : "Manufacturer";
        EXPECT_NE(lower(theirs[maker]).find(lower(before(value_of(mine, "module_manufacturer"), " (bank"))),
                  std::string::npos)
            << theirs[maker];
        EXPECT_EQ(before(theirs["Module Type"], " ("), value_of(mine, "module_type"));
        EXPECT_EQ(theirs["Size"], value_of(mine, "capacity"));
        EXPECT_EQ(theirs["Part Number"], value_of(mine, "part_number"));
        EXPECT_EQ(lower(theirs["Assembly Serial Number"]), lower(value_of(mine, "serial_number")));
        EXPECT_EQ(theirs["Manufacturing Date"], value_of(mine, "manufacturing_date"));
        EXPECT_EQ(theirs["Ranks"], value_of(mine, "ranks"));
    }
}

}  // namespace
}  // namespace quillet_test
