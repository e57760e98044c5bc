#ifndef QUILLET_CLI_QUILLET_MAIN_H
#define QUILLET_CLI_QUILLET_MAIN_H

namespace quillet {

// The whole front end: scans the options, picks one flow and returns the
// status that becomes the exit status (-1 shows as 255).
[[nodiscard]] int quillet_main(int argc, char **argv);

}  // namespace quillet

#endif
