// Drawings that once crashed, hung or saved unreadable files (tests/e2e/hostile, listed with
// what solx must do with each in expected.txt): each is opened, saved and plotted by solx, and
// what it saved is opened again; refused ones give their message and write nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kFolder = SOLX_SOURCE_DIR "/tests/e2e/hostile";

struct Expectation {
    std::string file;
    bool loads = false;
    std::string message;
};

std::vector<Expectation> Expectations() {
    std::vector<Expectation> list;
    std::ifstream in(kFolder / "expected.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Expectation e;
        std::string verdict;
        std::getline(fields, e.file, '\t');
        std::getline(fields, verdict, '\t');
        std::getline(fields, e.message);
        e.loads = verdict == "load";
        list.push_back(e);
    }
    return list;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Outcome {
    int status = -1;
    std::string messages;  // what it wrote to stdout and stderr
};

Outcome Solx(const fs::path& dir, const std::string& args) {
    const fs::path script = dir / "quit.scr", log = dir / "log.txt";
    std::ofstream(script) << "QUIT\n";
    const std::string cmd = std::string(SOLX_BINARY_DIR) + "/bin/solx --script " + script.string() +
                            " " + args + " >" + log.string() + " 2>&1";
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(log)};
}

TEST(SolxHostile, EveryReproducerDoesWhatItsLineSays) {
    const fs::path dir = fs::temp_directory_path() / ("solx-hostile-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::vector<Expectation> list = Expectations();
    ASSERT_GE(list.size(), 12u);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(kFolder))
        files += entry.path().extension() == ".dxf";
    EXPECT_EQ(files, list.size()) << "every drawing of the folder has its line in expected.txt";

    for (const Expectation& e : list) {
        SCOPED_TRACE(e.file);
        const fs::path saved = dir / ("saved-" + e.file), picture = dir / (e.file + ".png");
        const Outcome first = Solx(dir, (kFolder / e.file).string() + " --out " + saved.string() +
                                        " --plot " + picture.string());
        EXPECT_NE(first.messages.find(e.message), std::string::npos) << first.messages;
        if (!e.loads) {
            EXPECT_EQ(first.status, 2) << first.messages;
            EXPECT_FALSE(fs::exists(saved));
            continue;
        }
        ASSERT_EQ(first.status, 0) << first.messages;
        EXPECT_TRUE(fs::exists(picture));
        const std::string text = ReadFile(saved);
        EXPECT_EQ(text.find("\ninf"), std::string::npos);
        EXPECT_EQ(text.find("\n-inf"), std::string::npos);
        EXPECT_EQ(text.find("\nnan"), std::string::npos);
        const Outcome again = Solx(dir, saved.string());
        EXPECT_EQ(again.status, 0) << again.messages;
    }
    fs::remove_all(dir);
}

}  // namespace
