#pragma once
// A fixture for the end-to-end tests of a command: a folder of its own per test process, and solx
// run on a drawing with a script written into that folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CommandOutput.h"

namespace solx::testing {

class ScriptRunTest : public ::testing::Test {
protected:
    // prefix names the folder in the temporary directory ("solx-grid-" + the process id).
    explicit ScriptRunTest(std::string prefix) : m_prefix(std::move(prefix)) {}
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / (m_prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Runs solx on `drawing` with the script text (settings kept in the test's folder) and saves
    // to `out`; the transcript, ending with a line "solx-exit=N" that holds solx's exit status.
    std::string Run(const std::filesystem::path& drawing, const std::string& script,
                    const std::filesystem::path& out) {
        const std::filesystem::path file = m_dir / "run.scr";
        std::ofstream(file) << script;
        return CommandOutput("SOLX_CONFIG_DIR=" + m_dir.string() +
                             " " SOLX_BINARY_DIR "/bin/solx --script " + file.string() + " " +
                             drawing.string() + " --out " + out.string() +
                             " 2>&1; echo solx-exit=$?");
    }

    std::filesystem::path m_dir;

private:
    std::string m_prefix;
};

}  // namespace solx::testing
