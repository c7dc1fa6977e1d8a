#pragma once
// The command line of the host program.

#include <optional>
#include <string>
#include <vector>

namespace solx::app {

struct Options {
    std::wstring language = L"Chs";
    std::string script;   // empty: read the terminal
    std::string out;      // empty: do not save at the end
    std::string drawing;  // empty: a new drawing
    std::string plot;     // empty: no picture; else an .svg or .png of the final drawing
    bool help = false;
};

// Parses argv[1..]; on bad input returns nullopt and sets error to a one-line message.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
const char* Usage();

}  // namespace solx::app
