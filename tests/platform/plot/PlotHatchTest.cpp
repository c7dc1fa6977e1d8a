// Hatches read from a file: their boundaries against ezdxf's reading, and the scene they give.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "acad/AcDbBlockTableRecord.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbHatch.h"
#include "plot/PlotScene.h"

namespace {

struct EzdxfLoop {
    double area, firstX, firstY;
};

// Writes the sample drawing with ezdxf; its reading of each loop, by hatch handle.
std::map<std::string, std::vector<EzdxfLoop>> MakeSample(const std::string& file) {
    const std::string command = "/usr/bin/python3 " SOLX_SOURCE_DIR
                                "/tests/platform/plot/make_hatch_samples.py '" +
                                file + "'";
    std::map<std::string, std::vector<EzdxfLoop>> loops;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return loops;
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    EXPECT_EQ(::pclose(pipe), 0) << text;
    std::istringstream lines(text);
    std::string handle;
    int index = 0;
    EzdxfLoop loop{};
    while (lines >> handle >> index >> loop.area >> loop.firstX >> loop.firstY)
        loops[handle].push_back(loop);
    return loops;
}

// The loop's area with its bulged sides as arcs (a positive bulge turns left of the side).
double LoopArea(const AcDbHatch::Loop& loop) {
    double twice = 0, arcs = 0;
    const size_t n = loop.points.size();
    for (size_t i = 0; i < n; ++i) {
        const AcGePoint2d& a = loop.points[i];
        const AcGePoint2d& b = loop.points[(i + 1) % n];
        twice += a.x * b.y - b.x * a.y;
        const double bulge = loop.bulges.empty() ? 0.0 : loop.bulges[i];
        if (bulge == 0) continue;
        const double angle = 4 * std::atan(std::abs(bulge));
        const double radius = std::hypot(b.x - a.x, b.y - a.y) / (2 * std::sin(angle / 2));
        arcs += std::copysign(radius * radius / 2 * (angle - std::sin(angle)), -bulge);
    }
    return std::abs(twice / 2 - arcs * (twice < 0 ? -1 : 1));
}

std::string HandleOf(const AcDbEntity& e) {
    const std::wstring text = e.handle().toString();
    return std::string(text.begin(), text.end());
}

TEST(PlotHatch, LoadedHatchesReadAsEzdxfReadsThem) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("solx-hatch-" + std::to_string(::getpid()) + ".dxf"))
                                 .string();
    const auto expected = MakeSample(file);
    ASSERT_EQ(expected.size(), 5u);
    AcDbDatabase db;
    ASSERT_EQ(db.readDxfFile(std::wstring(file.begin(), file.end()).c_str()), Acad::eOk);
    std::filesystem::remove(file);

    int read = 0, refused = 0;
    auto* space = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    for (AcDbBlockTableRecordIterator it(space); !it.done(); it.step()) {
        AcDbObjectId id;
        ASSERT_EQ(it.getEntityId(id), Acad::eOk);
        auto* e = dynamic_cast<AcDbEntity*>(id.object());
        auto* unknown = dynamic_cast<AcDbUnknownEntity*>(e);
        ASSERT_NE(unknown, nullptr) << "a loaded hatch is kept as written";
        const auto hatch = AcDbHatch::fromDxfTags(unknown->keptTags());
        const auto& loops = expected.at(HandleOf(*e));
        if (!hatch) {
            ++refused;
            continue;
        }
        ++read;
        ASSERT_EQ(hatch->numLoops(), static_cast<int>(loops.size())) << HandleOf(*e);
        for (int i = 0; i < hatch->numLoops(); ++i) {
            const auto& loop = hatch->loopAt(i);
            // Arcs as 5-degree chords lose less than 0.2% of a circle's area.
            EXPECT_NEAR(LoopArea(loop), loops[i].area, 2e-3 * loops[i].area) << HandleOf(*e);
            EXPECT_NEAR(loop.points[0].x, loops[i].firstX, 1e-9) << HandleOf(*e);
            EXPECT_NEAR(loop.points[0].y, loops[i].firstY, 1e-9) << HandleOf(*e);
        }
    }
    EXPECT_EQ(read, 4);
    EXPECT_EQ(refused, 1);  // the spline edge

    // The three solid hatches read are filled in their colours; the pattern shows its loop.
    const auto scene = solx::plot::BuildScene(db);
    ASSERT_EQ(scene.fills.size(), 3u);
    EXPECT_EQ(scene.fills[0].colour, solx::plot::AciColour(1));
    EXPECT_EQ(scene.fills[0].rings.size(), 2u);  // the outline and its hole
    EXPECT_EQ(scene.fills[2].colour, solx::plot::AciColour(5));
    EXPECT_NEAR(scene.fills[2].rings[0][0].x, 66, 1e-9);  // mirrored out of the -Z plane
    ASSERT_EQ(scene.strokes.size(), 1u);
    EXPECT_EQ(scene.strokes[0].points.size(), 3u);
}

}  // namespace
