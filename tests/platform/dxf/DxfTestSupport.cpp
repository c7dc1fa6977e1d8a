#include "DxfTestSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../../support/CommandOutput.h"

namespace solx::dxf::test {
namespace {

void addRecord(std::vector<std::pair<int, std::string>>& out, const Record& r) {
    out.emplace_back(0, r.type);
    for (const Tag& t : r.tags) out.emplace_back(t.code, t.value);
}

void addTags(std::vector<std::pair<int, std::string>>& out, const Tags& tags) {
    for (const Tag& t : tags) out.emplace_back(t.code, t.value);
}

void addEntities(std::vector<std::pair<int, std::string>>& out, const std::vector<Entity>& es) {
    for (const Entity& e : es) {
        addRecord(out, e.record);
        for (const Record& c : e.children) addRecord(out, c);
    }
}

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

std::vector<std::pair<int, std::string>> flatten(const Document& doc) {
    std::vector<std::pair<int, std::string>> out;
    addTags(out, doc.header);
    for (const RawSection& s : doc.rawSections) {
        out.emplace_back(2, s.name);
        addTags(out, s.head);
        for (const Record& r : s.records) addRecord(out, r);
    }
    for (const Table& t : doc.tables) {
        addRecord(out, t.head);
        for (const Record& r : t.entries) addRecord(out, r);
        addRecord(out, t.end);
    }
    for (const Block& b : doc.blocks) {
        addRecord(out, b.begin);
        addEntities(out, b.entities);
        addRecord(out, b.end);
    }
    addEntities(out, doc.entities);
    for (const Record& r : doc.objects) addRecord(out, r);
    for (const std::string& name : doc.sectionOrder) out.emplace_back(2, name);
    for (const Tags& c : doc.commentsBefore) addTags(out, c);
    for (const Tags& c : doc.commentsInside) addTags(out, c);
    return out;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solx-dxf-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

bool haveEzdxf() {
    return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
}

int runPython(const std::string& script, const std::vector<std::string>& args,
              std::string& output) {
    std::string cmd =
        "/usr/bin/python3 " + quote(std::string(SOLX_SOURCE_DIR) + "/tests/platform/dxf/" + script);
    for (const std::string& a : args) cmd += " " + quote(a);
    solx::testing::CommandResult result = solx::testing::RunCommand(cmd + " 2>&1");
    output = std::move(result.output);
    return result.status;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace solx::dxf::test
