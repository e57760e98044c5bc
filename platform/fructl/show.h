// fructl show: every record of a container, of every container of the
// store, or of an image file, decoded, as text or JSON.
#ifndef FRUPLATFORM_FRUCTL_SHOW_H
#define FRUPLATFORM_FRUCTL_SHOW_H

#include <string>
#include <vector>

namespace fruplat {

// ARGS: NAC | --all | --file PATH FAMILY, each optionally with --json.
// 0 when every container was read, 1 when one could not be, 2 for a
// malformed request.
[[nodiscard]] int show_command(const std::string &store, const std::vector<std::string> &args);

}  // namespace fruplat

#endif
