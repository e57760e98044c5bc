#include "registry/regdefs.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry.h"
#include "store/bytes.h"

namespace fruplat {

namespace {

enum DefinitionKind : int32_t { kEnumerationKind = 1, kRecordKind = 2 };

struct BuiltDefinition {
    fru_regdef_t definition{};
    std::vector<fru_enum_entry_t> entries;
};

// Built once and kept for the life of the process: callers hold on to the
// pointers and never free them.
std::vector<std::unique_ptr<BuiltDefinition>> &built()
{
    static std::vector<std::unique_ptr<BuiltDefinition>> definitions;
    return definitions;
}

fru_regdef_t *remember(std::unique_ptr<BuiltDefinition> def)
{
    built().push_back(std::move(def));
    return &built().back()->definition;
}

const fru_regdef_t *find_built(const char *name)
{
    for (const auto &def : built())
        if (std::strncmp(def->definition.name, name, sizeof def->definition.name) == 0)
            return &def->definition;
    return nullptr;
}

}  // namespace

const fru_regdef_t *lookup_regdef(const char *name)
{
    if (std::strlen(name) >= sizeof(fru_regdef_t::name))
        return nullptr;
    if (const fru_regdef_t *known = find_built(name))
        return known;
    auto def = std::make_unique<BuiltDefinition>();
    def->definition.version = 1;
    std::strncpy(def->definition.name, name, sizeof def->definition.name - 1);
    if (const EnumDef *e = find_enum(name)) {
        for (size_t i = 0; i < e->count; ++i) {
            fru_enum_entry_t entry{};
            store_be(entry.value, e->entries[i].value, sizeof entry.value);
            entry.text = e->entries[i].name;
            def->entries.push_back(entry);
        }
        def->definition.kind = kEnumerationKind;
        def->definition.enum_count = static_cast<int32_t>(def->entries.size());
        def->definition.enum_table = def->entries.data();
        return remember(std::move(def));
    }
    if (const RecordDef *r = find_record_def(name)) {
        def->definition.kind = kRecordKind;
        def->definition.data_length = r->size;
        def->definition.iteration_count = r->ring_capacity;
        return remember(std::move(def));
    }
    return nullptr;
}

}  // namespace fruplat
