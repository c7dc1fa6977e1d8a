// The simulation window driven as a script drives it: the command's prompts, the lines that
// reach the open modeless window, the window clock of its timers, the validation of its edits,
// the animation over the day and the snapshot. Expected values are worked out by hand from the
// times and heights given (minutes of the day, the box's height), not taken from the window.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
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
#include "render/SolxRenderContext.h"
#include "solx/SolxDataSet.h"

namespace {

using solx::ui::ModelessLine;

// A box in metres, drawn in drawing units of `unit` per metre (1000: millimetres).
void AddBox(double x0, double y0, double x1, double y1, double height, double unit = 1000) {
    auto* poly = new AcDbPolyline;
    const double xs[] = {x0, x1, x1, x0}, ys[] = {y0, y0, y1, y1};
    for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xs[i] * unit, ys[i] * unit));
    poly->setClosed(true);
    poly->setThickness(height * unit);
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

// A recording path under a regular file cannot be written either: the caption says so and the
// animation plays on; a path that is a folder likewise.
TEST_F(RenderWindowRecording, PathThatCannotBeWrittenShowsTheCaption) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    const auto file = m_dir / "plain-file";
    std::ofstream(file) << "x";
    for (const auto& film : {file / "day.avi", m_dir}) {
        RecordTo(film);
        ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
        EXPECT_FALSE(window->Recording()) << film;
        EXPECT_EQ(window->GetWindowTextString(),
                  L"日照仿真(无法自动录像，请关闭动画后检查录像设置!)");
        ASSERT_EQ(Line(L"@wait 1000"), ModelessLine::Done);
        EXPECT_EQ(window->CurrentMinute(), 11 * 60 + 3);
        ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
        ASSERT_EQ(Line(L"@set 2015 11:00"), ModelessLine::Done);
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

// Without its recorder library the window says it cannot record and plays on; the recorder
// tells why.
TEST_F(RenderWindowRecording, MissingRecorderLibraryShowsTheCaption) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    const auto film = m_dir / "day.avi";
    const auto missing = m_dir / "SolxRecorder.so";
    ::setenv("SOLX_RECORDER", missing.c_str(), 1);
    SolxAVIFile recorder;
    EXPECT_EQ(recorder.Init(film.wstring(), 640, 480, 25), 0);
    EXPECT_NE(recorder.Error().find("the recorder library cannot be loaded"), std::string::npos)
        << recorder.Error();
    EXPECT_NE(recorder.Error().find(missing.string()), std::string::npos) << recorder.Error();
    RecordTo(film);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ::unsetenv("SOLX_RECORDER");
    EXPECT_FALSE(window->Recording());
    EXPECT_EQ(window->GetWindowTextString(), L"日照仿真(无法自动录像，请关闭动画后检查录像设置!)");
    EXPECT_TRUE(window->Playing());
    EXPECT_FALSE(std::filesystem::exists(film));
    // With the library back, the next play records.
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    EXPECT_TRUE(window->Recording());
}

// A resize while recording: the film keeps the size it started with, every frame stretched to
// it, and stays readable.
TEST_F(RenderWindowRecording, FilmKeepsItsSizeWhenTheWindowIsResized) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    const auto film = m_dir / "resized.avi";
    RecordTo(film);
    ASSERT_EQ(Line(L"@click 2033"), ModelessLine::Done);
    ASSERT_TRUE(window->Recording());
    window->SendMessage(
        WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(window->InitialClientWidth() + 100, window->InitialClientHeight() + 41));
    EXPECT_EQ(window->View().Context()->Width(), SolxRenderDlg::kViewWidth + 100);
    EXPECT_EQ(window->View().Context()->Height(), SolxRenderDlg::kViewHeight + 40);  // even
    ASSERT_EQ(Line(L"@wait 2000"), ModelessLine::Done);
    ASSERT_EQ(Line(L"@close"), ModelessLine::Done);
    EXPECT_EQ(Probe(film), "mjpeg,640,480,25/1,3\n");
}

// The window grows: the settings group taller, the play button and the time slider lower, the
// slider and the view wider, the view's picture bigger; the other controls stay. Going back to
// the first size gives the first layout again; a minimised window keeps its layout.
TEST_F(RenderWindow, ResizeLaysTheWindowOut) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    auto rect = [&](int id) { return window->GetDlgItem(id)->m_hWnd->rect; };
    const int ids[] = {2000, 2033, 2034, 2035, 2004, 2027};
    std::map<int, solx::ui::DialogRect> before;
    for (int id : ids) before[id] = rect(id);
    const int w = window->InitialClientWidth(), h = window->InitialClientHeight();
    // The view is 330 x 318 dialog units for 640 x 480 pixels.
    EXPECT_EQ(w, static_cast<int>(std::lround(472 * 640.0 / 330)));
    EXPECT_EQ(h, static_cast<int>(std::lround(347 * 480.0 / 318)));
    const double unitX = 640.0 / 330, unitY = 480.0 / 318;
    window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(w + 194, h + 151));
    const int ux = static_cast<int>(std::lround(194 / unitX));  // 100
    const int uy = static_cast<int>(std::lround(151 / unitY));  // 100
    EXPECT_EQ(rect(2000).height, before[2000].height + uy);
    EXPECT_EQ(rect(2000).width, before[2000].width);
    EXPECT_EQ(rect(2033).y, before[2033].y + uy);
    EXPECT_EQ(rect(2033).x, before[2033].x);
    EXPECT_EQ(rect(2034).y, before[2034].y + uy);
    EXPECT_EQ(rect(2034).width, before[2034].width + ux);
    EXPECT_EQ(rect(2035).width, before[2035].width + ux);
    EXPECT_EQ(rect(2035).height, before[2035].height + uy);
    EXPECT_EQ(rect(2035).x, before[2035].x);
    for (int id : {2004, 2027}) {
        EXPECT_EQ(rect(id).x, before[id].x);
        EXPECT_EQ(rect(id).y, before[id].y);
    }
    EXPECT_EQ(window->View().Context()->Width(), 640 + 194);
    EXPECT_EQ(window->View().Context()->Height(), 480 + 150);
    EXPECT_EQ(window->GrabFrame().size(), std::size_t{834} * 630 * 3);
    window->SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(window->View().Context()->Width(), 834);
    window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, h));
    for (int id : ids) {
        EXPECT_EQ(rect(id).y, before[id].y) << id;
        EXPECT_EQ(rect(id).width, before[id].width) << id;
        EXPECT_EQ(rect(id).height, before[id].height) << id;
    }
    EXPECT_EQ(window->View().Context()->Width(), 640);
}

// Arrow keys reach the view whatever control has the focus: Up walks eye and target together
// along the plan direction of view, the repeat count as many steps; other keys move nothing.
TEST_F(RenderWindow, ArrowKeysMoveTheCamera) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    SolxRenderView& view = window->View();
    window->GetDlgItem(2015)->SetFocus();
    const VxGePoint eye = view.m_eye, target = view.m_target;
    window->SendMessage(WM_KEYDOWN, 0x41, 1);  // 'A'
    EXPECT_EQ(view.m_eye.x, eye.x);
    EXPECT_EQ(view.m_eye.y, eye.y);
    window->SendMessage(WM_KEYDOWN, 0x26, 1);  // Up
    const double oneX = view.m_eye.x - eye.x, oneY = view.m_eye.y - eye.y;
    ASSERT_GT(std::hypot(oneX, oneY), 0.0);
    // Along the plan direction from eye to target (10, 105 m): the cross product vanishes.
    EXPECT_NEAR(oneX * (target.y - eye.y) - oneY * (target.x - eye.x), 0.0, 1e-9);
    EXPECT_GT(oneY, 0.0);
    EXPECT_NEAR(view.m_target.x - view.m_eye.x, target.x - eye.x, 1e-9);
    EXPECT_NEAR(view.m_target.y - view.m_eye.y, target.y - eye.y, 1e-9);
    EXPECT_DOUBLE_EQ(view.m_eye.z, eye.z);
    window->SendMessage(WM_KEYDOWN, 0x28, 3);  // Down, three repeats
    EXPECT_NEAR(view.m_eye.x - eye.x, -2 * oneX, 1e-9);
    EXPECT_NEAR(view.m_eye.y - eye.y, -2 * oneY, 1e-9);
    EXPECT_TRUE(view.NeedsPaint());
}

// A settings place list with a town the place database does not know.
class RenderWindowPlace : public RenderWindow {
protected:
    void SetUp() override {
        RenderWindow::SetUp();
        m_configDir = std::filesystem::temp_directory_path() /
                      ("solx-sim-place-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_configDir);
        ::setenv("SOLX_CONFIG_DIR", m_configDir.c_str(), 1);
        m_saved = g_SunDataSet;
        ASSERT_TRUE(g_SunDataSet.SetPlace(L"北京"));
        g_SunDataSet.m_cities.emplace_back(L"无名镇");
    }
    void TearDown() override {
        RenderWindow::TearDown();
        g_SunDataSet = m_saved;
        std::filesystem::remove_all(m_configDir);
        ::unsetenv("SOLX_CONFIG_DIR");
    }
    // The noon sun's altitude from the place's latitude and the date's declination.
    static void ExpectNoonSunOf(SolxRenderDlg& window, double latitude) {
        const double altitude =
            (90.0 - latitude + g_SunDataSet.m_date.GetDgLat()) * std::numbers::pi / 180.0;
        EXPECT_NEAR(window.View().Sun().z, -std::sin(altitude), 1e-6);
    }
    std::filesystem::path m_configDir;
    SolxDataSet m_saved;
};

TEST_F(RenderWindowPlace, PlaceChoiceMovesTheSunAndAnUnknownPlaceIsRefused) {
    ASSERT_TRUE(OpenWindow());
    ScriptedFrontEnd transcript({});
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    auto* places = static_cast<CComboBox*>(window->GetDlgItem(2004));
    EXPECT_EQ(places->GetLBTextString(places->GetCount() - 1), L"其他地点...");
    ASSERT_EQ(Line(L"@set 2015 12:00"), ModelessLine::Done);
    EXPECT_NEAR(g_SunDataSet.m_zone.Latitude(), 39.9, 0.02);  // Beijing
    ExpectNoonSunOf(*window, g_SunDataSet.m_zone.Latitude());
    ASSERT_EQ(Line(L"@select 2004 上海"), ModelessLine::Done) << error;
    EXPECT_EQ(g_SunDataSet.m_zone.m_strName, L"上海");
    EXPECT_EQ(window->GetDlgItemTextString(2005), L"北纬31°14′");
    EXPECT_NEAR(g_SunDataSet.m_zone.Latitude(), 31.23, 0.02);
    ExpectNoonSunOf(*window, g_SunDataSet.m_zone.Latitude());
    const VxGePoint sun = window->View().Sun();
    ASSERT_EQ(Line(L"@select 2004 无名镇"), ModelessLine::Done) << error;
    EXPECT_EQ(CountOf(transcript.printed, L"请在地区数据库中建立 无名镇 的位置数据"), 1);
    EXPECT_EQ(g_SunDataSet.m_zone.m_strName, L"上海");
    EXPECT_EQ(places->GetLBTextString(places->GetCurSel()), L"上海");
    EXPECT_EQ(window->View().Sun().z, sun.z);
}

TEST_F(RenderWindowPlace, ChooserAddsAPlaceBeforeItsOwnItem) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    auto* places = static_cast<CComboBox*>(window->GetDlgItem(2004));
    const int count = places->GetCount();
    {
        ScriptedFrontEnd chooser({L"@select 3101 江苏", L"@select 3102 苏州", L"@ok"});
        ASSERT_EQ(Line(L"@select 2004 其他地点..."), ModelessLine::Done) << error;
        EXPECT_EQ(chooser.Unread(), 0u);
    }
    EXPECT_EQ(g_SunDataSet.m_zone.m_strName, L"苏州");
    ASSERT_EQ(places->GetCount(), count + 1);
    EXPECT_EQ(places->GetLBTextString(count - 1), L"苏州");
    EXPECT_EQ(places->GetLBTextString(count), L"其他地点...");
    EXPECT_EQ(places->GetLBTextString(places->GetCurSel()), L"苏州");
    EXPECT_EQ(g_SunDataSet.m_cities.back().m_strName, L"苏州");
    // Cancelled: the place stays, the combo shows it again.
    {
        ScriptedFrontEnd chooser({L"@select 3101 浙江", L"@cancel"});
        ASSERT_EQ(Line(L"@select 2004 其他地点..."), ModelessLine::Done) << error;
    }
    EXPECT_EQ(g_SunDataSet.m_zone.m_strName, L"苏州");
    EXPECT_EQ(places->GetLBTextString(places->GetCurSel()), L"苏州");
    EXPECT_EQ(places->GetCount(), count + 1);
}

// A model above the face limit: face shadows are refused with the limit's message and the
// window stays in ground-shadow mode, without a relation analysis.
TEST_F(RenderWindow, ModelAboveTheFaceLimitStaysInGroundShadows) {
    const int limit = g_RenderMaxFaceNum;
    g_RenderMaxFaceNum = 4;  // the box alone has more faces (ground, 4 walls, roof)
    ASSERT_TRUE(OpenWindow());
    ScriptedFrontEnd transcript({});
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    ASSERT_EQ(Line(L"@click 2022"), ModelessLine::Done) << error;
    EXPECT_EQ(CountOf(transcript.printed, L"最大允许面数=4"), 1) << transcript.printed;
    EXPECT_FALSE(window->View().m_faceShadow);
    EXPECT_EQ(window->GetDlgItem(2021)->m_hWnd->check, 1);
    EXPECT_EQ(window->GetDlgItem(2022)->m_hWnd->check, 0);
    EXPECT_EQ(window->RelationAnalyses(), 0);
    EXPECT_TRUE(window->GetDlgItem(2027)->IsWindowEnabled());
    g_RenderMaxFaceNum = limit;
}

// The user's break during the relation analysis: face shadows still come (the relations left
// are decided as frames need them), and the next choice of face shadows analyses again.
class BreakingFrontEnd : public ScriptedFrontEnd {
public:
    explicit BreakingFrontEnd(int after) : ScriptedFrontEnd({}), m_after(after) {}
    bool TakeBreak() override { return ++asked > m_after; }
    int asked = 0;

private:
    int m_after;
};

TEST_F(RenderWindow, BreakDuringTheRelationAnalysisLeavesThemUndecided) {
    ASSERT_TRUE(OpenWindow());
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    {
        BreakingFrontEnd user(2);
        ASSERT_EQ(Line(L"@click 2022"), ModelessLine::Done) << error;
        EXPECT_EQ(user.asked, 3);  // asked before each face; the third answer breaks
    }
    EXPECT_TRUE(window->View().m_faceShadow);
    EXPECT_FALSE(window->RelationsAnalysed());
    ASSERT_EQ(Line(L"@click 2021"), ModelessLine::Done);
    {
        BreakingFrontEnd user(1000);
        ASSERT_EQ(Line(L"@click 2022"), ModelessLine::Done) << error;
        EXPECT_EQ(user.asked, window->View().m_faceCount);
    }
    EXPECT_TRUE(window->RelationsAnalysed());
    EXPECT_EQ(window->RelationAnalyses(), 2);
}

// Average brightness (r + g + b) of the frame's pixels in a rectangle.
double MeanBrightness(const std::vector<std::uint8_t>& rgb, int x0, int y0, int x1, int y1) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const std::size_t at =
                (static_cast<std::size_t>(y) * SolxRenderDlg::kViewWidth + x) * 3;
            sum += rgb[at] + rgb[at + 1] + rgb[at + 2];
        }
    return n ? sum / n : 0.0;
}

// A corrupt sky.bmp first on the support path: the window opens and draws without a sky (the
// top of the picture is the clear colour, black) while the ground and the box are drawn.
TEST_F(RenderWindow, CorruptSkyPictureLeavesTheViewWithoutSky) {
    ASSERT_TRUE(OpenWindow());
    const std::vector<std::uint8_t> withSky = SolxRenderDlg::Instance()->GrabFrame();
    ASSERT_EQ(Line(L"@close"), ModelessLine::Done);
    const auto folder =
        std::filesystem::temp_directory_path() / ("solx-badsky-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "sky.bmp", std::ios::binary) << "BM but not a picture";
    const char* old = std::getenv("SOLX_SUPPORT_PATH");
    const std::string saved = old ? old : "";
    ::setenv("SOLX_SUPPORT_PATH", folder.c_str(), 1);
    const bool opened = OpenWindow();
    if (old)
        ::setenv("SOLX_SUPPORT_PATH", saved.c_str(), 1);
    else
        ::unsetenv("SOLX_SUPPORT_PATH");
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(opened);
    SolxRenderDlg* window = SolxRenderDlg::Instance();
    EXPECT_FALSE(window->View().HasSky());
    const std::vector<std::uint8_t> noSky = window->GrabFrame();
    // The band below the time text at the top: sky picture before, clear colour now.
    EXPECT_GT(MeanBrightness(withSky, 200, 40, 440, 60), 150.0);
    EXPECT_LT(MeanBrightness(noSky, 200, 40, 440, 60), 1.0);
    // The lower half (ground and box) is drawn alike.
    EXPECT_NEAR(MeanBrightness(noSky, 0, 300, 640, 480), MeanBrightness(withSky, 0, 300, 640, 480),
                1.0);
}

// The same box and eye drawn in millimetres and in metres give the same picture.
TEST(RenderWindowUnits, MetreAndMillimetreDrawingsGiveTheSamePicture) {
    std::vector<std::uint8_t> frames[2];
    const double units[] = {1000.0, 1.0};
    for (int k = 0; k < 2; ++k) {
        AcDbDatabase db;
        db.setInsunits(units[k] == 1000.0 ? 4 : 6);
        acdbHostApplicationServices()->setWorkingDatabase(&db);
        VxDtInitStdLayer(L"SUN-BUILDING", &db);
        AddBox(0, 0, 20, 10, 20, units[k]);
        AddBox(-15, 20, -5, 30, 35, units[k]);
        const double u = units[k];
        auto point = [u](double x, double y, double z) {
            return std::to_wstring(x * u) + L"," + std::to_wstring(y * u) + L"," +
                   std::to_wstring(z * u);
        };
        {
            ScriptedFrontEnd answers({point(-10, -80, 30), point(5, 10, 0), L""});
            VxShadow();
        }
        SolxRenderDlg* window = SolxRenderDlg::Instance();
        ASSERT_NE(window, nullptr);
        EXPECT_NEAR(window->View().m_eye.z, 1.6, 1e-9);
        // From above the south, where the shadows on the ground show.
        window->View().SetCamera({5, -70, 90}, {0, 25, 0});
        window->View().Refresh();
        frames[k] = window->GrabFrame();
        if (const char* folder = std::getenv("SOLX_TEST_FRAMES")) {
            std::string ignored;
            window->View().SaveFrame(std::string(folder) + "/units-" + std::to_string(k) + ".png",
                                     ignored);
        }
        solx::ui::CloseModelessWindows();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    ASSERT_EQ(frames[0].size(), frames[1].size());
    int differing = 0, dark = 0;
    for (std::size_t i = 0; i < frames[0].size(); i += 3) {
        int d = 0;
        for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(frames[0][i + c] - frames[1][i + c]));
        if (d > 8) ++differing;
        if (frames[0][i] + frames[0][i + 1] + frames[0][i + 2] < 320) ++dark;  // shaded ground
    }
    EXPECT_LT(differing, 64);  // edge pixels at most
    EXPECT_GT(dark, 1000);     // the pictures do show shadows
}

// Loading the module loads neither FFmpeg nor GLU; the recorder library beside it brings FFmpeg.
TEST(ModuleLoad, FfmpegComesOnlyWithTheRecorderLibrary) {
    const std::string module = solx::testing::CommandOutput("ldd '" SOLX_MODULE_FILE "' 2>&1");
    ASSERT_NE(module.find("libc.so"), std::string::npos) << module;
    for (const char* library : {"libavcodec", "libavformat", "libswscale", "libGLU"})
        EXPECT_EQ(module.find(library), std::string::npos) << library << " in\n" << module;
    const std::string recorder = solx::testing::CommandOutput("ldd '" SOLX_RECORDER_FILE "' 2>&1");
    EXPECT_NE(recorder.find("libavcodec"), std::string::npos) << recorder;
    EXPECT_EQ(std::filesystem::path(SOLX_RECORDER_FILE).parent_path(),
              std::filesystem::path(SOLX_MODULE_FILE).parent_path());
}

}  // namespace
