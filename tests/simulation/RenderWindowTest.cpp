// The simulation window driven as a script drives it: the command's prompts, the lines that
// reach the open modeless window, the window clock of its timers, the validation of its edits,
// the animation over the day and the snapshot. Expected values are worked out by hand from the
// times and heights given (minutes of the day, the box's height), not taken from the window.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <unistd.h>

#include "../support/CommandOutput.h"
#include "../ui/ScriptedFrontEnd.h"
#include "SolxRenderDlg.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDtLayer.h"
#include "host/SolxCommands.h"
#include "mfc/CDialog.h"
#include "mfc/Modeless.h"
#include "mfc/WindowState.h"
#include "mfc/afxwin.h"
#include "solx/SolxDataSet.h"

namespace {

using solx::ui::ModelessLine;

void AddBox(double x0, double y0, double x1, double y1, double height) {  // metres
    auto* poly = new AcDbPolyline;
    const double xs[] = {x0, x1, x1, x0}, ys[] = {y0, y0, y1, y1};
    for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xs[i] * 1000, ys[i] * 1000));
    poly->setClosed(true);
    poly->setThickness(height * 1000);
    poly->setLayer(VxDtGetLayerName(L"SUN-BUILDING").c_str());
    AddToModelSpace(poly);
}

class RenderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        acdbHostApplicationServices()->setWorkingDatabase(&m_db);
        VxDtInitStdLayer(L"SUN-BUILDING", &m_db);
        AddBox(0, 0, 20, 10, 20);
    }
    void TearDown() override {
        solx::ui::CloseModelessWindows();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }

    // Runs VxShadow with the observer and direction points (drawing millimetres), the whole
    // drawing as the model; true when the window opened.
    bool OpenWindow(const std::wstring& eye = L"0,-100000,5000",
                    const std::wstring& target = L"10000,5000,9000") {
        ScriptedFrontEnd answers({eye, target, L""});
        VxShadow();
        return SolxRenderDlg::Instance() != nullptr;
    }

    // A window line as the command prompt hands it over; the reason of a failure in `error`.
    ModelessLine Line(const std::wstring& line) {
        solx::editor::HostMessage message;
        const ModelessLine result = solx::ui::RunModelessLine(line, message);
        error = message.English();
        return result;
    }

    AcDbDatabase m_db;
    std::wstring error;
};

int FocusId() {
    CWnd* focus = CWnd::GetFocus();
    return focus && focus->m_hWnd ? focus->GetDlgCtrlID() : 0;
}

TEST_F(RenderWindow, CommandPutsTheEyeAtEyeHeightAndKeepsOneWindow) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    // Picked 5 m and 9 m up: both stand 1.6 m above height 0, in metres.
    EXPECT_DOUBLE_EQ(window->View().m_eye.x, 0.0);
    EXPECT_DOUBLE_EQ(window->View().m_eye.y, -100.0);
    EXPECT_DOUBLE_EQ(window->View().m_eye.z, 1.6);
    EXPECT_DOUBLE_EQ(window->View().m_target.x, 10.0);
    EXPECT_DOUBLE_EQ(window->View().m_target.z, 1.6);
    EXPECT_EQ(solx::ui::ActiveModelessWindow(), window);
    // A second run only focuses the open window: no prompt is answered.
    ScriptedFrontEnd more({L"1,1", L"2,2", L""});
    VxShadow();
    EXPECT_EQ(SolxRenderDlg::Instance(), window);
    EXPECT_EQ(more.Unread(), 3u);
    // @close closes and deletes it once the line is done.
    EXPECT_EQ(Line(L"@close"), ModelessLine::Done);
    EXPECT_EQ(SolxRenderDlg::Instance(), nullptr);
    EXPECT_EQ(solx::ui::ActiveModelessWindow(), nullptr);
    EXPECT_EQ(Line(L"@window"), ModelessLine::Failed);
}

TEST_F(RenderWindow, EscapeAtEitherPromptOpensNothing) {
    {
        ScriptedFrontEnd answers({L"@esc"});
        VxShadow();
    }
    EXPECT_EQ(SolxRenderDlg::Instance(), nullptr);
    {
        ScriptedFrontEnd answers({L"0,0", L"@esc"});
        VxShadow();
    }
    EXPECT_EQ(SolxRenderDlg::Instance(), nullptr);
}

TEST_F(RenderWindow, WindowLinesAreRecognisedAndCheckedBeforeAnyWindowIsOpen) {
    EXPECT_EQ(Line(L"QUIT"), ModelessLine::NotMine);
    EXPECT_EQ(Line(L"@esc"), ModelessLine::NotMine);
    EXPECT_EQ(Line(L"@snapshot a.png"), ModelessLine::Failed);
    EXPECT_EQ(error, L"no window is open");
    EXPECT_EQ(Line(L"@wait soon"), ModelessLine::Failed);
    EXPECT_EQ(Line(L"@wait -5"), ModelessLine::Failed);
    EXPECT_EQ(Line(L"@wait 10"), ModelessLine::Done);
}

TEST_F(RenderWindow, AnimationInStepsOfThreeFromElevenLandsOnFifteenAfterEightyTicks) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    ASSERT_EQ(window->CurrentMinute(), 11 * 60);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ASSERT_TRUE(window->Playing());
    // 999 ms: the polling timer has fired (four times), the animation not yet.
    solx::ui::AdvanceWindowTime(999);
    EXPECT_EQ(window->CurrentMinute(), 660);
    int ticks = 0;
    while (window->Playing() && ticks < 200) {
        solx::ui::AdvanceWindowTime(1000);
        ++ticks;
        if (window->Playing()) {
            EXPECT_EQ(window->CurrentMinute(), 660 + 3 * ticks);
        }
    }
    EXPECT_EQ(ticks, (15 * 60 - 11 * 60) / 3);
    EXPECT_EQ(window->CurrentMinute(), 15 * 60);
    EXPECT_EQ(window->GetDlgItemTextString(2015), L"15:00");
    // Stopped: time no longer moves, the recording switches are usable again.
    solx::ui::AdvanceWindowTime(5000);
    EXPECT_EQ(window->CurrentMinute(), 900);
    EXPECT_TRUE(window->GetDlgItem(2031)->IsWindowEnabled());
    // One long wait runs the ticks one after the other too.
    ASSERT_EQ(Line(L"@set 2015 14:00"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@set 2018 6"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@wait 4000"), ModelessLine::Done);
    EXPECT_EQ(window->CurrentMinute(), 14 * 60 + 24);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);  // stop
    EXPECT_FALSE(window->Playing());
}

TEST_F(RenderWindow, InvalidEntriesAreRefusedWithTheirMessageAndFocus) {
    ASSERT_TRUE(OpenWindow());
    ScriptedFrontEnd transcript({});
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    // Start after the end: refused, the animation stops, the start edit has the focus.
    ASSERT_EQ(Line(L"@set 2016 16:00"), ModelessLine::Done);
    EXPECT_EQ(CountOf(transcript.printed, L"无效的开始时间"), 1);
    EXPECT_FALSE(window->Playing());
    EXPECT_EQ(FocusId(), 2016);
    EXPECT_EQ(window->StartMinute(), 9 * 60);
    ASSERT_EQ(Line(L"@set 2016 10:00"), ModelessLine::Done);
    EXPECT_EQ(window->StartMinute(), 10 * 60);
    // End before the start.
    ASSERT_EQ(Line(L"@set 2017 09:30"), ModelessLine::Done);
    EXPECT_EQ(CountOf(transcript.printed, L"无效的结束时间"), 1);
    EXPECT_EQ(FocusId(), 2017);
    EXPECT_EQ(window->EndMinute(), 15 * 60);
    ASSERT_EQ(Line(L"@set 2017 16:00"), ModelessLine::Done);
    EXPECT_EQ(window->EndMinute(), 16 * 60);
    // The box is 20 m high: 20 is taken, 21 is not, and the view keeps 20.
    ASSERT_EQ(Line(L"@set 2027 20"), ModelessLine::Done);
    EXPECT_DOUBLE_EQ(window->PlaneHeight(), 20.0);
    EXPECT_EQ(window->GetDlgItem(2028)->m_hWnd->pos, 20);
    ASSERT_EQ(Line(L"@set 2027 21"), ModelessLine::Done);
    EXPECT_EQ(CountOf(transcript.printed, L"无效的阴影高度"), 1);
    EXPECT_EQ(FocusId(), 2027);
    EXPECT_DOUBLE_EQ(window->PlaneHeight(), 20.0);
    // The plane slider sets the height and shows it.
    ASSERT_EQ(Line(L"@set 2028 7"), ModelessLine::Done);
    EXPECT_DOUBLE_EQ(window->PlaneHeight(), 7.0);
    EXPECT_EQ(window->GetDlgItemTextString(2027), L"7");
}

TEST_F(RenderWindow, PollingTakesATypedHeightSilently) {
    ASSERT_TRUE(OpenWindow());
    ScriptedFrontEnd transcript({});
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    CWnd* edit = window->GetDlgItem(2027);
    // Typed without leaving the edit: the next 200 ms tick checks it, silently.
    edit->SetWindowText(L"30");
    edit->m_hWnd->modified = true;
    window->SendMessage(WM_COMMAND, MAKEWPARAM(2027, EN_CHANGE), 0);
    solx::ui::AdvanceWindowTime(200);
    EXPECT_DOUBLE_EQ(window->PlaneHeight(), 0.0);
    EXPECT_EQ(CountOf(transcript.printed, L"无效的阴影高度"), 0);
    edit->SetWindowText(L"12");
    edit->m_hWnd->modified = true;
    window->SendMessage(WM_COMMAND, MAKEWPARAM(2027, EN_CHANGE), 0);
    solx::ui::AdvanceWindowTime(200);
    EXPECT_DOUBLE_EQ(window->PlaneHeight(), 12.0);
}

TEST_F(RenderWindow, FaceShadowsChosenTwiceAnalyseTheRelationsOnce) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    ASSERT_EQ(Line(L"@click 2022"), ModelessLine::Done);
    EXPECT_TRUE(window->View().m_faceShadow);
    EXPECT_FALSE(window->GetDlgItem(2027)->IsWindowEnabled());
    ASSERT_EQ(Line(L"@click 2021"), ModelessLine::Done);
    EXPECT_FALSE(window->View().m_faceShadow);
    EXPECT_TRUE(window->GetDlgItem(2027)->IsWindowEnabled());
    ASSERT_EQ(Line(L"@click 2022"), ModelessLine::Done);
    EXPECT_EQ(window->RelationAnalyses(), 1);
    // A reload in face-shadow mode decides them again for the new model.
    ScriptedFrontEnd selection({L""});
    ASSERT_EQ(Line(L"@click 2029"), ModelessLine::Done);
    EXPECT_EQ(window->RelationAnalyses(), 2);
    EXPECT_TRUE(window->RelationsAnalysed());
}

TEST_F(RenderWindow, NoonSunStandsInTheSouthAtTheAltitudeOfLatitudeAndDeclination) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    ASSERT_EQ(Line(L"@set 2015 12:00"), ModelessLine::Done);
    const double latitude = g_SunDataSet.m_zone.Latitude();
    const double declination = g_SunDataSet.m_date.GetDgLat();
    const double altitude = (90.0 - latitude + declination) * std::numbers::pi / 180.0;
    const VxGePoint sun = window->View().Sun();
    EXPECT_NEAR(sun.x, 0.0, 1e-9);
    EXPECT_NEAR(sun.y, std::cos(altitude), 1e-6);  // light travels north
    EXPECT_NEAR(sun.z, -std::sin(altitude), 1e-6);
    // The morning sun stands in the east: its light travels west.
    ASSERT_EQ(Line(L"@set 2015 09:00"), ModelessLine::Done);
    EXPECT_LT(window->View().Sun().x, -0.1);
}

TEST_F(RenderWindow, SnapshotWritesThePictureOfTheView) {
    ASSERT_TRUE(OpenWindow());
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("solx-snapshot-" + std::to_string(::getpid()) + ".png");
    ASSERT_EQ(Line(L"@snapshot " + path.wstring()), ModelessLine::Done) << error;
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), 24);
    EXPECT_EQ(header[1], 'P');
    const auto word = [&](int at) {
        return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    EXPECT_EQ(word(16), SolxRenderDlg::kViewWidth);
    EXPECT_EQ(word(20), SolxRenderDlg::kViewHeight);
    std::filesystem::remove(path);
    EXPECT_EQ(Line(L"@snapshot /no/such/folder/x.png"), ModelessLine::Failed);
}

// ffprobe's reading of a film: codec, width, height, frames counted by decoding, frame rate.
std::string Probe(const std::filesystem::path& film) {
    return solx::testing::CommandOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,nb_read_frames,r_frame_rate -of csv=p=0 '" +
        film.string() + "' 2>&1");
}

class RenderWindowRecording : public RenderWindow {
protected:
    void SetUp() override {
        RenderWindow::SetUp();
        m_dir = std::filesystem::temp_directory_path() /
                ("solx-film-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        RenderWindow::TearDown();
        std::filesystem::remove_all(m_dir);
    }
    // Sets the film's path through the recording options and switches recording on.
    void RecordTo(const std::filesystem::path& film) {
        ScriptedFrontEnd options({L"@set 2036 " + film.wstring(), L"@ok"});
        ASSERT_EQ(Line(L"@click 2032"), ModelessLine::Done) << error;
        ASSERT_EQ(Line(L"@set 2031 1"), ModelessLine::Done) << error;
    }
    std::filesystem::path m_dir;
};

TEST_F(RenderWindowRecording, PlayedHourIsAFilmOfOneFramePerStep) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    const auto film = m_dir / "day.avi";
    RecordTo(film);
    ASSERT_EQ(Line(L"@set 2015 14:00"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@set 2018 5"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    EXPECT_TRUE(window->Recording());
    EXPECT_NE(window->GetWindowTextString().find(film.wstring()), std::wstring::npos);
    EXPECT_FALSE(window->GetDlgItem(2031)->IsWindowEnabled());
    ASSERT_EQ(Line(L"@wait 20000"), ModelessLine::Done);
    EXPECT_FALSE(window->Playing());
    EXPECT_FALSE(window->Recording());  // finished with the animation
    // The first frame at 14:00 and one a step of 5 minutes up to 15:00: 1 + 12 frames.
    EXPECT_EQ(Probe(film), "mjpeg,640,480,25/1,13\n");
}

TEST_F(RenderWindowRecording, FrameCarriesTheTimeInRedAtTheTopLeft) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    const std::vector<std::uint8_t> frame = window->GrabFrame();
    ASSERT_EQ(frame.size(),
              std::size_t{SolxRenderDlg::kViewWidth} * SolxRenderDlg::kViewHeight * 3);
    // Pure red pixels only where the text is: in the top-left corner, none elsewhere.
    int redInCorner = 0, redElsewhere = 0;
    for (int y = 0; y < SolxRenderDlg::kViewHeight; ++y)
        for (int x = 0; x < SolxRenderDlg::kViewWidth; ++x) {
            const std::size_t at =
                (static_cast<std::size_t>(y) * SolxRenderDlg::kViewWidth + x) * 3;
            const bool red = frame[at] > 200 && frame[at + 1] < 40 && frame[at + 2] < 40;
            if (!red) continue;
            if (x < 100 && y < 30)
                ++redInCorner;
            else
                ++redElsewhere;
        }
    EXPECT_GT(redInCorner, 30);
    EXPECT_EQ(redElsewhere, 0);
}

TEST_F(RenderWindowRecording, BadPathShowsTheCaptionAndTheAnimationGoesOn) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    RecordTo(m_dir / "no-such-folder" / "day.avi");
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    EXPECT_FALSE(window->Recording());
    EXPECT_EQ(window->GetWindowTextString(), L"日照仿真(无法自动录像，请关闭动画后检查录像设置!)");
    EXPECT_TRUE(window->Playing());
    ASSERT_EQ(Line(L"@wait 2000"), ModelessLine::Done);
    EXPECT_EQ(window->CurrentMinute(), 11 * 60 + 6);
}

TEST_F(RenderWindowRecording, ClosingWhileRecordingLeavesAPlayableFilm) {
    ASSERT_TRUE(OpenWindow());
    const auto film = m_dir / "cut.avi";
    RecordTo(film);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@wait 3000"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@close"), ModelessLine::Done);
    EXPECT_EQ(SolxRenderDlg::Instance(), nullptr);
    EXPECT_EQ(Probe(film), "mjpeg,640,480,25/1,4\n");  // the first frame and three ticks
}

}  // namespace
