// The plan's grid index against brute force over random scenes, and a view drawn from an index
// query against the picture file of the same drawing (the window and the files share the code).
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>

#include "PlotTestDrawing.h"
#include "plot/PlanDraw.h"
#include "plot/PlanIndex.h"
#include "plot/PlotScene.h"
#include "plot/SolxPlot.h"

namespace {

using solx::plot::Box;
using solx::plot::PlanIndex;
using solx::plot::Scene;

// Owners of a few strokes and dots each, spread over 0..1000, some long strokes across it all.
Scene RandomScene(unsigned seed, int owners) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> at(0, 1000), step(-20, 20);
    Scene scene;
    for (int o = 0; o < owners; ++o) {
        scene.owners.push_back({AcDbObjectId(), scene.strokes.size(), scene.labels.size(),
                                scene.dots.size(), scene.fills.size()});
        const int strokes = 1 + static_cast<int>(rng() % 3);
        for (int s = 0; s < strokes; ++s) {
            solx::plot::Stroke stroke;
            AcGePoint2d p(at(rng), at(rng));
            const bool longOne = rng() % 50 == 0;
            for (int i = 0; i < 4; ++i) {
                stroke.points.push_back(p);
                p = longOne ? AcGePoint2d(at(rng), at(rng))
                            : p + AcGeVector2d(step(rng), step(rng));
            }
            scene.strokes.push_back(stroke);
        }
        if (rng() % 2) scene.dots.push_back({AcGePoint2d(at(rng), at(rng)), {}});
    }
    return scene;
}

Box StrokeBox(const solx::plot::Stroke& s) {
    Box b;
    for (const auto& p : s.points) b.add(p.x, p.y);
    return b;
}

double SegmentDistance(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
    const AcGeVector2d ab = b - a;
    const double t = std::clamp((p - a).dotProduct(ab) / ab.dotProduct(ab), 0.0, 1.0);
    return (p - (a + ab * t)).length();
}

Box RandomArea(std::mt19937& rng) {
    std::uniform_real_distribution<double> at(-100, 1100), size(0, 300);
    Box area;
    const double x = at(rng), y = at(rng);
    area.add(x, y);
    area.add(x + size(rng), y + size(rng));
    return area;
}

TEST(PlanIndex, QueriesMatchBruteForce) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const Scene scene = RandomScene(seed, 2000);
        const PlanIndex index(scene);
        std::mt19937 rng(seed + 100);
        for (int q = 0; q < 200; ++q) {
            const Box area = RandomArea(rng);
            const auto items = index.Query(area);
            std::vector<size_t> strokes, dots;
            for (size_t i = 0; i < scene.strokes.size(); ++i)
                if (StrokeBox(scene.strokes[i]).meets(area)) strokes.push_back(i);
            for (size_t i = 0; i < scene.dots.size(); ++i) {
                const auto& p = scene.dots[i].at;
                if (p.x >= area.x0 && p.x <= area.x1 && p.y >= area.y0 && p.y <= area.y1)
                    dots.push_back(i);
            }
            ASSERT_EQ(items.strokes, strokes) << "seed " << seed << " query " << q;
            ASSERT_EQ(items.dots, dots) << "seed " << seed << " query " << q;
        }
    }
}

TEST(PlanIndex, WindowCrossingAndPickMatchBruteForce) {
    const Scene scene = RandomScene(7, 1500);
    const PlanIndex index(scene);
    auto ownerOf = [&](size_t stroke) {
        size_t o = 0;
        while (o + 1 < scene.owners.size() && scene.owners[o + 1].strokes <= stroke) ++o;
        return o;
    };
    std::mt19937 rng(8);
    for (int q = 0; q < 100; ++q) {
        const Box area = RandomArea(rng);
        std::vector<bool> crossing(scene.owners.size()), outside(scene.owners.size()),
            touched(scene.owners.size());
        for (size_t i = 0; i < scene.strokes.size(); ++i) {
            const Box b = StrokeBox(scene.strokes[i]);
            const size_t o = ownerOf(i);
            if (b.meets(area)) crossing[o] = touched[o] = true;
            if (!b.inside(area)) outside[o] = true;
        }
        for (size_t i = 0; i < scene.dots.size(); ++i) {
            size_t o = 0;
            while (o + 1 < scene.owners.size() && scene.owners[o + 1].dots <= i) ++o;
            Box b;
            b.add(scene.dots[i].at.x, scene.dots[i].at.y);
            if (b.meets(area)) crossing[o] = touched[o] = true;
            if (!b.inside(area)) outside[o] = true;
        }
        std::vector<size_t> wantC, wantW;
        for (size_t o = 0; o < scene.owners.size(); ++o) {
            if (crossing[o]) wantC.push_back(o);
            if (touched[o] && !outside[o]) wantW.push_back(o);
        }
        EXPECT_EQ(index.Window(area, true), wantC) << q;
        EXPECT_EQ(index.Window(area, false), wantW) << q;
    }
    std::uniform_real_distribution<double> at(0, 1000);
    for (int q = 0; q < 200; ++q) {
        const AcGePoint2d p(at(rng), at(rng));
        const double aperture = 5;
        double best = std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < scene.strokes.size(); ++i) {
            const auto& pts = scene.strokes[i].points;
            for (size_t k = 0; k + 1 < pts.size(); ++k)
                best = std::min(best, SegmentDistance(p, pts[k], pts[k + 1]));
            if (scene.strokes[i].closed && pts.size() > 2)
                best = std::min(best, SegmentDistance(p, pts.back(), pts.front()));
        }
        const long got = index.Pick(p, aperture);
        if (got < 0) continue;  // a dot may be the nearest; only strokes are checked here
        const auto items = index.ItemsOf({static_cast<size_t>(got)});
        // An owner with fills, labels or dots may be picked by their boxes; strokes only here.
        if (!items.fills.empty() || !items.labels.empty() || !items.dots.empty()) continue;
        double mine = std::numeric_limits<double>::infinity();
        for (size_t i : items.strokes) {
            const auto& pts = scene.strokes[i].points;
            for (size_t k = 0; k + 1 < pts.size(); ++k)
                mine = std::min(mine, SegmentDistance(p, pts[k], pts[k + 1]));
            if (scene.strokes[i].closed && pts.size() > 2)
                mine = std::min(mine, SegmentDistance(p, pts.back(), pts.front()));
        }
        if (std::isfinite(mine)) {
            EXPECT_LE(mine, std::min(best, aperture) + 1e-9) << q;
        }
    }
}

TEST(PlanIndex, EmptySceneAnswersNothing) {
    const Scene scene;
    const PlanIndex index(scene);
    Box all;
    all.add(-1e9, -1e9), all.add(1e9, 1e9);
    EXPECT_TRUE(index.Query(all).strokes.empty());
    EXPECT_TRUE(index.Window(all, true).empty());
    EXPECT_EQ(index.Pick({0, 0}, 10), -1);
    EXPECT_TRUE(index.Extents().empty());
}

// The right half of a view drawn from an index query of that half is, pixel for pixel, the
// right half of the picture file: what a window shows agrees with the pictures.
TEST(PlanIndex, PartialViewAgreesWithThePictureFile) {
    auto db = solx::plot::test::MakeTestDrawing(false);
    const auto file = std::filesystem::temp_directory_path() /
                      ("solx-planview-" + std::to_string(::getpid()) + ".png");
    SolxPlotOptions options;
    options.widthPixels = 400, options.marginPixels = 20, options.drawTip = false;
    SolxPlotReport report;
    std::string error;
    ASSERT_TRUE(solxPlotDrawing(db.get(), file.string(), options, report, error)) << error;
    cairo_surface_t* picture = cairo_image_surface_create_from_png(file.c_str());
    std::filesystem::remove(file);
    ASSERT_EQ(cairo_image_surface_get_height(picture), 256);  // as the test drawing says

    const Scene scene = solx::plot::BuildScene(*db);
    const PlanIndex index(scene);
    solx::plot::PlanView view;  // 3.6 pixels a unit, x 0 at column 20, y 0 at row 236
    view.scale = 3.6, view.offsetX = 20, view.offsetY = 236, view.width = 400, view.height = 256;
    Box right;  // the world under columns 200..400
    right.add((200 - 20) / 3.6, (236 - 256) / 3.6);
    right.add((400 - 20) / 3.6, 236 / 3.6);
    const auto items = index.Query(right);
    EXPECT_LT(items.strokes.size(), scene.strokes.size());  // the square is left of it
    cairo_surface_t* drawn = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 256);
    cairo_t* cr = cairo_create(drawn);
    solx::plot::DrawStats stats;
    solx::plot::DrawScene(cr, view, scene, &items, stats);
    cairo_destroy(cr);
    cairo_surface_flush(drawn);
    size_t differ = 0, ink = 0;
    for (int y = 0; y < 256; ++y) {
        const auto* a = reinterpret_cast<const uint32_t*>(
            cairo_image_surface_get_data(picture) + y * cairo_image_surface_get_stride(picture));
        const auto* b = reinterpret_cast<const uint32_t*>(
            cairo_image_surface_get_data(drawn) + y * cairo_image_surface_get_stride(drawn));
        for (int x = 202; x < 400; ++x) {
            differ += (a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF);
            ink += (a[x] & 0xFFFFFF) != 0xFFFFFF;
        }
    }
    EXPECT_GT(ink, 50u);  // the red line and the green block line are there
    EXPECT_EQ(differ, 0u);
    cairo_surface_destroy(drawn);
    cairo_surface_destroy(picture);
}

}  // namespace

namespace {

// Level of detail: every item a view shows is either listed or a speck, never both and never
// lost; specks are exactly the strokes smaller than the limit both ways; dots always listed.
TEST(PlanIndex, DetailSplitsTheItemsByTheirSize) {
    const Scene scene = RandomScene(11, 2000);
    const PlanIndex index(scene);
    std::mt19937 rng(12);
    for (double tiny : {5.0, 20.0, 60.0}) {
        for (int q = 0; q < 50; ++q) {
            const Box area = RandomArea(rng);
            std::vector<solx::plot::Speck> specks;
            const auto coarse = index.Query(area, tiny, specks);
            const auto all = index.Query(area);
            std::vector<size_t> big;
            size_t small = 0;
            for (size_t i : all.strokes) {
                const Box b = StrokeBox(scene.strokes[i]);
                if (std::max(b.x1 - b.x0, b.y1 - b.y0) >= tiny)
                    big.push_back(i);
                else
                    ++small;
            }
            ASSERT_EQ(coarse.strokes, big) << tiny << ' ' << q;
            ASSERT_EQ(specks.size(), small) << tiny << ' ' << q;
            ASSERT_EQ(coarse.dots, all.dots);
        }
    }
}

// A stroke smaller than the detail limit is one pixel of its own colour exactly where it lies
// (y up in the world, down on the picture); the long one is still drawn.
TEST(PlanIndex, SpeckLandsOnItsPixel) {
    Scene scene;
    scene.owners.push_back({});
    solx::plot::Stroke tiny{{{30.2, 10.2}, {30.4, 10.3}}, false, {1, 0, 0}};
    solx::plot::Stroke rule{{{0, 40}, {90, 40}}, false, {0, 0, 0}};
    scene.strokes = {tiny, rule};
    const PlanIndex index(scene);
    solx::plot::PlanView view;  // 2 pixels a unit, y 0 at row 100
    view.scale = 2, view.offsetX = 0, view.offsetY = 100, view.width = 200, view.height = 120;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 120);
    solx::plot::PlanDrawStats stats;
    solx::plot::DrawPlan(image, view, scene, index, 1.5, stats);
    EXPECT_EQ(stats.specks, 1u);
    EXPECT_EQ(stats.drawn, 1u);
    cairo_surface_flush(image);
    auto at = [&](int x, int y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image));
        return row[x] & 0xffffff;
    };
    EXPECT_EQ(at(60, 79), 0xff0000u) << "x 30.3 * 2, y 100 - 10.25 * 2";
    EXPECT_EQ(at(60, 78), 0xffffffu);
    EXPECT_LT(at(90, 20) >> 16, 0x80u) << "the rule at y 40";
    cairo_surface_destroy(image);
}

}  // namespace
