#include "dxf/DxfReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "dxf/DxfBinaryTagSource.h"
#include "dxf/DxfDocumentBuilder.h"

namespace solx::dxf {
namespace {

std::unique_ptr<TagSource> makeSource(std::string_view bytes, const std::string& fileName) {
    if (isBinaryDxf(bytes)) return std::make_unique<BinaryTagSource>(bytes, fileName);
    return std::make_unique<AsciiTagSource>(bytes, fileName);
}

// A whole file read into anonymous memory, freed on scope exit. The file is read, not mapped:
// a mapped file that another program truncates while we parse it would kill us with SIGBUS,
// where a read simply comes up short and is reported. The pages are made in one call
// (MAP_POPULATE) rather than one fault each: read() fills every one of them anyway.
class FileBytes {
public:
    explicit FileBytes(const std::string& path) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw DxfError(path, 0, std::string("cannot open: ") + std::strerror(errno));
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            throw DxfError(path, 0, "not a regular file");
        }
        size_ = static_cast<size_t>(st.st_size);
        if (size_ > 0) {
            void* p = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
            data_ = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
        }
        if (size_ > 0 && !data_) {
            ::close(fd);
            throw DxfError(path, 0, "not enough memory to read the file");
        }
        size_t got = 0;
        int error = 0;
        while (got < size_) {
            ssize_t n = ::read(fd, data_ + got, size_ - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = n < 0 ? errno : 0;
                break;
            }
            got += static_cast<size_t>(n);
        }
        ::close(fd);
        if (got < size_) {
            release();
            throw DxfError(path, 0,
                           error ? std::string("cannot read: ") + std::strerror(error)
                                 : "the file became shorter while it was read (" +
                                       std::to_string(got) + " of " + std::to_string(size_) +
                                       " bytes)");
        }
    }
    ~FileBytes() { release(); }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view bytes() const { return {data_, size_}; }

    // Gives the memory of the bytes before OFFSET back: the parser never looks back.
    void releaseBefore(size_t offset) {
        size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        size_t end = offset / page * page;
        if (end > released_ + page) {
            ::madvise(data_ + released_, end - page - released_, MADV_DONTNEED);
            released_ = end - page;
        }
    }

private:
    void release() {
        if (data_) ::munmap(data_, size_);
        data_ = nullptr;
    }

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t released_ = 0;
};

// The quick first pass for a sink: raw tags only, nothing decoded or kept.
void scan(std::string_view bytes, const std::string& fileName, EntitySink& sink) {
    std::unique_ptr<TagSource> source = makeSource(bytes, fileName);
    RawTag tag;
    bool sectionStart = false, inRecords = false, inRecord = false, dimStyle = false;
    std::string type;
    auto flush = [&](std::string_view handle) {
        if (inRecord) sink.scannedRecord(type, handle);
        inRecord = false;
    };
    try {
        while (source->next(tag)) {
            if (sectionStart) {
                sectionStart = false;
                if (tag.code == 2) {
                    inRecords = tag.value == "TABLES" || tag.value == "BLOCKS" ||
                                tag.value == "ENTITIES" || tag.value == "OBJECTS";
                    sink.scannedSection(tag.value);
                    continue;
                }
            }
            if (tag.code == 0) {
                flush({});
                if (tag.value == "SECTION") {
                    sectionStart = true, inRecords = false;
                } else if (tag.value == "ENDSEC") {
                    inRecords = false;
                } else if (inRecords && tag.value != "ENDTAB") {
                    inRecord = true;
                    type.assign(tag.value);
                    dimStyle = tag.value == "DIMSTYLE";
                }
            } else if (inRecord && tag.code == (dimStyle ? 105 : 5)) {
                flush(tag.value);
            }
        }
        flush({});
    } catch (const DxfError&) {
        // the parse reports it, with what comes before it in the file
    }
}

}  // namespace

Document parseDocument(std::string_view bytes, const std::string& fileName, EntitySink* sink) {
    if (sink) scan(bytes, fileName, *sink);
    std::unique_ptr<TagSource> source = makeSource(bytes, fileName);
    DocumentBuilder builder(*source, fileName);
    builder.setEntitySink(sink);
    return builder.build();
}

Document readDocument(const std::string& path, EntitySink* sink) {
    FileBytes file(path);
    if (sink) scan(file.bytes(), path, *sink);
    std::unique_ptr<TagSource> source = makeSource(file.bytes(), path);
    DocumentBuilder builder(*source, path);
    builder.setEntitySink(sink);
    builder.setReleaseHook([&file](size_t consumed) { file.releaseBefore(consumed); });
    return builder.build();
}

}  // namespace solx::dxf
