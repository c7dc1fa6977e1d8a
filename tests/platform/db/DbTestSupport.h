// Helpers of the database tests: a fixture with a fresh drawing, temporary files, running the
// independent checker.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "acad/acdb.h"

namespace solx::dbtest {

// A fixture holding a new drawing, with entities added to its model space.
class DatabaseTest : public ::testing::Test {
protected:
    AcDbBlockTableRecord* modelSpace() {
        return dynamic_cast<AcDbBlockTableRecord*>(db_.modelSpaceId().object());
    }
    AcDbObjectId add(AcDbEntity* e) {
        AcDbObjectId id;
        EXPECT_EQ(modelSpace()->appendAcDbEntity(id, e), Acad::eOk);
        return id;
    }
    AcDbDatabase db_;
};

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
