#include "dxf/DxfBinaryTagSource.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dxf/DxfDocument.h"
#include "dxf/DxfValueKind.h"

namespace solx::dxf {
namespace {

constexpr std::string_view kSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

}  // namespace

bool isBinaryDxf(std::string_view bytes) {
    return bytes.substr(0, kSentinel.size()) == kSentinel;
}

BinaryTagSource::BinaryTagSource(std::string_view bytes, const std::string& fileName, FilePos base)
    : bytes_(bytes), file_(fileName), pos_(kSentinel.size()), base_(base) {
    // R12 files start with a one-byte code 0 directly followed by "SECTION".
    oneByteCodes_ = bytes_.size() > pos_ + 1 && bytes_[pos_] == 0 && bytes_[pos_ + 1] == 'S';
}

void BinaryTagSource::need(size_t n, int code) const {
    if (bytes_.size() - pos_ < n) {
        throw DxfError(
            file_, at(),
            code < 0 ? "binary file ends inside a group code"
                     : "binary file ends inside the value of group code " + std::to_string(code));
    }
}

int BinaryTagSource::readCode() {
    auto byte = [this](size_t i) { return static_cast<unsigned char>(bytes_[pos_ + i]); };
    int code = 0;
    if (oneByteCodes_ && byte(0) != 255) {
        code = byte(0);
        pos_ += 1;
    } else {
        size_t skip = oneByteCodes_ ? 1 : 0;
        need(skip + 2, -1);
        code = static_cast<int16_t>(byte(skip) | (byte(skip + 1) << 8));
        pos_ += skip + 2;
    }
    if (code < 0 || code > kMaxGroupCode) {
        throw DxfError(file_, at(), "group code " + std::to_string(code) + " is out of range");
    }
    return code;
}

template <typename T>
T BinaryTagSource::readNumber(int code) {
    need(sizeof(T), code);
    T v;
    std::memcpy(&v, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return v;
}

void BinaryTagSource::readString(RawTag& tag, int code) {
    const void* nul = std::memchr(bytes_.data() + pos_, '\0', bytes_.size() - pos_);
    if (!nul) need(bytes_.size() - pos_ + 1, code);
    size_t len = static_cast<size_t>(static_cast<const char*>(nul) - (bytes_.data() + pos_));
    tag.value = bytes_.substr(pos_, len);
    pos_ += len + 1;
}

void BinaryTagSource::readChunk(RawTag& tag, int code) {
    static const char kHex[] = "0123456789ABCDEF";
    need(1, code);
    size_t len = static_cast<unsigned char>(bytes_[pos_++]);
    need(len, code);
    text_.clear();
    for (size_t i = 0; i < len; ++i) {
        auto b = static_cast<unsigned char>(bytes_[pos_ + i]);
        text_ += kHex[b >> 4];
        text_ += kHex[b & 15];
    }
    pos_ += len;
    tag.value = text_;
}

void BinaryTagSource::readValue(int code, RawTag& tag) {
    ValueKind kind = valueKind(code);
    if (kind == ValueKind::String || kind == ValueKind::Handle) return readString(tag, code);
    if (kind == ValueKind::Binary) return readChunk(tag, code);
    char buf[40];
    std::to_chars_result r{};
    if (kind == ValueKind::Double) {
        double d = readNumber<double>(code);
        if (!std::isfinite(d))
            throw DxfError(
                file_, tag.line,
                "value of group code " + std::to_string(code) + " is not a finite number");
        r = std::to_chars(buf, buf + sizeof buf, d);
    } else if (kind == ValueKind::Int16) {
        r = std::to_chars(buf, buf + sizeof buf, readNumber<int16_t>(code));
    } else if (kind == ValueKind::Int32) {
        r = std::to_chars(buf, buf + sizeof buf, readNumber<int32_t>(code));
    } else if (kind == ValueKind::Int64) {
        r = std::to_chars(buf, buf + sizeof buf, readNumber<int64_t>(code));
    } else {
        r = std::to_chars(buf, buf + sizeof buf, static_cast<int>(readNumber<uint8_t>(code)));
    }
    text_.assign(buf, r.ptr);
    tag.value = text_;
}

bool BinaryTagSource::next(RawTag& tag) {
    if (pos_ >= bytes_.size()) return false;
    tag.line = at();
    tag.code = readCode();
    readValue(tag.code, tag);
    return true;
}

}  // namespace solx::dxf
