// A dialog answered by a person at the terminal: it is shown as text when it opens and on "?",
// a line that cannot be done is answered with the reason while the dialog stays open, and the
// short forms work beside the script forms.

#include <sstream>

#include "CDlgSunSetup.h"
#include "SetupDialogFixture.h"
#include "acad/AcEdFrontEnd.h"
#include "mfc/afxwin.h"

namespace {

struct Terminal {
    explicit Terminal(const std::string& typed) : in(typed) {
        frontEnd = solx::editor::MakeTerminalFrontEnd(in, out);
        solx::editor::SetFrontEnd(frontEnd.get());
    }
    ~Terminal() { solx::editor::SetFrontEnd(nullptr); }
    int Count(const std::string& needle) const {
        int count = 0;
        const std::string text = out.str();
        for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
            ++count;
        return count;
    }
    std::istringstream in;
    std::ostringstream out;
    std::unique_ptr<solx::editor::FrontEnd> frontEnd;
};

TEST_F(SetupDialogTest, TerminalShowsTheDialogAndKeepsItOpenOnABadLine) {
    Terminal terminal("2048=25:00\n@click 4711\nnonsense\n?\n2048=9:00\n@set 2049 15:30\nok\n");
    CDlgSunSetup dialog(2045);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const std::string shown = terminal.out.str();
    EXPECT_EQ(terminal.Count("-- Output --"), 2) << "on opening and on ?\n" << shown;
    // Every control a user acts on: id, label, kind, value, what it takes, state, items.
    for (const char* line :
         {"2048  Start:           maskedit = \"08:00\"  takes HH:MM 00:00-23:59",
          "2005  Lat.:            edit = \"39度54分\"  read-only", "[窗日照表] dialog 2045\n",
          "2076  Skip upper windows once a lower one passes check = 0 (off)  hidden",
          "2072  Minimum sunlight of a window: edit", "2071  Sort by window   radio = 0 (off)",
          "2039  Standard:        combo = \"大寒标准\"", "0 大寒标准  1 冬至标准  2 ",
          "2046  Date:            date = 2026-01-20",
          "2019  Step:            spin (moves 2018, 1..120)"})
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    EXPECT_NE(shown.find("control 2048 cannot hold \"25:00\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("no control 4711"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Invalid input"), std::string::npos) << "a line that is no action";
    EXPECT_FALSE(terminal.frontEnd->Stopped());
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 540);
    EXPECT_EQ(g_SunDataSet.GetEndMinute(), 930);
}

}  // namespace
