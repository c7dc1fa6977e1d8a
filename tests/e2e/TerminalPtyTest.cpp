// solx at a real (pseudo) terminal: keys are read one by one, so Esc and Ctrl+C cancel a prompt
// at once, Backspace edits, arrow keys do nothing, Ctrl+D on an empty line ends the session.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

namespace {

class PtySession {
public:
    explicit PtySession(const char* drawing) {
        m_pid = forkpty(&m_fd, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            const std::string solx = std::string(SOLX_BINARY_DIR) + "/bin/solx";
            execl(solx.c_str(), solx.c_str(), "--lang", "Eng", drawing, nullptr);
            _exit(127);
        }
    }
    ~PtySession() {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_fd >= 0) close(m_fd);
    }
    bool Started() const { return m_pid > 0; }

    void Type(const std::string& keys) {
        ASSERT_EQ(write(m_fd, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads until `text` shows after what was read before; false when the program ends first
    // or nothing comes for a long while (a hang, not a speed check).
    bool Expect(const std::string& text) {
        for (;;) {
            const size_t at = m_output.find(text, m_seen);
            if (at != std::string::npos) {
                m_seen = at + text.size();
                return true;
            }
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 20000) <= 0) return false;
            char buf[512];
            const ssize_t n = read(m_fd, buf, sizeof buf);
            if (n <= 0) return false;
            m_output.append(buf, static_cast<size_t>(n));
        }
    }

    // The exit status; -1 when the program does not end within a long while (it is killed).
    int Wait() {
        int status = 0;
        for (int tries = 0; tries < 400; ++tries) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            Drain();
            usleep(50000);
        }
        return -1;
    }
    const std::string& Output() const { return m_output; }

private:
    void Drain() {
        pollfd p{m_fd, POLLIN, 0};
        char buf[512];
        while (poll(&p, 1, 0) > 0) {
            const ssize_t n = read(m_fd, buf, sizeof buf);
            if (n <= 0) return;
            m_output.append(buf, static_cast<size_t>(n));
        }
    }

    int m_fd = -1;
    pid_t m_pid = -1;
    bool m_reaped = false;
    std::string m_output;
    size_t m_seen = 0;
};

TEST(TerminalKeys, EscCtrlCBackspaceArrowsAndCtrlD) {
    PtySession s(SOLX_SOURCE_DIR "/examples/sample.dxf");
    ASSERT_TRUE(s.Started());
    ASSERT_TRUE(s.Expect("Command: ")) << s.Output();
    s.Type("LIST\r");
    ASSERT_TRUE(s.Expect("Select objects: ")) << s.Output();
    s.Type("\x1b");  // Esc alone: the prompt is cancelled without Enter
    ASSERT_TRUE(s.Expect("*Cancel*")) << s.Output();
    ASSERT_TRUE(s.Expect("Command: ")) << s.Output();
    s.Type("VxWinSunAna\r");
    ASSERT_TRUE(s.Expect("analyse:")) << s.Output();
    s.Type("\x03");  // Ctrl+C at a prompt cancels it too, and solx lives on
    ASSERT_TRUE(s.Expect("*Cancel*")) << s.Output();
    ASSERT_TRUE(s.Expect("Command: ")) << s.Output();
    s.Type("LX\x7fIST\r");  // a typo mended with Backspace
    ASSERT_TRUE(s.Expect("Select objects: ")) << s.Output();
    s.Type("\x1b[A\r");  // the up arrow types nothing; Enter ends the empty selection
    ASSERT_TRUE(s.Expect("Command: ")) << s.Output();
    s.Type("\x04");  // Ctrl+D: the end of input, nothing to save
    EXPECT_EQ(s.Wait(), 0) << s.Output();
    EXPECT_EQ(s.Output().find("Invalid input"), std::string::npos) << s.Output();
    EXPECT_EQ(s.Output().find("Save changes"), std::string::npos) << s.Output();
}

}  // namespace
