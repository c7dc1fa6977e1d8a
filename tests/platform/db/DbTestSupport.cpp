#include "DbTestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "../../support/CommandOutput.h"

namespace solx::dbtest {

std::filesystem::path scratchDir(const std::string& name) {
    // ctest runs tests side by side in separate processes: one folder per test and process, so
    // that no test clears another's files.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string owner = (test ? std::string(test->name()) : "none") + "-" +
                              std::to_string(static_cast<long>(getpid()));
    auto dir = std::filesystem::path(SOLX_BINARY_DIR) / "test-scratch" / "db" / name / owner;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

int run(const std::string& command, std::string& output) {
    solx::testing::CommandResult result = solx::testing::RunCommand(command + " 2>&1");
    output = std::move(result.output);
    return result.status;
}

std::vector<std::string> roundTripFailures(
    const std::vector<std::pair<std::string, std::string>>& pairs, int status,
    const std::string& output) {
    // One verdict line per pair, "SAVED: ok" or "SAVED: problem", in order; anything else
    // (no output, a traceback, a missing line) is a failure too.
    std::vector<std::string> failures;
    std::istringstream lines(output);
    std::vector<std::string> verdicts;
    for (std::string line; std::getline(lines, line);) verdicts.push_back(line);
    size_t next = 0;
    for (const auto& [orig, saved] : pairs) {
        const std::string ok = saved + ": ok", named = saved + ": ";
        while (next < verdicts.size() && verdicts[next].rfind(named, 0) != 0)
            failures.push_back("checker: " + verdicts[next++]);
        if (next == verdicts.size()) {
            failures.push_back(saved + ": the checker gave no verdict");
            continue;
        }
        if (verdicts[next] != ok) failures.push_back(verdicts[next]);
        ++next;
    }
    while (next < verdicts.size()) failures.push_back("checker: " + verdicts[next++]);
    if (status != 0 && failures.empty())
        failures.push_back("checker exited with status " + std::to_string(status));
    if (status == 0 && !failures.empty())
        failures.push_back("checker exited with status 0 despite the failures above");
    return failures;
}

std::vector<std::string> checkRoundTrips(
    const std::vector<std::pair<std::string, std::string>>& pairs,
    const std::filesystem::path& dir) {
    auto list = dir / "pairs.txt";
    {
        std::ofstream out(list);
        for (const auto& [orig, saved] : pairs) out << orig << '\t' << saved << '\n';
    }
    std::string output;
    const int status =
        run("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/platform/db/db_roundtrip_check.py '" +
                list.string() + "'",
            output);
    return roundTripFailures(pairs, status, output);
}

std::wstring wide(const std::string& s) {
    return acdbWide(s);
}

std::string loadAndSave(const std::string& original, const std::string& saved) {
    AcDbDatabase db(false);
    if (db.readDxfFile(wide(original).c_str()) != Acad::eOk) return acdbUtf8(db.lastError());
    if (db.dxfOut(wide(saved).c_str()) != Acad::eOk) return acdbUtf8(db.lastError());
    return {};
}

}  // namespace solx::dbtest
