// The simulation window as a modeless wx dialog with its view on an on-screen OpenGL canvas:
// the screen shows the frame the view drew, with its shadows; the play button's timer animates
// the day on the wx event loop; the wheel and the arrow keys reach the view's camera.

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/glcanvas.h>
#include <wx/slider.h>

#include <cmath>

#include "../support/CommandOutput.h"
#include "../ui/ScriptedFrontEnd.h"
#include "SolxRenderDlg.h"
#include "WxSession.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDtLayer.h"
#include "host/SolxCommands.h"
#include "mfc/Modeless.h"
#include "render/SolxRenderContext.h"

#include <algorithm>
#include <map>

namespace {

using solx::wxui::WxWidgetOf;

class WxSimulation : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_X();
        acdbHostApplicationServices()->setWorkingDatabase(&m_db);
        VxDtInitStdLayer(L"SUN-BUILDING", &m_db);
        auto* poly = new AcDbPolyline;  // a 20 x 10 m block, 20 m high
        const double xs[] = {0, 20000, 20000, 0}, ys[] = {0, 0, 10000, 10000};
        for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xs[i], ys[i]));
        poly->setClosed(true);
        poly->setThickness(20000);
        poly->setLayer(VxDtGetLayerName(L"SUN-BUILDING").c_str());
        AddToModelSpace(poly);
        ScriptedFrontEnd answers({L"0,-100000,5000", L"10000,5000,9000", L""});
        VxShadow();
        m_window = SolxRenderDlg::Instance();
    }
    void TearDown() override {
        solx::ui::CloseModelessWindows();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }

    AcDbDatabase m_db;
    SolxRenderDlg* m_window = nullptr;
};

double Distance(const VxGePoint& a, const VxGePoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

TEST_F(WxSimulation, ScreenShowsTheViewWithItsShadows) {
    ASSERT_NE(m_window, nullptr);
    wxDialog* frame = solx::wxui::WxDialogOf(m_window);
    auto* canvas = dynamic_cast<wxGLCanvas*>(WxWidgetOf(m_window, 2035));
    ASSERT_TRUE(frame && canvas);
    EXPECT_TRUE(frame->IsShown());
    // From high in the south-west, over the block onto the ground north of it (metres).
    m_window->View().SetCamera({-40, -60, 70}, {10, 15, 0});
    m_window->View().Refresh();
    m_window->View().Paint();
    wxtest::Settle(500);
    const wxImage screen = wxtest::Screenshot(wxtest::ScreenRect(canvas));
    wxtest::Save(wxtest::Screenshot(wxtest::ScreenRect(frame)), "simulation-window.png");
    const std::vector<std::uint8_t> drawn = m_window->View().Context()->ReadPixels();
    const int w = screen.GetWidth(), h = screen.GetHeight();
    ASSERT_EQ(drawn.size(), static_cast<std::size_t>(w) * h * 3);

    // What the X server shows is what the view drew.
    int same = 0;
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* s = screen.GetData() + 3 * i;
        const std::uint8_t* d = drawn.data() + 3 * i;
        if (std::abs(s[0] - d[0]) <= 2 && std::abs(s[1] - d[1]) <= 2 && std::abs(s[2] - d[2]) <= 2)
            ++same;
    }
    EXPECT_GT(same, w * h * 99 / 100);

    // Shadows: ground pixels (olive, red above blue) much darker than the sunlit ground,
    // whose colour is the most common one of the picture.
    std::map<int, int> counts;
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* p = screen.GetData() + 3 * i;
        counts[p[0] + p[1] + p[2]] += 1;
    }
    const int litGround = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
    int shadow = 0;
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* p = screen.GetData() + 3 * i;
        if (p[0] > p[2] && (p[0] + p[1] + p[2]) * 4 < litGround * 3) ++shadow;
    }
    EXPECT_GT(shadow, w * h / 100);
}

TEST_F(WxSimulation, PlayAnimatesOnWxTimersAndInputReachesTheView) {
    ASSERT_NE(m_window, nullptr);
    auto* play = dynamic_cast<wxButton*>(WxWidgetOf(m_window, 2033));
    auto* slider = dynamic_cast<wxSlider*>(WxWidgetOf(m_window, 2034));
    auto* canvas = dynamic_cast<wxGLCanvas*>(WxWidgetOf(m_window, 2035));
    ASSERT_TRUE(play && slider && canvas);
    wxtest::Settle();
    const int first = m_window->CurrentMinute();
    wxCommandEvent click(wxEVT_BUTTON, play->GetId());
    click.SetEventObject(play);
    play->GetEventHandler()->ProcessEvent(click);
    EXPECT_TRUE(m_window->Playing());
    wxtest::Settle(2600);  // the animation ticks once a second
    EXPECT_GT(m_window->CurrentMinute(), first);
    EXPECT_EQ(slider->GetValue(), m_window->CurrentMinute());

    const VxGePoint eye = m_window->View().m_eye;
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_NEAR(Distance(eye, m_window->View().m_eye), 10.0, 1e-9);  // one wheel step

    const VxGePoint before = m_window->View().m_eye;
    wxKeyEvent left(wxEVT_KEY_DOWN);
    left.m_keyCode = WXK_LEFT;
    left.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(left);
    EXPECT_GT(Distance(before, m_window->View().m_eye), 0.0);
}

// Resizing the window: the runtime lays it out again, the canvas takes the view's new size,
// the view draws frames of that size, and the controls below the view move down with it.
TEST_F(WxSimulation, CanvasFollowsTheWindowsSize) {
    ASSERT_NE(m_window, nullptr);
    wxDialog* frame = solx::wxui::WxDialogOf(m_window);
    auto* canvas = dynamic_cast<wxGLCanvas*>(WxWidgetOf(m_window, 2035));
    wxWindow* play = WxWidgetOf(m_window, 2033);
    ASSERT_TRUE(frame && canvas && play);
    wxtest::Settle();
    const wxSize view = canvas->GetClientSize();
    const int playY = play->GetPosition().y;
    frame->SetClientSize(frame->GetClientSize() + wxSize(160, 100));
    wxtest::Settle(500);
    const wxSize grown = canvas->GetClientSize();
    // The runtime gives the view even sizes; a dialog unit or so of rounding either way.
    EXPECT_NEAR(grown.x, view.x + 160, 4);
    EXPECT_NEAR(grown.y, view.y + 100, 4);
    EXPECT_NEAR(play->GetPosition().y, playY + 100, 4);
    SolxRenderContext* context = m_window->View().Context();
    EXPECT_EQ(context->Width(), grown.x);
    EXPECT_EQ(context->Height(), grown.y);
    m_window->View().Paint();
    wxtest::Settle(300);
    EXPECT_EQ(context->ReadPixels().size(), static_cast<std::size_t>(grown.x) * grown.y * 3);
    // The screen shows the picture over the whole canvas: its far corner is not the window's
    // background.
    // (One read of the screen: the toolkit answers a second one with the first picture.)
    const wxImage shot = wxtest::Screenshot(wxtest::ScreenRect(frame));
    wxtest::Save(shot, "simulation-window-resized.png");
    const wxPoint at = canvas->GetScreenPosition() - frame->GetScreenPosition();
    ASSERT_LE(at.x + grown.x, shot.GetWidth());
    ASSERT_LE(at.y + grown.y, shot.GetHeight());
    const std::vector<std::uint8_t> drawn = context->ReadPixels();
    int same = 0, corner = 0;
    for (int y = grown.y * 3 / 4; y < grown.y; ++y)
        for (int x = grown.x * 3 / 4; x < grown.x; ++x, ++corner) {
            const unsigned char* s = shot.GetData() + 3 * ((at.y + y) * shot.GetWidth() + at.x + x);
            const std::uint8_t* d = drawn.data() + 3 * (y * grown.x + x);
            same += std::abs(s[0] - d[0]) <= 2 && std::abs(s[1] - d[1]) <= 2 &&
                    std::abs(s[2] - d[2]) <= 2;
        }
    EXPECT_GT(same, corner * 95 / 100);
}

}  // namespace
