// Runs a family's record calls (the ones quillet's -r reaches) against the
// fuzz input as a container image file.
#ifndef QUILLET_FUZZ_FAMILY_IMAGE_H
#define QUILLET_FUZZ_FAMILY_IMAGE_H

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "access/family.h"
#include "present/json_sink.h"
#include "present/text_sink.h"
#include "fuzz_support.h"
#include "registry/registry.h"

namespace fuzzing {

inline fruplat::ContainerEntry family_entry(fruplat::Family family, const uint8_t *data, size_t size)
{
    fruplat::ContainerEntry entry;
    entry.nac = "FZ";
    entry.family = family;
    entry.path = "family.img";
    entry.image_path = scratch_dir() + "/family.img";
    entry.capacity = size > 0 ? static_cast<uint32_t>(size) : 1;
    write_file(entry.image_path, data, size);
    return entry;
}

// Reads, presents and tries to update and delete `name` on the container.
inline void exercise_record(const fruplat::ContainerEntry &entry, const char *name)
{
    const fruplat::FamilyHandler &handler = fruplat::family_handler(entry.family);
    uint8_t buffer[8192];
    for (int32_t operation = 1; operation <= 3; ++operation) {
        std::memset(buffer, 0, sizeof buffer);
        int32_t length = 0;
        handler.access(entry, operation, name, buffer, &length);
    }
    int32_t length = sizeof buffer;
    handler.read_record(entry, name, buffer, &length);
    uint8_t control[4];
    length = sizeof control;
    handler.read_control(entry, name, control, &length);
}

// The whole image as fructl show presents it, as text and as JSON.
inline void present_whole(fruplat::Family family, const uint8_t *data, size_t size)
{
    const fruplat::FamilyHandler &handler = fruplat::family_handler(family);
    const fruplat::Bytes image(data, data + size);
    fruplat::TextSink text(null_stream());
    handler.present_image(image, nullptr, text);
    fruplat::JsonSink json(null_stream());
    json.begin_container("FZ", "fuzz", true);
    handler.present_image(image, nullptr, json);
    json.end_container(0);
    json.finish();
}

// Every record and alias the registry gives the family, and a few names it
// must refuse, and the whole image presented.
inline void exercise_family(const fruplat::ContainerEntry &entry, const char *const *extra_names)
{
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    const uint8_t mask = fruplat::family_mask(entry.family);
    for (size_t i = 0; i < count; ++i)
        if ((defs[i].families & mask) != 0)
            exercise_record(entry, defs[i].name);
    for (const char *const *name = extra_names; *name != nullptr; ++name)
        exercise_record(entry, *name);
    const std::string path = entry.image_path;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return;
    std::vector<uint8_t> bytes(entry.capacity);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    present_whole(entry.family, bytes.data(), bytes.size());
}

}  // namespace fuzzing

#endif
