#ifndef QUILLET_CLI_USAGE_H
#define QUILLET_CLI_USAGE_H

namespace quillet {

inline constexpr const char kVersionString[] = "3.0 2008/10/14";
inline constexpr const char kVersionFormat[] = "Version: %s\n";

// The usage text: a printf format whose only conversion is the program name.
extern const char kUsageFormat[];

void print_usage(const char *program_name);

}  // namespace quillet

#endif
