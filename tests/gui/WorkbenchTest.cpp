// The workbench window on the sample district under Xvfb: a script played in the window zooms,
// runs the window analysis through its real setup dialog (its table drawn in the plan), hovers
// the real mouse pointer over the plan during the single-point query (the tip window beside the
// cursor) and opens the 3D simulation window. Screenshots taken by the window are checked by
// their pixels and kept in build/gui-screenshots for a person.
#include <cairo.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "CommandOutput.h"
#include "XvfbServer.h"

namespace {

namespace fs = std::filesystem;

using guitest::Xvfb;

struct Rgb {
    int r, g, b;
};

// A PNG read with cairo: pixels by (x, y).
class Picture {
public:
    explicit Picture(const fs::path& path)
        : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface_); }
    bool Ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int Width() const { return cairo_image_surface_get_width(surface_); }
    int Height() const { return cairo_image_surface_get_height(surface_); }
    Rgb At(int x, int y) const {
        const auto* row = reinterpret_cast<const uint32_t*>(
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_));
        const uint32_t p = row[x];
        return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255),
                static_cast<int>(p & 255)};
    }

private:
    cairo_surface_t* surface_;
};

// Where the window said the plan and the cursor were when it took a screenshot.
struct Shot {
    int planX = 0, planY = 0, planW = 0, planH = 0, cursorX = 0, cursorY = 0;
};

bool FindShot(const std::string& output, const std::string& name, Shot& shot) {
    const std::regex line("screenshot [^\\n]*" + name +
                          ": plan (-?\\d+),(-?\\d+) (\\d+)x(\\d+) cursor (-?\\d+),(-?\\d+)");
    std::smatch m;
    if (!std::regex_search(output, m, line)) return false;
    shot = {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]),
            std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])};
    return true;
}

// The other windows the window said were open in a screenshot (dialogs, the simulation window).
struct Window {
    int x = 0, y = 0, w = 0, h = 0;
    std::string title;
};

std::vector<Window> FindWindows(const std::string& output, const std::string& name) {
    std::vector<Window> windows;
    const std::regex line("screenshot [^\\n]*" + name + ": [^\\n]*");
    std::smatch m;
    if (!std::regex_search(output, m, line)) return windows;
    const std::string text = m.str();
    const std::regex entry(" window (-?\\d+),(-?\\d+) (\\d+)x(\\d+) \"([^\"]*)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry);
         it != std::sregex_iterator(); ++it)
        windows.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]),
                           std::stoi((*it)[4]), (*it)[5]});
    return windows;
}

bool IsWhite(const Rgb& c) {
    return c.r > 245 && c.g > 245 && c.b > 245;
}
// Dark enough to be line work or text, not the crosshair's grey.
bool IsInk(const Rgb& c) {
    return !IsWhite(c) && !(c.r == 60 && c.g == 60 && c.b == 60);
}

// Pixels of the plan (inside a border that leaves the crosshair's pick box out) that are ink.
size_t InkPixels(const Picture& p, const Shot& s) {
    size_t ink = 0;
    for (int y = s.planY + 2; y < s.planY + s.planH - 2; ++y)
        for (int x = s.planX + 2; x < s.planX + s.planW - 2; ++x)
            if (std::abs(x - s.cursorX) > 8 && std::abs(y - s.cursorY) > 8 && IsInk(p.At(x, y)))
                ++ink;
    return ink;
}

// Rows of the plan crossed by one unbroken ink run of at least `length` pixels (a table's rules).
int LongRuleRows(const Picture& p, const Shot& s, int length) {
    int rows = 0;
    for (int y = s.planY + 2; y < s.planY + s.planH - 2; ++y) {
        if (std::abs(y - s.cursorY) <= 1) continue;
        int run = 0, best = 0;
        for (int x = s.planX + 2; x < s.planX + s.planW - 2; ++x) {
            run = IsInk(p.At(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best >= length) ++rows;
    }
    return rows;
}

constexpr Rgb kTipBackground{255, 255, 225};

// The highlight's strong blue, in the plan.
size_t HighlightPixels(const Picture& p, const Shot& s) {
    size_t n = 0;
    for (int y = s.planY; y < s.planY + s.planH; ++y)
        for (int x = s.planX; x < s.planX + s.planW; ++x) {
            const Rgb c = p.At(x, y);
            n += c.b > 200 && c.r < 80 && c.g < 150;
        }
    return n;
}

TEST(Workbench, SampleDistrictPlanTableAndTip) {
    if (!guitest::Installed("Xvfb")) {
        if (std::getenv("CI"))
            FAIL() << "Xvfb is not installed; CI installs it (scripts/packages.txt)";
        GTEST_SKIP() << "Xvfb is not installed (apt-get install xvfb): the window is not tested";
    }
    Xvfb server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    const fs::path shots = fs::path(SOLX_BINARY_DIR) / "gui-screenshots";
    const fs::path work = fs::temp_directory_path() / ("solx-gui-" + std::to_string(::getpid()));
    fs::create_directories(shots);
    fs::create_directories(work);
    const std::string dir = shots.string();
    std::ofstream(work / "run.scr")
        << "; the whole plan, then the empty ground below the site where the tables go\n"
        << "@zoom extents\n@screenshot " << dir << "/plan.png\n"
        << "@zoom -30000,-480000 50000,-300000\n@screenshot " << dir << "/table-before.png\n"
        << "; what the first window selected shows highlighted while the command goes on\n"
        << "@zoom extents\nVxWinSunAna\nW 140000,64000 180000,90000\n@screenshot " << dir
        << "/selected.png\nW 215000,64000 260000,90000\n\nALL\n\n"
        << "; the setup dialog on screen, before and after a value is typed into it\n"
        << "@screenshot " << dir << "/setup-open.png\n@set 2072 2.5\n@screenshot " << dir
        << "/setup.png\n@ok\n@zoom -30000,-480000 50000,-300000\n-25000,-22000\n@screenshot " << dir
        << "/table.png\n"
        << "; the single point: the real pointer rests over the plan between the rows\n"
        << "@zoom extents\n@screenshot " << dir << "/after.png\n"
        << "VxSunSPoint\nALL\n\n@set 2048 8:00\n@set 2049 16:00\n@set 2018 10\n"
        << "@set 2055 0\n@ok\n@hover 160000,30000\n@pause 300\n@screenshot " << dir
        << "/tip.png\n@esc\n"
        << "; the simulation window: the whole site in view at nine in the morning\n"
        << "VxShadow\n-60000,-60000\n120000,80000\n\n@click 2030\n@set 2015 09:00\n@wait 300\n"
        << "@screenshot " << dir << "/simulation.png\n@snapshot " << dir
        << "/simulation-view.png\n@close\nQUIT\n";
    const auto run = solx::testing::RunCommand(
        "DISPLAY=" + server.Display() + " SOLX_CONFIG_DIR=" + work.string() +
        " " SOLX_BINARY_DIR "/bin/solx --gui --delay 20 --script " + (work / "run.scr").string() +
        " " SOLX_SOURCE_DIR "/examples/district.dxf 2>&1");
    fs::remove_all(work);
    ASSERT_EQ(run.status, 0) << run.output;

    {  // the plan: the district's line work fills a good part of the view, not all of it
        Shot s;
        ASSERT_TRUE(FindShot(run.output, "plan.png", s)) << run.output;
        Picture p(shots / "plan.png");
        ASSERT_TRUE(p.Ok());
        const double share = static_cast<double>(InkPixels(p, s)) / (s.planW * s.planH);
        EXPECT_GT(share, 0.01);
        EXPECT_LT(share, 0.6);
    }
    {  // the selection: highlighted while the command asks for more, plain once it ended
        Shot plan, selected, after;
        ASSERT_TRUE(FindShot(run.output, "plan.png", plan));
        ASSERT_TRUE(FindShot(run.output, "selected.png", selected));
        ASSERT_TRUE(FindShot(run.output, "after.png", after));
        Picture p(shots / "plan.png"), sel(shots / "selected.png"), done(shots / "after.png");
        ASSERT_TRUE(p.Ok() && sel.Ok() && done.Ok());
        const size_t base = HighlightPixels(p, plan);
        EXPECT_GT(HighlightPixels(sel, selected), base + 100);
        EXPECT_LE(HighlightPixels(done, after), base + 20);
    }
    {  // the table: ground that was empty carries ruled lines after the analysis
        Shot before, after;
        ASSERT_TRUE(FindShot(run.output, "table-before.png", before));
        ASSERT_TRUE(FindShot(run.output, "table.png", after));
        Picture empty(shots / "table-before.png"), table(shots / "table.png");
        ASSERT_TRUE(empty.Ok() && table.Ok());
        EXPECT_LT(InkPixels(empty, before), 50u);
        EXPECT_GT(InkPixels(table, after), static_cast<size_t>(after.planW * after.planH / 100));
        EXPECT_GE(LongRuleRows(table, after, 100), 10);
        EXPECT_EQ(LongRuleRows(empty, before, 100), 0);
    }
    {  // the tip: a popup of its own colour right beside the cursor, with its rows printed
        Shot s;
        ASSERT_TRUE(FindShot(run.output, "tip.png", s));
        Picture p(shots / "tip.png");
        ASSERT_TRUE(p.Ok());
        int x0 = p.Width(), y0 = p.Height(), x1 = -1, y1 = -1, count = 0;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x) {
                const Rgb c = p.At(x, y);
                if (c.r != kTipBackground.r || c.g != kTipBackground.g || c.b != kTipBackground.b)
                    continue;
                ++count;
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x),
                y1 = std::max(y1, y);
            }
        ASSERT_GT(count, 1000) << "no tip window in tip.png";
        const int dx = std::max({x0 - s.cursorX, 0, s.cursorX - x1});
        const int dy = std::max({y0 - s.cursorY, 0, s.cursorY - y1});
        EXPECT_LE(dx + dy, 40) << "tip at " << x0 << ',' << y0 << ".." << x1 << ',' << y1
                               << ", cursor at " << s.cursorX << ',' << s.cursorY;
        EXPECT_LT((x1 - x0) * (y1 - y0), s.planW * s.planH / 4) << "the tip covers the plan";
        EXPECT_NE(run.output.find("[tip]"), std::string::npos);
    }
    {  // the setup dialog on screen over the plan: its own face and text, and the value the
       // script typed showing where it changed, in a small part of it
        Shot s;
        ASSERT_TRUE(FindShot(run.output, "setup.png", s));
        const std::vector<Window> open = FindWindows(run.output, "setup-open.png");
        const std::vector<Window> set = FindWindows(run.output, "setup.png");
        ASSERT_EQ(open.size(), 1u) << run.output;
        ASSERT_EQ(set.size(), 1u);
        const Window& d = set[0];
        EXPECT_EQ(d.title, "窗日照表");
        Picture before(shots / "setup-open.png"), after(shots / "setup.png");
        ASSERT_TRUE(before.Ok() && after.Ok());
        ASSERT_TRUE(d.x >= 0 && d.y >= 0 && d.x + d.w <= after.Width() &&
                    d.y + d.h <= after.Height());
        ASSERT_TRUE(open[0].x == d.x && open[0].y == d.y && open[0].w == d.w && open[0].h == d.h);
        size_t white = 0, text = 0, changed = 0;
        int x0 = d.w, y0 = d.h, x1 = -1, y1 = -1;
        for (int y = d.y; y < d.y + d.h; ++y)
            for (int x = d.x; x < d.x + d.w; ++x) {
                const Rgb a = before.At(x, y), b = after.At(x, y);
                white += IsWhite(b);
                text += b.r < 100 && b.g < 100 && b.b < 100;
                if (a.r == b.r && a.g == b.g && a.b == b.b) continue;
                ++changed;
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x),
                y1 = std::max(y1, y);
            }
        const size_t area = static_cast<size_t>(d.w) * static_cast<size_t>(d.h);
        EXPECT_LT(white, area / 2) << "the dialog's place shows the plan's white";
        EXPECT_GT(text, 500u) << "no text in the dialog";
        EXPECT_GT(changed, 15u) << "the typed value does not show";
        EXPECT_LT(static_cast<size_t>(x1 - x0 + 1) * static_cast<size_t>(y1 - y0 + 1), area / 20)
            << "more than the typed value changed: " << x0 << ',' << y0 << ".." << x1 << ',' << y1;
    }
    {  // the simulation window: its view on screen shows the ground's shadows, dark ground
       // right beside lit ground; the lit ground's colour is the view's own most common one
        const std::vector<Window> open = FindWindows(run.output, "simulation.png");
        ASSERT_EQ(open.size(), 1u) << run.output;
        const Window& w = open[0];
        Picture p(shots / "simulation.png"), view(shots / "simulation-view.png");
        ASSERT_TRUE(p.Ok() && view.Ok());
        ASSERT_TRUE(w.x >= 0 && w.y >= 0 && w.x + w.w <= p.Width() && w.y + w.h <= p.Height());
        std::map<int, int> counts;
        for (int y = 0; y < view.Height(); ++y)
            for (int x = 0; x < view.Width(); ++x) {
                const Rgb c = view.At(x, y);
                ++counts[c.r << 16 | c.g << 8 | c.b];
            }
        const int common = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                               return a.second < b.second;
                           })->first;
        const Rgb lit{common >> 16 & 255, common >> 8 & 255, common & 255};
        ASSERT_GT(lit.r, lit.b) << "the view's most common colour is not the ground's";
        auto isLit = [&lit](const Rgb& c) {
            return std::abs(c.r - lit.r) + std::abs(c.g - lit.g) + std::abs(c.b - lit.b) <= 12;
        };
        auto isShade = [&lit](const Rgb& c) {
            return c.r > c.b && (c.r + c.g + c.b) * 4 < (lit.r + lit.g + lit.b) * 3;
        };
        int edges = 0, litPixels = 0;
        for (int y = w.y; y < w.y + w.h; ++y)
            for (int x = w.x + 3; x < w.x + w.w - 3; ++x) {
                const Rgb c = p.At(x, y);
                litPixels += isLit(c);
                if (isShade(c) && (isLit(p.At(x - 3, y)) || isLit(p.At(x + 3, y)))) ++edges;
            }
        EXPECT_GT(litPixels, w.w * w.h / 20) << "no sunlit ground in the window on screen";
        EXPECT_GT(edges, 100) << "no shadow edges in the window on screen";
    }
}

}  // namespace
