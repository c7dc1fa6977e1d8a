#include "ScriptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace solx::app {

bool ReadScript(const std::string& path, std::string& text, std::string& error) {
    text.clear();
    error.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return error = "cannot read the script " + path + ": " + std::strerror(errno), false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return error = "the script " + path + " is a folder, not a file", false;
    }
    size_t line = 1, lineLength = 0;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = "cannot read the script " + path + ": " + std::strerror(errno);
            break;
        }
        if (n == 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] == '\n') {
                ++line;
                lineLength = 0;
            } else if (++lineLength > kMaxScriptLine) {
                error = path + " line " + std::to_string(line) + ": longer than " +
                        std::to_string(kMaxScriptLine >> 20) + " MB; a line holds one answer";
                break;
            }
        }
        if (!error.empty()) break;
        if (text.size() + static_cast<size_t>(n) > kMaxScriptSize) {
            error = path + ": the script is larger than " + std::to_string(kMaxScriptSize >> 20) +
                    " MB";
            break;
        }
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!error.empty()) text.clear();
    return error.empty();
}

}  // namespace solx::app
