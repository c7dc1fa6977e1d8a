// district: writes a generated residential district as a DXF drawing.
//   district [--buildings N] [--seed S] OUTPUT.dxf

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "DistrictDxf.h"
#include "DistrictModel.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: district [--buildings N] [--seed S] OUTPUT.dxf\n");
    return 2;
}

bool ReadCount(const char* text, long lo, long hi, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= lo && value <= hi;
}

}  // namespace

int main(int argc, char** argv) {
    district::Options options;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        long value = 0;
        if (std::strcmp(argv[i], "--buildings") == 0 && i + 1 < argc) {
            if (!ReadCount(argv[++i], 1, 100000, value)) return Usage();
            options.buildings = static_cast<int>(value);
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            if (!ReadCount(argv[++i], 0, 1L << 31, value)) return Usage();
            options.seed = static_cast<unsigned>(value);
        } else if (argv[i][0] != '-' && !output) {
            output = argv[i];
        } else {
            return Usage();
        }
    }
    if (!output) return Usage();
    const district::District d = district::MakeDistrict(options);
    std::ofstream out(output, std::ios::binary);
    district::WriteDxf(d, out);
    out.close();
    if (!out) {
        std::fprintf(stderr, "district: cannot write %s\n", output);
        return 1;
    }
    std::printf("%s: %zu buildings, %zu windows, %zu roof faces\n", output, d.slabs.size(),
                d.windows.size(), d.roofFaces.size());
    return 0;
}
