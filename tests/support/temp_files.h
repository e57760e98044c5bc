#ifndef QUILLET_TESTS_TEMP_FILES_H
#define QUILLET_TESTS_TEMP_FILES_H

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillet_test {

// Files a test makes and removes again when it goes.
class TempFiles {
public:
    ~TempFiles()
    {
        for (const std::string &path : paths_)
            unlink(path.c_str());
    }

    std::string make(const std::string &content, mode_t mode = 0644)
    {
        char path[] = "/tmp/quillet-test-XXXXXX";
        const int fd = mkstemp(path);
        if (fd < 0)
            return "";
        size_t written = 0;
        while (written < content.size()) {
            const ssize_t n = write(fd, content.data() + written, content.size() - written);
            if (n <= 0)
                break;
            written += static_cast<size_t>(n);
        }
        close(fd);
        chmod(path, mode);
        paths_.push_back(path);
        return path;
    }

private:
    std::vector<std::string> paths_;
};

// `size` bytes that differ from one offset to the next.
inline std::string patterned(size_t size, unsigned step = 1)
{
    std::string content;
    for (size_t i = 0; i < size; ++i)
        content += static_cast<char>('A' + (i * step) % 26);
    return content;
}

}  // namespace quillet_test

#endif
