// "VxShadow2d" broken off by the user while it draws: the sample district run in
// this process through the script front end, with the user's break given at a
// chosen poll of the progress. The drawing is saved and read back with ezdxf and
// shapely (check_shadows.py): the moments drawn before the break are complete, each
// in its own group, and no later moment is drawn.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

#include "SolxCommands.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcEdFrontEnd.h"
#include "acad/aced.h"
#include "mfc/DialogTemplate.h"
#include "solx/SolxDataSet.h"

#include "../support/CommandOutput.h"

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command) {
    return solx::testing::CommandOutput(command);
}

// The script front end, except that the user breaks at poll `breakAt` of the
// computation (0 = the first), as Esc or Ctrl+C would while the meter runs.
class BreakingFrontEnd : public solx::editor::FrontEnd {
public:
    BreakingFrontEnd(const std::string& script, std::ostream& out, int breakAt)
        : m_script(solx::editor::MakeScriptFrontEnd(L"break.scr", script, out)),
          m_breakAt(breakAt) {}
    std::optional<solx::editor::InputLine> ReadAnswer(const std::wstring& prompt) override {
        return m_script->ReadAnswer(prompt);
    }
    bool Reject(const solx::editor::InputLine& line, const std::wstring& prompt,
                const solx::editor::HostMessage& expected) override {
        return m_script->Reject(line, prompt, expected);
    }
    bool Refuse(const solx::editor::InputLine& line,
                const solx::editor::HostMessage& reason) override {
        return m_script->Refuse(line, reason);
    }
    bool TakeBreak() override { return m_polls++ == m_breakAt; }
    void Print(const std::wstring& text) override { m_script->Print(text); }
    void ShowProgress(const std::wstring& label, int percent) override {
        m_script->ShowProgress(label, percent);
    }
    int Polls() const { return m_polls; }

private:
    std::unique_ptr<solx::editor::FrontEnd> m_script;
    int m_breakAt;
    int m_polls = 0;
};

class Shadow2dBreak : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("solx-shadow2d-break-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        ::setenv("SOLX_CONFIG_DIR", m_dir.c_str(), 1);
        solx::ui::SetDialogTemplateDirectory(SOLX_SOURCE_DIR "/resources/dialogs");
        std::wstring error;
        ASSERT_TRUE(g_SunDataSet.Reload(error)) << std::string(error.begin(), error.end());
    }
    void TearDown() override {
        solx::editor::SetFrontEnd(nullptr);
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db.reset();
        solx::ui::SetDialogTemplateDirectory("");
        ::unsetenv("SOLX_CONFIG_DIR");
        fs::remove_all(m_dir);
    }

    // Runs the command on the district, nine moments 8:00 ... 16:00, breaking at
    // poll `breakAt`; saves the drawing to `out`. The transcript.
    std::string RunBreakingAt(int breakAt, const fs::path& out) {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db = std::make_unique<AcDbDatabase>(false);
        EXPECT_EQ(m_db->readDxfFile(SOLX_SOURCE_DIR L"/examples/district.dxf"), Acad::eOk);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        std::ostringstream transcript;
        BreakingFrontEnd frontEnd(
            "ALL\n\n@set 2046 2026-01-20\n@set 2059 1\n@set 2048 8:00\n@set 2049 16:00\n"
            "@set 2018 60\n@set 2055 0\n@ok\n",
            transcript, breakAt);
        solx::editor::SetFrontEnd(&frontEnd);
        VxShadow2d();
        solx::editor::SetFrontEnd(nullptr);
        EXPECT_FALSE(frontEnd.Stopped()) << transcript.str();
        EXPECT_GT(frontEnd.Polls(), breakAt) << "the break was never asked for";
        EXPECT_EQ(m_db->dxfOut(out.wstring().c_str()), Acad::eOk);
        return transcript.str();
    }
    std::string Check(const fs::path& out, const std::string& times) {
        return Output(
            "/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/analysis_shadow/check_shadows.py " +
            out.string() + " " SOLX_SOURCE_DIR "/examples/district.dxf " + times + " 2>&1");
    }
    // The errors ezdxf's audit finds in a saved drawing, then the number of
    // entities on the shadow layer.
    std::string AuditAndCount(const fs::path& out) {
        return Output(
            "/usr/bin/python3 -c \"import ezdxf, sys; d = ezdxf.readfile(sys.argv[1]); "
            "print(len(d.audit().errors), len(d.modelspace().query("
            "'*[layer==\\\"SUN-SHADOW\\\"]')))\" " +
            out.string());
    }

    fs::path m_dir;
    std::unique_ptr<AcDbDatabase> m_db;
};

// A break before the fourth moment keeps 8:00, 9:00 and 10:00, complete and
// grouped, and draws nothing of the later six; a break before the first draws
// nothing and says so. The drawing saves and reads back clean either way.
TEST_F(Shadow2dBreak, MomentsBeforeTheBreakStayAndNoLaterOneIsDrawn) {
    const fs::path out = m_dir / "three.dxf";
    std::string transcript = RunBreakingAt(3, out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Check(out, "8:00 9:00 10:00"), "OK\n") << transcript;
    EXPECT_EQ(AuditAndCount(out).substr(0, 2), "0 ") << transcript;
    EXPECT_EQ(transcript.find("没有画出阴影轮廓。"), std::string::npos) << transcript;

    const fs::path none = m_dir / "none.dxf";
    transcript = RunBreakingAt(0, none);
    ASSERT_TRUE(fs::exists(none)) << transcript;
    EXPECT_EQ(AuditAndCount(none), "0 0\n") << transcript;
    EXPECT_NE(transcript.find("没有画出阴影轮廓。"), std::string::npos) << transcript;
}

}  // namespace
