// libFuzzer target for the DXF reader. Any input either is refused with a DxfError or loads;
// what loads must save, load again without error and save to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace solx::dxf;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document doc;
    try {
        doc = parseDocument(bytes, "fuzz.dxf");
    } catch (const DxfError&) {
        return 0;
    }
    std::string written = serializeDocument(doc);
    // An exception escaping here is a finding: our own output must always load.
    Document again = parseDocument(written, "fuzz-written.dxf");
    if (serializeDocument(again) != written) std::abort();
    return 0;
}
