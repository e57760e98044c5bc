#include "present/text_sink.h"

#include "store/status.h"

namespace fruplat {

namespace {

constexpr int kNameColumn = 30;

}  // namespace

void TextSink::begin_container(const std::string &source, const char *family, bool is_file)
{
    // A show of several containers keeps one blank line between them.
    if (containers_++ > 0)
        std::fputc('\n', out_);
    source_ = source;
    std::fprintf(out_, "== %s %s (%s)\n", is_file ? "file" : "container", source.c_str(), family);
}

void TextSink::end_container(int32_t status)
{
    if (status != kOk)
        std::fprintf(out_, "%s: unreadable: %s (%d)\n", source_.c_str(), status_text(status),
                     static_cast<int>(status));
}

void TextSink::begin_record(const RecordStart &start)
{
    if (start.heading != nullptr)
        std::fprintf(out_, "%s\n", start.heading);
    else if (start.ring_capacity != 0)
        std::fprintf(out_, "%s: %zu of %u entries, oldest first\n", start.name, start.entries,
                     static_cast<unsigned>(start.ring_capacity));
    else
        std::fprintf(out_, "%s\n", start.name);
}

void TextSink::begin_entry(size_t number, const char *title)
{
    if (title != nullptr)
        std::fprintf(out_, "  record %zu: %s\n", number, title);
    else
        std::fprintf(out_, "  entry %zu\n", number);
}

void TextSink::field(const PresentedField &field)
{
    std::fprintf(out_, "    %-*s:%s%s\n", kNameColumn, field.name.c_str(),
                 field.value.empty() ? "" : " ", field.value.c_str());
}

void TextSink::unreadable_record(const char *name, int32_t status)
{
    std::fprintf(out_, "%s: unreadable: %s (%d)\n", name, status_text(status),
                 static_cast<int>(status));
}

}  // namespace fruplat
