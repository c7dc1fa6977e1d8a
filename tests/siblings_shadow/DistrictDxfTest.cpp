// The generated district drawing, judged by an independent DXF reader.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "DistrictDxf.h"
#include "DistrictModel.h"

namespace {

TEST(DistrictDxf, IndependentReaderAuditsCleanAndFindsEveryEntity) {
    district::Options options;
    options.buildings = 5;
    options.seed = 3;
    const district::District d = district::MakeDistrict(options);
    const std::string path = std::string(SOLX_BINARY_DIR) + "/district_test.dxf";
    {
        std::ofstream out(path, std::ios::binary);
        district::WriteDxf(d, out);
    }
    // Prints: audit errors, polylines, windows with all three attributes, faces, and the
    // first window's floor attribute.
    const std::string script =
        "import ezdxf,sys\n"
        "doc=ezdxf.readfile(sys.argv[1]);a=doc.audit();m=doc.modelspace()\n"
        "w=m.query('INSERT[layer==\"SUN-WINDOW\"]')\n"
        "ok=[i for i in w if i.dxf.name=='_SUNWD' and "
        "sorted(t.dxf.tag for t in i.attribs)==['FLOOR','LABEL','NUMBER']]\n"
        "print(len(a.errors)+len(a.fixes),len(m.query('LWPOLYLINE[layer==\"SUN-BUILDING\"]')),"
        "len(ok),len(m.query('3DFACE')),w[0].get_attrib_text('FLOOR'))\n";
    const std::string scriptPath = path + ".py";
    std::ofstream(scriptPath) << script;
    const std::string command = "/usr/bin/python3 " + scriptPath + " " + path;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    ASSERT_EQ(pclose(pipe), 0) << command;
    ASSERT_TRUE(read);
    int problems = -1, slabs = -1, windows = -1, faces = -1, floor = -1;
    ASSERT_EQ(std::sscanf(line, "%d %d %d %d %d", &problems, &slabs, &windows, &faces, &floor), 5)
        << line;
    EXPECT_EQ(problems, 0);
    EXPECT_EQ(slabs, 5);
    EXPECT_EQ(windows, static_cast<int>(d.windows.size()));
    EXPECT_EQ(faces, static_cast<int>(d.roofFaces.size()));
    EXPECT_EQ(floor, d.windows.front().floor);
}

}  // namespace
