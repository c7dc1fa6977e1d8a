#include "dxf/DxfTagWriter.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "dxf/DxfHeader.h"
#include "dxf/DxfTextCodec.h"
#include "dxf/DxfValueKind.h"

namespace solx::dxf {
namespace {

constexpr size_t kFlushAt = 1 << 20;

const Tags& at(const std::vector<Tags>& v, size_t i) {
    static const Tags kNone;
    return i < v.size() ? v[i] : kNone;
}

void writeEntities(const std::vector<Entity>& entities, TagWriter& out) {
    for (const Entity& e : entities) {
        out.record(e.record);
        for (const Record& child : e.children) out.record(child);
    }
}

// The next raw section called NAME that has not been written yet.
const RawSection* nextRaw(const Document& doc, const std::string& name, size_t& used) {
    size_t seen = 0;
    for (const RawSection& s : doc.rawSections) {
        if (s.name == name && seen++ == used) {
            ++used;
            return &s;
        }
    }
    return nullptr;
}

// Sections to write: the order read, or for a document built in memory the usual order of
// those that have content.
std::vector<std::string> sectionsToWrite(const Document& doc) {
    if (!doc.sectionOrder.empty()) return doc.sectionOrder;
    std::vector<std::string> order;
    if (!doc.header.empty()) order.push_back("HEADER");
    for (const RawSection& s : doc.rawSections) order.push_back(s.name);
    if (!doc.tables.empty()) order.push_back("TABLES");
    if (!doc.blocks.empty()) order.push_back("BLOCKS");
    order.push_back("ENTITIES");
    if (!doc.objects.empty()) order.push_back("OBJECTS");
    return order;
}

void writeBody(const Document& doc, const std::string& name, size_t& rawUsed, TagWriter& out) {
    if (name == "HEADER") {
        out.tags(doc.header);
    } else if (name == "TABLES") {
        for (const Table& t : doc.tables) {
            out.record(t.head);
            for (const Record& r : t.entries) out.record(r);
            out.record(t.end);
        }
    } else if (name == "BLOCKS") {
        for (const Block& b : doc.blocks) {
            out.record(b.begin);
            writeEntities(b.entities, out);
            out.record(b.end);
        }
    } else if (name == "ENTITIES") {
        writeEntities(doc.entities, out);
    } else if (name == "OBJECTS") {
        for (const Record& r : doc.objects) out.record(r);
    } else if (const RawSection* raw = nextRaw(doc, name, rawUsed)) {
        out.tags(raw->head);
        for (const Record& r : raw->records) out.record(r);
    }
}

}  // namespace

TagWriter::TagWriter(const Document& doc, int fd, std::string path)
    : encoder_(headerValue(doc, "$ACADVER"), headerValue(doc, "$DWGCODEPAGE")),
      fd_(fd),
      path_(std::move(path)) {
    buf_.reserve(fd_ >= 0 ? kFlushAt + 4096 : 1 << 16);
}

void TagWriter::writeCode(int code) {
    char codeText[8];
    int n = code < 10 ? 2 : code < 100 ? 1 : 0;
    std::memset(codeText, ' ', 3);
    auto r = std::to_chars(codeText + n, codeText + sizeof codeText, code);
    buf_.append(codeText, r.ptr);
    buf_ += '\n';
}

void TagWriter::tag(int code, std::string_view value) {
    writeCode(code);
    ValueKind kind = valueKind(code);
    if (kind == ValueKind::String || kind == ValueKind::Handle) {
        encoder_.append(buf_, value);
    } else {
        // A number that would not read back (a computed infinity, an integer out of its range)
        // stops the save: the file on disk stays as it was.
        if (!isValidValue(code, value)) refuse(code, value);
        buf_.append(value);
    }
    buf_ += '\n';
    if (fd_ >= 0 && buf_.size() >= kFlushAt) flush();
}

void TagWriter::tags(const Tags& ts) {
    for (const Tag& t : ts) tag(t.code, t.value);
}

void TagWriter::name(int code, std::string_view value) {
    writeCode(code);
    buf_.append(value);
    buf_ += '\n';
}

void TagWriter::record(const Record& r) {
    current_ = &r;
    name(0, r.type);
    tags(r.tags);
    current_ = nullptr;
}

void TagWriter::refuse(int code, std::string_view value) const {
    std::string where;
    if (current_) {
        where = " in " + current_->type;
        for (const Tag& t : current_->tags)
            if (t.code == 5 || t.code == 105) {
                where += " (handle " + t.value + ")";
                break;
            }
    }
    throw DxfError(path_, 0,
                   "cannot write value '" + std::string(value.substr(0, 40)) + "' of group code " +
                       std::to_string(code) + where + ": not a " + valueKindName(valueKind(code)));
}

void TagWriter::flush() {
    size_t done = 0;
    while (done < buf_.size()) {
        ssize_t n = ::write(fd_, buf_.data() + done, buf_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw DxfError(path_, 0, std::string("cannot write: ") + std::strerror(errno));
        done += static_cast<size_t>(n);
    }
    buf_.clear();
}

void writeSections(const Document& doc, TagWriter& out, const SectionBodies& bodies) {
    std::vector<std::string> order = sectionsToWrite(doc);
    for (size_t i = 0; i < order.size(); ++i) {
        out.tags(at(doc.commentsBefore, i));
        out.tag(0, "SECTION");
        out.name(2, order[i]);
        out.tags(at(doc.commentsInside, i));
        size_t sameBefore = 0;
        for (size_t k = 0; k < i; ++k) sameBefore += order[k] == order[i];
        if (!bodies || !bodies(order[i], out)) writeBody(doc, order[i], sameBefore, out);
        out.tag(0, "ENDSEC");
    }
    out.tags(at(doc.commentsBefore, order.size()));
    out.tag(0, "EOF");
}

}  // namespace solx::dxf
