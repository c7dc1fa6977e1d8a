// Command-line parsing: options may come in any order; the drawing is the one plain argument.
#include "Options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace solx::app {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value,
               std::string& error) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

// "x,y" with two finite numbers.
bool ParseCorner(const std::string& text, double& x, double& y) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    const std::string a = text.substr(0, comma), b = text.substr(comma + 1);
    char* end = nullptr;
    x = std::strtod(a.c_str(), &end);
    if (a.empty() || *end) return false;
    y = std::strtod(b.c_str(), &end);
    if (b.empty() || *end) return false;
    return std::isfinite(x) && std::isfinite(y);
}

bool TakePlotArea(const std::vector<std::string>& args, size_t& i, Options& o, std::string& error) {
    if (i + 2 >= args.size()) {
        error = "--plot-area needs two corners: --plot-area x1,y1 x2,y2";
        return false;
    }
    PlotArea area;
    if (!ParseCorner(args[i + 1], area.x1, area.y1) ||
        !ParseCorner(args[i + 2], area.x2, area.y2)) {
        error = "--plot-area takes two corners x1,y1 x2,y2, not \"" + args[i + 1] + " " +
                args[i + 2] + "\"";
        return false;
    }
    if (area.x1 == area.x2 || area.y1 == area.y2) {
        error = "--plot-area needs two corners that span an area";
        return false;
    }
    i += 2;
    o.plotArea = area;
    return true;
}

bool TakeOption(const std::vector<std::string>& args, size_t& i, Options& o, std::string& error) {
    const std::string& a = args[i];
    std::string value;
    if (a == "--lang") {
        if (!TakeValue(args, i, value, error)) return false;
        const std::string lower = Lower(value);
        if (lower != "chs" && lower != "eng") {
            error = "--lang takes Chs or Eng, not \"" + value + "\"";
            return false;
        }
        o.language = lower == "chs" ? L"Chs" : L"Eng";
        return true;
    }
    if (a == "--script") return TakeValue(args, i, o.script, error);
    if (a == "--out") return TakeValue(args, i, o.out, error);
    if (a == "--plot") {
        if (!TakeValue(args, i, o.plot, error)) return false;
        if (!EndsWith(Lower(o.plot), ".svg") && !EndsWith(Lower(o.plot), ".png")) {
            error = "--plot " + o.plot + ": the picture's name must end in .svg or .png";
            return false;
        }
        return true;
    }
    if (a == "--plot-area") return TakePlotArea(args, i, o, error);
    if (a == "--csv") return TakeValue(args, i, o.csv, error);
    if (a == "--help" || a == "-h") return o.help = true, true;
    error = "unknown option " + a;
    return false;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("-", 0) == 0 && args[i].size() > 1) {
            if (!TakeOption(args, i, o, error)) return std::nullopt;
        } else if (o.drawing.empty()) {
            o.drawing = args[i];
        } else {
            error = "only one drawing may be given (" + o.drawing + ", " + args[i] + ")";
            return std::nullopt;
        }
    }
    if (o.plotArea && o.plot.empty()) {
        error = "--plot-area needs --plot FILE to draw into";
        return std::nullopt;
    }
    return o;
}

const char* Usage() {
    return "usage: solx [OPTIONS] [DRAWING.dxf]\n"
           "Opens the drawing (a new one when none is given), loads the analysis module and\n"
           "answers its prompts from the terminal or a script.\n"
           "\n"
           "options:\n"
           "  --lang Chs|Eng          language of prompts and messages (Chs, the default)\n"
           "  --script FILE           answer the prompts from FILE instead of the terminal\n"
           "  --out FILE              save the drawing to FILE when the run succeeds\n"
           "  --plot FILE             draw the plan of the final drawing to FILE (.svg or .png)\n"
           "  --plot-area X1,Y1 X2,Y2 draw only this area of the plan (with --plot)\n"
           "  --csv FILE              VxWinSunAna also writes its tables to FILE as CSV\n"
           "                          (sets SOLXCSV; see SETVAR)\n"
           "  --gui                   open the drawing in the desktop workbench (solx-gui);\n"
           "                          with --script the script plays in the window\n"
           "  -h, --help              show this help and the commands, then exit\n";
}

}  // namespace solx::app
