// The terminal front end fed from a stream: the progress meter keeps to one line, ends it before
// the next message and shows 100% when the work is done; a break prints the cancel notice; an
// Esc typed into a line-buffered terminal cancels the prompt.
#include <gtest/gtest.h>

#include <sstream>

#include "acad/aced.h"

namespace {

struct Terminal {
    explicit Terminal(const std::string& typed = "") : in(typed) {
        solx::editor::SetFrontEnd(fe.get());
    }
    ~Terminal() { solx::editor::SetFrontEnd(nullptr); }
    std::istringstream in;
    std::ostringstream out;
    std::unique_ptr<solx::editor::FrontEnd> fe = solx::editor::MakeTerminalFrontEnd(in, out);
};

TEST(TerminalProgress, OneLineThatEndsAtAHundredBeforeTheNextMessage) {
    Terminal t;
    acutPrintf(L"\nTable position: ");
    acedSetStatusBarProgressMeter(L"Windows", 0, 7);
    for (int i = 0; i < 7; ++i) acedSetStatusBarProgressMeterPos(i);
    acedSetStatusBarProgressMeterPos(7);  // all done
    acedRestoreStatusBar();
    acutPrintf(L"\nTime used: 0 s.");
    EXPECT_EQ(t.out.str(),
              "\nTable position: \nWindows 0% 10% 20% 40% 50% 70% 80% 100%\nTime used: 0 s.");
}

TEST(TerminalProgress, AMessageDuringTheWorkStartsOnItsOwnLine) {
    Terminal t;
    acedSetStatusBarProgressMeter(L"Windows", 0, 4);
    acedSetStatusBarProgressMeterPos(1);
    acutPrintf(L"\nWarning: outline not closed");
    acedSetStatusBarProgressMeterPos(2);
    acedRestoreStatusBar();  // broken off: no 100%
    EXPECT_EQ(t.out.str(), "\nWindows 0% 20%\nWarning: outline not closed\nWindows 50%\n");
}

TEST(TerminalBreak, CancelNoticeOnceAndEscapeLinesCancelPrompts) {
    Terminal t("\x1b\n12\n");
    solx::editor::RequestBreak();
    EXPECT_EQ(acedUsrBrk(), 1);
    EXPECT_EQ(acedUsrBrk(), 0) << "the break is taken once";
    EXPECT_NE(t.out.str().find("*Cancel*"), std::string::npos);
    double v = 0;
    EXPECT_EQ(acedGetReal(L"\nHeight: ", &v), RTCAN);
    EXPECT_EQ(acedGetReal(L"\nHeight: ", &v), RTNORM);
    EXPECT_EQ(v, 12.0);
}

}  // namespace
