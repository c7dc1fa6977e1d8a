// A person at the workbench, driven from outside the program: solx-gui opens the sample
// district on a virtual X server of the test's own, and every action is a real X input event
// (xdotool): typing with the pointer over the plan, dragging windows around the buildings seen
// on the screen, Enter, the real setup dialogs (a click into a field, typing, a click on OK),
// the table placed with a click, the tip window following the pointer, the simulation window
// played and closed, the drawing saved through the menu and the file dialog. The screen is read
// back from the X server; the saved drawing is read by ezdxf. Screenshots stay in
// build/gui-screenshots/person-*.png for a person to look at.
#include <cairo.h>
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines None and other plain words as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CommandOutput.h"
#include "XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using guitest::Installed;
using guitest::Xvfb;

struct Rgb {
    int r = 0, g = 0, b = 0;
};
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    void Add(int x, int y) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    bool Empty() const { return x1 < x0; }
    int Width() const { return x1 - x0 + 1; }
    int Height() const { return y1 - y0 + 1; }
};

// The whole X screen as the server holds it: what a person sees.
class Screen {
public:
    Screen(const std::string& display, const fs::path& save) {
        Display* x = XOpenDisplay(display.c_str());
        if (!x) return;
        const Window root = DefaultRootWindow(x);
        XWindowAttributes a;
        XGetWindowAttributes(x, root, &a);
        XImage* shot = XGetImage(x, root, 0, 0, static_cast<unsigned>(a.width),
                                 static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (shot) {
            w_ = a.width, h_ = a.height;
            px_.resize(static_cast<size_t>(w_) * h_);
            for (int y = 0; y < h_; ++y)
                for (int col = 0; col < w_; ++col) {
                    const unsigned long p = XGetPixel(shot, col, y);
                    px_[static_cast<size_t>(y) * w_ + col] = static_cast<uint32_t>(
                        ((p & shot->red_mask) >> 16) << 16 | ((p & shot->green_mask) >> 8) << 8 |
                        (p & shot->blue_mask));
                }
            XDestroyImage(shot);
        }
        XCloseDisplay(x);
        if (!px_.empty() && !save.empty()) Save(save);
    }
    bool Ok() const { return !px_.empty(); }
    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb At(int x, int y) const {
        const uint32_t p = px_[static_cast<size_t>(y) * w_ + x];
        return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255),
                static_cast<int>(p & 255)};
    }
    uint32_t Raw(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

private:
    void Save(const fs::path& path) {
        cairo_surface_t* s = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(px_.data()), CAIRO_FORMAT_RGB24, w_, h_, w_ * 4);
        cairo_surface_write_to_png(s, path.c_str());
        cairo_surface_destroy(s);
    }
    int w_ = 0, h_ = 0;
    std::vector<uint32_t> px_;
};

bool IsWhite(const Rgb& c) {
    return c.r > 245 && c.g > 245 && c.b > 245;
}
// The plan draws the window markers in cyan.
bool IsMarker(const Rgb& c) {
    return c.r < 120 && c.g > 180 && c.b > 180;
}

// The buildings on the screen: groups of line work (cells of 12 pixels holding ink, joined
// when they touch) that carry window markers.
std::vector<Box> Buildings(const Screen& s, const Box& area) {
    constexpr int kCell = 12;
    const int cols = area.Width() / kCell + 1, rows = area.Height() / kCell + 1;
    std::vector<int> cell(static_cast<size_t>(cols) * rows, 0);
    std::vector<bool> marked(cell.size(), false);
    for (int y = area.y0; y <= area.y1; ++y)
        for (int x = area.x0; x <= area.x1; ++x) {
            const Rgb c = s.At(x, y);
            if (IsWhite(c)) continue;
            const size_t i =
                static_cast<size_t>((y - area.y0) / kCell) * cols + (x - area.x0) / kCell;
            cell[i] = 1;
            if (IsMarker(c)) marked[i] = true;
        }
    std::vector<Box> groups;
    for (int start = 0; start < cols * rows; ++start) {
        if (cell[start] != 1) continue;
        Box box;
        bool markers = false;
        std::vector<int> todo{start};
        cell[start] = 2;
        while (!todo.empty()) {
            const int c = todo.back();
            todo.pop_back();
            const int cx = c % cols, cy = c / cols;
            markers = markers || marked[static_cast<size_t>(c)];
            box.Add(area.x0 + cx * kCell, area.y0 + cy * kCell);
            box.Add(area.x0 + cx * kCell + kCell - 1, area.y0 + cy * kCell + kCell - 1);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = cx + dx, ny = cy + dy;
                    if (nx < 0 || ny < 0 || nx >= cols || ny >= rows) continue;
                    int& n = cell[static_cast<size_t>(ny) * cols + nx];
                    if (n == 1) n = 2, todo.push_back(ny * cols + nx);
                }
        }
        if (markers) groups.push_back(box);
    }
    return groups;
}

// The solx-gui process with its transcript (standard output and error) in a file.
class Workbench {
public:
    Workbench(const std::string& display, const fs::path& work, const std::string& drawing)
        : transcript_(work / "transcript.txt") {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(transcript_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 1), ::dup2(fd, 2);
            ::setenv("DISPLAY", display.c_str(), 1);
            ::setenv("SOLX_CONFIG_DIR", work.c_str(), 1);
            const std::string program = SOLX_BINARY_DIR "/bin/solx-gui";
            ::execl(program.c_str(), program.c_str(), drawing.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Workbench() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    std::string Transcript() const {
        std::ifstream in(transcript_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Waits until the transcript holds `count` matches of the pattern (the program answers in
    // its own time; the limit only ends a run that went wrong).
    bool WaitFor(const std::string& pattern, int count = 1) const {
        const std::regex re(pattern);
        for (auto until = std::chrono::steady_clock::now() + 90s;
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(100ms)) {
            const std::string text = Transcript();
            if (std::distance(std::sregex_iterator(text.begin(), text.end(), re),
                              std::sregex_iterator()) >= count)
                return true;
        }
        return false;
    }
    // Waits for the program to end; its exit status (-1 when it does not end).
    int WaitExit() {
        for (int i = 0; i < 600; ++i, std::this_thread::sleep_for(100ms)) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
        }
        return -1;
    }

private:
    fs::path transcript_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

// The person's hands: xdotool on the test's display.
class Hands {
public:
    explicit Hands(std::string display) : display_(std::move(display)) {}
    std::string Run(const std::string& args) const {
        const auto out = solx::testing::RunCommand("DISPLAY=" + display_ + " xdotool " + args);
        std::this_thread::sleep_for(150ms);  // the program takes its events
        return out.output;
    }
    void Move(int x, int y) const {
        Run("mousemove " + std::to_string(x) + ' ' + std::to_string(y));
    }
    void Click(int x, int y) const {
        Move(x, y);
        Run("click 1");
    }
    // A press, a few moves, a release: a rubber band from one corner to the other.
    void Drag(int x0, int y0, int x1, int y1, const std::function<void()>& whileHeld = {}) const {
        Move(x0, y0);
        Run("mousedown 1");
        for (int i = 1; i <= 4; ++i) Move(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4);
        if (whileHeld) whileHeld();
        Run("mouseup 1");
    }
    void Type(const std::string& text) const { Run("type --delay 20 '" + text + "'"); }
    void Key(const std::string& keys) const { Run("key " + keys); }
    // The shown top-level window whose title matches, waited for; its rectangle on the screen.
    bool FindWindow(const std::string& title, Box& box) const {
        for (int i = 0; i < 300; ++i, std::this_thread::sleep_for(100ms))
            if (Shown(title, &box)) return true;
        return false;
    }
    // No window manager runs here: the click that gives a window the keyboard on a desktop is
    // the focus set as a window manager sets it.
    bool Focus(const std::string& title) const {
        Window id = 0;
        if (!Shown(title, nullptr, &id)) return false;
        Display* x = XOpenDisplay(display_.c_str());
        if (!x) return false;
        XSetInputFocus(x, id, RevertToPointerRoot, CurrentTime);
        XCloseDisplay(x);
        std::this_thread::sleep_for(200ms);
        return true;
    }
    bool WindowGone(const std::string& title) const {
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(100ms))
            if (!Shown(title, nullptr)) return true;
        return false;
    }

private:
    // Asks the X server for the mapped children of the root (the toolkit's top-level windows,
    // no window manager here) and their UTF-8 titles.
    bool Shown(const std::string& title, Box* box, Window* window = nullptr) const {
        Display* x = XOpenDisplay(display_.c_str());
        if (!x) return false;
        const Atom name = XInternAtom(x, "_NET_WM_NAME", False),
                   utf8 = XInternAtom(x, "UTF8_STRING", False);
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        bool found = false;
        const std::regex wanted(title);
        if (XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) {
            for (unsigned i = count; i-- > 0 && !found;) {  // topmost first
                XWindowAttributes a;
                if (!XGetWindowAttributes(x, children[i], &a) || a.map_state != IsViewable)
                    continue;
                Atom type = 0;
                int format = 0;
                unsigned long items = 0, after = 0;
                unsigned char* data = nullptr;
                if (XGetWindowProperty(x, children[i], name, 0, 1024, False, utf8, &type, &format,
                                       &items, &after, &data) != Success ||
                    !data)
                    continue;
                const std::string text(reinterpret_cast<char*>(data), items);
                XFree(data);
                if (!std::regex_match(text, wanted)) continue;
                found = true;
                if (window) *window = children[i];
                if (box) {
                    *box = {};
                    box->Add(a.x, a.y);
                    box->Add(a.x + a.width - 1, a.y + a.height - 1);
                }
            }
            if (children) XFree(children);
        }
        XCloseDisplay(x);
        return found;
    }

    std::string display_;
};

// The centre of a control of a dialog template, on the screen: dialog units scale both ways
// with the dialog, so the control sits at the same fraction of the window.
bool ControlCentre(const std::string& templateFile, const std::string& control, const Box& window,
                   int& x, int& y) {
    std::ifstream in(fs::path(SOLX_SOURCE_DIR) / "resources/dialogs" / templateFile);
    double dw = 0, dh = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind, id;
        double a = 0, b = 0, c = 0, d = 0;
        if (!(words >> kind >> id >> a >> b >> c >> d)) continue;
        if (kind == "dialog") dw = c, dh = d;
        if (kind + ' ' + id != control || dw <= 0) continue;
        x = window.x0 + static_cast<int>((a + c / 2) / dw * window.Width());
        y = window.y0 + static_cast<int>((b + d / 2) / dh * window.Height());
        return true;
    }
    return false;
}

// Window markers of the sample whose insertion points fall in a drawing rectangle (ezdxf).
int MarkersInside(double x0, double y0, double x1, double y1) {
    std::ostringstream script;
    script << "import ezdxf\nd=ezdxf.readfile('" SOLX_SOURCE_DIR "/examples/district.dxf')\n"
           << "print(sum(1 for e in d.modelspace().query('INSERT') if e.dxf.name=='_SUNWD' and "
           << std::min(x0, x1) << "<=e.dxf.insert.x<=" << std::max(x0, x1) << " and "
           << std::min(y0, y1) << "<=e.dxf.insert.y<=" << std::max(y0, y1) << "))\n";
    const auto out = solx::testing::RunCommand("/usr/bin/python3 -c \"" + script.str() + "\"");
    return out.status == 0 ? std::atoi(out.output.c_str()) : -1;
}

constexpr Rgb kTipBackground{255, 255, 225};

// The tip window's pixels on the screen.
Box TipOnScreen(const Screen& s) {
    Box box;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const Rgb c = s.At(x, y);
            if (c.r == kTipBackground.r && c.g == kTipBackground.g && c.b == kTipBackground.b)
                box.Add(x, y);
        }
    return box;
}

// Pixels that differ between two screens inside a box.
int Changed(const Screen& a, const Screen& b, const Box& area) {
    int n = 0;
    for (int y = area.y0; y <= area.y1; ++y)
        for (int x = area.x0; x <= area.x1; ++x) n += a.Raw(x, y) != b.Raw(x, y);
    return n;
}

TEST(PersonAtDesk, AnalysesTheSampleWithMouseAndKeyboard) {
    for (const char* program : {"Xvfb", "xdotool"})
        if (!Installed(program)) {
            if (std::getenv("CI"))
                FAIL() << program << " is not installed; CI installs it (scripts/packages.txt)";
            GTEST_SKIP() << program << " is not installed: the workbench is not driven";
        }
    Xvfb server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    const fs::path shots = fs::path(SOLX_BINARY_DIR) / "gui-screenshots";
    const fs::path work = fs::temp_directory_path() / ("solx-person-" + std::to_string(::getpid()));
    fs::create_directories(shots);
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string sample = SOLX_SOURCE_DIR "/examples/district.dxf";
    const fs::path saved = work / "saved.dxf";
    const Hands hands(server.Display());
    auto shot = [&](const std::string& name) {
        return Screen(server.Display(), shots / ("person-" + name + ".png"));
    };
    // The program draws in its own time: screens are taken until one passes the check (for
    // ten seconds at most); the last one is checked as any other.
    auto shotUntil = [&](const std::string& name, const std::function<bool(const Screen&)>& ok) {
        for (int i = 0; i < 40; ++i, std::this_thread::sleep_for(250ms)) {
            Screen s = shot(name);
            if (ok(s)) return s;
        }
        return shot(name);
    };
    {
        Workbench bench(server.Display(), work, sample);
        ASSERT_TRUE(bench.WaitFor("命令: ")) << bench.Transcript();
        Box frame;
        ASSERT_TRUE(hands.FindWindow("Solx - .*district.dxf", frame)) << bench.Transcript();
        hands.Move(1275, 1020);  // out of the window: no crosshair in the picture

        // The plan: the white area of the window's middle column, below the toolbar.
        const Screen start = shot("start");
        ASSERT_TRUE(start.Ok());
        Box plan;
        const int mid = (frame.x0 + frame.x1) / 2;
        for (int y = frame.y0, run = 0; y <= frame.y1; ++y) {
            run = IsWhite(start.At(mid, y)) ? run + 1 : 0;
            if (run > 200 && plan.Empty()) plan.Add(frame.x0, y - run + 1);
            if (run > 200) plan.Add(frame.x1, y);
        }
        ASSERT_FALSE(plan.Empty()) << "no plan on the screen";
        std::vector<Box> buildings = Buildings(start, plan);
        ASSERT_GE(buildings.size(), 6u) << "the window markers of the buildings are not drawn";
        std::sort(buildings.begin(), buildings.end(), [](const Box& a, const Box& b) {
            return a.y0 / 60 != b.y0 / 60 ? a.y0 < b.y0 : a.x0 < b.x0;
        });

        // The command typed with the pointer over the plan, the entry never clicked.
        hands.Move((plan.x0 + plan.x1) / 2, (plan.y0 + plan.y1) / 2);
        hands.Type("VxWinSunAna");
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("选择待分析的日照窗")) << bench.Transcript();

        // A window around each of the first two buildings: as many windows found as ezdxf
        // counts markers in the rectangle the transcript gives.
        int found = 0;
        for (int i = 0; i < 2; ++i) {
            const Box& b = buildings[static_cast<size_t>(i)];
            hands.Drag(b.x0 - 12, b.y0 - 12, b.x1 + 12, b.y1 + 12, [&] {
                if (i != 0) return;  // the rubber band is drawn while the button is held
                auto banded = [&](const Screen& band) {
                    int marked = 0;
                    for (int x = b.x0 - 10; x <= b.x1 + 10; ++x)
                        marked += !IsWhite(band.At(x, b.y1 + 6)) && !IsMarker(band.At(x, b.y1 + 6));
                    return marked > b.Width() / 4;
                };
                EXPECT_TRUE(banded(shotUntil("rubber-band", banded))) << "no rubber band";
            });
            ASSERT_TRUE(bench.WaitFor("找到 \\d+ 个", i + 1)) << bench.Transcript();
            const std::string text = bench.Transcript();
            std::smatch m;
            const std::regex window(
                "W (-?[\\d.e+]+),(-?[\\d.e+]+) (-?[\\d.e+]+),(-?[\\d.e+]+)\\s*\\n找到 (\\d+) 个");
            std::string rest = text;
            for (int k = 0; k <= i; ++k) {
                ASSERT_TRUE(std::regex_search(rest, m, window)) << text;
                if (k < i) rest = m.suffix();
            }
            const int count = std::stoi(m[5]);
            EXPECT_EQ(count, MarkersInside(std::stod(m[1]), std::stod(m[2]), std::stod(m[3]),
                                           std::stod(m[4])));
            EXPECT_GT(count, 0);
            found += count;
        }
        // Enter with the pointer still over the plan ends the selection.
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("选择遮挡物")) << bench.Transcript();
        hands.Type("ALL");
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("找到 \\d+ 个", 3)) << bench.Transcript();
        hands.Key("Return");

        // The real dialog: the least sunlight hours set to 2 by a click and typing, then OK.
        Box dialog;
        ASSERT_TRUE(hands.FindWindow("窗日照表", dialog)) << bench.Transcript();
        EXPECT_GE(dialog.x0, 0);
        EXPECT_GE(dialog.y0, 0);
        EXPECT_LE(dialog.x1, start.Width());
        EXPECT_LE(dialog.y1, start.Height());
        int x = 0, y = 0;
        ASSERT_TRUE(ControlCentre("2010-window-table.dlg", "edit 2072", dialog, x, y));
        hands.Click(x, y);
        hands.Key("ctrl+a");
        hands.Type("2");
        shot("window-dialog");
        ASSERT_TRUE(ControlCentre("2010-window-table.dlg", "button 1", dialog, x, y));
        hands.Click(x, y);
        ASSERT_TRUE(bench.WaitFor("表格位置")) << bench.Transcript();
        ASSERT_TRUE(hands.WindowGone("窗日照表"));

        // The table's corner clicked on empty ground to the right of the buildings.
        const int right =
            std::max_element(buildings.begin(), buildings.end(), [](auto& a, auto& b) {
                return a.x1 < b.x1;
            })->x1;
        ASSERT_LT(right + 40, plan.x1) << "no empty ground right of the buildings";
        hands.Click((right + plan.x1) / 2, plan.y0 + plan.Height() / 5);
        ASSERT_TRUE(bench.WaitFor("命令: ", 2)) << bench.Transcript();
        hands.Move(1275, 1020);
        shot("table");

        // Enter on the empty command line runs the analysis again; Esc leaves it.
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("选择待分析的日照窗", 4)) << bench.Transcript();
        hands.Key("Escape");
        ASSERT_TRUE(bench.WaitFor("命令: ", 3)) << bench.Transcript();

        // The single point: its dialog's test height typed in, then the tip beside the
        // pointer wherever it rests, also when the pointer moves onto the tip itself.
        hands.Type("VxSunSPoint");
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("选择遮挡物", 2)) << bench.Transcript();
        hands.Type("ALL");
        hands.Key("Return");
        hands.Key("Return");
        ASSERT_TRUE(hands.FindWindow("单点分析", dialog)) << bench.Transcript();
        ASSERT_TRUE(ControlCentre("2006-single-point.dlg", "edit 2055", dialog, x, y));
        hands.Click(x, y);
        hands.Key("ctrl+a");
        hands.Type("3");
        ASSERT_TRUE(ControlCentre("2006-single-point.dlg", "button 1", dialog, x, y));
        hands.Click(x, y);
        ASSERT_TRUE(bench.WaitFor("计算高度：3")) << bench.Transcript();
        // Between the first two rows of buildings.
        const int px = (buildings[0].x1 + buildings[1].x0) / 2,
                  py = (buildings[0].y1 + plan.y0 + plan.Height() / 2) / 2;
        for (int step = 0; step < 3; ++step) hands.Move(px - 30 + step * 15, py - 10 + step * 5);
        ASSERT_TRUE(bench.WaitFor("\\[tip\\]")) << bench.Transcript();
        auto near = [](const Box& t, int atX, int atY) {
            return !t.Empty() && std::abs(t.x0 - atX) <= 30 && std::abs(t.y0 - atY) <= 30;
        };
        const Screen tipShot =
            shotUntil("tip", [&](const Screen& s) { return near(TipOnScreen(s), px, py); });
        const Box tip = TipOnScreen(tipShot);
        ASSERT_GT(tip.Width() * tip.Height(), 1000) << "no tip window on the screen";
        EXPECT_LE(std::abs(tip.x0 - px), 30) << tip.x0 << " for the pointer at " << px;
        EXPECT_LE(std::abs(tip.y0 - py), 30) << tip.y0 << " for the pointer at " << py;
        EXPECT_LT(tip.Width() * tip.Height(), plan.Width() * plan.Height() / 4);
        // Onto the tip and beyond: it keeps beside the pointer.
        const int qx = px + 60, qy = py + 40;
        for (int step = 1; step <= 4; ++step) hands.Move(px + 15 * step, py + 10 * step);
        const Box moved = TipOnScreen(
            shotUntil("tip-moved", [&](const Screen& s) { return near(TipOnScreen(s), qx, qy); }));
        ASSERT_FALSE(moved.Empty());
        EXPECT_LE(std::abs(moved.x0 - qx), 30) << moved.x0 << " for the pointer at " << qx;
        EXPECT_LE(std::abs(moved.y0 - qy), 30) << moved.y0 << " for the pointer at " << qy;
        // The prompt's keywords are buttons in the row above the entry (the focused entry has
        // a blue frame): a click on the first one asks for the test height.
        int entryTop = -1, entryBottom = -1;
        for (int yy = frame.y1; yy > plan.y1 + 60; --yy) {
            int blue = 0;
            for (int xx = frame.x0; xx <= frame.x1; ++xx) {
                const Rgb c = tipShot.At(xx, yy);
                blue += c.b > 180 && c.r < 120 && c.g > 90 && c.g < 180;
            }
            if (blue <= frame.Width() / 2) continue;
            if (entryBottom < 0) entryBottom = yy;
            if (entryBottom - yy < 40) entryTop = yy;  // the frame's upper edge
        }
        ASSERT_GT(entryTop, 0) << "no focused entry in person-tip.png";
        // The first button's text: the dark pixels of the row (rows dark all along are the
        // row's and the history's edges); the click goes a little into it from its left.
        Box label;
        for (int yy = entryTop - 30; yy < entryTop - 1; ++yy) {
            int row = 0;
            for (int xx = 0; xx < 220; ++xx) row += tipShot.At(frame.x0 + xx, yy).r < 110;
            if (row > 150) continue;
            for (int xx = 0; xx < 220; ++xx)
                if (tipShot.At(frame.x0 + xx, yy).r < 110) label.Add(frame.x0 + xx, yy);
        }
        ASSERT_FALSE(label.Empty()) << "no keyword buttons above the entry";
        hands.Click(label.x0 + 12, (label.y0 + label.y1) / 2);
        ASSERT_TRUE(bench.WaitFor("输入测试高度")) << "the keyword button did not answer";
        hands.Type("4");
        hands.Key("Return");
        hands.Move(px, py);
        hands.Key("Escape");
        ASSERT_TRUE(bench.WaitFor("命令: ", 4)) << bench.Transcript();

        // The simulation: the observer below the buildings looking north, the whole model.
        hands.Type("VxShadow");
        hands.Key("Return");
        ASSERT_TRUE(bench.WaitFor("初始观察位置")) << bench.Transcript();
        hands.Click((plan.x0 + plan.x1) / 2, plan.y1 - 10);
        ASSERT_TRUE(bench.WaitFor("初始观察方向")) << bench.Transcript();
        hands.Click((plan.x0 + plan.x1) / 2, (plan.y0 + plan.y1) / 2);
        ASSERT_TRUE(bench.WaitFor("日照模型")) << bench.Transcript();
        hands.Key("Return");
        Box sim;
        ASSERT_TRUE(hands.FindWindow("日照仿真", sim)) << bench.Transcript();
        Box view;
        view.Add(sim.x0 + sim.Width() * 150 / 472, sim.y0 + sim.Height() * 20 / 347);
        view.Add(sim.x0 + sim.Width() * 455 / 472, sim.y0 + sim.Height() * 300 / 347);
        hands.Move(1275, 1020);
        const int area = view.Width() * view.Height();
        // Shadows: the ground is the commonest colour of the view's lower third; shadows are
        // grey pixels clearly darker than it.
        auto ground = [&](const Screen& s) {
            std::map<uint32_t, int> colours;
            for (int yy = view.y1 - view.Height() / 3; yy <= view.y1; ++yy)
                for (int xx = view.x0; xx <= view.x1; ++xx) ++colours[s.Raw(xx, yy)];
            const uint32_t commonest =
                std::max_element(colours.begin(), colours.end(), [](auto& a, auto& b) {
                    return a.second < b.second;
                })->first;
            return Rgb{static_cast<int>(commonest >> 16 & 255),
                       static_cast<int>(commonest >> 8 & 255), static_cast<int>(commonest & 255)};
        };
        auto shadows = [&](const Screen& s) {
            const Rgb g = ground(s);
            int n = 0;
            for (int yy = view.y0; yy <= view.y1; ++yy)
                for (int xx = view.x0; xx <= view.x1; ++xx) {
                    const Rgb c = s.At(xx, yy);
                    const bool grey = std::abs(c.r - c.g) < 25 && std::abs(c.g - c.b) < 25;
                    n +=
                        grey && c.r + c.g + c.b < (g.r + g.g + g.b) * 4 / 5 && c.r + c.g + c.b > 60;
                }
            return n;
        };
        const Screen still =
            shotUntil("simulation", [&](const Screen& s) { return shadows(s) > area / 200; });
        const Rgb g = ground(still);
        EXPECT_GT(g.r + g.g + g.b, 200) << "the ground is not lit";
        EXPECT_GT(shadows(still), area / 200) << "no shadows in the simulation view";
        ASSERT_TRUE(ControlCentre("2000-simulation.dlg", "button 2033", sim, x, y));
        hands.Click(x, y);
        hands.Move(1275, 1020);
        std::this_thread::sleep_for(1s);
        const Screen playing = shot("simulation-playing");
        const Screen later = shotUntil(
            "simulation-later", [&](const Screen& s) { return Changed(playing, s, view) > 30; });
        EXPECT_GT(Changed(playing, later, view), 30) << "the shadows did not move on";
        hands.Click(x, y);  // stop
        hands.Move(sim.x0 + 20, sim.y1 - 5);
        ASSERT_TRUE(hands.Focus("日照仿真"));
        hands.Key("Escape");
        ASSERT_TRUE(hands.WindowGone("日照仿真")) << "Escape did not close the simulation";

        // Saved through the menu (Alt+F, A) and the file dialog, the path typed.
        hands.Move((plan.x0 + plan.x1) / 2, (plan.y0 + plan.y1) / 2);
        ASSERT_TRUE(hands.Focus("Solx - .*district.dxf"));
        hands.Key("alt+f");
        hands.Key("a");
        Box files;
        ASSERT_TRUE(hands.FindWindow("另存为", files)) << bench.Transcript();
        hands.Key("ctrl+a");
        hands.Type(saved.string());
        shot("save-as");
        hands.Key("Return");
        ASSERT_TRUE(hands.WindowGone("另存为"));
        ASSERT_TRUE(bench.WaitFor("命令: ", 6)) << bench.Transcript();
        hands.Type("QUIT");
        hands.Key("Return");
        EXPECT_EQ(bench.WaitExit(), 0) << bench.Transcript();
        ASSERT_TRUE(fs::exists(saved)) << bench.Transcript();

        // The saved drawing, read by ezdxf: every marker kept, a table of texts and rules with
        // a title per building, below and right of the clicked corner.
        const auto check = solx::testing::RunCommand("/usr/bin/python3 " SOLX_SOURCE_DIR
                                                     "/tests/gui/saved_table_check.py " +
                                                     sample + ' ' + saved.string());
        ASSERT_EQ(check.status, 0) << check.output;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(check.output, m, std::regex("markers (\\d+) (\\d+)")));
        EXPECT_EQ(m[1], m[2]);
        EXPECT_GT(std::stoi(m[1]), 0);
        ASSERT_TRUE(std::regex_search(
            check.output, m, std::regex("added \\d+ drawn \\d+ texts (\\d+) lines (\\d+)")));
        EXPECT_GE(std::stoi(m[1]), found) << "a row of texts for each window";
        EXPECT_GE(std::stoi(m[2]), found) << "ruled rows";
        ASSERT_TRUE(std::regex_search(check.output, m, std::regex("titles (\\d+)")));
        EXPECT_EQ(std::stoi(m[1]), 2) << "a table for each building: " << check.output;
        // Placed where the person clicked: the table's upper left corner at the point.
        const std::string text = bench.Transcript();
        ASSERT_TRUE(std::regex_search(text, m, std::regex("表格位置:(-?[\\d.e+]+),(-?[\\d.e+]+)")));
        const double cx = std::stod(m[1]), cy = std::stod(m[2]);
        ASSERT_TRUE(
            std::regex_search(check.output, m, std::regex("extent (\\S+) (\\S+) (\\S+) (\\S+)")));
        const double x0 = std::stod(m[1]), y0 = std::stod(m[2]), x1 = std::stod(m[3]),
                     y1 = std::stod(m[4]);
        EXPECT_NEAR(x0, cx, (x1 - x0) / 100) << check.output;
        EXPECT_NEAR(y1, cy, (y1 - y0) / 100) << check.output;
    }
    if (!HasFailure()) fs::remove_all(work);
}

}  // namespace
