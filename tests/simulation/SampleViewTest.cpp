// The simulation view rendered offscreen and read back pixel by pixel. Where the shadows fall
// is checked against the plan shadow polygons of the same moment (the shadow services of the
// 2D outlines) and against walls shaded by hand; ground points are found on the picture with
// GLU's own projection of the matrices the view left in OpenGL.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <tuple>
#include <unistd.h>

#include "SolxSample.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "acad/adsdef.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDtLayer.h"
#include "render/SolxRenderContext.h"
#include "solx/SolxSelUtility.h"
#include "solx/SolxShadowPoly.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

void AddBox(double x0, double y0, double x1, double y1, double height) {  // metres
    auto* poly = new AcDbPolyline;
    const double xs[] = {x0, x1, x1, x0}, ys[] = {y0, y0, y1, y1};
    for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xs[i] * 1000, ys[i] * 1000));
    poly->setClosed(true);
    poly->setThickness(height * 1000);
    poly->setLayer(VxDtGetLayerName(L"SUN-BUILDING").c_str());
    AddToModelSpace(poly);
}

// Light falling at altitude `alt` from the sun at azimuth `azi` (from south, west positive).
VxGePoint Light(double alt, double azi) {
    return {std::cos(alt) * std::sin(azi), std::cos(alt) * std::cos(azi), -std::sin(alt)};
}

struct Pixel {
    int x = -1, y = -1;  // picture pixel, rows from the top; -1 when off the picture
};

class SampleView : public ::testing::Test {
protected:
    void SetUp() override {
        acdbHostApplicationServices()->setWorkingDatabase(&m_db);
        VxDtInitStdLayer(L"SUN-BUILDING", &m_db);
    }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

    // Collects the drawing, makes the view and draws one frame.
    void Render(const VxGePoint& light, const VxGePoint& eye, const VxGePoint& target,
                bool faceShadow = false, double planeHeight = 0.0) {
        if (!m_view) {
            std::string error;
            auto context = CreateOffscreenRenderContext(kWidth, kHeight, error);
            ASSERT_TRUE(context) << error;
            m_view = std::make_unique<SolxSample>();
            ASSERT_TRUE(m_view->Create(std::move(context), false));
            m_view->CollectFromSelection(VxAdsEntSet(2));
        }
        m_view->m_faceShadow = faceShadow;
        m_view->m_planeHeight = planeHeight;
        m_view->BuildFaceArray();
        m_view->SetSunDirection(light);
        m_view->SetCamera(eye, target);
        m_view->Refresh();
        m_view->Paint();
        glGetDoublev(GL_PROJECTION_MATRIX, m_projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, m_modelView);
        glGetIntegerv(GL_VIEWPORT, m_viewport);
        m_rgb = m_view->Context()->ReadPixels();
        // SOLX_TEST_FRAMES=folder keeps every frame drawn, to look at.
        if (const char* folder = std::getenv("SOLX_TEST_FRAMES")) {
            std::string error;
            SolxWritePng(std::string(folder) + "/" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                             std::to_string(++m_frames) + ".png",
                         kWidth, kHeight, m_rgb, error);
        }
        ASSERT_EQ(m_rgb.size(), size_t{kWidth} * kHeight * 3);
    }

    Pixel At(const VxGePoint& p) const {
        double wx = 0, wy = 0, wz = 0;
        if (!gluProject(p.x, p.y, p.z, m_modelView, m_projection, m_viewport, &wx, &wy, &wz) ||
            wz < 0 || wz > 1)
            return {};
        const int x = static_cast<int>(std::floor(wx)),
                  y = kHeight - 1 - static_cast<int>(std::floor(wy));
        if (x < 2 || y < 2 || x >= kWidth - 2 || y >= kHeight - 2) return {};
        return {x, y};
    }
    int Brightness(Pixel px) const {
        const size_t at = (static_cast<size_t>(px.y) * kWidth + static_cast<size_t>(px.x)) * 3;
        return m_rgb[at] + m_rgb[at + 1] + m_rgb[at + 2];
    }

    AcDbDatabase m_db;
    std::unique_ptr<SolxSample> m_view;
    double m_projection[16] = {}, m_modelView[16] = {};
    int m_viewport[4] = {};
    std::vector<std::uint8_t> m_rgb;
    int m_frames = 0;
};

// The rings of a shadow shape: outer rings and holes alike.
std::vector<const AcDbRegionRing*> Rings(const SolxShadowShape& shape) {
    std::vector<const AcDbRegionRing*> rings;
    for (const AcDbRegionPolygon& polygon : shape) {
        rings.push_back(&polygon.outer);
        for (const AcDbRegionRing& hole : polygon.holes) rings.push_back(&hole);
    }
    return rings;
}

// Point in polygon (even-odd) and distance to the rings, for the shadow shape in metres.
bool Inside(const SolxShadowShape& shape, double x, double y) {
    bool in = false;
    for (const AcDbRegionRing* r : Rings(shape))
        for (size_t i = 0, j = r->size() - 1; i < r->size(); j = i++) {
            const AcGePoint2d &a = (*r)[i], &b = (*r)[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
    return in;
}
double Distance(const SolxShadowShape& shape, double x, double y) {
    double best = 1e300;
    for (const AcDbRegionRing* r : Rings(shape))
        for (size_t i = 0, j = r->size() - 1; i < r->size(); j = i++) {
            const AcGePoint2d &a = (*r)[j], &b = (*r)[i];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double t =
                std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            best = std::min(best, std::hypot(x - a.x - t * dx, y - a.y - t * dy));
        }
    return best;
}

// A 10 m cube at a known sun: the pixels of the ground, or of the analysis plane 4 m up (the
// cube cut by it), inside the plan shadow polygon of that moment on that plane are all darker
// than those outside it.
TEST_F(SampleView, PlaneShadowOfACubeLiesOnThePlanShadowPolygon) {
    AddBox(0, 0, 10, 10, 10);
    for (const auto& [alt, azi, plane] :
         {std::tuple{0.7, 0.5, 0.0}, std::tuple{0.45, -0.9, 0.0}, std::tuple{1.1, 2.6, 0.0},
          std::tuple{0.7, 0.5, 4.0}, std::tuple{0.45, -0.9, 4.0}}) {
        const VxGePoint light = Light(alt, azi);
        Render(light, {5, -15, 120}, {5, 5, 0}, false, plane);
        SolxShadowShape shadow;
        ASSERT_TRUE(GetShadePoly(shadow, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}, 0, 10000,
                                 light, plane * 1000));
        for (auto& polygon : shadow) {
            for (auto& p : polygon.outer) p = AcGePoint2d(p.x / 1000, p.y / 1000);
            for (auto& hole : polygon.holes)
                for (auto& p : hole) p = AcGePoint2d(p.x / 1000, p.y / 1000);
        }
        // The cube seen from the camera hides what lies behind its corners' screen box.
        int sx0 = kWidth, sy0 = kHeight, sx1 = 0, sy1 = 0;
        for (double x : {0.0, 10.0})
            for (double y : {0.0, 10.0})
                for (double z : {0.0, 10.0}) {
                    const Pixel c = At({x, y, z});
                    ASSERT_GE(c.x, 0);
                    sx0 = std::min(sx0, c.x), sx1 = std::max(sx1, c.x);
                    sy0 = std::min(sy0, c.y), sy1 = std::max(sy1, c.y);
                }
        int darkestLit = 1 << 20, brightestShade = -1, inside = 0, outside = 0;
        for (double x = -40; x <= 50; x += 1.5)
            for (double y = -40; y <= 50; y += 1.5) {
                if (Distance(shadow, x, y) < 0.6) continue;
                const Pixel px = At({x, y, plane});
                if (px.x < 0 ||
                    (px.x >= sx0 - 2 && px.x <= sx1 + 2 && px.y >= sy0 - 2 && px.y <= sy1 + 2))
                    continue;
                const int b = Brightness(px);
                if (Inside(shadow, x, y))
                    brightestShade = std::max(brightestShade, b), ++inside;
                else
                    darkestLit = std::min(darkestLit, b), ++outside;
            }
        EXPECT_GT(inside, 10) << alt << ' ' << azi << ' ' << plane;
        EXPECT_GT(outside, 100);
        EXPECT_LT(brightestShade + 30, darkestLit) << alt << ' ' << azi << ' ' << plane;
    }
}

// Face shadows: a tower between the sun and the south wall of a long low block darkens the
// part of the wall behind it (10 m wide, the whole storey) and nothing else; plane shadows
// leave the wall evenly lit.
TEST_F(SampleView, FaceShadowsDarkenTheWallBehindATower) {
    AddBox(0, 0, 10, 10, 40);                 // tower
    AddBox(-30, 20, 40, 30, 10);              // block, its south wall at y = 20
    const VxGePoint light = Light(0.5, 0.0);  // from the south, 29 degrees up
    const VxGePoint eye{-40, -50, 30}, target{5, 25, 5};
    // Wall points and whether the tower's shadow covers them: the tower's south face, shifted
    // north along the light by 20 m, lies 20 tan(0.5) = 10.9 m lower, still above the block.
    struct Sample {
        VxGePoint p;
        bool shaded;
    };
    std::vector<Sample> samples;
    for (double x = -25; x <= 35; x += 2.5)
        for (double z = 1.5; z <= 8.5; z += 3.5) {
            if (std::fabs(x) < 1 || std::fabs(x - 10) < 1) continue;  // the shadow's edges
            samples.push_back({{x, 20, z}, x > 0 && x < 10});
        }
    // Keep the samples that the camera sees past the tower (a ray and box test).
    auto seen = [&](const VxGePoint& p) {
        double t0 = 0, t1 = 1;
        const double o[3] = {eye.x, eye.y, eye.z}, d[3] = {p.x - eye.x, p.y - eye.y, p.z - eye.z};
        const double lo[3] = {-0.5, -0.5, -0.5}, hi[3] = {10.5, 10.5, 40.5};
        for (int k = 0; k < 3; ++k) {
            if (std::fabs(d[k]) < 1e-12) {
                if (o[k] < lo[k] || o[k] > hi[k]) return true;
                continue;
            }
            double a = (lo[k] - o[k]) / d[k], b = (hi[k] - o[k]) / d[k];
            if (a > b) std::swap(a, b);
            t0 = std::max(t0, a), t1 = std::min(t1, b);
        }
        return t0 > t1;
    };
    std::erase_if(samples, [&](const Sample& s) { return !seen(s.p); });
    ASSERT_GT(
        std::count_if(samples.begin(), samples.end(), [](const Sample& s) { return s.shaded; }), 3);

    // Faces no caster reaches look the same in both modes: the block's roof beside the tower's
    // shadow, its sunny south wall west of it, the tower's sunny south wall.
    const VxGePoint unshaded[] = {{-25, 25, 10}, {38, 26, 10}, {-20, 20, 5}, {5, 0, 20}};
    for (const VxGePoint& p : unshaded) ASSERT_TRUE(p.y <= 0 || seen(p)) << p.x;
    std::vector<int> planeLook;
    for (bool faceShadow : {false, true}) {
        Render(light, eye, target, faceShadow);
        for (size_t k = 0; k < std::size(unshaded); ++k) {
            const int b = Brightness(At(unshaded[k]));
            if (!faceShadow)
                planeLook.push_back(b);
            else
                EXPECT_NEAR(b, planeLook[k], 3) << k;
        }
        int darkestLit = 1 << 20, brightestShade = -1, lit = 0;
        for (const Sample& s : samples) {
            const Pixel px = At(s.p);
            ASSERT_GE(px.x, 0);
            const int b = Brightness(px);
            if (s.shaded && faceShadow)
                brightestShade = std::max(brightestShade, b);
            else
                darkestLit = std::min(darkestLit, b), ++lit;
            if (!faceShadow) brightestShade = std::max(brightestShade, b);
        }
        if (faceShadow)
            EXPECT_LT(brightestShade + 30, darkestLit);
        else  // no shadows on walls: the lit wall varies only by the lamp at the eye
            EXPECT_LT(brightestShade - darkestLit, 30);
        EXPECT_GT(lit, 10);
    }
}

// With the sun below the horizon there is no shadow and no sky: the ground is evenly dim and
// the sky above the horizon stays the clear colour; with the sun up the sky picture shows.
TEST_F(SampleView, SunBelowTheHorizonDrawsNoShadowAndNoSky) {
    AddBox(0, 0, 10, 10, 10);
    const VxGePoint eye{5, -60, 8}, target{5, 40, 8};  // looking north over the horizon
    Render(Light(0.6, 0.3), eye, target);
    ASSERT_TRUE(m_view->HasSky());
    EXPECT_GT(Brightness({kWidth / 2, 3}), 300);  // the sky picture's blue
    Render({0.2, 0.5, 0.8}, eye, target);         // light going up: the sun is down
    EXPECT_EQ(Brightness({kWidth / 2, 3}), 0);
    // Ground in front of the cube and behind it (where the sun-up shadow lay) look the same.
    const int a = Brightness(At({-10, 20, 0})), b = Brightness(At({20, 20, 0}));
    EXPECT_LE(std::abs(a - b), 6);
}

TEST_F(SampleView, SavesTheFrameAsPng) {
    AddBox(0, 0, 10, 10, 10);
    Render(Light(0.6, 0.3), {5, -40, 30}, {5, 5, 0});
    const auto path = std::filesystem::temp_directory_path() /
                      ("solx-frame-" + std::to_string(::getpid()) + ".png");
    std::string error;
    ASSERT_TRUE(m_view->SaveFrame(path.string(), error)) << error;
    std::ifstream in(path, std::ios::binary);
    char header[24] = {};
    in.read(header, sizeof header);
    EXPECT_EQ(std::string(header + 1, 3), "PNG");
    auto be32 = [&](int at) {
        return (static_cast<unsigned char>(header[at]) << 24) |
               (static_cast<unsigned char>(header[at + 1]) << 16) |
               (static_cast<unsigned char>(header[at + 2]) << 8) |
               static_cast<unsigned char>(header[at + 3]);
    };
    EXPECT_EQ(be32(16), kWidth);
    EXPECT_EQ(be32(20), kHeight);
    std::filesystem::remove(path);
    EXPECT_FALSE(m_view->SaveFrame("/nonexistent-folder/x.png", error));
    EXPECT_FALSE(error.empty());
}

// Navigation: the camera moves the stated steps; each expectation is worked out by hand.
TEST_F(SampleView, ArrowKeysWheelAndDragsMoveTheCamera) {
    AddBox(0, 0, 10, 10, 10);
    Render(Light(0.6, 0.3), {0, -50, 10}, {0, 0, 10});  // looking north, level
    SolxSample& v = *m_view;
    auto near = [](const VxGePoint& a, const VxGePoint& b) { return a.Distance3d(b) < 1e-9; };

    v.OnKeyDown(SolxSample::kKeyUp, 3, false, false);  // 3 m forward
    EXPECT_TRUE(near(v.m_eye, {0, -47, 10}));
    EXPECT_TRUE(near(v.m_target, {0, 3, 10}));
    EXPECT_TRUE(v.NeedsPaint());
    v.OnKeyDown(SolxSample::kKeyLeft, 2, false, false);  // 2 m to the west
    EXPECT_TRUE(near(v.m_eye, {-2, -47, 10}));
    v.OnKeyDown(SolxSample::kKeyUp, 1, false, true);  // Ctrl: 1 m up
    EXPECT_TRUE(near(v.m_eye, {-2, -47, 11}));
    EXPECT_TRUE(near(v.m_target, {-2, 3, 11}));
    // Shift+Left twice: 10 degrees to the left about the eye, same plan distance and height.
    v.OnKeyDown(SolxSample::kKeyLeft, 2, true, false);
    const double a = std::numbers::pi / 2 + 10 * std::numbers::pi / 180;
    EXPECT_TRUE(near(v.m_target, {-2 + 50 * std::cos(a), -47 + 50 * std::sin(a), 11}));
    // Ctrl+Right: a quarter turn to the right.
    v.OnKeyDown(SolxSample::kKeyRight, 1, false, true);
    EXPECT_TRUE(near(v.m_target, {-2 + 50 * std::cos(a - std::numbers::pi / 2),
                                  -47 + 50 * std::sin(a - std::numbers::pi / 2), 11}));
    // Shift+Up: the view rises 5 degrees.
    v.SetCamera({0, 0, 0}, {0, 20, 0});
    v.OnKeyDown(SolxSample::kKeyUp, 1, true, false);
    EXPECT_TRUE(near(v.m_target, {0, 20, 20 * std::tan(5 * std::numbers::pi / 180)}));
    v.OnKeyDown(SolxSample::kKeyDown, 1, true, false);
    EXPECT_TRUE(near(v.m_target, {0, 20, 0}));

    // The wheel: 10 m along the view, forward for a positive delta.
    v.SetCamera({0, 0, 0}, {0, 30, 40});
    v.OnMouseWheel(120);
    EXPECT_TRUE(near(v.m_eye, {0, 6, 8}));
    EXPECT_TRUE(near(v.m_target, {0, 36, 48}));
    v.OnMouseWheel(-120);
    EXPECT_TRUE(near(v.m_eye, {0, 0, 0}));

    // Middle drag: under 10 pixels nothing; 40 pixels to the right moves the scene with the
    // mouse, the camera 10 m to the left (west, looking north).
    v.SetCamera({0, 0, 5}, {0, 50, 5});
    v.OnMiddleButtonDown(100, 100);
    EXPECT_EQ(v.CurrentCursor(), SolxSample::Cursor::kPan);
    v.OnMouseMove(105, 103);
    EXPECT_TRUE(near(v.m_eye, {0, 0, 5}));
    v.OnMouseMove(140, 100);
    EXPECT_TRUE(near(v.m_eye, {-10, 0, 5}));
    EXPECT_TRUE(near(v.m_target, {-10, 50, 5}));
    v.OnMiddleButtonUp(140, 100);
    EXPECT_EQ(v.CurrentCursor(), SolxSample::Cursor::kNormal);

    // Left drag across a quarter of the width turns the view by an eighth of a turn about the
    // vertical, keeping the eye and the distance.
    v.SetCamera({0, 0, 5}, {0, 50, 5});
    v.OnLeftButtonDown(200, 150);
    EXPECT_EQ(v.CurrentCursor(), SolxSample::Cursor::kRotate);
    v.OnMouseMove(200 + kWidth / 4, 150);
    const VxGePoint view = v.m_target - v.m_eye;
    EXPECT_TRUE(near(v.m_eye, {0, 0, 5}));
    EXPECT_NEAR(view.z, 0, 1e-9);
    EXPECT_NEAR(std::hypot(view.x, view.y), 50, 1e-9);
    EXPECT_NEAR(std::fabs(std::atan2(view.x, view.y)), std::numbers::pi / 8, 1e-9);
    v.OnLeftButtonUp(0, 0);
    v.OnMouseMove(0, 0);  // no button: nothing moves
    EXPECT_NEAR(std::hypot(view.x, view.y),
                std::hypot((v.m_target - v.m_eye).x, (v.m_target - v.m_eye).y), 1e-12);
}

// The default view stands south of the model box, far enough back for its height (or a third
// of its width), a little above its middle.
TEST_F(SampleView, DefaultViewFramesTheModelBox) {
    AddBox(0, 0, 10, 10, 40);
    Render(Light(0.6, 0.3), {0, -50, 10}, {0, 0, 10});
    m_view->DefaultView();
    const double back = 1.8 * 40 / std::tan(std::numbers::pi / 8);  // 10 / 3 < 72
    EXPECT_NEAR(m_view->m_eye.Distance3d({5, -back, 20 + 0.6 * 40}), 0, 1e-9);
    EXPECT_NEAR(m_view->m_target.Distance3d({5, 5, 20}), 0, 1e-9);
}

// Straight down, the view leaves the look-at out: the projection is the perspective alone.
TEST_F(SampleView, AViewAlongTheUpVectorLeavesTheLookAtOut) {
    AddBox(0, 0, 10, 10, 10);
    Render(Light(0.6, 0.3), {5, 5, 100}, {5, 5, 0});
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(kWidth) / kHeight, 0.1f, 100000.0);
    double alone[16];
    glGetDoublev(GL_PROJECTION_MATRIX, alone);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(m_projection[i], alone[i]) << i;
}

// The sky picture: only uncompressed 24-bit BMPs are taken; anything else leaves the view
// without a sky, and the view goes on.
TEST(SampleSky, OnlyUncompressed24BitPicturesAreTaken) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("solx-sky-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto write = [&](const char* name, int bits, int compression, size_t pixelBytes) {
        std::vector<unsigned char> file(54 + pixelBytes, 0x40);
        auto put = [&](size_t at, std::uint32_t v) {
            for (int k = 0; k < 4; ++k)
                file[at + static_cast<size_t>(k)] = static_cast<unsigned char>(v >> (8 * k));
        };
        file[0] = 'B', file[1] = 'M';
        put(18, 3);  // 3 x 2 pixels: rows of 9 bytes padded to 12
        put(22, 2);
        file[28] = static_cast<unsigned char>(bits), file[29] = 0;
        put(30, static_cast<std::uint32_t>(compression));
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()),
                   static_cast<std::streamsize>(file.size()));
        return (folder / name).wstring();
    };
    SolxSample view;
    EXPECT_TRUE(view.LoadSky(write("good.bmp", 24, 0, 24)));
    EXPECT_TRUE(view.HasSky());
    EXPECT_FALSE(view.LoadSky(write("short.bmp", 24, 0, 23)));  // the last row cut short
    EXPECT_FALSE(view.HasSky());
    EXPECT_FALSE(view.LoadSky(write("deep.bmp", 32, 0, 24)));
    EXPECT_FALSE(view.LoadSky(write("packed.bmp", 24, 1, 24)));
    EXPECT_FALSE(view.LoadSky((folder / "missing.bmp").wstring()));
    std::filesystem::remove_all(folder);
}

// A context that paints the view again while a frame is being finished, as a window system
// may send a paint from inside another: the nested paint is dropped.
class ReentrantContext : public SolxRenderContext {
public:
    explicit ReentrantContext(std::unique_ptr<SolxRenderContext> inner)
        : m_inner(std::move(inner)) {}
    bool MakeCurrent() override { return ++madeCurrent, m_inner->MakeCurrent(); }
    void ReleaseCurrent() override { m_inner->ReleaseCurrent(); }
    void SwapBuffers() override {
        ++swaps;
        if (view) view->Paint();
        m_inner->SwapBuffers();
    }
    int Width() const override { return m_inner->Width(); }
    int Height() const override { return m_inner->Height(); }
    bool Resize(int w, int h) override { return m_inner->Resize(w, h); }
    std::vector<std::uint8_t> ReadPixels() override { return m_inner->ReadPixels(); }

    SolxSample* view = nullptr;
    int madeCurrent = 0, swaps = 0;

private:
    std::unique_ptr<SolxRenderContext> m_inner;
};

TEST(SamplePaint, ANestedPaintIsDropped) {
    std::string error;
    auto inner = CreateOffscreenRenderContext(64, 48, error);
    ASSERT_TRUE(inner) << error;
    auto context = std::make_unique<ReentrantContext>(std::move(inner));
    ReentrantContext& spy = *context;
    SolxSample view;
    ASSERT_TRUE(view.Create(std::move(context), false));
    view.BuildFaceArray();
    spy.view = &view;
    view.Refresh();
    const int before = spy.madeCurrent;
    view.Paint();
    EXPECT_EQ(spy.swaps, 1);                 // the nested paint drew nothing
    EXPECT_EQ(spy.madeCurrent, before + 1);  // and did not switch the context
    EXPECT_FALSE(view.NeedsPaint());
    view.Paint();
    EXPECT_EQ(spy.swaps, 2);  // the guard is down again after the frame
}

// The sample district (12 blocks with roofs, windows on their facades), seen from high above:
// every ground pixel the camera sees (its depth is the ground's) is dark inside the united plan
// shadow of the obstructions that the sibling selection reads from the same drawing, and
// bright outside it.
TEST(SampleDistrict, GroundShadowsMatchThePlanShadowsOfTheObstructions) {
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(SOLX_SOURCE_DIR L"/examples/district.dxf"), Acad::eOk);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    std::string error;
    auto context = CreateOffscreenRenderContext(kWidth, kHeight, error);
    ASSERT_TRUE(context) << error;
    SolxSample view;
    ASSERT_TRUE(view.Create(std::move(context), false));
    view.CollectFromSelection(VxAdsEntSet(2));
    view.BuildFaceArray();
    EXPECT_EQ(view.m_buildings.size(), 12u);
    EXPECT_EQ(view.m_windows.size(), 2336u);

    const VxGePoint light = Light(0.55, -0.35);
    view.SetSunDirection(light);
    const VxGePoint lo = view.m_boxMin, hi = view.m_boxMax;
    const VxGePoint centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, 0};
    const double across = std::max(hi.x - lo.x, hi.y - lo.y);
    view.SetCamera({centre.x, centre.y - 0.15 * across, 1.6 * across}, centre);
    view.Refresh();
    view.Paint();
    double projection[16], modelView[16];
    int viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<float> depth(static_cast<size_t>(kWidth) * kHeight);
    glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    const std::vector<std::uint8_t> rgb = view.Context()->ReadPixels();
    ASSERT_EQ(rgb.size(), size_t{kWidth} * kHeight * 3);

    // The plan shadow: every obstruction's shadow on the ground, united, in metres.
    SolxSelUtility selection;
    resbuf* filter = GetShadowObjectMask();
    ASSERT_EQ(selection.m_set1.Get(L"X", nullptr, nullptr, filter), RTNORM);
    acutRelRb(filter);
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    ASSERT_EQ(selection.CreateShadowModel(selection.m_set1, buildings, sources), RTNORM);
    std::vector<SolxShadowShape> shapes;
    for (const auto& b : buildings) {
        SolxShadowShape shape;
        if (GetShadePoly(shape, b->Outline(), b->Elevation(), b->Height(), light, 0))
            shapes.push_back(shape);
    }
    for (const auto& source : sources) {
        SolxShadowShape shape;
        if (source->GetShadowPoly(shape, light, 0)) shapes.push_back(shape);
    }
    SolxShadowShape shadow = UniteShadowShapes(shapes);
    // The footprints, where the picture shows the buildings' own walls at their feet.
    SolxShadowShape footprints;
    for (const auto& b : buildings) {
        AcDbRegionPolygon footprint;
        for (const VxGePoint& p : b->Outline())
            footprint.outer.emplace_back(p.x / 1000, p.y / 1000);
        footprints.push_back(footprint);
    }
    for (auto& polygon : shadow) {
        for (auto& p : polygon.outer) p = AcGePoint2d(p.x / 1000, p.y / 1000);
        for (auto& hole : polygon.holes)
            for (auto& p : hole) p = AcGePoint2d(p.x / 1000, p.y / 1000);
    }

    int darkestLit = 1 << 20, brightestShade = -1, inside = 0, outside = 0;
    for (double x = lo.x - 20; x <= hi.x + 20; x += 2)
        for (double y = lo.y - 20; y <= hi.y + 20; y += 2) {
            // A pixel is about a metre here.
            if (Distance(shadow, x, y) < 2.0 || Inside(footprints, x, y) ||
                Distance(footprints, x, y) < 2.0)
                continue;
            double wx, wy, wz;
            if (!gluProject(x, y, 0, modelView, projection, viewport, &wx, &wy, &wz)) continue;
            const int px = static_cast<int>(wx), py = static_cast<int>(wy);
            if (px < 1 || py < 1 || px >= kWidth - 1 || py >= kHeight - 1) continue;
            // A building stands in front of this ground point when the depth there is nearer:
            // from ~480 m away a metre of height is ~4e-7 of depth (near plane 0.1 m), one step
            // of the 24-bit depth buffer 6e-8.
            const float seen = depth[static_cast<size_t>(py) * kWidth + static_cast<size_t>(px)];
            if (std::fabs(seen - wz) > 2e-7) continue;
            const size_t at =
                (static_cast<size_t>(kHeight - 1 - py) * kWidth + static_cast<size_t>(px)) * 3;
            const int b = rgb[at] + rgb[at + 1] + rgb[at + 2];
            if (Inside(shadow, x, y))
                brightestShade = std::max(brightestShade, b), ++inside;
            else
                darkestLit = std::min(darkestLit, b), ++outside;
        }
    EXPECT_GT(inside, 200);
    EXPECT_GT(outside, 200);
    EXPECT_LT(brightestShade + 30, darkestLit);
    if (const char* folder = std::getenv("SOLX_TEST_FRAMES")) {
        std::string ignored;
        view.SaveFrame(std::string(folder) + "/district.png", ignored);
    }
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

}  // namespace
