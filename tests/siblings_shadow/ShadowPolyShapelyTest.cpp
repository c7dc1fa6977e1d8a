// Shadow polygons against shapely's own construction of the same shadows
// (tests/siblings_shadow/shadow_poly_check.py): area and outline within 1e-6 relative.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "SunRay.h"
#include "solx/SolxShadowSource.h"

namespace {

struct Writer {
    std::ostringstream out;
    bool first = true;
    Writer() { out.precision(17); }

    void Point(double x, double y) { out << '[' << x << ',' << y << ']'; }
    void Ring(const AcDbRegionRing& ring) {
        out << '[';
        for (size_t i = 0; i < ring.size(); ++i) {
            if (i) out << ',';
            Point(ring[i].x, ring[i].y);
        }
        out << ']';
    }
    void Shape(const SolxShadowShape& shape) {
        out << '[';
        for (size_t k = 0; k < shape.size(); ++k) {
            out << (k ? "," : "") << "{\"outer\":";
            Ring(shape[k].outer);
            out << ",\"holes\":[";
            for (size_t h = 0; h < shape[k].holes.size(); ++h) {
                if (h) out << ',';
                Ring(shape[k].holes[h]);
            }
            out << "]}";
        }
        out << ']';
    }
    void Begin(const std::string& name, const char* kind, const VxGePoint& light, double plane,
               bool validOnly) {
        out << (first ? "" : ",\n") << "{\"name\":\"" << name << "\",\"kind\":\"" << kind
            << "\",\"light\":[" << light.x << ',' << light.y << ',' << light.z
            << "],\"plane\":" << plane << ",\"validOnly\":" << (validOnly ? "true" : "false");
        first = false;
    }
};

struct PrismCase {
    std::string name;
    std::vector<VxGePoint> outline;
    double elevation, height, plane;
    VxGePoint light;
    bool validOnly = false;
};

struct FaceCase {
    std::string name;
    std::vector<SolxFace3d> faces;
    double plane;
    VxGePoint light;
};

std::vector<VxGePoint> Circle(double cx, double cy, double r, int n, bool clockwise) {
    std::vector<VxGePoint> out;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n * (clockwise ? -1 : 1);
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

// A D: a half circle on a chord, as an outline with an arc arrives (the arc as chords).
std::vector<VxGePoint> DShape() {
    std::vector<VxGePoint> out = {{0, -10}};
    for (int i = 0; i <= 32; ++i) {
        const double a = -std::numbers::pi / 2 + std::numbers::pi * i / 32;
        out.push_back({10 * std::cos(a), 10 * std::sin(a)});
    }
    return out;
}

std::vector<PrismCase> PrismCases() {
    const VxGePoint morning = LightFrom(Deg(25), Deg(-60));
    const VxGePoint afternoon = LightFrom(Deg(38), Deg(45));
    const std::vector<VxGePoint> ell = {{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 40}, {0, 40}};
    std::vector<VxGePoint> ellClockwise(ell.rbegin(), ell.rend());
    ellClockwise.push_back(ellClockwise.front());  // closing point repeated
    const std::vector<VxGePoint> court = {{0, 0},   {40, 0},  {40, 40}, {25, 40},
                                          {25, 12}, {15, 12}, {15, 40}, {0, 40}};
    std::vector<VxGePoint> star;
    for (int i = 0; i < 10; ++i) {
        const double a = std::numbers::pi * i / 5, r = i % 2 ? 8 : 20;
        star.push_back({r * std::cos(a), r * std::sin(a)});
    }
    const std::vector<VxGePoint> square = {{0, 0}, {12, 0}, {12, 12}, {0, 12}};
    return {
        {"square on the plane", square, 0, 30, 0, morning},
        {"L-shape", ell, 0, 20, 0, morning},
        {"L-shape clockwise, closing point repeated", ellClockwise, 0, 20, 0, afternoon},
        {"U-shaped court", court, 0, 25, 0, LightFrom(Deg(20), Deg(180))},
        {"U-shaped court across", court, 0, 25, 0, LightFrom(Deg(15), Deg(100))},
        {"star", star, 0, 12, 0, afternoon},
        {"floating slab", ell, 18, 3, 0, morning},
        {"floating slab over a raised plane", court, 18, 3, 5, afternoon},
        {"L-shape cut by the plane", ell, -6, 20, 4, morning},
        {"star cut by the plane", star, -10, 15, 1.5, LightFrom(Deg(60), Deg(10))},
        {"below the plane", ell, -6, 5, 0, morning},
        {"circle (64 chords)", Circle(5, 5, 10, 64, false), 0, 15, 0, morning},
        {"circle clockwise", Circle(5, 5, 10, 64, true), 2, 15, 0, afternoon},
        {"half circle on a chord", DShape(), 0, 15, 0, LightFrom(Deg(30), Deg(150))},
        {"L-shape at a low sun", ell, 0, 20, 0, LightFrom(Deg(0.5), Deg(-80))},
        {"L-shape at the zenith", ell, 0, 20, 0, {0, 0, -1}},
        {"bow tie", {{0, 0}, {20, 20}, {20, 0}, {0, 20}}, 0, 10, 0, morning, true},
        {"self-crossing star", Circle(0, 0, 10, 5, false), 0, 10, 0, morning, true},
    };
}

std::vector<FaceCase> FaceCases() {
    const VxGePoint sun = LightFrom(Deg(32), Deg(-40));
    auto quad = [](VxGePoint a, VxGePoint b, VxGePoint c, VxGePoint d) {
        return SolxFace3d{{a, b, c, d}, 4};
    };
    auto tri = [](VxGePoint a, VxGePoint b, VxGePoint c) { return SolxFace3d{{a, b, c, c}, 3}; };
    // A gable roof on a 20 x 10 plan, eaves at 15, ridge at 19, as two slopes and two gables.
    const std::vector<SolxFace3d> gable = {quad({0, 0, 15}, {20, 0, 15}, {20, 5, 19}, {0, 5, 19}),
                                           quad({0, 10, 15}, {0, 5, 19}, {20, 5, 19}, {20, 10, 15}),
                                           tri({0, 0, 15}, {0, 5, 19}, {0, 10, 15}),
                                           tri({20, 0, 15}, {20, 10, 15}, {20, 5, 19})};
    return {
        {"tilted triangle", {tri({0, 0, 3}, {10, 2, 8}, {4, 9, 14})}, 0, sun},
        {"canopy", {quad({0, 0, 6}, {8, 0, 6}, {8, 5, 6}, {0, 5, 6})}, 0, sun},
        {"vertical wall", {quad({0, 0, 0}, {10, 3, 0}, {10, 3, 9}, {0, 0, 9})}, 0, sun},
        {"gable roof", gable, 0, sun},
        {"gable roof over a raised plane", gable, 17, sun},
        {"triangle cut by the plane", {tri({0, 0, -4}, {10, 0, 6}, {3, 8, 2})}, 1, sun},
        {"quad cut by the plane", {quad({0, 0, -2}, {10, 0, -2}, {10, 6, 6}, {0, 6, 6})}, 0, sun},
        {"folded quad", {quad({0, 0, 2}, {10, 0, 12}, {10, 10, 2}, {0, 10, 12})}, 0, sun},
        {"face parallel to the light", {quad({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0})}, 0, sun},
        {"faces wholly below", {tri({0, 0, -4}, {10, 0, -6}, {3, 8, -2})}, 0, sun},
    };
}

// A face that holds the light's direction: its corners go along the light and across it.
SolxFace3d EdgeOnFace(const VxGePoint& light) {
    const VxGePoint a{0, 0, 10}, across{-light.y, light.x, 0};
    auto at = [&](double s, double t) {
        return VxGePoint{a.x + s * light.x * 8 + t * across.x * 6,
                         a.y + s * light.y * 8 + t * across.y * 6, a.z + s * light.z * 8};
    };
    return {{at(0, 0), at(0, 1), at(1, 1), at(1, 0)}, 4};
}

std::string RunChecker(const std::string& json, std::vector<std::string>& verdicts, int& status) {
    const auto dir = std::filesystem::path(SOLX_BINARY_DIR) / "test-scratch" / "shadow-poly" /
                     std::to_string(static_cast<long>(getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "cases.json";
    std::ofstream(file) << json;
    FILE* pipe =
        popen(("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/siblings_shadow/shadow_poly_check.py '" +
               file.string() + "' 2>&1")
                  .c_str(),
              "r");
    if (!pipe) return "cannot start the checker";
    std::string output;
    std::array<char, 4096> buf;
    while (size_t n = fread(buf.data(), 1, buf.size(), pipe)) output.append(buf.data(), n);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) verdicts.push_back(line);
    return output;
}

TEST(ShadowPolyShapely, PrismsFacesAndUnionsMatchAnIndependentConstruction) {
    Writer w;
    w.out << "{\"cases\":[\n";
    std::vector<std::string> names;
    std::vector<SolxShadowShape> all;
    for (const PrismCase& c : PrismCases()) {
        SolxShadowShape shadow;
        GetShadePoly(shadow, c.outline, c.elevation, c.height, c.light, c.plane);
        w.Begin(c.name, "prism", c.light, c.plane, c.validOnly);
        w.out << ",\"elevation\":" << c.elevation << ",\"height\":" << c.height << ",\"outline\":[";
        for (size_t i = 0; i < c.outline.size(); ++i) {
            if (i) w.out << ',';
            w.Point(c.outline[i].x, c.outline[i].y);
        }
        w.out << "],\"result\":";
        w.Shape(shadow);
        w.out << '}';
        names.push_back(c.name);
        all.push_back(shadow);
    }
    std::vector<FaceCase> faces = FaceCases();
    const VxGePoint sun = faces.front().light;
    faces.back().faces.push_back(EdgeOnFace(sun));
    faces[faces.size() - 2].faces = {EdgeOnFace(sun)};
    for (const FaceCase& c : faces) {
        SolxShadowShape shadow;
        SolxShadowSource(c.faces).GetShadowPoly(shadow, c.light, c.plane);
        w.Begin(c.name, "faces", c.light, c.plane, false);
        w.out << ",\"faces\":[";
        for (size_t f = 0; f < c.faces.size(); ++f) {
            w.out << (f ? "," : "") << '[';
            for (int i = 0; i < c.faces[f].count; ++i) {
                const VxGePoint& p = c.faces[f].pt[i];
                w.out << (i ? "," : "") << '[' << p.x << ',' << p.y << ',' << p.z << ']';
            }
            w.out << ']';
        }
        w.out << "],\"result\":";
        w.Shape(shadow);
        w.out << '}';
        names.push_back(c.name);
        all.push_back(shadow);
    }
    // Everything above united at once, against shapely's union of the same polygons.
    w.Begin("union of all the shadows above", "union", sun, 0, false);
    w.out << ",\"shapes\":[";
    for (size_t i = 0; i < all.size(); ++i) {
        if (i) w.out << ',';
        w.Shape(all[i]);
    }
    w.out << "],\"result\":";
    w.Shape(UniteShadowShapes(all));
    w.out << "}\n]}\n";
    names.push_back("union of all the shadows above");

    std::vector<std::string> verdicts;
    int status = -1;
    const std::string output = RunChecker(w.out.str(), verdicts, status);
    ASSERT_EQ(verdicts.size(), names.size()) << output;
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(verdicts[i], names[i] + ": ok");
    EXPECT_EQ(status, 0) << output;
}

}  // namespace
