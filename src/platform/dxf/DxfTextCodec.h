// Text of DXF values: files before AC1021 store text in the drawing's code page ($DWGCODEPAGE,
// e.g. ANSI_936 for simplified Chinese), later files in UTF-8; both may carry \U+XXXX escapes.
// Inside the program all text is UTF-8 with the escapes resolved.
#pragma once

#include <string>
#include <string_view>

namespace solx::dxf {

// iconv character set name for a $DWGCODEPAGE value ("ANSI_936" -> "CP936"); empty when the
// name is not one we know (the reader then assumes ANSI_1252, the common default).
std::string charsetForCodePage(std::string_view codePage);

// True for $ACADVER values whose text is UTF-8 (AC1021 and later).
bool isUtf8Version(std::string_view acadVersion);

// Decodes raw value bytes of one file into UTF-8. Not copyable: owns an iconv descriptor.
class TextDecoder {
public:
    TextDecoder();
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // Selects the decoding from the header: UTF-8 for AC1021+, else the code page's charset.
    void configure(std::string_view acadVersion, std::string_view codePage);
    // Decodes RAW into OUT and resolves \U+XXXX escapes. False when the bytes are not valid
    // text in the file's encoding (OUT is then unspecified).
    bool decode(std::string_view raw, std::string& out);
    // Name of the encoding in use, for messages.
    const std::string& encodingName() const { return charset_; }

private:
    bool convert(std::string_view raw, std::string& out);

    std::string charset_ = "UTF-8";
    bool utf8_ = true;
    bool singleByte_ = false;
    void* iconv_ = nullptr;  // iconv_t
};

// Encodes UTF-8 text for the file being written: UTF-8 for AC1021 and later; for older versions
// the drawing's code page, with \U+XXXX for characters the code page lacks (every reader
// decodes those, whatever the code page). Not copyable: owns an iconv descriptor.
class TextEncoder {
public:
    TextEncoder(std::string_view acadVersion, std::string_view codePage);
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    void append(std::string& out, std::string_view text);

private:
    void appendCharacter(std::string& out, std::string_view utf8Char);

    void* iconv_ = nullptr;  // iconv_t; null for UTF-8 output
};

// Appends TEXT (UTF-8) as a value line may hold it: line breaks become \U+000A / \U+000D so a
// value never spans lines; with ASCII_ONLY every non-ASCII character becomes \U+XXXX (used for
// files of versions before AC1021, whose readers expect the code page, not UTF-8).
void appendFileText(std::string& out, std::string_view text, bool asciiOnly);

// Replaces \U+XXXX escapes in UTF-8 TEXT by the characters they stand for (in place).
void resolveUnicodeEscapes(std::string& text);

// True when TEXT is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

}  // namespace solx::dxf
