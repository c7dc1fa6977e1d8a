// dxfstat: loads a DXF file with the tag-level reader and prints what it holds and how long
// loading (and, with --save, saving) took.
//   dxfstat FILE [--save OUT]
#include <chrono>
#include <cstdio>
#include <string>

#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t tagCount(const solx::dxf::Document& doc) {
    size_t n = doc.header.size();
    for (const auto& e : doc.entities) {
        n += 1 + e.record.tags.size();
        for (const auto& c : e.children) n += 1 + c.tags.size();
    }
    for (const auto& b : doc.blocks) n += 2 + b.begin.tags.size() + b.end.tags.size();
    for (const auto& o : doc.objects) n += 1 + o.tags.size();
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--save")) {
        std::fputs("usage: dxfstat FILE [--save OUT]\n", stderr);
        return 2;
    }
    try {
        auto start = std::chrono::steady_clock::now();
        solx::dxf::Document doc = solx::dxf::readDocument(argv[1]);
        double load = secondsSince(start);
        std::printf("%s: %zu entities, %zu blocks, %zu objects, %zu tags; load %.3f s\n", argv[1],
                    doc.entities.size(), doc.blocks.size(), doc.objects.size(), tagCount(doc),
                    load);
        if (argc == 4) {
            start = std::chrono::steady_clock::now();
            solx::dxf::writeDocument(doc, argv[3]);
            std::printf("%s: save %.3f s\n", argv[3], secondsSince(start));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxfstat: %s\n", e.what());
        return 1;
    }
    return 0;
}
