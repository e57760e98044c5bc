// Where decoded records go. A family names each record, its entries and
// its typed fields; the sink decides how they look: the text lines a read
// prints, or JSON for a program. Families never print.
#ifndef FRUPLATFORM_PRESENT_SINK_H
#define FRUPLATFORM_PRESENT_SINK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"

namespace fruplat {

// How a record's text starts: its name alone, the ring's use ("N of M
// entries"), or a heading of the family's own (the PIROM dump's).
struct RecordStart {
    const char *name = "";
    size_t entries = 1;
    size_t ring_capacity = 0;  // 0: not iterative
    const char *heading = nullptr;
    // Entries of their own kinds, each with a title (the IPMI multirecord
    // chain), rather than one entry or a ring's.
    bool titled_entries = false;
};

class PresentSink {
public:
    virtual ~PresentSink() = default;
    // A container of a show: its NAC name (or a file's path) and family.
    virtual void begin_container(const std::string &source, const char *family, bool is_file) = 0;
    virtual void end_container(int32_t status) = 0;
    virtual void begin_record(const RecordStart &start) = 0;
    // Iterative or titled-entry records only, numbered from 1; `title`
    // names a titled entry's kind, null otherwise.
    virtual void begin_entry(size_t number, const char *title) = 0;
    virtual void field(const PresentedField &field) = 0;
    virtual void end_record() = 0;
    // A record the container holds but that cannot be decoded.
    virtual void unreadable_record(const char *name, int32_t status) = 0;
};

// Emits a family-decoded record: a title and its fields.
void present_fields(PresentSink &sink, const std::string &title,
                    const std::vector<PresentedField> &fields);

// A record of titled entries: one entry per group, the group's title its
// title.
void present_titled_entries(PresentSink &sink, const char *name,
                            const std::vector<PresentedRecord> &groups);

// A registry record: one entry, or every stored entry of an iterative
// record, oldest first.
void present_record(PresentSink &sink, const RecordDef &def, const std::vector<Bytes> &entries);

// One registry field, typed.
PresentedField typed_field(const FieldDef &field, const uint8_t *record);

}  // namespace fruplat

#endif
