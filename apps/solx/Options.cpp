// Command-line parsing: options may come in any order; the drawing is the one plain argument.
#include "Options.h"

namespace solx::app {
namespace {

bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value,
               std::string& error) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool TakeOption(const std::vector<std::string>& args, size_t& i, Options& o, std::string& error) {
    const std::string& a = args[i];
    std::string value;
    if (a == "--lang") {
        if (!TakeValue(args, i, value, error)) return false;
        if (value != "Chs" && value != "Eng") {
            error = "--lang takes Chs or Eng, not \"" + value + "\"";
            return false;
        }
        o.language = value == "Chs" ? L"Chs" : L"Eng";
        return true;
    }
    if (a == "--script") return TakeValue(args, i, o.script, error);
    if (a == "--out") return TakeValue(args, i, o.out, error);
    if (a == "--plot") return TakeValue(args, i, o.plot, error);
    if (a == "--help" || a == "-h") return o.help = true, true;
    error = "unknown option " + a;
    return false;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("-", 0) == 0) {
            if (!TakeOption(args, i, o, error)) return std::nullopt;
        } else if (o.drawing.empty()) {
            o.drawing = args[i];
        } else {
            error = "only one drawing may be given (" + o.drawing + ", " + args[i] + ")";
            return std::nullopt;
        }
    }
    return o;
}

const char* Usage() {
    return "usage: solx [--lang Chs|Eng] [--script FILE] [--out FILE] [--plot FILE] [DRAWING.dxf]\n"
           "  --lang    language of prompts and messages (Chs, the default, or Eng)\n"
           "  --script  answer the prompts from FILE instead of the terminal\n"
           "  --out     save the drawing to FILE when the run succeeds\n"
           "  --plot    draw the plan of the final drawing to FILE (.svg or .png)\n";
}

}  // namespace solx::app
