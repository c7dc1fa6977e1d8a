#pragma once
// The command line of the host program.

#include <optional>
#include <string>
#include <vector>

namespace solx::app {

// The part of the plan a picture shows: two opposite corners in drawing units.
struct PlotArea {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct Options {
    std::wstring language = L"Chs";
    std::string script;   // empty: read the terminal
    std::string out;      // empty: do not save at the end
    std::string drawing;  // empty: a new drawing
    std::string plot;     // empty: no picture; else an .svg or .png of the final drawing
    std::optional<PlotArea> plotArea;  // empty: fit the picture to what is drawn
    std::string csv;                   // empty: no CSV; else SOLXCSV (window tables as CSV)
    bool help = false;
};

// Parses argv[1..]; on bad input returns nullopt and sets error to a one-line message.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
const char* Usage();

}  // namespace solx::app
