// The tool and the platform each keep a table of the same records: the tool
// where an element lands, the platform how a stored record is laid out and
// presented. Neither may drift from the other; a cell wrong in either table
// fails here.
#include <gtest/gtest.h>

#include <string>

#include "records/buffer_set.h"
#include "records/catalogue.h"
#include "records/element_table.h"
#include "registry/registry.h"

namespace {

using quillet::RecordId;

// The six identifier records share one buffer in the tool.
const char *const kSharedIdentifierRecords[] = {"Ethernet_Addr",      "HOSTID",
                                                "Sequence_Number",    "WWN",
                                                "Enclosure_Nickname", "New_Serial_No"};

std::vector<const fruplat::RecordDef *> platform_records(RecordId id)
{
    std::vector<const fruplat::RecordDef *> defs;
    if (id == RecordId::SharedIdentifier) {
        for (const char *name : kSharedIdentifierRecords)
            defs.push_back(fruplat::find_record_def(name));
    } else {
        defs.push_back(fruplat::find_record_def(quillet::kRecordBuffers[static_cast<int>(id)].name));
    }
    return defs;
}

const fruplat::FieldDef *field_at(const fruplat::RecordDef &def, uint16_t offset)
{
    for (size_t i = 0; i < def.field_count; ++i)
        if (def.fields[i].offset == offset)
            return &def.fields[i];
    return nullptr;
}

TEST(TableAgreement, EveryBufferIsARecordOfThePlatformOfTheSameSizeAndStamp)
{
    for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers) {
        for (const fruplat::RecordDef *def : platform_records(info.id)) {
            ASSERT_NE(def, nullptr) << info.name;
            EXPECT_EQ(def->size, info.size) << def->name;
            const fruplat::FieldDef *first = field_at(*def, 0);
            const bool stamped = first != nullptr && first->kind == fruplat::FieldKind::Timestamp;
            EXPECT_EQ(stamped, info.timestamped) << def->name;
        }
    }
}

// How the tool stores an element against how the platform presents the
// field: numbers as numbers, text as text, a registry name as a code of the
// same enumeration.
bool kinds_agree(const quillet::ElementRow &row, const fruplat::FieldDef &field)
{
    using E = quillet::ElementKind;
    using F = fruplat::FieldKind;
    const struct {
        E element;
        F fields[3];
    } compatible[] = {
        {E::Decimal, {F::Signed, F::Unsigned, F::Signed}}, {E::Hex, {F::Hex, F::Mac, F::Unsigned}},
        {E::Text, {F::Text, F::Text, F::Text}},            {E::TwoChar, {F::Text, F::Text, F::Text}},
        {E::File, {F::Hex, F::Hex, F::Hex}},               {E::Registry, {F::Enum, F::Enum, F::Enum}},
        {E::DeviceType, {F::Enum, F::Enum, F::Enum}},
    };
    if (field.kind == F::Enum && (row.registry == nullptr || field.enumeration == nullptr ||
                                  std::string(row.registry->definition) != field.enumeration ||
                                  fruplat::find_enum(field.enumeration) == nullptr))
        return false;
    for (const auto &c : compatible)
        if (c.element == row.kind)
            return c.fields[0] == field.kind || c.fields[1] == field.kind || c.fields[2] == field.kind;
    return false;
}

// Each element's field in each record must be one field of the platform's
// layout: same first byte, same width, compatible kind.
TEST(TableAgreement, EveryElementFieldIsAFieldOfThePlatformLayout)
{
    int checked = 0;
    for (size_t i = 0; i < quillet::kElementCount; ++i) {
        const quillet::ElementRow &row = quillet::kElementTable[i];
        for (const quillet::FieldTarget &target : row.targets) {
            if (target.record == RecordId::None)
                break;
            for (const fruplat::RecordDef *def : platform_records(target.record)) {
                const std::string where = std::string(row.name) + " in " + def->name + " @" +
                                          std::to_string(target.offset);
                EXPECT_LE(target.offset + target.width, def->size) << where;
                if (target.record == RecordId::SharedIdentifier)
                    continue;  // one buffer, six layouts: only the bounds are common
                const fruplat::FieldDef *field = field_at(*def, target.offset);
                ASSERT_NE(field, nullptr) << where;
                EXPECT_EQ(target.width, field->width) << where;
                EXPECT_TRUE(kinds_agree(row, *field)) << where;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 141);
}

// A class name the tool resolves to a record is a name the platform resolves
// to the same record on that family.
TEST(TableAgreement, CatalogueNamesNameTheSameRecordsOnThePlatform)
{
    const struct {
        quillet::ContainerType type;
        fruplat::Family family;
    } families[] = {{quillet::ContainerType::Zan, fruplat::Family::Zan},
                    {quillet::ContainerType::Dimm, fruplat::Family::Dimm},
                    {quillet::ContainerType::Pirom, fruplat::Family::Pirom}};
    int checked = 0;
    for (const auto &f : families) {
        for (int row = 0;; ++row) {
            const char *names[quillet::kMaxRowNames] = {};
            RecordId records[quillet::kMaxRowRecords] = {};
            const int name_count = quillet::catalogue_row_names(f.type, row, names);
            if (name_count == 0)
                break;
            if (quillet::catalogue_row_records(f.type, row, records) != 1 ||
                records[0] == RecordId::SharedIdentifier)
                continue;
            const char *stored = quillet::kRecordBuffers[static_cast<int>(records[0])].name;
            for (int n = 0; n < name_count; ++n) {
                const fruplat::RecordDef *def = fruplat::resolve_alias(f.family, names[n]);
                if (def == nullptr)
                    def = fruplat::find_record_def(names[n]);
                ASSERT_NE(def, nullptr) << names[n];
                EXPECT_STREQ(def->name, stored) << names[n];
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 30);
}

}  // namespace
