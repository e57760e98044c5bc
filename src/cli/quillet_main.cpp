#include "cli/quillet_main.h"

#include <cstdio>
#include <unistd.h>

#include "cli/element_names.h"
#include "cli/record_flow.h"
#include "cli/usage.h"
#include "image/image_flash.h"
#include "platform/fru_access.h"
#include "records/buffer_set.h"
#include "records/status.h"
#include "segments/bad_crc_scan.h"
#include "segments/opaque_segment.h"

namespace quillet {

namespace {

constexpr const char kOptionString[] = "Vhdft:i:o:c:r:s:";

struct CommandSettings {
    int32_t operation = FRU_OP_READ;
    bool update_requested = false;
    bool delete_requested = false;
    bool elements_given = false;
    char *suboption_text = nullptr;
    const char *class_name = nullptr;
    bool image_requested = false;
    bool segment_option_seen = false;
    const char *program_name = nullptr;
    RunContext run;  // the settings the flows read
};

int32_t conflict()
{
    std::fputs("\nError: Please choose to use (-o or -t) to update or (-d) delete option.\n", stderr);
    return kStatusConflict;
}

void request_update(CommandSettings &command)
{
    command.update_requested = true;
    if (!record_buffer_set_allocated())
        allocate_record_buffer_set();
}

// The outcome of one option: go on scanning, or end the run with a status.
struct ScanStep {
    bool done;
    int32_t status;
};

constexpr ScanStep kContinue = {false, 0};

ScanStep finish(int32_t status)
{
    return {true, status};
}

ScanStep scan_option(int option, char *argument, CommandSettings &command)
{
    switch (option) {
    case 'V':
        std::fprintf(stdout, kVersionFormat, kVersionString);
        return finish(0);
    case 'h':
        print_usage(command.program_name);
        return finish(0);
    case 'c':
        if (argument == nullptr) {
            std::fputs("Please provide the container nac name\n", stderr);
            print_usage(command.program_name);
            return kContinue;
        }
        command.run.nac_name = argument;
        return kContinue;
    case 'r':
        if (argument == nullptr) {
            std::fputs("Please provide the record class name\n", stderr);
            print_usage(command.program_name);
            return kContinue;
        }
        command.class_name = argument;
        return kContinue;
    case 'i':
        command.image_requested = true;
        command.run.image_path = argument;
        return kContinue;
    case 't':
        if (argument == nullptr) {
            std::fputs("\n Error: Please provide fru description.\n", stderr);
            return kContinue;
        }
        command.run.description_text = argument;
        if (command.delete_requested)
            return finish(conflict());
        request_update(command);
        command.operation = FRU_OP_UPDATE;
        return kContinue;
    case 'o':
        if (argument == nullptr) {
            std::fputs("\nError: Please provide string of lower case name value pairs.\n", stderr);
            return finish(kStatusConflict);
        }
        command.operation = FRU_OP_UPDATE;
        command.suboption_text = lowercase_element_names(argument);
        command.elements_given = true;
        if (command.delete_requested)
            return finish(conflict());
        request_update(command);
        return kContinue;
    case 'd':
        command.delete_requested = true;
        command.operation = FRU_OP_DELETE;
        if (command.update_requested)
            return finish(conflict());
        return kContinue;
    case 'f':
        command.run.force_flag = 1;
        command.operation = FRU_OP_DELETE;
        return kContinue;
    case 's':
        if (argument == nullptr) {
            std::fputs("\nError: Please provide string of name value pairs.\n", stderr);
            return finish(kStatusMalformed);
        }
        command.suboption_text = argument;
        if (command.segment_option_seen) {
            std::fputs("\nError: Multiple '-s' option not allowed\n", stderr);
            return finish(kStatusMalformed);
        }
        command.segment_option_seen = true;
        return kContinue;
    default:
        print_usage(command.program_name);
        return finish(kStatusExit);
    }
}

int32_t run_flow(CommandSettings &command)
{
    RunContext &run = command.run;
    if (command.segment_option_seen)
        return run_opaque_segment_flow(run, command.suboption_text, command.operation);
    if (command.image_requested)
        return run_image_flash(run);
    if (command.class_name == nullptr)
        return run_bad_crc_scan(run);
    const RecordFlowRequest request = {command.class_name, command.operation,
                                       command.update_requested, command.suboption_text,
                                       command.elements_given};
    return run_record_flow(run, request);
}

// The checks after the scan, then one flow; whatever the flow acquired is
// given back here, whichever way it ended.
int32_t dispatch(CommandSettings &command)
{
    if (command.run.nac_name == nullptr) {
        std::fputs("\n Error: Please supply nac name to be used.\n", stderr);
        return kStatusMalformed;
    }
    if (!command.segment_option_seen && command.class_name == nullptr &&
        !command.image_requested && !command.delete_requested) {
        std::fputs("\n Error: Please supply record class name to be used.\n", stderr);
        return kStatusMalformed;
    }
    const int32_t status = finish_run(command.run, run_flow(command));
    if (command.run.usage_wanted)
        print_usage(command.program_name);
    return status;
}

}  // namespace

int quillet_main(int argc, char **argv)
{
    CommandSettings command;
    command.program_name = argv[0];
    if (argc == 1) {
        print_usage(command.program_name);
        return kStatusExit;
    }
    int option;
    while ((option = getopt(argc, argv, kOptionString)) != -1) {
        const ScanStep step = scan_option(option, optarg, command);
        if (step.done)
            return step.status;
    }
    return dispatch(command);
}

}  // namespace quillet
