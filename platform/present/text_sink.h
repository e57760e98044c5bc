// The text a read prints: what engineers and transcripts have always seen.
#ifndef FRUPLATFORM_PRESENT_TEXT_SINK_H
#define FRUPLATFORM_PRESENT_TEXT_SINK_H

#include <cstdio>

#include "present/sink.h"

namespace fruplat {

class TextSink : public PresentSink {
public:
    explicit TextSink(FILE *out) : out_(out) {}
    void begin_container(const std::string &source, const char *family, bool is_file) override;
    void end_container(int32_t status) override;
    void begin_record(const RecordStart &start) override;
    void begin_entry(size_t number, const char *title) override;
    void field(const PresentedField &field) override;
    void end_record() override {}
    void unreadable_record(const char *name, int32_t status) override;

private:
    FILE *out_;
    size_t containers_ = 0;
    std::string source_;
};

}  // namespace fruplat

#endif
