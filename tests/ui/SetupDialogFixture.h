#pragma once
// Known shared settings and a working drawing for the setup dialog tests. The user settings
// folder is a fresh temporary folder, so the standards manager's saves stay out of the
// developer's own settings.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "acad/AcDbDatabase.h"
#include "mfc/DialogTemplate.h"
#include "solx/SolxDataSet.h"

inline SolxStdSet MakeStandard(const wchar_t* name, int term, double start, double end,
                               double step) {
    SolxStdSet standard;
    standard.m_strName = name;
    standard.m_nTerm = term;
    standard.m_startTime = SolxDegree(start);
    standard.m_endTime = SolxDegree(end);
    standard.m_dStep = step;
    return standard;
}

class SetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_configDir =
            std::filesystem::temp_directory_path() / ("solx-ui-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_configDir);
        ::setenv("SOLX_CONFIG_DIR", m_configDir.c_str(), 1);
        solx::ui::SetDialogTemplateDirectory(SOLX_SOURCE_DIR "/resources/dialogs");
        std::wstring error;
        ASSERT_TRUE(g_SunDataSet.Reload(error)) << std::string(error.begin(), error.end());
        g_SunDataSet.m_stds = {MakeStandard(L"大寒标准", 1, 8.0, 16.0, 1.0),
                               MakeStandard(L"冬至标准", 23, 9.0, 15.0, 5.5)};
        g_SunDataSet.m_nCurStd = 0;
        g_SunDataSet.m_date = SolxDate(2026, 1, 20);
        g_SunDataSet.m_startTime = SolxDegree(8.0);
        g_SunDataSet.m_endTime = SolxDegree(16.0);
        g_SunDataSet.m_nStartHour = 8;
        g_SunDataSet.m_nStartMinute = 0;
        g_SunDataSet.m_nEndHour = 16;
        g_SunDataSet.m_nEndMinute = 0;
        g_SunDataSet.m_nStep = 1;
        g_SunDataSet.m_dStep = 1.0;
        ASSERT_TRUE(g_SunDataSet.SetPlace(L"北京"));
        m_db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    }
    void TearDown() override {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db.reset();
        solx::ui::SetDialogTemplateDirectory("");
        std::filesystem::remove_all(m_configDir);
        ::unsetenv("SOLX_CONFIG_DIR");
    }

    std::filesystem::path m_configDir;
    std::unique_ptr<AcDbDatabase> m_db;
};
