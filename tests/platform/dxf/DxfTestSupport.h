// Helpers shared by the DXF tests: flattening a document into its tag sequence, temporary
// folders, and running the independent Python DXF library.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dxf/DxfDocument.h"

namespace solx::dxf::test {

// Every tag of DOC in file order, records as ("0", type) followed by their tags. Walks the
// model directly (not through the writer) so that a writer fault cannot hide itself.
std::vector<std::pair<int, std::string>> flatten(const Document& doc);

// A fresh empty folder under the system temp folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// True when /usr/bin/python3 can import ezdxf.
bool haveEzdxf();

// Runs /usr/bin/python3 with SCRIPT (a file of this folder) and ARGS; returns its exit status
// and puts its standard output in OUTPUT.
int runPython(const std::string& script, const std::vector<std::string>& args, std::string& output);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace solx::dxf::test
