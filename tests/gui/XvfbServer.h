#pragma once
// A virtual X server of a test's own, on a display it picks itself (other tests may run servers
// at the same time): -displayfd says which one once it is ready. A server that lost the race for
// a display ends without a word, and another is started.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace guitest {

class Xvfb {
public:
    Xvfb() {
        for (int attempt = 0; attempt < 3 && display_.empty(); ++attempt) Start();
    }
    ~Xvfb() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    const std::string& Display() const { return display_; }

private:
    void Start() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // The number and its newline come in two writes: the pipe stays open for the second,
        // or the server dies writing it.
        char buf[32] = {};
        ssize_t n = 0;
        while (pid_ > 0 && n < static_cast<ssize_t>(sizeof buf - 1) &&
               (n == 0 || buf[n - 1] != '\n')) {
            const ssize_t got = ::read(fds[0], buf + n, sizeof buf - 1 - static_cast<size_t>(n));
            if (got <= 0) break;
            n += got;
        }
        ::close(fds[0]);
        if (n > 0) {
            display_ = ":" + std::string(buf, static_cast<size_t>(n - (buf[n - 1] == '\n')));
        } else if (pid_ > 0) {  // the server ended without a word
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    pid_t pid_ = -1;
    std::string display_;
};

// Whether a program is on the PATH.
inline bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace guitest
