#ifndef QUILLET_CLI_ELEMENT_NAMES_H
#define QUILLET_CLI_ELEMENT_NAMES_H

namespace quillet {

// Folds the element names of an -o text to lower case in place, leaving the
// values as typed. Returns its argument; null stays null.
char *lowercase_element_names(char *pairs);

}  // namespace quillet

#endif
