#include "fructl/show.h"

#include <cstdio>
#include <memory>

#include "access/family.h"
#include "fructl/store_admin.h"
#include "present/json_sink.h"
#include "present/text_sink.h"
#include "store/image_file.h"
#include "store/input_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

struct ShowRequest {
    enum class What { One, All, File } what = What::One;
    std::string nac;
    std::string path;
    Family family = Family::Zan;
    bool json = false;
};

bool parse_request(const std::vector<std::string> &args, ShowRequest *request)
{
    std::vector<std::string> words;
    for (const std::string &a : args) {
        if (a == "--json")
            request->json = true;
        else
            words.push_back(a);
    }
    if (words.size() == 1 && words[0] == "--all") {
        request->what = ShowRequest::What::All;
        return true;
    }
    if (words.size() == 3 && words[0] == "--file") {
        request->what = ShowRequest::What::File;
        request->path = words[1];
        if (family_from_name(words[2], &request->family))
            return true;
        std::fprintf(stderr, "fructl: family must be zan, ipmi, dimm or pirom\n");
        return false;
    }
    if (words.size() == 1 && !words[0].starts_with("--")) {
        request->nac = words[0];
        return true;
    }
    std::fprintf(stderr, "usage: fructl [--store DIR] show NAC|--all|--file PATH FAMILY [--json]\n");
    return false;
}

// A container's image, read under the shared lock a read takes, then
// decoded by its family.
int32_t show_container(const ContainerEntry &entry, PresentSink &sink)
{
    sink.begin_container(entry.nac, family_name(entry.family), false);
    const int32_t status = with_image(entry, Access::Read, [&](Bytes &image) -> int32_t {
        return family_handler(entry.family).present_image(image, &entry, sink);
    });
    sink.end_container(status);
    return status;
}

int32_t show_file(const ShowRequest &request, PresentSink &sink)
{
    sink.begin_container(request.path, family_name(request.family), true);
    Bytes image;
    int32_t status = read_regular_file(request.path, kMaxCapacity, &image);
    if (status == kOk)
        status = family_handler(request.family).present_image(image, nullptr, sink);
    sink.end_container(status);
    return status;
}

}  // namespace

int show_command(const std::string &store, const std::vector<std::string> &args)
{
    ShowRequest request;
    if (!parse_request(args, &request))
        return 2;
    std::unique_ptr<JsonSink> json;
    std::unique_ptr<TextSink> text;
    PresentSink *sink = nullptr;
    if (request.json)
        sink = (json = std::make_unique<JsonSink>(stdout)).get();
    else
        sink = (text = std::make_unique<TextSink>(stdout)).get();
    bool all_read = true;
    switch (request.what) {
    case ShowRequest::What::One: {
        ContainerEntry entry;
        if (!open_entry(store, request.nac, &entry))
            return 1;
        all_read = show_container(entry, *sink) == kOk;
        break;
    }
    case ShowRequest::What::All: {
        // One load of the inventory for every container.
        Inventory inventory;
        if (!load_store(store, &inventory))
            return 1;
        for (const ContainerEntry &entry : inventory.entries)
            all_read = show_container(entry, *sink) == kOk && all_read;
        break;
    }
    case ShowRequest::What::File:
        all_read = show_file(request, *sink) == kOk;
        break;
    }
    if (json && !json->finish()) {
        std::fprintf(stderr, "fructl: cannot write the output\n");
        return 1;
    }
    return all_read ? 0 : 1;
}

}  // namespace fruplat
