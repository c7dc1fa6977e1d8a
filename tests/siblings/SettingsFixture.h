#pragma once
// Settings tests run against the shipped data with a private, empty user folder.

#include "solx/SolxDataSet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("solx-settings-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        ::setenv("SOLX_CONFIG_DIR", m_dir.c_str(), 1);
        ::setenv("SOLX_DATA_DIR", (std::string(SOLX_SOURCE_DIR) + "/data").c_str(), 1);
    }
    void TearDown() override {
        std::filesystem::remove_all(m_dir);
        ::unsetenv("SOLX_CONFIG_DIR");
    }
    std::wstring Dir() const { return m_dir.wstring(); }

    std::filesystem::path m_dir;
};
