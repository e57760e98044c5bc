// Process-wide settings the option scan fills and the flows read. Every text
// points into the argument vector; nothing is copied.
#ifndef QUILLET_CLI_SETTINGS_H
#define QUILLET_CLI_SETTINGS_H

namespace quillet {

struct ProcessSettings {
    const char *nac_name = nullptr;
    const char *description_text = nullptr;
    const char *image_path = nullptr;
    int force_flag = 0;
};

extern ProcessSettings g_settings;

}  // namespace quillet

#endif
