// The tool and the platform each keep a table of the same records: the tool
// where an element lands, the platform how a stored record is laid out and
// presented. Neither may drift from the other; a cell wrong in either table
// fails here.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "records/buffer_set.h"
#include "records/catalogue.h"
#include "records/element_table.h"
#include "registry/registry.h"

namespace {

using quillet::RecordId;

std::vector<const fruplat::RecordDef *> platform_records(RecordId id)
{
    if (id != RecordId::SharedIdentifier)
        return {fruplat::find_record_def(quillet::kRecordBuffers[static_cast<int>(id)].name)};
    // The six identifier records share one buffer in the tool.
    std::vector<const fruplat::RecordDef *> defs;
    for (const char *name : {"Ethernet_Addr", "HOSTID", "Sequence_Number", "WWN", "Enclosure_Nickname", "New_Serial_No"})
        defs.push_back(fruplat::find_record_def(name));
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
    for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers)
        for (const fruplat::RecordDef *def : platform_records(info.id)) {
            ASSERT_NE(def, nullptr) << info.name;
            EXPECT_EQ(def->size, info.size) << def->name;
            const fruplat::FieldDef *first = field_at(*def, 0);
            EXPECT_EQ(first != nullptr && first->kind == fruplat::FieldKind::Timestamp, info.timestamped) << def->name;
        }
}

// How the tool stores an element against how the platform presents the
// field: numbers as numbers, text as text, a registry name as a code of the
// same enumeration.
bool kinds_agree(const quillet::ElementRow &row, const fruplat::FieldDef &field)
{
    using E = quillet::ElementKind;
    using F = fruplat::FieldKind;
    const std::set<std::pair<E, F>> compatible = {
        {E::Decimal, F::Signed}, {E::Decimal, F::Unsigned}, {E::Hex, F::Hex},       {E::Hex, F::Mac},
        {E::Hex, F::Unsigned},   {E::Text, F::Text},        {E::TwoChar, F::Text},  {E::File, F::Hex},
        {E::Registry, F::Enum},  {E::DeviceType, F::Enum}};
    if (field.kind == F::Enum && (row.registry == nullptr || field.enumeration == nullptr ||
                                  std::string(row.registry->definition) != field.enumeration ||
                                  fruplat::find_enum(field.enumeration) == nullptr))
        return false;
    return compatible.count({row.kind, field.kind}) == 1;
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
                const std::string where =
                    std::string(row.name) + " in " + def->name + " @" + std::to_string(target.offset);
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
    using T = quillet::ContainerType;
    using F = fruplat::Family;
    const std::pair<T, F> families[] = {{T::Zan, F::Zan}, {T::Dimm, F::Dimm}, {T::Pirom, F::Pirom}};
    int checked = 0;
    for (const auto &[type, family] : families)
        for (int row = 0;; ++row) {
            const char *names[quillet::kMaxRowNames] = {};
            RecordId records[quillet::kMaxRowRecords] = {};
            const int name_count = quillet::catalogue_row_names(type, row, names);
            if (name_count == 0)
                break;
            if (quillet::catalogue_row_records(type, row, records) != 1 || records[0] == RecordId::SharedIdentifier)
                continue;
            for (int n = 0; n < name_count; ++n) {
                const fruplat::RecordDef *def = fruplat::resolve_alias(family, names[n]);
                def = def != nullptr ? def : fruplat::find_record_def(names[n]);
                ASSERT_NE(def, nullptr) << names[n];
                EXPECT_STREQ(def->name, quillet::kRecordBuffers[static_cast<int>(records[0])].name) << names[n];
                ++checked;
            }
        }
    EXPECT_GT(checked, 30);
}

}  // namespace
