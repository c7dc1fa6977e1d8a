// solx as a user runs it: the sample drawing through a script, in Chinese and English, bad
// input, and the terminal. Saved drawings are checked with ezdxf.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

#include "../support/CommandOutput.h"

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SolxRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("solx-e2e-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    RunResult Run(const std::string& args, const std::string& stdinText = "") {
        const fs::path in = m_dir / "stdin.txt", out = m_dir / "out.txt", err = m_dir / "err.txt";
        std::ofstream(in) << stdinText;
        const std::string cmd = std::string(SOLX_BINARY_DIR) + "/bin/solx " + args + " <" +
                                in.string() + " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }
    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name) << text;
        return m_dir / name;
    }
    static std::string Checked(const fs::path& dxf) {
        const std::string cmd = "/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/e2e/check_sample.py " +
                                dxf.string() + " 2>&1";
        return solx::testing::CommandOutput(cmd);
    }
    const std::string m_sample = SOLX_SOURCE_DIR "/examples/sample.dxf";
    const std::string m_script = SOLX_SOURCE_DIR "/examples/sample.scr";
    fs::path m_dir;
};

TEST_F(SolxRun, SampleScriptInChinese) {
    const fs::path out = m_dir / "zh.dxf";
    const RunResult r = Run("--script " + m_script + " " + m_sample + " --out " + out.string());
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("共 4 个对象"), std::string::npos) << r.out;
    // The site's 9 objects, the shadow outlines and labels that cross the window, and the
    // outlines of the 1- and 2-hour lines.
    EXPECT_NE(r.out.find("共 29 个对象"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("块: _SUNWD"), std::string::npos);
    EXPECT_EQ(Checked(out), "OK\n");
}

TEST_F(SolxRun, SampleScriptInEnglish) {
    const fs::path out = m_dir / "en.dxf";
    const RunResult r =
        Run("--lang Eng --out " + out.string() + " --script " + m_script + " " + m_sample);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.out.find("暂不可用"), std::string::npos);
    EXPECT_EQ(Checked(out), "OK\n");
}

TEST_F(SolxRun, MisfitLineStopsWithoutSaving) {
    const fs::path out = Write("kept.dxf", "previous contents");
    const fs::path script = Write("bad.scr", "LIST\n; comment\nnonsense words\n\n");
    const std::string before = ReadFile(m_sample);
    const RunResult r =
        Run("--script " + script.string() + " --out " + out.string() + " " + m_sample);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.scr line 3: \"nonsense words\" does not fit the prompt "
                         "\"选择对象:\""),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("not saved"), std::string::npos);
    EXPECT_EQ(ReadFile(out), "previous contents");
    EXPECT_EQ(ReadFile(m_sample), before);
}

TEST_F(SolxRun, UnknownCommandNamesTheCommandPrompt) {
    const fs::path script = Write("typo.scr", "LSIT\n");
    const RunResult r = Run("--script " + script.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: \"LSIT\" does not fit the prompt \"命令:\""), std::string::npos)
        << r.err;
}

TEST_F(SolxRun, BadCommandLinesAndFiles) {
    const struct {
        std::string args;
        const char* message;
    } cases[] = {
        {"--lang Fra", "--lang takes Chs or Eng"},
        {"--plot picture.pdf", "must end in .svg or .png"},
        {"--plot p.png --plot-area 0,0 10", "--plot-area takes two corners"},
        {"--plot p.png --plot-area 0,0 0,5", "span an area"},
        {"--plot-area 0,0 5,5", "--plot-area needs --plot"},
        {"--script", "--script needs a value"},
        {"--bogus", "unknown option --bogus"},
        {"a.dxf b.dxf", "only one drawing"},
        {"--script /nonexistent.scr", "cannot read the script /nonexistent.scr"},
        {"/nonexistent.dxf", "/nonexistent.dxf"},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out.find("命令:"), std::string::npos) << "refused before the session";
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    }
}

// Scripts that are not text files of lines: a folder, an endless file, a line of megabytes.
TEST_F(SolxRun, ScriptsThatCannotBeLinesAreRefused) {
    const fs::path longLine = Write("long.scr", "LIST\n\n" + std::string(1536 * 1024, 'x') + "\n");
    const fs::path justUnder =
        Write("under.scr", "; " + std::string(1024 * 1024 - 3, 'x') + "\nQUIT\n");
    const struct {
        std::string script;
        const char* message;
    } cases[] = {
        {m_dir.string(), "is a folder"},
        {"/dev/zero", "/dev/zero line 1: longer than 1 MB"},
        {longLine.string(), "long.scr line 3: longer than 1 MB"},
    };
    for (const auto& c : cases) {
        const RunResult r = Run("--script " + c.script);
        EXPECT_EQ(r.status, 2) << c.script;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.script << ": " << r.err;
    }
    EXPECT_EQ(Run("--script " + justUnder.string()).status, 0) << "a line of 1 MB is still read";
}

// A SAVE or SAVEAS of a script that fails ends the run there with status 1: what follows would
// build on a drawing that is not on disk.
TEST_F(SolxRun, FailedSaveInAScriptFailsTheRun) {
    const fs::path copy = m_dir / "site.dxf", out = m_dir / "out.dxf";
    fs::copy_file(m_sample, copy);
    const fs::path fifo = m_dir / "pipe.dxf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string script, message;
    } cases[] = {
        {"SAVEAS\n" + (m_dir / "missing" / "x.dxf").string() + "\nLIST\nL\n\n", "missing/x.dxf"},
        {"SAVEAS\n" + fifo.string() + "\nLIST\nL\n\n", "not a regular file"},
    };
    for (const auto& c : cases) {
        const fs::path script = Write("save.scr", c.script);
        const RunResult r =
            Run("--script " + script.string() + " --out " + out.string() + " " + copy.string());
        EXPECT_EQ(r.status, 1) << c.script << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("命令: LIST"), std::string::npos)
            << "nothing runs after the failed save";
        EXPECT_FALSE(fs::exists(out)) << "nor is the drawing saved at the end";
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// Saving onto a symbolic link writes the file it points at and keeps the link.
TEST_F(SolxRun, SaveThroughASymbolicLink) {
    fs::create_directory(m_dir / "real");
    const fs::path real = m_dir / "real" / "site.dxf", link = m_dir / "site.dxf";
    fs::copy_file(m_sample, real);
    fs::create_symlink(real, link);
    const fs::path script = Write("save.scr", "SAVE\n");
    const RunResult r = Run("--script " + script.string() + " " + link.string());
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(real.string() + ".bak"));
    EXPECT_EQ(ReadFile(real.string() + ".bak"), ReadFile(m_sample));
    EXPECT_EQ(Checked(real), "OK\n");
}

TEST_F(SolxRun, SaveAsThenSaveWritesTheNewFileOnly) {
    const fs::path copy = m_dir / "site.dxf", renamed = m_dir / "renamed.dxf";
    fs::copy_file(m_sample, copy);
    const std::string before = ReadFile(copy);
    const fs::path script =
        Write("save.scr", "SAVEAS\n" + renamed.string() + "\nLIST\nL\n\nSAVE\nQUIT\nLIST\n");
    const RunResult r = Run("--script " + script.string() + " " + copy.string());
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(ReadFile(copy), before) << "SAVE after SAVEAS writes the new name";
    EXPECT_TRUE(fs::exists(renamed.string() + ".bak")) << "the second save kept the first";
    EXPECT_EQ(Checked(renamed), "OK\n");
    const size_t firstList = r.out.find("命令: LIST");
    ASSERT_NE(firstList, std::string::npos);
    EXPECT_EQ(r.out.find("命令: LIST", firstList + 1), std::string::npos)
        << "nothing runs after QUIT";
}

// Dialog lines that cannot be done stop the run like any misfit line: file and line named,
// exit 1, nothing saved.
TEST_F(SolxRun, BadDialogLinesStopWithoutSaving) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"@set 4711 3", "no control 4711"},
        {"@select 2039 no such standard", "control 2039 has no item 'no such standard'"},
        {"@click 2076", "control 2076 is hidden"},
        {"@set 2048 25:00", "control 2048 cannot hold \"25:00\""},
    };
    for (const auto& c : cases) {
        const fs::path out = Write("kept.dxf", "previous contents");
        const fs::path script = Write(
            "dialog.scr", std::string("VxWinSunAna\nALL\n\nALL\n\n") + c.line + "\n@ok\n80000,0\n");
        const RunResult r =
            Run("--script " + script.string() + " --out " + out.string() + " " + m_sample);
        EXPECT_EQ(r.status, 1) << c.line << r.out;
        EXPECT_NE(r.err.find("dialog.scr line 6: \"" + std::string(c.line) + "\""),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("not saved"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(out), "previous contents") << c.line;
    }
}

// Settings confirmed in one session travel in the drawing and are the current settings of the
// next session that opens it: the second table is computed for the place and standard chosen in
// the first, although its dialog is only confirmed.
TEST_F(SolxRun, SettingsSavedInADrawingAreReadBackOnOpen) {
    const fs::path first = m_dir / "first.dxf", second = m_dir / "second.dxf";
    const fs::path choose = Write("choose.scr",
                                  "VxWinSunAna\nALL\n\nALL\n\n@select 2039 2\n"
                                  "@select 2004 广州\n@ok\n80000,0\n");
    const fs::path confirm = Write("confirm.scr", "VxWinSunAna\nALL\n\nALL\n\n@ok\n80000,-30000\n");
    RunResult r = Run("--script " + choose.string() + " " + m_sample + " --out " + first.string());
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    r = Run("--script " + confirm.string() + " " + first.string() + " --out " + second.string());
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string saved = ReadFile(second);
    EXPECT_NE(saved.find("地点：广州"), std::string::npos);
    EXPECT_EQ(saved.find("地点：北京"), std::string::npos) << "the second note fell back";
    EXPECT_EQ(saved.find("大寒日"), std::string::npos) << "the standard fell back";
}

TEST_F(SolxRun, TerminalSessionWithANewDrawing) {
    const fs::path out = m_dir / "new.dxf";
    const RunResult r = Run("--out " + out.string(), "xyz\nLIST\nALL\n\nQUIT\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("无效输入"), std::string::npos) << "the typo is asked again";
    EXPECT_NE(r.out.find("找到 0 个"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(out));
}

// What a command did to the drawing is taken back by U, all of it: the saved drawing is the one
// that was opened, byte for byte; ERASE is undone the same way, last command first.
TEST_F(SolxRun, UndoTakesBackWholeCommands) {
    const fs::path base = m_dir / "base.dxf", undone = m_dir / "undone.dxf";
    ASSERT_EQ(Run("--script " + Write("q.scr", "QUIT\n").string() + " --out " + base.string() +
                  " " + m_sample)
                  .status,
              0);
    const fs::path script = Write("u.scr",
                                  "VxWinSunAna\nALL\n\nALL\n\n@ok\n80000,0\n"
                                  "ERASE\nALL\n\nLIST\nALL\n\nU\nUNDO\nundo\n");
    const RunResult r = Run("--lang Eng --script " + script.string() + " --out " + undone.string() +
                            " " + m_sample);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("object(s) erased"), std::string::npos);
    EXPECT_NE(r.out.find("Command: LIST\nSelect objects: ALL\n0 found"), std::string::npos)
        << "LIST after ERASE ALL";
    const size_t erase = r.out.find("Undone: ERASE");
    const size_t analysis = r.out.find("Undone: VxWinSunAna");
    ASSERT_NE(erase, std::string::npos) << r.out;
    ASSERT_NE(analysis, std::string::npos) << "LIST changes nothing and is not undone";
    EXPECT_LT(erase, analysis);
    EXPECT_NE(r.out.find("Nothing to undo"), std::string::npos);
    EXPECT_EQ(ReadFile(undone), ReadFile(base));
}

TEST_F(SolxRun, HelpListsOptionsAndCommands) {
    const RunResult help = Run("--help --lang ENG");
    EXPECT_EQ(help.status, 0) << help.err;
    for (const char* want : {"--plot-area", "--script", "VxWinSunAna", "window sunlight analysis",
                             "UNDO", "ERASE", "SAVEAS"})
        EXPECT_NE(help.out.find(want), std::string::npos) << want << "\n" << help.out;
    const RunResult typed = Run("--lang eng", "?\nHELP\nQUIT\n");
    EXPECT_EQ(typed.status, 0) << typed.err;
    const size_t first = typed.out.find("VxShadow2d");
    ASSERT_NE(first, std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("VxShadow2d", first + 1), std::string::npos) << "HELP as ?";
    EXPECT_NE(typed.out.find("2D shadow contours"), std::string::npos);
}

TEST_F(SolxRun, MistypedCommandNamesTheClosestOne) {
    const RunResult typed = Run("", "LSIT\nvxwinsunan\nFROBNICATE\nQUIT\n");
    EXPECT_EQ(typed.status, 0);
    EXPECT_NE(typed.out.find("是否要输入 LIST?"), std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("是否要输入 VxWinSunAna?"), std::string::npos);
    EXPECT_EQ(typed.out.find("是否要输入", typed.out.find("FROBNICATE")), std::string::npos)
        << "nothing is close to it";
    const RunResult script = Run("--script " + Write("t.scr", "SAVAS\n").string());
    EXPECT_EQ(script.status, 1);
    EXPECT_NE(script.err.find("did you mean SAVEAS?"), std::string::npos) << script.err;
}

TEST_F(SolxRun, ScriptWithByteOrderMarkAndCrlfLines) {
    const fs::path script = Write("bom.scr", "\xEF\xBB\xBFLIST\r\nALL\r\n\r\nQUIT\r\n");
    const RunResult r = Run("--lang eng --script " + script.string() + " " + m_sample);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n9 object(s)"), std::string::npos) << r.out;
}

// Selections that hold nothing the command can use say why; a cancel says nothing.
TEST_F(SolxRun, CommandsWithoutAResultSayWhy) {
    const fs::path script = Write("none.scr",
                                  "VxWinSunAna\nW 0,0 1,1\n\n"
                                  "VxWinSunAna\nALL\n\nW 0,0 1,1\n\n"
                                  "VxWinSunAna\n@esc\nQUIT\n");
    const RunResult r = Run("--lang Eng --script " + script.string() + " " + m_sample);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("No window blocks '_SUNWD' on layer SUN-WINDOW in the selection."),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("None of the selected objects casts a shadow"), std::string::npos);
    const size_t cancelled = r.out.rfind("analyse:@esc");
    ASSERT_NE(cancelled, std::string::npos);
    EXPECT_EQ(r.out.find("No window", cancelled), std::string::npos);
}

TEST_F(SolxRun, ListShowsTypesCoordinatesAndAttributes) {
    const fs::path script = Write("list.scr", "LIST\nALL\n\nQUIT\n");
    const RunResult r = Run("--script " + script.string() + " " + m_sample);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("INSERT  图层: SUN-WINDOW  句柄: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("属性 LABEL = "), std::string::npos);
    EXPECT_NE(r.out.find("闭合"), std::string::npos) << "building outlines";
    EXPECT_NE(r.out.find("厚度: "), std::string::npos);
}

// At the terminal, leaving with unsaved changes asks; a new drawing is saved under a typed name
// with ".dxf" added, and the message says where.
TEST_F(SolxRun, TerminalAsksToSaveBeforeLeaving) {
    const std::string analysis = "VxWinSunAna\nALL\n\nALL\n\n@ok\n80000,0\n";
    const RunResult no = Run(m_sample, analysis + "QUIT\nNo\n");
    EXPECT_EQ(no.status, 0) << no.err;
    EXPECT_NE(no.out.find("是否将改动保存到 " + m_sample + "?"), std::string::npos) << no.out;

    const RunResult cancelled = Run(m_sample, analysis + "QUIT\n\x1b\nLIST\nL\n\n");
    EXPECT_NE(cancelled.out.find("*取消*"), std::string::npos) << cancelled.out;
    EXPECT_NE(cancelled.out.find("*取消*\n命令: 选择对象:"), std::string::npos)
        << "the session goes on";

    const RunResult untouched = Run(m_sample, "LIST\nALL\n\nQUIT\n");
    EXPECT_EQ(untouched.out.find("是否将改动保存"), std::string::npos) << "LIST changes nothing";
    const RunResult undone = Run(m_sample, "ERASE\nALL\n\nU\nQUIT\n");
    EXPECT_EQ(undone.out.find("是否将改动保存"), std::string::npos) << "back to the file";

    fs::current_path(m_dir);
    const RunResult saved = Run("", "ERASE\nALL\n\nSAVE\nsite\nQUIT\n");
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_TRUE(fs::exists(m_dir / "site.dxf"));
    EXPECT_NE(saved.out.find("已保存 " + (m_dir / "site.dxf").string()), std::string::npos)
        << saved.out;
    EXPECT_EQ(saved.out.find("是否将改动保存"), std::string::npos) << "saved already";

    const fs::path copy = m_dir / "copy.dxf";
    fs::copy_file(m_sample, copy);
    const RunResult atEnd = Run(copy.string(), "ERASE\nALL\n\n");  // the input ends
    EXPECT_NE(atEnd.out.find("是否将改动保存到 " + copy.string() + "?"), std::string::npos)
        << atEnd.out;
    EXPECT_EQ(ReadFile(copy), ReadFile(m_sample)) << "no answer: nothing saved";
}

TEST_F(SolxRun, PlotAreaDrawsTheChosenPartOnly) {
    const fs::path whole = m_dir / "whole.png", part = m_dir / "part.svg";
    ASSERT_EQ(Run("--plot " + whole.string() + " " + m_sample).status, 0);
    const RunResult r =
        Run("--plot " + part.string() + " --plot-area 30000,12000 -1000,-1000 " + m_sample);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = ReadFile(part);
    EXPECT_NE(svg.find("clip"), std::string::npos) << "what crosses the border is cut";
    EXPECT_NE(svg.find("width=\"1600\""), std::string::npos);
    // 31000 by 13000 units fill 1552 pixels across: the height follows.
    EXPECT_NE(svg.find("height=\"699\""), std::string::npos) << svg.substr(0, 300);
}

TEST_F(SolxRun, TypedDialogErrorsNameNoScriptLine) {
    const RunResult r = Run(m_sample, "VxWinSunAna\nALL\n\nALL\n\n@set 9999 x\n@cancel\nQUIT\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE((r.out + r.err).find("9999"), std::string::npos) << r.out << r.err;
    EXPECT_EQ((r.out + r.err).find("line 0"), std::string::npos) << r.out << r.err;
}

}  // namespace
