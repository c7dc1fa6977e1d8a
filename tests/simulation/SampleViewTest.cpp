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
#include <unistd.h>

#include "SolxSample.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDtLayer.h"
#include "render/SolxRenderContext.h"
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
                bool faceShadow = false) {
        if (!m_view) {
            std::string error;
            auto context = CreateOffscreenRenderContext(kWidth, kHeight, error);
            ASSERT_TRUE(context) << error;
            m_view = std::make_unique<SolxSample>();
            ASSERT_TRUE(m_view->Create(std::move(context), false));
            m_view->CollectFromSelection(VxAdsEntSet(2));
        }
        m_view->m_faceShadow = faceShadow;
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

// A 10 m cube at a known sun: the ground pixels inside the plan shadow polygon of that moment
// are all darker than those outside it, and the cube's own sunny roof stays bright.
TEST_F(SampleView, PlaneShadowOfACubeLiesOnThePlanShadowPolygon) {
    AddBox(0, 0, 10, 10, 10);
    for (const auto& [alt, azi] :
         {std::pair{0.7, 0.5}, std::pair{0.45, -0.9}, std::pair{1.1, 2.6}}) {
        const VxGePoint light = Light(alt, azi);
        Render(light, {5, -15, 120}, {5, 5, 0});
        SolxShadowShape shadow;
        ASSERT_TRUE(GetShadePoly(shadow, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}, 0, 10000,
                                 light, 0));
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
                const Pixel px = At({x, y, 0});
                if (px.x < 0 ||
                    (px.x >= sx0 - 2 && px.x <= sx1 + 2 && px.y >= sy0 - 2 && px.y <= sy1 + 2))
                    continue;
                const int b = Brightness(px);
                if (Inside(shadow, x, y))
                    brightestShade = std::max(brightestShade, b), ++inside;
                else
                    darkestLit = std::min(darkestLit, b), ++outside;
            }
        EXPECT_GT(inside, 10) << alt << ' ' << azi;
        EXPECT_GT(outside, 100);
        EXPECT_LT(brightestShade + 30, darkestLit) << alt << ' ' << azi;
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

    for (bool faceShadow : {true, false}) {
        Render(light, eye, target, faceShadow);
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

}  // namespace
