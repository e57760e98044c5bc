// The -o element list the way the front end hands it to the parser: names
// lowered, then every pair written into the record buffer set. Text after
// the first newline plays the -t description text.
#include <cstring>

#include "cli/element_names.h"
#include "fuzz_support.h"
#include "records/buffer_set.h"
#include "records/element_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<char> text = fuzzing::text_of(data, size);
    const char *description_text = nullptr;
    if (char *newline = std::strchr(text.data(), '\n')) {
        *newline = '\0';
        description_text = newline + 1;
    }
    quillet::release_record_buffer_set();
    quillet::allocate_record_buffer_set();
    bool file_refused = false;
    // Any status will do: the fuzzer looks for memory faults, not refusals.
    (void)quillet::parse_element_options({quillet::lowercase_element_names(text.data()), description_text},
                                         &file_refused);
    quillet::release_record_buffer_set();
    return 0;
}
