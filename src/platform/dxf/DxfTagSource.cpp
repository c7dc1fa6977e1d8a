#include "dxf/DxfTagSource.h"

#include <algorithm>
#include <cstring>

#include "dxf/DxfDocument.h"
#include "dxf/DxfValueKind.h"

namespace solx::dxf {

AsciiTagSource::AsciiTagSource(std::string_view bytes, const std::string& fileName,
                               FilePos firstLine)
    : bytes_(bytes), file_(fileName), line_(firstLine) {
    if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool AsciiTagSource::readLine(std::string_view& out) {
    if (pos_ >= bytes_.size()) return false;
    const char* start = bytes_.data() + pos_;
    size_t rest = bytes_.size() - pos_;
    const void* nl = std::memchr(start, '\n', rest);
    size_t len = nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : rest;
    pos_ += nl ? len + 1 : len;
    if (len > 0 && start[len - 1] == '\r') --len;
    out = std::string_view(start, len);
    ++line_;
    return true;
}

int AsciiTagSource::parseCode(std::string_view text) const {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.size();
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (i == end) throw DxfError(file_, line_, "empty line where a group code was expected");
    int code = 0;
    for (size_t k = i; k < end; ++k) {
        char c = text[k];
        if (c >= '0' && c <= '9' && code > kMaxGroupCode) {
            throw DxfError(file_, line_,
                           "group code " +
                               std::string(text.substr(i, std::min<size_t>(end - i, 20))) +
                               " is out of range");
        }
        if (c < '0' || c > '9') {
            std::string shown(text.substr(0, 20));
            for (char& s : shown) {
                if (static_cast<unsigned char>(s) < 0x20 || static_cast<unsigned char>(s) >= 0x7F)
                    s = '?';
            }
            throw DxfError(file_, line_, "group code is not a number: '" + shown + "'");
        }
        code = code * 10 + (c - '0');
    }
    if (code > kMaxGroupCode) {
        throw DxfError(file_, line_, "group code " + std::to_string(code) + " is out of range");
    }
    return code;
}

bool AsciiTagSource::next(RawTag& tag) {
    std::string_view codeText;
    if (!readLine(codeText)) return false;
    // A final empty line (the file ends with a line break after "EOF" plus one more) is not a tag.
    if (codeText.empty() && pos_ >= bytes_.size()) return false;
    tag.line = line_;
    tag.code = parseCode(codeText);
    if (!readLine(tag.value)) {
        throw DxfError(
            file_, tag.line,
            "file ends after group code " + std::to_string(tag.code) + " without its value");
    }
    return true;
}

}  // namespace solx::dxf
