// Path helpers shared by the image writer and the container locks.
#ifndef FRUPLATFORM_STORE_PATHS_H
#define FRUPLATFORM_STORE_PATHS_H

#include <string>

namespace fruplat {

// The directory part of `path`: "." when it has none.
std::string directory_of(const std::string &path);

// Where a symlinked image really lives, so that it is written through and
// locked once whichever name reaches it; `path` itself when it cannot be
// resolved.
std::string real_path(const std::string &path);

}  // namespace fruplat

#endif
