// Helpers of the database tests: temporary files, running the independent checker.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "acad/acdb.h"

namespace solx::dbtest {

// A fresh directory under the build tree for one test's files.
std::filesystem::path scratchDir(const std::string& name);
// Runs a command; returns its exit code and fills `output` with what it printed.
int run(const std::string& command, std::string& output);
// Checks (original, saved) pairs with db_roundtrip_check.py; returns the lines of failures.
// The checker must exit 0 and print "SAVED: ok" for every pair, in order.
std::vector<std::string> checkRoundTrips(
    const std::vector<std::pair<std::string, std::string>>& pairs,
    const std::filesystem::path& dir);
// The failures in the checker's exit STATUS and OUTPUT for PAIRS (what checkRoundTrips returns).
std::vector<std::string> roundTripFailures(
    const std::vector<std::pair<std::string, std::string>>& pairs, int status,
    const std::string& output);
// Loads ORIGINAL and saves it as SAVED; returns an empty string or the error.
std::string loadAndSave(const std::string& original, const std::string& saved);
std::wstring wide(const std::string& s);

}  // namespace solx::dbtest
